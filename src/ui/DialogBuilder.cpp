#include "ui/DialogBuilder.h"

#include "ui/DialogCheckBox.h"
#include "ui/HistoryComboBox.h"
#include "ui/SortedListBox.h"
#include "ui/SvgImage.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <algorithm>

CDialogBuilder::CDialogBuilder(QWidget& dialog, CProfile& profile)
    : m_dialog(dialog), m_profile(profile), m_units(dialog.font()) {
}

QHash<int, QWidget*> CDialogBuilder::Build(const std::vector<SControlTemplate>& controls) {
    QHash<int, QWidget*> byId;
    for (const SControlTemplate& control : controls) {
        QWidget* widget = Create(control);
        widget->setProperty("controlId", control.id);
        if (control.style & kStyleNoTabStop)
            widget->setFocusPolicy(Qt::ClickFocus);
        if (control.style & kStyleAcceptFiles)
            widget->setAcceptDrops(true);
        // History fields and labels work out their own size from their contents.
        const bool placesItself =
            control.kind == ControlKind::HistoryComboBox || control.kind == ControlKind::Label;
        if (!placesItself)
            widget->setGeometry(
                m_units.ToPixels(control.x, control.y, control.width, control.height));
        if (control.id != kStaticId)
            byId.insert(control.id, widget);
    }
    return byId;
}

QWidget* CDialogBuilder::Create(const SControlTemplate& control) {
    const QString caption = QString::fromUtf8(control.caption);
    switch (control.kind) {
    case ControlKind::PushButton: {
        auto* button = new QPushButton(caption, &m_dialog);
        // No button is the default: the dialog itself decides what Enter does.
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::CheckBox:
        return CreateCheckBox(control);
    case ControlKind::RadioButton:
        return new QRadioButton(caption, &m_dialog);
    case ControlKind::Edit:
        return CreateEdit(control);
    case ControlKind::HistoryComboBox:
        return CreateHistoryComboBox(control);
    case ControlKind::ListBox:
        return new CSortedListBox(&m_dialog);
    case ControlKind::Label:
        return CreateLabel(control);
    case ControlKind::GroupFrame:
        return CreateGroupFrame(control);
    case ControlKind::Picture:
        return CreatePicture(control);
    }
    return nullptr;
}

QWidget* CDialogBuilder::CreateHistoryComboBox(const SControlTemplate& control) {
    auto* combo = new CHistoryComboBox(m_profile, &m_dialog);
    // The template's height is that of the open drop-down; the closed box is one line high.
    const int closedHeight = combo->sizeHint().height();
    combo->setGeometry(m_units.ToPixelsX(control.x), m_units.ToPixelsY(control.y),
                       m_units.ToPixelsX(control.width), closedHeight);
    const int listHeight = m_units.ToPixelsY(control.height) - closedHeight;
    combo->setMaxVisibleItems(std::max(1, listHeight / combo->fontMetrics().height()));
    return combo;
}

QWidget* CDialogBuilder::CreateEdit(const SControlTemplate& control) {
    auto* edit = new QLineEdit(&m_dialog);
    if (control.style & kStylePassword)
        edit->setEchoMode(QLineEdit::Password);
    if (control.style & kStyleDigitsOnly)
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}

QWidget* CDialogBuilder::CreateCheckBox(const SControlTemplate& control) {
    unsigned options = 0;
    if (control.style & kStyleLeftText)
        options |= CDialogCheckBox::kTextOnLeft;
    if (control.style & kStyleMultiLine)
        options |= CDialogCheckBox::kMultiLine;
    auto* box = new CDialogCheckBox(QString::fromUtf8(control.caption), options, &m_dialog);
    box->setTristate((control.style & kStyleThreeState) != 0);
    return box;
}

QWidget* CDialogBuilder::CreatePicture(const SControlTemplate& control) {
    auto* picture = new QLabel(&m_dialog);
    picture->setFrameStyle(QFrame::Box | QFrame::Plain);
    picture->setAlignment(Qt::AlignCenter);
    // Shown at its own size, centred; a smaller frame crops it.
    picture->setPixmap(SvgImage::Render(QString::fromUtf8(control.caption)));
    return picture;
}

QWidget* CDialogBuilder::CreateLabel(const SControlTemplate& control) {
    auto* label = new QLabel(QString::fromUtf8(control.caption), &m_dialog);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    QRect area = m_units.ToPixels(control.x, control.y, control.width, control.height);
    if (area.height() < 2 * label->fontMetrics().height()) {
        // A one-line label that a wider font does not fit grows to the left: its control
        // stands right of it, and the template leaves room on the other side.
        area.setLeft(std::min(area.left(), area.right() + 1 - label->sizeHint().width()));
    } else {
        label->setWordWrap(true);
    }
    label->setGeometry(area);
    return label;
}

QWidget* CDialogBuilder::CreateGroupFrame(const SControlTemplate& control) {
    auto* frame = new QGroupBox(QString::fromUtf8(control.caption), &m_dialog);
    frame->setFocusPolicy(Qt::NoFocus);
    // The frame's line runs through the middle of its title, as the template's frames do.
    frame->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 0.5em; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
    return frame;
}
