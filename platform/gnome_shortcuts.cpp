#include "platform/gnome_shortcuts.h"

#include <QProcess>
#include <array>

namespace platform {
namespace {

const QString kMediaKeys = QStringLiteral("org.gnome.settings-daemon.plugins.media-keys");
const QString kCustomList = QStringLiteral("custom-keybindings");
const QString kEntrySchema = kMediaKeys + ".custom-keybinding:";
const QString kEntryFolder = QStringLiteral("/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/");
const std::array<QString, 2> kOwnPaths{kEntryFolder + "keyhaven-fill-account/",
                                       kEntryFolder + "keyhaven-fill-password/"};
const std::array<QString, 3> kEntryKeys{"name", "command", "binding"};
constexpr int kGSettingsTimeoutMs = 5000;

std::optional<QString> RunGSettings(const QStringList& arguments) {
  QProcess gsettings;
  gsettings.start("gsettings", arguments);
  if (!gsettings.waitForFinished(kGSettingsTimeoutMs) || gsettings.exitStatus() != QProcess::NormalExit ||
      gsettings.exitCode() != 0)
    return std::nullopt;
  return QString::fromUtf8(gsettings.readAllStandardOutput()).trimmed();
}

// The list with the program's entries taken out, the others in their order.
std::optional<QStringList> OthersInList(GSettingsStore& store) {
  const std::optional<QString> text = store.get(kMediaKeys, kCustomList);
  std::optional<QStringList> paths = text ? ParseStringArray(*text) : std::nullopt;
  if (paths)
    for (const QString& own : kOwnPaths) paths->removeAll(own);
  return paths;
}

}  // namespace

std::optional<QString> GSettingsCommand::get(const QString& schema, const QString& key) {
  return RunGSettings({"get", schema, key});
}

bool GSettingsCommand::set(const QString& schema, const QString& key, const QString& value) {
  return RunGSettings({"set", schema, key, value}).has_value();
}

bool GSettingsCommand::reset(const QString& schema, const QString& key) {
  return RunGSettings({"reset", schema, key}).has_value();
}

std::optional<QStringList> ParseStringArray(const QString& text) {
  QString rest = text.trimmed();
  if (rest.startsWith("@as ")) rest = rest.mid(4).trimmed();
  if (!rest.startsWith('[') || !rest.endsWith(']')) return std::nullopt;
  QStringList strings;
  qsizetype at = 1;
  const qsizetype end = rest.size() - 1;
  auto skipSpace = [&] {
    while (at < end && rest[at].isSpace()) ++at;
  };
  skipSpace();
  while (at < end) {
    const QChar quote = rest[at];
    if (quote != '\'' && quote != '"') return std::nullopt;
    QString string;
    for (++at; at < end && rest[at] != quote; ++at) {
      if (rest[at] == '\\' && at + 1 < end) ++at;
      string += rest[at];
    }
    if (at >= end) return std::nullopt;  // unterminated
    strings << string;
    ++at;
    skipSpace();
    if (at < end && rest[at] != ',') return std::nullopt;
    if (at < end) ++at;
    skipSpace();
  }
  return strings;
}

QString StringText(const QString& string) {
  QString escaped = string;
  escaped.replace('\\', "\\\\").replace('\'', "\\'");
  return "'" + escaped + "'";
}

QString StringArrayText(const QStringList& strings) {
  if (strings.isEmpty()) return "@as []";
  QStringList quoted;
  for (const QString& string : strings) quoted << StringText(string);
  return "[" + quoted.join(", ") + "]";
}

bool GnomeCustomShortcuts::write(const DesktopShortcut& account, const DesktopShortcut& password) {
  std::optional<QStringList> paths = OthersInList(store_);
  if (!paths) return false;
  const std::array<const DesktopShortcut*, 2> entries{&account, &password};
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::array<QString, 3> values{entries.at(i)->name, entries.at(i)->command, entries.at(i)->binding};
    for (std::size_t k = 0; k < kEntryKeys.size(); ++k)
      if (!store_.set(kEntrySchema + kOwnPaths.at(i), kEntryKeys.at(k), StringText(values.at(k)))) return false;
    paths->append(kOwnPaths.at(i));
  }
  // Listed last, once the entries are complete: GNOME never sees half an entry.
  return store_.set(kMediaKeys, kCustomList, StringArrayText(*paths));
}

bool GnomeCustomShortcuts::remove() {
  const std::optional<QStringList> paths = OthersInList(store_);
  if (!paths || !store_.set(kMediaKeys, kCustomList, StringArrayText(*paths))) return false;
  bool forgotten = true;
  for (const QString& path : kOwnPaths)
    for (const QString& key : kEntryKeys) forgotten = store_.reset(kEntrySchema + path, key) && forgotten;
  return forgotten;
}

}  // namespace platform
