// The program's run from start to end. The player window, the action
// engine and the editor plug in through RunHooks as they arrive; start-up
// owns the order of the steps and the messages between them.
#pragma once

#include "base/report.h"

#include <functional>
#include <string>
#include <vector>

namespace orv {

struct RunHooks {
    // Loads autorun.aru from the folder; reports its own failures. The
    // editor may ask for a password, the player never does.
    std::function<bool(const std::string& file, bool editorMode, Reporter&)> loadProject;
    std::function<std::string()> projectTitle;
    std::function<int()> pageCount;
    // Runs the project's start-up list through the window-less runner,
    // stopping once an Exit action asks to.
    std::function<void()> runStartActions;
    // Shows page 0 in the player window and runs the message loop.
    std::function<void()> runPlayer;
    // Creates the editor windows (a new project with one page when the
    // project did not load) and runs the message loop.
    std::function<void(bool projectLoaded)> runEditor;
    // Empties the project at the end of the run.
    std::function<void()> resetProject;
};

RunHooks& Hooks();

// The whole run; returns the process exit code.
int RunOrvexa(const std::vector<std::string>& args);

} // namespace orv
