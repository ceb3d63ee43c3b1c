#include "ui/ProjectManagerTemplate.h"

namespace ProjectManagerTemplate {

namespace {
using K = ControlKind;
constexpr int S = kStaticId;
constexpr unsigned None = kStyleNone;
} // namespace

// clang-format off
const std::vector<SControlTemplate>& Controls() {
    static const std::vector<SControlTemplate> controls = {
        // id   kind                caption                      x    y    w    h  style                                 tooltip
        {S,    K::GroupFrame,   "Local Paths:",              64,   2, 306,  59, None, nullptr},
        {S,    K::Label,        "TarvonSvc4.ini:",           71,  28,  67,   8, None, nullptr},
        {S,    K::Label,        "TarvonSvc4.log:",           68,  44,  70,   8, None, nullptr},
        {S,    K::Label,        "Script file:",             106,  12,  32,   8, None, nullptr},
        {S,    K::GroupFrame,   "Remote settings:",          64, 141, 306, 188, None, nullptr},
        {S,    K::Label,        "Server:",                   70, 156,  24,   8, None, nullptr},
        {S,    K::Label,        "Target folder:",           226, 156,  43,   8, None, nullptr},
        {S,    K::Label,        "User name:",                72, 175,  37,   8, None, nullptr},
        {S,    K::Label,        "Password:",                182, 174,  34,   8, None, nullptr},
        {S,    K::GroupFrame,   "Local files for upload:",   67, 234, 298,  90, None, nullptr},
        {S,    K::GroupFrame,   "URL of update script",      64,  64, 306,  74, None, nullptr},
        {kNewProject, K::PushButton,   "New",                        7,   9,  50,  14, None, "New project"},
        {kLoadProject, K::PushButton,   "Load..",                     7,  26,  50,  14, None, "Load previous project.."},
        {kSaveProject, K::PushButton,   "Save..",                     7,  43,  50,  14, None, "Save current project.."},
        {kQuit, K::PushButton,   "Quit",                       7, 294,  55,  35, None, nullptr},
        {kOpenScript, K::PushButton,   "Open",                     343,  10,  25,  14, None, "Open the script file for viewing or editing"},
        {kBrowseIni, K::PushButton,   "::",                       139,  28,   8,   8, None, "Select the TarvonSvc4.ini path (normally in the Windows folder)."},
        {kOpenIni, K::PushButton,   "Open",                     343,  25,  25,  14, None, "Open the TarvonSvc4.ini file for viewing or editing."},
        {kBrowseLog, K::PushButton,   "::",                       139,  44,   8,   8, None, "Select the TarvonSvc4.log log file path in the Windows System32 folder)"},
        {kOpenLog, K::PushButton,   "Open",                     343,  40,  25,  14, None, "Open the TarvonSvc4.log log file for viewing or editing."},
        {kScriptURL, K::HistoryComboBox, "",                       72,  73, 288, 256, None, "URL of your script file.  (The \"http://\" part is compulsory.)  (Specify the working folder by appending, for example, \"c:\\temp\\\".)"},
        {kTestScript, K::PushButton,   "Test Script!",              71,  96, 127,  22, None, "Send the URL to the Brevane service."},
        {kExplore, K::PushButton,   "Explore Project Manager folder..", 71, 119, 127, 14, None, "Explore current working folder from when TarvonScp.exe was launched"},
        {kUseTarvon, K::RadioButton,  "Use Tarvon()",             213,  97,  73,  10, kStyleNoTabStop, "Execute the test script url using the Tarvon() function from zel4.dll"},
        {kUseTarvonWait, K::RadioButton,  "Use TarvonWait()",         213, 108,  88,  10, kStyleNoTabStop, "Execute the test script url using the TarvonWait() function from zel4.dll (with a 120 second timeout)"},
        {kServiceStatus, K::CheckBox,     "Service status",           213, 122, 134,  10, kStyleThreeState | kStyleLeftText, "Current status of the Brevane service.  (Tip: you can start/stop the service using this control.)"},
        {kBrowseScript, K::PushButton,   "::",                       139,  12,   8,   8, None, "Select the script path (to a drive letter and path)"},
        {kFtpServer, K::Edit,         "",                          94, 154, 123,  12, None, "FTP server - e.g. 'ftp.yourcompany.com'"},
        {kServerFolder, K::Edit,         "",                         273, 154,  78,  12, None, "Target folder on server - e.g. '/myapp/updates/'"},
        {kUsername, K::Edit,         "",                         113, 173,  62,  12, None, "User name for the ftp server"},
        {kPassword, K::Edit,         "",                         218, 173,  62,  12, kStylePassword, "Password for the ftp server"},
        {kPasv, K::CheckBox,     "PASV",                      78, 194,  35,  10, None, "Use PASV"},
        {kPreconfig, K::CheckBox,     "Use preconfigured settings", 127, 194, 100, 10, None, "Use preconfigured settings from registry"},
        {S,    K::Label,        "Connection timeout:",      236, 195,  64,   8, None, nullptr},
        {kTimeout, K::Edit,         "",                         300, 192,  40,  12, kStyleDigitsOnly, "Server timeout"},
        {kUseProxy, K::CheckBox,     "Use proxy",                 66, 214,  47,  10, None, "Use proxy"},
        {kProxyServer, K::Edit,         "",                         116, 213, 238,  12, None, "Proxy server"},
        {kAddFiles, K::PushButton,   "Add..",                     75, 306,  26,  14, None, "Add files to be uploaded"},
        {kDeleteFile, K::PushButton,   "Delete",                   104, 306,  26,  14, None, "Remove files from upload list"},
        {kUploadList, K::ListBox,      "",                          71, 245, 289,  57, kStyleAcceptFiles, "Files to be uploaded"},
        {kUpload, K::PushButton,   "Upload",                   311, 306,  49,  14, None, "Upload files to ftp server now"},
        {kAutoload, K::CheckBox,     "Auto-load last project",     7,  78,  52,  26, kStyleMultiLine, "Load last project at startup"},
        {S,    K::Picture,      ":/brevane/picture.svg",      7, 114,  52, 177, None, nullptr},
        {kScriptFile, K::HistoryComboBox, "",                      149,  10, 194, 205, None, "Path to script file"},
        {kIniPath, K::HistoryComboBox, "",                      149,  24, 194,  30, None, "The path of the TarvonSvc4.ini file"},
        {kLogPath, K::HistoryComboBox, "",                      149,  41, 194,  30, None, "The path of the TarvonSvc4.log log file."},
    };
    return controls;
}
// clang-format on

const std::vector<int>& ToolTipOrder() {
    static const std::vector<int> order = {
        kScriptURL, kTestScript,   kBrowseIni,   kIniPath,      kOpenIni,     kBrowseLog,
        kLogPath,   kOpenLog,      kScriptFile,  kBrowseScript, kOpenScript,  kServiceStatus,
        kFtpServer, kServerFolder, kUsername,    kPassword,     kPasv,        kPreconfig,
        kTimeout,   kUseProxy,     kProxyServer, kAddFiles,     kDeleteFile,  kUploadList,
        kUpload,    kAutoload,     kNewProject,  kLoadProject,  kSaveProject, kExplore,
        kUseTarvon, kUseTarvonWait};
    return order;
}

} // namespace ProjectManagerTemplate
