// tarvonscp-cli: the project file, outside the window, for scripts.
#include "cli/CliCommands.h"
#include "cli/ServiceCommand.h"
#include "cli/UploadCommand.h"
#include "service/ServiceControlManager.h"

#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "Usage:\n"
    "  tarvonscp-cli show PROJECT.xml [--show-password]\n"
    "  tarvonscp-cli save PROJECT.xml --from-json VALUES.json\n"
    "  tarvonscp-cli upload PROJECT.xml [--password-env NAME] [--ca-file FILE]\n"
    "                [--trust-host-key SHA256:...] [--json]\n"
    "  tarvonscp-cli password encode\n"
    "  tarvonscp-cli password decode\n"
    "  tarvonscp-cli service query|start|stop [NAME]\n"
    "  tarvonscp-cli --help | --version\n";

const char* const kHelp =
    "\n"
    "Reads and writes the project files of the Brevane Project Manager.\n"
    "\n"
    "  show       prints the project as JSON on standard output. Values the file does not\n"
    "             hold show the window's initial values. The password shows as \"********\"\n"
    "             unless --show-password is given. Lines of texts that are not UTF-8 are\n"
    "             taken as Windows-1252 (the code page the Windows program writes) and\n"
    "             printed as UTF-8, as the window shows them. Files are listed in file\n"
    "             order.\n"
    "  save       writes a project file from a JSON object (VALUES.json, or - for standard\n"
    "             input). Keys are the element names of a project file: ScriptFile,\n"
    "             INIpath, LogPath, ScriptURL, FTPServer, Username, Password (in plain\n"
    "             text), PASV, Preconfig, ProxyServer, ServerFolder, Timeout, UseProxy,\n"
    "             Files. Switches are true or false, Timeout a whole number, Files an array\n"
    "             of strings, written sorted case-insensitively as the window lists them.\n"
    "             Absent keys take the window's initial values (Timeout 15000, UseProxy\n"
    "             true, the rest empty or false). Strings are written as their bytes. The\n"
    "             file is written beside the target and renamed over it, so a failed save\n"
    "             leaves the old file as it was.\n"
    "  upload     uploads the project's files, in the window's list order, to its server\n"
    "             with its remote settings: each to the target folder + file name +\n"
    "             extension. The server is host, host:port, ftp://, ftpes:// (explicit TLS),\n"
    "             ftps:// (implicit TLS) or sftp://. Prints one line per file, \"ok LOCAL ->\n"
    "             REMOTE (BYTES bytes, SECONDS s)\" or \"FAILED LOCAL: STEP: REASON\", and a\n"
    "             summary; with --json a JSON array of {local, remote, ok, bytes, seconds,\n"
    "             error} instead. Every file is attempted; progress goes to standard error\n"
    "             when it is a terminal.\n"
    "             --password-env NAME   the password from that environment variable\n"
    "             --ca-file FILE        trust this certificate authority too (TLS)\n"
    "             --trust-host-key FP   accept the SFTP server's key with this SHA256\n"
    "                                   fingerprint even if ~/.ssh/known_hosts lacks it\n"
    "  password encode   reads one password line from standard input and prints the text\n"
    "                    that stands for it in a project file.\n"
    "  password decode   reads such a text from standard input and prints the password.\n"
    "  service   queries, starts or stops the update service NAME (default Tarvon4; on\n"
    "            Linux the systemd unit NAME.service) as the window's status box does.\n"
    "            query prints the state's number and name (\"4 running\"); start and stop\n"
    "            print each progress message as it comes, then the final state, and wait\n"
    "            as the window does. Failures are told on standard error. Exit status 0\n"
    "            when the service ends in the requested state (query: when it could be\n"
    "            queried), 1 otherwise.\n"
    "\n"
    "Inputs larger than 256 MiB are refused.\n"
    "Exit status: 0 done, 1 input refused (the reason on standard error) or a file not\n"
    "uploaded, 2 usage error.\n"
    "\n"
    "Example:\n"
    "  echo '{\"FTPServer\": \"ftp.example.com\", \"Files\": [\"/build/app.exe\"]}' |\n"
    "      tarvonscp-cli save release.xml --from-json -\n";

int UsageError(const std::string& message) {
    std::cerr << "tarvonscp-cli: " << message << "\n" << kUsage;
    return kExitUsage;
}

int Show(const std::vector<std::string>& args) {
    std::string path;
    bool showPassword = false;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--show-password") {
            showPassword = true;
        } else if (path.empty() && !args[i].empty() && args[i][0] != '-') {
            path = args[i];
        } else {
            return UsageError("show: unexpected argument '" + args[i] + "'");
        }
    }
    if (path.empty()) {
        return UsageError("show: the project file is missing");
    }
    return RunShow(path, showPassword);
}

int Save(const std::vector<std::string>& args) {
    std::string path;
    std::string valuesPath;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--from-json" && i + 1 < args.size() && valuesPath.empty()) {
            valuesPath = args[++i];
        } else if (path.empty() && !args[i].empty() && args[i][0] != '-') {
            path = args[i];
        } else {
            return UsageError("save: unexpected argument '" + args[i] + "'");
        }
    }
    if (path.empty() || valuesPath.empty()) {
        return UsageError("save needs a project file and --from-json VALUES.json");
    }
    return RunSave(path, valuesPath);
}

// The value after an option; false when there is none or the option came before.
bool TakeValue(const std::vector<std::string>& args, size_t& i, std::string& value) {
    if (i + 1 >= args.size() || !value.empty() || args[i + 1].empty()) {
        return false;
    }
    value = args[++i];
    return true;
}

// "SHA256:" and the 43 base64 characters of a SHA-256 digest, as ssh-keygen -l prints it.
bool IsSha256Fingerprint(const std::string& text) {
    const std::string prefix = "SHA256:";
    std::string digest = text.substr(0, prefix.size()) == prefix ? text.substr(prefix.size()) : "";
    if (!digest.empty() && digest.back() == '=') {
        digest.pop_back();
    }
    return digest.size() == 43 &&
           digest.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                    "0123456789+/") == std::string::npos;
}

int Upload(const std::vector<std::string>& args) {
    SUploadRequest request;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool understood = true;
        if (arg == "--password-env") {
            understood = TakeValue(args, i, request.passwordVariable);
        } else if (arg == "--ca-file") {
            understood = TakeValue(args, i, request.caFile);
        } else if (arg == "--trust-host-key") {
            understood = TakeValue(args, i, request.trustedHostKey);
        } else if (arg == "--json" && !request.json) {
            request.json = true;
        } else if (request.projectPath.empty() && !arg.empty() && arg[0] != '-') {
            request.projectPath = arg;
        } else {
            understood = false;
        }
        if (!understood) {
            return UsageError("upload: unexpected argument '" + arg + "'");
        }
    }
    if (request.projectPath.empty()) {
        return UsageError("upload: the project file is missing");
    }
    if (!request.trustedHostKey.empty() && !IsSha256Fingerprint(request.trustedHostKey)) {
        return UsageError("upload: --trust-host-key takes a fingerprint as ssh-keygen -l prints "
                          "it: SHA256: and 43 characters");
    }
    return RunUpload(request);
}

int Password(const std::vector<std::string>& args) {
    if (args.size() == 2 && args[1] == "encode") {
        return RunPasswordEncode();
    }
    if (args.size() == 2 && args[1] == "decode") {
        return RunPasswordDecode();
    }
    return UsageError("password needs exactly one of encode or decode");
}

int Service(const std::vector<std::string>& args) {
    if (args.size() < 2 || args.size() > 3)
        return UsageError("service needs query, start or stop and at most one NAME");
    const std::string& action = args[1];
    if (action != "query" && action != "start" && action != "stop")
        return UsageError("service needs query, start or stop, not '" + action + "'");
    const std::string name = args.size() == 3 ? args[2] : kDefaultServiceName;
    const std::unique_ptr<CServiceControlManager> manager = CreateServiceControlManager();
    return RunService(action, name, *manager, std::cout, std::cerr);
}

int Dispatch(const std::vector<std::string>& args) {
    if (args.empty()) {
        return UsageError("no command given");
    }
    const std::string& command = args[0];
    if (command == "--help" || command == "-h") {
        std::cout << kUsage << kHelp;
        return kExitDone;
    }
    if (command == "--version") {
        std::cout << "tarvonscp-cli " << BREVANE_VERSION << '\n';
        return kExitDone;
    }
    if (command == "show") {
        return Show(args);
    }
    if (command == "save") {
        return Save(args);
    }
    if (command == "upload") {
        return Upload(args);
    }
    if (command == "password") {
        return Password(args);
    }
    if (command == "service") {
        return Service(args);
    }
    return UsageError("unknown command '" + command + "'");
}

} // namespace

int main(int argc, char** argv) {
    try {
        int status = Dispatch(std::vector<std::string>(argv + 1, argv + argc));
        std::cout.flush();
        if (!std::cout) {
            std::cerr << "tarvonscp-cli: cannot write to standard output\n";
            status = kExitRefused;
        }
        return status;
    } catch (const std::exception& failure) {
        std::cerr << "tarvonscp-cli: " << failure.what() << '\n';
        return kExitRefused;
    }
}
