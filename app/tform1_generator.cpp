// The password generator's button in the record form.
#include "app/accounts_page.h"
#include "app/generator_dialog.h"
#include "app/tform1.h"
#include "settings/settings_file.h"

namespace app {

void TForm1::Button_GenerateClick() {
  const settings::SettingsFile file(programFolder_);
  GeneratorDialog dialog(file.read().generator, this);
  if (dialog.exec() != QDialog::Accepted) return;
  accountsPage_->showPassword(dialog.password());
  file.writeGenerator(dialog.rules());
}

}  // namespace app
