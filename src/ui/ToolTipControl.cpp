#include "ui/ToolTipControl.h"

#include <QHelpEvent>
#include <QTextLayout>
#include <QToolTip>

CToolTipControl::CToolTipControl(QObject* parent) : QObject(parent) {
}

void CToolTipControl::SetMaxTipWidth(int pixels) {
    m_nMaxTipWidth = pixels;
}

void CToolTipControl::SetAutoPopDelay(int milliseconds) {
    m_nAutoPopDelay = milliseconds;
}

void CToolTipControl::Activate(bool active) {
    m_bActive = active;
}

void CToolTipControl::AddTool(QWidget* widget, const QString& text) {
    m_tools.push_back({widget, text});
    widget->installEventFilter(this);
}

QString CToolTipControl::WrappedText(const QString& text) const {
    if (m_nMaxTipWidth < 0)
        return text;
    QTextLayout layout(text, QToolTip::font());
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(m_nMaxTipWidth);
        lines.append(text.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    // Blanks at a break stay at the end of their line, so no character of the text is lost.
    return lines.join(QLatin1Char('\n'));
}

bool CToolTipControl::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip || !m_bActive)
        return QObject::eventFilter(watched, event);
    for (const STool& tool : m_tools) {
        if (tool.widget != watched)
            continue;
        const auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), WrappedText(tool.text), tool.widget, QRect(),
                           m_nAutoPopDelay);
        return true;
    }
    return QObject::eventFilter(watched, event);
}
