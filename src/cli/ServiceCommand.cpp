#include "cli/ServiceCommand.h"

#include "cli/CliCommands.h"
#include "service/ServiceController.h"

#include <ostream>

const char* const kDefaultServiceName = "Tarvon4";

namespace {

const char* StateName(uint32_t state) {
    static const char* const kNames[] = {"stopped", "start-pending",    "stop-pending",
                                         "running", "continue-pending", "pause-pending",
                                         "paused"};
    if (state >= kServiceStopped && state <= kServicePaused)
        return kNames[state - kServiceStopped];
    return "unknown";
}

void PrintProgress(const char* message, void* userData) {
    *static_cast<std::ostream*>(userData) << message << std::endl;
}

// Prints the state and returns it; when it cannot be read, tells why unless that was told
// already, and returns 0.
uint32_t PrintState(CServiceController& controller, const std::string& name, std::ostream& out,
                    std::ostream& err, const std::string& told) {
    const uint32_t state = controller.QueryState(name);
    if (state != 0)
        out << state << ' ' << StateName(state) << '\n';
    else if (controller.LastErrorText() != told)
        err << controller.LastErrorText() << '\n';
    return state;
}

} // namespace

int RunService(const std::string& action, const std::string& name, CServiceControlManager& manager,
               std::ostream& out, std::ostream& err) {
    CServiceController controller(manager);
    if (action == "query")
        return PrintState(controller, name, out, err, std::string()) != 0 ? kExitDone
                                                                          : kExitRefused;
    uint32_t target = kServiceRunning;
    controller.SetStatusCallback(PrintProgress, &out);
    if (action == "start") {
        controller.Start(name);
    } else if (action == "stop") {
        target = kServiceStopped;
        controller.Stop(name);
    } else {
        err << "tarvonscp-cli: service needs query, start or stop, not '" << action << "'\n";
        return kExitUsage;
    }
    // A fresh controller has no text: any text now is this request's failure.
    const std::string failure = controller.LastErrorText();
    if (!failure.empty())
        err << failure << '\n';
    return PrintState(controller, name, out, err, failure) == target ? kExitDone : kExitRefused;
}
