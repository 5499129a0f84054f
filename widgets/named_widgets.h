#pragma once
// Controls are known by their object names (to the tests and to screen readers' scripts), so
// every control is made with one.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <utility>

namespace widgets {

template <typename W, typename... Args>
W* make(QWidget* parent, const char* name, Args&&... args) {
  auto* widget = new W(std::forward<Args>(args)..., parent);
  widget->setObjectName(name);
  return widget;
}

// A button that Enter in one of the window's edits does not press.
inline QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
  auto* b = make<QPushButton>(parent, name, caption);
  b->setAutoDefault(false);
  return b;
}

// A label that shows its text as it is, never as markup.
inline QLabel* label(QWidget* parent, const char* name, const QString& text) {
  auto* l = make<QLabel>(parent, name, text);
  l->setTextFormat(Qt::PlainText);
  return l;
}

// An edit with its visible label as buddy, so screen readers name it.
inline QLineEdit* labelledEdit(QWidget* parent, const char* name, QLabel* caption) {
  auto* edit = make<QLineEdit>(parent, name);
  caption->setBuddy(edit);
  edit->setAccessibleName(caption->text());
  return edit;
}

}  // namespace widgets
