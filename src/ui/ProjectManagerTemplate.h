#pragma once

#include "ui/DialogTemplate.h"

#include <vector>

// The Project Manager window's template: its size, caption, font and controls.
namespace ProjectManagerTemplate {

// The ids of the window's controls.
enum ControlId : int {
    kTestScript = 1002,
    kFtpServer = 1003,
    kBrowseIni = 1007,
    kBrowseLog = 1008,
    kOpenIni = 1009,
    kOpenLog = 1010,
    kBrowseScript = 1011,
    kOpenScript = 1013,
    kServiceStatus = 1016,
    kServerFolder = 1018,
    kUsername = 1019,
    kPassword = 1020,
    kPasv = 1021,
    kPreconfig = 1022,
    kUseProxy = 1023,
    kProxyServer = 1024,
    kTimeout = 1025,
    kUploadList = 1026,
    kUpload = 1027,
    kAddFiles = 1028,
    kDeleteFile = 1029,
    kNewProject = 1030,
    kLoadProject = 1031,
    kSaveProject = 1032,
    kAutoload = 1033,
    kQuit = 1034,
    kExplore = 1035,
    kUseTarvon = 1036,
    kUseTarvonWait = 1037,
    kScriptURL = 1038,
    kScriptFile = 1040,
    kIniPath = 1041,
    kLogPath = 1042,
};

constexpr int kWidth = 377; // dialog units
constexpr int kHeight = 336;
constexpr const char* kCaption = "Brevane Project Manager";
constexpr const char* kFontFamily = "MS Sans Serif";
constexpr int kFontPointSize = 8;

// Every control in template order, which is also the tab order.
const std::vector<SControlTemplate>& Controls();

// The controls with a tooltip, in the order their tools are registered.
const std::vector<int>& ToolTipOrder();

} // namespace ProjectManagerTemplate
