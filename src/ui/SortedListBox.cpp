#include "ui/SortedListBox.h"

CSortedListBox::CSortedListBox(QWidget* parent) : QListWidget(parent) {
}

int CSortedListBox::AddString(const QString& text) {
    int low = 0;
    int high = count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (QString::compare(item(middle)->text(), text, Qt::CaseInsensitive) <= 0)
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
