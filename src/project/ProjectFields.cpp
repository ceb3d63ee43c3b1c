#include "project/ProjectFields.h"

namespace {

constexpr SProjectField TextField(const char* name, std::string SProject::*text) {
    return {name, EProjectValueKind::Text, text, nullptr, nullptr};
}

constexpr SProjectField SwitchField(const char* name, bool SProject::*flag) {
    return {name, EProjectValueKind::Switch, nullptr, flag, nullptr};
}

} // namespace

const std::array<SProjectField, 13> kProjectFields = {{
    TextField("ScriptFile", &SProject::scriptFile),
    TextField("INIpath", &SProject::iniPath),
    TextField("LogPath", &SProject::logPath),
    TextField("ScriptURL", &SProject::scriptURL),
    TextField("FTPServer", &SProject::ftpServer),
    TextField("Username", &SProject::username),
    {"Password", EProjectValueKind::Password, &SProject::password, nullptr, nullptr},
    SwitchField("PASV", &SProject::pasv),
    SwitchField("Preconfig", &SProject::preconfig),
    TextField("ProxyServer", &SProject::proxyServer),
    TextField("ServerFolder", &SProject::serverFolder),
    {"Timeout", EProjectValueKind::Number, nullptr, nullptr, &SProject::timeout},
    SwitchField("UseProxy", &SProject::useProxy),
}};
