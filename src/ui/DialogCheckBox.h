#pragma once

#include <QCheckBox>

// A check box that behaves and looks as the platform's dialog check boxes: a three-state box
// cycles unchecked, checked, indeterminate; the text may stand left of the box, or wrap over
// several lines starting at the top; a click anywhere on the control toggles it.
class CDialogCheckBox final : public QCheckBox {
    Q_OBJECT

public:
    // Layout options of the text.
    enum Option : unsigned { kTextOnLeft = 1, kMultiLine = 2 };

    // A check box showing text, laid out by options (Option values).
    CDialogCheckBox(const QString& text, unsigned options, QWidget* parent = nullptr);

protected:
    void nextCheckState() override;
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& position) const override;

private:
    unsigned m_nOptions;
};
