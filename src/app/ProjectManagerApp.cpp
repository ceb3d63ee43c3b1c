#include "app/ProjectManagerApp.h"

#include "platform/Profile.h"
#include "ui/WindowServices.h"

#include <QCoreApplication>
#include <QFileInfo>

#ifndef BREVANE_UPDATE_HOST
#error "BREVANE_UPDATE_HOST must name the update server (set by the build)."
#endif

const char* const CProjectManagerApp::kCompanyKey = "Quilldrake";
const char* const CProjectManagerApp::kFtpMissingText =
    "FTP.DLL could not be found.  FTP will not be available.";

std::string CProjectManagerApp::UpdateCheckUrl() {
    return std::string("http://") + BREVANE_UPDATE_HOST + "/zelupdates/zelcheck4_silent.txt";
}

CProjectManagerApp::CProjectManagerApp(SAppParts parts) : m_parts(std::move(parts)) {
}

CProjectManagerApp::~CProjectManagerApp() = default;

bool CProjectManagerApp::InitInstance() {
    // The profile lives under the company key and the executable's base name.
    QCoreApplication::setOrganizationName(QString::fromLatin1(kCompanyKey));
    QCoreApplication::setApplicationName(
        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
    m_profile = std::make_unique<CProfile>();

    LoadFtpLibrary();
    // The window waits for the update check; its outcome is not read.
    m_parts.updateLibrary->Tarvon(UpdateCheckUrl());

    const SWindowServices services{
        *m_profile,   *m_parts.system,  *m_parts.shell,         *m_parts.updateLibrary,
        m_ftpLibrary, *m_parts.prompts, *m_parts.serviceManager};
    m_parts.runMainWindow(services);
    return false;
}

int CProjectManagerApp::ExitInstance() {
    m_ftpLibrary.Release();
    return 0;
}

void CProjectManagerApp::LoadFtpLibrary() {
    if (m_ftpLibrary.Load(m_parts.system->ProgramFolder()))
        return;
    m_parts.prompts->MessageBox(nullptr, QString::fromLatin1(kFtpMissingText), QString(),
                                PromptButtons::Ok);
}
