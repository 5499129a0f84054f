#include "widgets/panel_status_bar.h"

#include <QHBoxLayout>
#include <QLabel>

namespace widgets {

PanelStatusBar::PanelStatusBar(const QList<int>& widths, QWidget* parent) : QFrame(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 1, 0, 1);
  layout->setSpacing(2);
  for (int i = 0; i < widths.size(); ++i) {
    auto* panel = new QLabel(this);
    panel->setObjectName(QString("Panel%1").arg(i));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setTextFormat(Qt::PlainText);
    bool last = i + 1 == widths.size();
    if (last)
      panel->setMinimumWidth(widths[i]);
    else
      panel->setFixedWidth(widths[i]);
    layout->addWidget(panel, last ? 1 : 0);
    panels_ << panel;
  }
  setFixedHeight(fontMetrics().height() + 8);
}

QString PanelStatusBar::panelText(int panel) const { return panels_.value(panel) ? panels_[panel]->text() : QString(); }

void PanelStatusBar::setPanelText(int panel, const QString& text) {
  if (panel >= 0 && panel < panels_.size()) panels_[panel]->setText(text);
}

}  // namespace widgets
