#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <vector>

// The window's tooltips: one tool per control with its text, shown for a fixed time, long
// texts wrapped at a maximum width.
class CToolTipControl final : public QObject {
    Q_OBJECT

public:
    // One registered control and its tip.
    struct STool {
        QPointer<QWidget> widget;
        QString text;
    };

    // An inactive control with no tools.
    explicit CToolTipControl(QObject* parent = nullptr);

    // Tips wider than this many pixels wrap.
    void SetMaxTipWidth(int pixels);
    // How long a tip stays, in milliseconds.
    void SetAutoPopDelay(int milliseconds);
    // Shows tips only while active.
    void Activate(bool active);
    // Registers widget with its tip text.
    void AddTool(QWidget* widget, const QString& text);

    // The tools in the order they were added.
    const std::vector<STool>& Tools() const { return m_tools; }
    int MaxTipWidth() const { return m_nMaxTipWidth; }
    int AutoPopDelay() const { return m_nAutoPopDelay; }
    // The text as shown: broken into lines at word boundaries when wider than the maximum.
    QString WrappedText(const QString& text) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<STool> m_tools;
    int m_nMaxTipWidth = -1;
    int m_nAutoPopDelay = -1;
    bool m_bActive = false;
};
