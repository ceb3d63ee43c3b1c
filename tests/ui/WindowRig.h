#pragma once

#include "FakeShell.h"
#include "FakeSystemInfo.h"
#include "FakeTransferLibrary.h"
#include "FakeUpdateLibrary.h"
#include "ScriptedPrompts.h"
#include "SimulatedServiceManager.h"
#include "TempProfile.h"
#include "platform/Profile.h"
#include "project/Project.h"
#include "ui/WindowServices.h"

#include <QComboBox>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <memory>

class CProjectManagerDlg;

// Everything the window needs, with a fresh profile in a temporary folder and recording
// fakes for the shell, the update library and the prompts; the service control manager is the
// simulated one, with no service installed.
struct SWindowRig {
    CTempProfile tempProfile;
    CProfile profile;
    CFakeSystemInfo system;
    CFakeShell shell;
    CFakeUpdateLibrary updateLibrary;
    CFakeTransferLibrary transferLibrary;
    CScriptedPrompts prompts;
    CSimulatedServiceManager serviceManager;
    SWindowServices services{profile,         system,  shell,         updateLibrary,
                             transferLibrary, prompts, serviceManager};

    // A profile where the greeting was already shown.
    void MarkFirstRunDone() { profile.SetFirstRun(1); }
    // A new window on these services.
    std::unique_ptr<CProjectManagerDlg> NewWindow();
};

// Runs window modally; whileOpen runs once the modal run is under way and must close it.
// Returns the modal result; a window still open after a few seconds fails the test run.
int RunModal(CProjectManagerDlg& window, const std::function<void()>& whileOpen);

// Runs a new window of rig modally, calls body while it is open, then closes it with Escape.
void RunWindow(SWindowRig& rig, const std::function<void(CProjectManagerDlg&)>& body);

// The control of window with the id given.
template <typename Widget> Widget* ControlById(const QWidget& window, int id) {
    for (Widget* widget : window.findChildren<Widget*>()) {
        if (widget->property("controlId").toInt() == id)
            return widget;
    }
    return nullptr;
}

// Clicks the push button of window with the id given.
void Click(const QWidget& window, int id);

// The entries of a drop-down list, top first.
QStringList Entries(const QComboBox& box);

// Writes content to a new file name in folder; the test stops when that fails.
QString WriteFile(const QTemporaryDir& folder, const char* name, const QByteArray& content);

// A project with every value set away from the window's initial values, and three upload
// entries out of the list's order.
SProject SampleProject();
