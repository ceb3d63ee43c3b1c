#pragma once

#include "platform/Shell.h"

// The shell on Linux desktops: "open" and "explore" hand the file or folder to xdg-open.
//
// Result codes: an empty or missing file (or, for "explore", a missing folder) is
// kShellFileNotFound without starting anything. Otherwise the opener starts detached in its
// own session and is given a short grace period: an exit with 0 is kShellDone, an exit with
// xdg-open's "file does not exist" status is kShellFileNotFound, any other exit (no
// application for the file, opener missing) is kShellNoAssociation. An opener still running
// when the grace period ends has started the application in the foreground (generic
// desktops do that), so the request counts as done and the opener is left to run on its own.
// The owner window, parameters and show mode have no meaning for xdg-open and are not used.
class CXdgShell final : public CShell {
public:
    // opener: the program to run (searched on PATH when it holds no '/'); graceMs: the wait.
    explicit CXdgShell(std::string opener = "xdg-open", int graceMs = 800);
    // Opens or explores the request's file or folder; a Windows result code.
    intptr_t Execute(const ShellRequest& request) override;

private:
    // The file the verb works on, or empty when the request names none that exists.
    std::string Target(const ShellRequest& request) const;
    // Starts the opener on target and maps its outcome to a result code.
    intptr_t RunOpener(const std::string& target) const;

    std::string m_opener;
    int m_graceMs;
};
