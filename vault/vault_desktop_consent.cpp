// The desktop's remembered consent to typing, kept in the file beside the records.
#include "store/desktop_consent.h"
#include "vault/vault.h"

namespace vault {

QString Vault::desktopConsent(const QString& interface) {
  return QString::fromStdString(store::DesktopConsent(connection_.handle(), interface.toStdString()));
}

void Vault::keepDesktopConsent(const QString& interface, const QString& token) {
  store::KeepDesktopConsent(connection_.handle(), interface.toStdString(), token.toStdString());
}

}  // namespace vault
