// The program's clipboard as other X clients see it: the clipboard and the primary selection,
// the secret hint, and clearing that spares what another program copied since.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QThread>

#include "input/clipboard.h"

namespace {

// xclip talks to us through the selection protocol, so our event loop must run meanwhile.
QString Xclip(const QStringList& arguments, const QByteArray& input = {}) {
  QProcess xclip;
  xclip.start("xclip", arguments);
  if (!input.isNull()) {
    xclip.write(input);
    xclip.closeWriteChannel();
  }
  for (int i = 0; i < 500 && !xclip.waitForFinished(10); ++i) QCoreApplication::processEvents();
  return QString::fromUtf8(xclip.readAllStandardOutput());
}

QString Read(const char* selection, const char* target = "UTF8_STRING") {
  return Xclip({"-o", "-selection", selection, "-t", target});
}

TEST(ClipboardOnX11, ASecretReachesClipboardAndSelectionWithItsHint) {
  input::TClipboard clipboard;
  clipboard.copySecret("s3cr3t pass");
  EXPECT_EQ(Read("clipboard"), "s3cr3t pass");
  EXPECT_EQ(Read("primary"), "s3cr3t pass");
  EXPECT_EQ(Read("clipboard", "x-kde-passwordManagerHint"), "secret");
  EXPECT_EQ(Read("primary", "x-kde-passwordManagerHint"), "secret");

  clipboard.Clear();
  EXPECT_EQ(Read("clipboard"), "");
  EXPECT_EQ(Read("primary"), "");
}

TEST(ClipboardOnX11, ClearingSparesWhatAnotherProgramCopiedSince) {
  input::TClipboard clipboard;
  clipboard.copySecret("hunter2");
  Xclip({"-i", "-selection", "clipboard"}, "copied elsewhere");
  for (int i = 0; i < 50 && QGuiApplication::clipboard()->ownsClipboard(); ++i) {
    QCoreApplication::processEvents();
    QThread::msleep(10);
  }
  clipboard.Clear();
  EXPECT_EQ(Read("clipboard"), "copied elsewhere");
  // The selection still held our secret and is emptied.
  EXPECT_EQ(Read("primary"), "");
}

}  // namespace
