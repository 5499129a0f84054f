#pragma once
// Hidden edits that hold a secret: they echo nothing, and accessibility clients (screen readers,
// anything on the accessibility bus) see an edit without text, not even its length.
class QLineEdit;

namespace widgets {

void ConcealFromAccessibility(QLineEdit* edit);

}  // namespace widgets
