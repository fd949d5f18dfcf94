// The platform's side of ShellRun: starting a file, URL or folder through
// the shell, and the "Please Wait..." window that stays up while a started
// program runs.
#pragma once

#include "player/actions.h"

#include <cstdint>
#include <string>

namespace orv::player {

// The start folder the waiting start uses when none is given: the file's
// folder (everything before its last "\"), or empty.
std::string FolderOfFile(const std::string& file);

#ifdef _WIN32
// Starts the request with the platform's extended shell-execute (no error
// dialogs of the shell). With wait, and when a process came back, shows
// the "Please Wait..." window, waits until the process is ready for input
// and then keeps processing the thread's messages until it has ended.
// Returns 33 after a successful start, else the platform's last error.
uint32_t ShellStartOnPlatform(const ShellRequest& request);
#endif

} // namespace orv::player
