#include "ui/HistoryComboBox.h"

#include "platform/Profile.h"
#include "ui/SplitStringArray.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QLineEdit>
#include <algorithm>

namespace {
const QChar kLineFeed = QLatin1Char('\n');
} // namespace

CHistoryComboBox::CHistoryComboBox(CProfile& profile, QWidget* parent)
    : QComboBox(parent), m_profile(profile) {
    setEditable(true);
    // The list changes only through RecordText, never by pressing Enter.
    setInsertPolicy(QComboBox::NoInsert);
    setDuplicatesEnabled(true);
    // Typing must not complete from the list: the field holds exactly what was typed.
    setCompleter(nullptr);
}

CHistoryComboBox::~CHistoryComboBox() {
    // A box whose history was never loaded has no place in the profile.
    if (!m_strEntry.isEmpty())
        SaveHistory(m_strSection, m_strEntry);
}

QString CHistoryComboBox::LoadHistory(const QString& section, const QString& entry) {
    m_strSection = section;
    m_strEntry = entry;
    const QString stored = m_profile.GetString(section, entry);
    if (stored.isEmpty())
        return QString();
    CSplitStringArray pieces;
    pieces.Split(stored, QString(kLineFeed));
    addItems(pieces);
    SetText(pieces.first());
    return pieces.first();
}

void CHistoryComboBox::SaveHistory(const QString& section, const QString& entry) {
    const QString text = currentText();
    QString result = text;
    for (int index = 0; index < count(); ++index) {
        const QString item = itemText(index);
        if (item != text)
            result += kLineFeed + item;
    }
    if (result.startsWith(kLineFeed))
        result.remove(0, 1);
    m_profile.WriteString(section, entry, result);
}

void CHistoryComboBox::SetText(const QString& text) {
    // The edit text alone: selecting a list entry would move the current index.
    lineEdit()->setText(text);
    RecordText();
}

void CHistoryComboBox::RecordText() {
    const QString text = currentText();
    const int limit = std::min(m_nSearchDepth, count());
    for (int index = 0; index < limit; ++index) {
        if (itemText(index) == text)
            return;
    }
    insertItem(0, text);
    // Inserting into an empty list selects the new entry; keep the text exactly as shown.
    if (currentText() != text)
        lineEdit()->setText(text);
}

void CHistoryComboBox::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    // Opening the drop-down list keeps the focus in the field as far as the user sees.
    const bool toOwnList = event->reason() == Qt::PopupFocusReason || view()->isVisible();
    if (!toOwnList)
        RecordText();
}
