// VykLoader: unpacks the installer engine library from its own executable,
// runs it with the assembled command line, and removes it again.
#include "loader/cmdline.h"
#include "loader/peimage.h"
#include "loader/win/loader_win32.h"

namespace vyk {

namespace {

// The command line and 0; the 32-bit result is the exit code.
using RunInstallerFn = DWORD(WINAPI*)(LPCSTR commandLine, DWORD reserved);

// The engine is a library of the loader's own kind.
constexpr const char* kEngineEntryName =
    sizeof(void*) == 8 ? kEngineEntryName64 : kEngineEntryName32;

int RunLoader() {
    const DWORD processId = GetCurrentProcessId();

    wchar_t module[kModulePathMax];
    const DWORD moduleLength = GetModuleFileNameW(nullptr, module, DWORD(kModulePathMax));
    if (moduleLength == 0 || moduleLength >= kModulePathMax) {
        // A path cut at the buffer's end names some other file.
        const DWORD e = moduleLength == 0 ? GetLastError() : DWORD(ERROR_INSUFFICIENT_BUFFER);
        Report(msg::kModuleFileName, unsigned(e));
        return exitcode::kNoPath;
    }
    const std::wstring loaderPath(module, moduleLength);

    // Only the pages of the image headers are looked at.
    const auto* image = reinterpret_cast<const uint8_t*>(GetModuleHandleW(nullptr));
    MEMORY_BASIC_INFORMATION region{};
    const size_t headerBytes =
        image && VirtualQuery(image, &region, sizeof region) ? region.RegionSize : 0;
    StubLocation stub;
    switch (FindStubSection(image, headerBytes, stub)) {
    case ImageCheck::NoSignature:
        Report("%s", msg::kNoMzSignature);
        return exitcode::kBadImage;
    case ImageCheck::NoStubSection:
        Report("%s", msg::kNoStubSection);
        return exitcode::kBadImage;
    case ImageCheck::Ok:
        break;
    }

    wchar_t temp[kTempPathBufferSize];
    const DWORD tempLength = GetTempPathW(DWORD(kTempPathBufferSize), temp);
    if (tempLength == 0 || tempLength >= kTempPathBufferSize) {
        const DWORD e = tempLength == 0 ? GetLastError() : DWORD(ERROR_INSUFFICIENT_BUFFER);
        Report(msg::kTempPath, unsigned(e));
        return exitcode::kNoPath;
    }

    EngineFile engine; // removes the library and its folder on every way out
    const std::wstring fileName = FromAnsi(LibraryFileName(processId));
    if (DWORD rc = engine.Extract(std::wstring(temp, tempLength), fileName, loaderPath, stub)) {
        Report(msg::kExtracting, unsigned(rc), ToAnsi(engine.Path()).c_str());
        return exitcode::kNoEngine;
    }

    HMODULE library = LoadLibraryW(engine.Path().c_str());
    const DWORD loadError = GetLastError();
    engine.ReleaseHold();
    if (!library) {
        Report(msg::kLoading, unsigned(loadError), ToAnsi(engine.Path()).c_str());
        return exitcode::kNoEngine;
    }
    auto entry = reinterpret_cast<RunInstallerFn>(
        reinterpret_cast<void*>(GetProcAddress(library, kEngineEntryName)));
    if (!entry) {
        const DWORD e = GetLastError();
        FreeLibrary(library);
        Report(msg::kEntryPoint, unsigned(e), ToAnsi(engine.Path()).c_str());
        return exitcode::kNoEngine;
    }

    const std::string commandLine =
        BuildEngineCommandLine(ReadArgumentsString(loaderPath), ReadTrailerText(loaderPath),
                               OwnArguments(GetCommandLineA()), ToAnsi(loaderPath));
    const DWORD result = entry(commandLine.c_str(), 0);
    FreeLibrary(library);
    engine.Remove();
    return int(result);
}

} // namespace

} // namespace vyk

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        return vyk::RunLoader();
    } catch (...) {
        // Out of memory while assembling a text: nothing sensible to run.
        return vyk::exitcode::kNoEngine;
    }
}
