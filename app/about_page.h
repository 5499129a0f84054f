#pragma once
// The tab "关于我们": the program's name, version, notes and the links to its pages.
#include <QString>
#include <QWidget>

class QLineEdit;

namespace app {

class AboutPage : public QWidget {
  Q_OBJECT
 public:
  explicit AboutPage(QWidget* parent);

  // The version shown; the program's pages are opened for it.
  QString version() const;

 signals:
  void downloadPageClicked();
  void helpPageClicked();
  void mainPageClicked();
  void issuesPageClicked();

 private:
  QLineEdit* EditVer;
};

}  // namespace app
