#include "ui/SortedListBox.h"

#include <algorithm>

CSortedListBox::CSortedListBox(QWidget* parent) : QListWidget(parent) {
    // Every entry is one line of the same font, as in the platform's list box; without this
    // the view lays out the text of every entry to learn its size.
    setUniformItemSizes(true);
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

bool CSortedListBox::Precedes(const QString& left, const QString& right) {
    return QString::compare(left, right, Qt::CaseInsensitive) < 0;
}
