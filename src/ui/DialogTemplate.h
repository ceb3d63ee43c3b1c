#pragma once

// What a dialog's controls are made of: one row per control, as in a dialog template.

// The kinds of control a dialog template holds.
enum class ControlKind {
    PushButton,
    CheckBox,
    RadioButton,
    Edit,
    HistoryComboBox,
    ListBox,
    Label,
    GroupFrame,
    Picture,
};

// Style flags of a control beyond what its kind implies.
enum ControlStyle : unsigned {
    kStyleNone = 0,
    kStyleNoTabStop = 1u << 0,   // Tab skips it
    kStyleThreeState = 1u << 1,  // check box with an indeterminate state
    kStyleLeftText = 1u << 2,    // check box text left of the box
    kStyleMultiLine = 1u << 3,   // check box text wraps, starting at the top
    kStylePassword = 1u << 4,    // edit shows no characters
    kStyleDigitsOnly = 1u << 5,  // edit takes digits only
    kStyleAcceptFiles = 1u << 6, // accepts files dropped on it
};

// The id of controls that are never addressed.
constexpr int kStaticId = -1;

// One control: id, kind, caption (for a picture: its image resource), position and size in
// dialog units, style flags and tooltip (null: none).
struct SControlTemplate {
    int id;
    ControlKind kind;
    const char* caption;
    int x;
    int y;
    int width;
    int height;
    unsigned style;
    const char* tooltip;
};
