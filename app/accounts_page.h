#pragma once
// The tab "帐号管理": the search bar, the category list and the record grid, and the record form.
#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>

#include "vault/vault.h"

class QAction;
class QComboBox;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace app {

class AccountsPage : public QWidget {
  Q_OBJECT
 public:
  // The grid shows the listing, which outlives the page only until detachListing().
  AccountsPage(vault::Listing& listing, QWidget* parent);

  // The grid lets go of the listing, which goes before the page does.
  void detachListing();

  // Search bar.
  QString searchColumn() const;
  QString keyword() const;
  void clearKeyword();

  // Grid: the standard columns shown, the current row (0-based, -1 for none) and its move, which
  // stops at the first and the last row.
  void applyColumnLayout();
  int cursorRow() const;
  void moveCursorTo(int row);

  // Category list and the form's category box.
  void clearCategories();
  // Both lists hold the names; the form's box chooses none.
  void showCategories(const QStringList& names);
  // The name the list's current item holds, if there is one.
  std::optional<QString> currentListCategory() const;
  // The name highlighted in the list, if one is.
  std::optional<QString> highlightedCategory() const;
  QStringList listedCategories() const;
  // Rename and delete in the list's menu.
  void enableCategoryChanges(bool enabled);
  // The form's box chooses the name, ignoring letter case; none when it is not there.
  void selectCategory(const QString& category);
  QString formCategory() const;

  // Record form: the picked record and its password copy for the hot keys and the copy button.
  vault::Record record() const;
  void showRecord(const vault::Record& record);
  QString recordNumber() const;
  QString account() const;
  QString address() const;
  QString pickedPassword() const;
  void forgetPickedPassword();
  void showPassword(const QString& password);
  // Every field but the category and the password copy emptied.
  void clearForm();
  // The password box masked, the button offering "显示" again; or shown, offering "隐藏".
  bool passwordMasked() const;
  void maskPassword();
  void unmaskPassword();
  // The field's text selected, as it goes to the clipboard.
  enum class Copied { Address, Account, PickedPassword };
  QString selectForCopy(Copied which);
  // The copy buttons pressed, as the hot keys' paste fill does.
  void pressCopyAccount();
  void pressCopyPassword();
  // 刷新数据 and 刷新分类 pressed, as after a change of the file.
  void pressRefresh();
  void pressRebuildCategories();

 signals:
  void searchClicked();
  void keywordClicked();
  void refreshClicked();
  void rebuildCategoriesClicked();
  void firstClicked();
  void priorClicked();
  void nextClicked();
  void lastClicked();
  void recordClicked();
  // One wheel event over the grid; below zero when turned towards the user.
  void gridWheeled(int delta);
  // A category chosen in the list by a click or the keyboard.
  void categoryChosen();
  void categoryMenuOpening();
  void addCategoryChosen();
  void renameCategoryChosen();
  void deleteCategoryChosen();
  void openAddressClicked();
  void copyAddressClicked();
  void copyAccountClicked();
  void showOrHideClicked();
  void copyPasswordClicked();
  void generateClicked();
  void addClicked();
  void modifyClicked();
  void deleteClicked();
  void historyClicked();
  void clearFormClicked();

 private:
  vault::Listing& listing_;
  QComboBox* ComboBoxSeachClass;
  QLineEdit* searchkeyword;
  QPushButton* Button_Refresh;
  QPushButton* Button_GeiClass;
  QListWidget* ListBox_Class;
  QTableView* DBGrid1;
  QMenu* PopupMenu2;
  QAction* N4;
  QAction* N3;
  QComboBox* Edit_FenLei;
  QLineEdit* Edit_BiaoTi;
  QLineEdit* Edit_WangZhi;
  QLineEdit* Edit_ZhangHao;
  QLineEdit* Edit_MiMa;
  QPlainTextEdit* Memo_BeiZhu;
  QPushButton* ButtonCopyZhangHao;
  QPushButton* Button_Pass_ShowOrHide;
  QPushButton* ButtonCopyEdit_MiMa;
  QLineEdit* Edit_BianHao;
  QLineEdit* Edit_MiMa_Temp;
};

}  // namespace app
