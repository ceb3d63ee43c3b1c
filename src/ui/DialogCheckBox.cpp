#include "ui/DialogCheckBox.h"

#include <QStyleOptionButton>
#include <QStylePainter>

CDialogCheckBox::CDialogCheckBox(const QString& text, unsigned options, QWidget* parent)
    : QCheckBox(text, parent), m_nOptions(options) {
}

void CDialogCheckBox::nextCheckState() {
    if (!isTristate()) {
        QCheckBox::nextCheckState();
        return;
    }
    switch (checkState()) {
    case Qt::Unchecked:
        setCheckState(Qt::Checked);
        break;
    case Qt::Checked:
        setCheckState(Qt::PartiallyChecked);
        break;
    case Qt::PartiallyChecked:
        setCheckState(Qt::Unchecked);
        break;
    }
}

void CDialogCheckBox::paintEvent(QPaintEvent* event) {
    if (m_nOptions == 0) {
        QCheckBox::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const int spacing = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
    QRect box = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    QRect textArea = rect();
    int alignment = Qt::AlignLeft | Qt::TextShowMnemonic;
    if (m_nOptions & kTextOnLeft) {
        box.moveRight(rect().right());
        textArea.setRight(box.left() - spacing);
    } else {
        textArea.setLeft(box.right() + spacing);
    }
    if (m_nOptions & kMultiLine) {
        // Box and first line share the top.
        box.moveTop(std::max(0, (fontMetrics().height() - box.height()) / 2));
        alignment |= Qt::AlignTop | Qt::TextWordWrap;
    } else {
        alignment |= Qt::AlignVCenter;
    }
    QStyleOptionButton boxOption = option;
    boxOption.rect = box;
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, boxOption);
    painter.drawItemText(textArea, alignment, option.palette, isEnabled(), text(),
                         QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = painter.boundingRect(textArea, alignment, text()).adjusted(-1, 0, 1, 0);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool CDialogCheckBox::hitButton(const QPoint& position) const {
    return rect().contains(position);
}
