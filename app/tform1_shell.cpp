// Opening addresses: the record's own, and this program's pages.
#include <QAction>

#include "app/about_page.h"
#include "app/accounts_page.h"
#include "app/maker_info.h"
#include "app/tform1.h"
#include "platform/shell.h"

namespace app {

void TForm1::openAddress(const QString& address) { services_.shell.openAddress(address); }

void TForm1::Button10Click() {
  if (!accountsPage_->address().isEmpty()) openAddress(accountsPage_->address());
}

void TForm1::AboutmeClick() { openAddress(maker::PageAddress(maker::kMainPage, aboutPage_->version())); }

void TForm1::Button8Click() { Aboutme->trigger(); }

void TForm1::Label26Click() { openAddress(maker::PageAddress(maker::kMainPage, aboutPage_->version())); }

void TForm1::Label23Click() { openAddress(maker::PageAddress(maker::kDownloadPage, aboutPage_->version())); }

void TForm1::Label24Click() { openAddress(maker::PageAddress(maker::kHelpPage, aboutPage_->version())); }

void TForm1::Label27Click() { openAddress(maker::PageAddress(maker::kIssuesPage, aboutPage_->version())); }

}  // namespace app
