#include "input/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/clipboard_owner.h"

namespace input {
namespace {

const QString kPasswordManagerHint = QStringLiteral("x-kde-passwordManagerHint");

QClipboard* SystemClipboard() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

QMimeData* MimeDataFor(const QString& text, bool secret) {
  auto* data = new QMimeData;
  data->setText(text);
  if (secret) data->setData(kPasswordManagerHint, QByteArrayLiteral("secret"));
  return data;
}

// The clipboard itself, and on X11 also the selection that a middle click pastes.
QList<QClipboard::Mode> ModesOf(const QClipboard& clipboard) {
  QList<QClipboard::Mode> modes{QClipboard::Clipboard};
  if (clipboard.supportsSelection()) modes << QClipboard::Selection;
  return modes;
}

}  // namespace

void TClipboard::Open() {
  if (FOpenRefCount == 0 && !SystemClipboard())
    throw ClipboardError("Cannot open clipboard: the program has no graphical session");
  ++FOpenRefCount;
}

void TClipboard::Close() {
  if (FOpenRefCount == 0) return;
  --FOpenRefCount;
}

void TClipboard::Clear() {
  Open();
  try {
    QClipboard& clipboard = *SystemClipboard();
    if (!FPlacedText.isEmpty() && FDesktop) {
      FDesktop->clearOwn();
    } else if (!FPlacedText.isEmpty()) {
      for (QClipboard::Mode mode : ModesOf(clipboard))
        if (clipboard.text(mode) == FPlacedText) clipboard.clear(mode);
    }
    FPlacedText.clear();
  } catch (...) {
    Close();
    throw;
  }
  Close();
}

bool TClipboard::ownsClipboard() const {
  if (FDesktop) return FDesktop->holdsOwn();
  const QClipboard* clipboard = SystemClipboard();
  return clipboard && clipboard->ownsClipboard();
}

void TClipboard::copySecret(const QString& text) { place(text, true); }

void TClipboard::copyText(const QString& text) { place(text, false); }

void TClipboard::place(const QString& text, bool secret) {
  if (text.isEmpty()) return;
  Open();
  QClipboard& clipboard = *SystemClipboard();
  if (FDesktop)
    FDesktop->place(text, secret);
  else
    for (QClipboard::Mode mode : ModesOf(clipboard)) clipboard.setMimeData(MimeDataFor(text, secret), mode);
  FPlacedText = text;
  Close();
}

TClipboard& SharedClipboard() {
  static TClipboard instance;
  return instance;
}

}  // namespace input
