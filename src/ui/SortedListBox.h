#pragma once

#include <QList>
#include <QListWidget>
#include <QStringList>
#include <QUrl>

// A list box that keeps its entries sorted without regard to letter case, as the platform's
// sorted list boxes do.
class CSortedListBox final : public QListWidget {
    Q_OBJECT

public:
    // An empty list.
    explicit CSortedListBox(QWidget* parent = nullptr);

    // Inserts text at its sorted place, after entries that compare equal; returns its index.
    int AddString(const QString& text);
    // Replaces every entry by texts, in the order AddString of each in turn would give, but
    // sorted once instead of placed one by one.
    void ResetContent(QStringList texts);
    // Every entry, in list order.
    QStringList Strings() const;

signals:
    // Something with addresses was dropped on the list: them, in the drop's order.
    void UrlsDropped(const QList<QUrl>& urls);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // An entry too long for the list shows itself whole as its tooltip.
    bool viewportEvent(QEvent* event) override;

private:
    // The list's order: without regard to letter case.
    static bool Precedes(const QString& left, const QString& right);
};
