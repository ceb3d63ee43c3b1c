#pragma once

#include <QComboBox>
#include <QString>

class CProfile;

// An editable drop-down field that remembers the values used in it: a value enters the list
// when the field loses the focus or is set by the program, and the list is kept in the profile.
class CHistoryComboBox final : public QComboBox {
    Q_OBJECT

public:
    // An empty field whose history goes to profile; names are set by LoadHistory.
    explicit CHistoryComboBox(CProfile& profile, QWidget* parent = nullptr);
    // Saves the history under the names LoadHistory was given.
    ~CHistoryComboBox() override;

    CHistoryComboBox(const CHistoryComboBox&) = delete;
    CHistoryComboBox& operator=(const CHistoryComboBox&) = delete;

    // Remembers the names and appends the stored entries; returns the first one (shown now),
    // or an empty string, leaving the field as it was, when nothing is stored.
    QString LoadHistory(const QString& section, const QString& entry);
    // Writes the shown text followed by the other list entries, joined by line feeds.
    void SaveHistory(const QString& section, const QString& entry);
    // Shows text and records it.
    void SetText(const QString& text);
    // Puts the shown text at the top of the list unless one of the first entries equals it.
    void RecordText();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    CProfile& m_profile;
    QString m_strSection;
    QString m_strEntry;
    int m_nSearchDepth = 25;
};
