#pragma once

#include "ui/DialogTemplate.h"
#include "ui/DialogUnits.h"

#include <QHash>
#include <vector>

class CProfile;
class QWidget;

// Creates a dialog's controls from its template rows, placed by dialog units of the dialog's
// font; each control keeps its id in the property "controlId".
class CDialogBuilder {
public:
    // Builds into dialog; history fields keep their lists in profile.
    CDialogBuilder(QWidget& dialog, CProfile& profile);

    // Creates every control in order (the order is the tab order); returns them by id.
    QHash<int, QWidget*> Build(const std::vector<SControlTemplate>& controls);

private:
    QWidget* Create(const SControlTemplate& control);
    QWidget* CreateHistoryComboBox(const SControlTemplate& control);
    QWidget* CreateEdit(const SControlTemplate& control);
    QWidget* CreateCheckBox(const SControlTemplate& control);
    QWidget* CreatePicture(const SControlTemplate& control);
    QWidget* CreateLabel(const SControlTemplate& control);
    QWidget* CreateGroupFrame(const SControlTemplate& control);

    QWidget& m_dialog;
    CProfile& m_profile;
    CDialogUnits m_units;
};
