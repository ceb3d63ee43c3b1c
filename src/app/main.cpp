#include "app/DesktopParts.h"
#include "ui/QtPrompts.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    CProjectManagerApp projectManager(CreateDesktopParts(std::make_unique<CQtPrompts>()));
    projectManager.InitInstance();
    return projectManager.ExitInstance();
}
