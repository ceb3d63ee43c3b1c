#pragma once

#include "app/ProjectManagerApp.h"

// The parts of a desktop run: this system, its shell, the update library beside the
// executable, the given prompts, the platform's service control manager and the real main
// window.
SAppParts CreateDesktopParts(std::unique_ptr<CPrompts> prompts);
