#include "app/DesktopParts.h"

#include "platform/Zel4Library.h"
#include "ui/ProjectManagerDlg.h"

SAppParts CreateDesktopParts(std::unique_ptr<CPrompts> prompts) {
    SAppParts parts;
    parts.system = CreateSystemInfo();
    parts.shell = CreateShell();
    parts.updateLibrary = std::make_unique<CZel4Library>(parts.system->ProgramFolder());
    parts.prompts = std::move(prompts);
    parts.serviceManager = CreateServiceControlManager();
    parts.runMainWindow = [](const SWindowServices& services) {
        CProjectManagerDlg window(services);
        window.DoModal();
    };
    return parts;
}
