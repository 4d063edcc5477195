#include "ui/review/reviewbar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace quillo {

ReviewBar::ReviewBar(QWidget* parent)
    : QWidget(parent),
      m_summary(new QLabel(this)),
      m_carryOut(new QPushButton(QStringLiteral("実行"), this)),
      m_cancel(new QPushButton(QStringLiteral("キャンセル"), this)) {
    setObjectName(QStringLiteral("reviewBar"));
    m_summary->setObjectName(QStringLiteral("lblPlan"));
    m_summary->setAccessibleName(QStringLiteral("計画"));
    m_summary->setWordWrap(true);
    m_carryOut->setObjectName(QStringLiteral("cmdCarryOut"));
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cancel->setToolTip(QStringLiteral("何も変更せずに一覧に戻ります（Esc）"));
    // Enter in the list carries the plan out; neither button takes Enter
    // for itself, so that the focus never rests on a removal by default.
    for (QPushButton* b : {m_carryOut, m_cancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 2, 2, 2);
    row->addWidget(m_summary, 1);
    row->addWidget(m_carryOut);
    row->addWidget(m_cancel);
    connect(m_carryOut, &QPushButton::clicked, this, &ReviewBar::carryOut);
    connect(m_cancel, &QPushButton::clicked, this, &ReviewBar::cancel);
}

void ReviewBar::setSummary(const QString& text) {
    m_summary->setText(text);
    m_summary->setToolTip(text);
}

void ReviewBar::setAction(const QString& caption) {
    m_carryOut->setText(caption);
    m_carryOut->setToolTip(caption + QStringLiteral("（Enter）"));
}

int ReviewBar::heightFor(int width) const {
    const QMargins m = layout()->contentsMargins();
    const int spacing = std::max(0, layout()->spacing());
    const int labelWidth = width - m.left() - m.right() - m_carryOut->sizeHint().width() -
                           m_cancel->sizeHint().width() - 2 * spacing;
    // Two lines at least, so the bar does not jump as ticks change the text;
    // three at most, so a long summary cannot push the list away.
    const int line = m_summary->fontMetrics().lineSpacing();
    const int text =
        std::clamp(m_summary->heightForWidth(std::max(1, labelWidth)), 2 * line, 3 * line);
    return std::max(m_carryOut->sizeHint().height(), text) + m.top() + m.bottom();
}

QString ReviewBar::summary() const {
    return m_summary->text();
}

}  // namespace quillo
