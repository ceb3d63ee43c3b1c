#include "ui/SortedListBox.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHelpEvent>
#include <QMimeData>
#include <QToolTip>
#include <algorithm>

CSortedListBox::CSortedListBox(QWidget* parent) : QListWidget(parent) {
    // Every entry is one line of the same font, as in the platform's list box; without this
    // the view lays out the text of every entry to learn its size.
    setUniformItemSizes(true);
    // Drops are for the files of the desktop's file manager, never for moving entries.
    setDragDropMode(QAbstractItemView::DropOnly);
}

int CSortedListBox::AddString(const QString& text) {
    int low = 0;
    int high = count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (!Precedes(text, item(middle)->text()))
            low = middle + 1;
        else
            high = middle;
    }
    insertItem(low, text);
    return low;
}

QStringList CSortedListBox::Strings() const {
    QStringList strings;
    for (int index = 0; index < count(); ++index)
        strings.append(item(index)->text());
    return strings;
}

void CSortedListBox::ResetContent(QStringList texts) {
    // A stable sort keeps equal entries in arrival order, as inserting after them does.
    std::stable_sort(texts.begin(), texts.end(), &CSortedListBox::Precedes);
    clear();
    addItems(texts);
}

void CSortedListBox::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        event->ignore();
}

void CSortedListBox::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        event->ignore();
}

void CSortedListBox::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit UrlsDropped(event->mimeData()->urls());
}

bool CSortedListBox::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QListWidget::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QListWidgetItem* entry = itemAt(help->pos());
    const int margin = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this);
    const bool cutShort =
        entry != nullptr &&
        fontMetrics().horizontalAdvance(entry->text()) + margin > viewport()->width();
    if (!cutShort) {
        // The list's own tooltip, from its owner, then shows as for the rest of the list.
        event->ignore();
        return false;
    }
    QToolTip::showText(help->globalPos(), entry->text(), viewport(), visualItemRect(entry));
    return true;
}

bool CSortedListBox::Precedes(const QString& left, const QString& right) {
    return QString::compare(left, right, Qt::CaseInsensitive) < 0;
}
