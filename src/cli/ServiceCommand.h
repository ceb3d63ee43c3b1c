#pragma once

#include <iosfwd>
#include <string>

class CServiceControlManager;

// The service the window shows, and the one the command works on unless told otherwise.
extern const char* const kDefaultServiceName;

// Runs "service ACTION NAME" through manager. query prints the state's number and name; start
// and stop print each progress message as it comes, then the final state. Failures print the
// controller's error text on err. Returns 0 when the service ends in the requested state (query:
// when it could be queried), 1 otherwise, 2 for an action that is not query, start or stop.
int RunService(const std::string& action, const std::string& name, CServiceControlManager& manager,
               std::ostream& out, std::ostream& err);
