// Entry of Orvexa.exe: the editor under its own name, the menu player under
// any other name, a single-file menu when its recorded name is blank.
#include "base/text.h"
#include "startup/app.h"
#include "win/interact.h"

#include <windows.h>

#include <shellapi.h>

#include <exception>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::vector<std::string> args;
    int argc = 0;
    if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
        for (int i = 1; i < argc; ++i)
            args.push_back(orv::win::Narrow(argv[i]));
        LocalFree(argv);
    }
    try {
        return orv::RunOrvexa(args);
    } catch (const std::exception& e) {
        // Nothing may escape to the platform; the user sees what went wrong.
        orv::win::UI().ShowErrorText(e.what());
        return 1;
    }
}
