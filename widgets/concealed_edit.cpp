#include "widgets/concealed_edit.h"

#include <QAccessibleWidget>
#include <QLineEdit>

namespace widgets {

namespace {

constexpr char kConcealedProperty[] = "concealedFromAccessibility";

// Qt's own interface of an edit without echo still gives the length of its text.
class ConcealedEditInterface : public QAccessibleWidget {
 public:
  explicit ConcealedEditInterface(QWidget* edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

  QString text(QAccessible::Text kind) const override {
    return kind == QAccessible::Name ? QAccessibleWidget::text(kind) : QString();
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.passwordEdit = true;
    return state;
  }
};

QAccessibleInterface* ConcealedEditFactory(const QString&, QObject* object) {
  auto* edit = qobject_cast<QLineEdit*>(object);
  if (edit && edit->property(kConcealedProperty).toBool()) return new ConcealedEditInterface(edit);
  return nullptr;
}

}  // namespace

void ConcealFromAccessibility(QLineEdit* edit) {
  static const bool factoryInstalled = [] {
    QAccessible::installFactory(ConcealedEditFactory);
    return true;
  }();
  (void)factoryInstalled;
  edit->setEchoMode(QLineEdit::NoEcho);
  edit->setProperty(kConcealedProperty, true);
}

}  // namespace widgets
