// A stand-in installer engine for the loader's tests. It writes what it was
// given to the file named by VYK_ENGINE_RECORD and returns the number in
// VYK_ENGINE_RESULT. With VYK_ENGINE_PIN=1 it loads itself once more and
// never lets go, so its file stays locked after the loader unloads it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

bool Env(const char* name, char* buf, DWORD size) {
    const DWORD n = GetEnvironmentVariableA(name, buf, size);
    return n > 0 && n < size;
}

} // namespace

extern "C" DWORD WINAPI VykRunInstallerA(LPCSTR commandLine, DWORD reserved) {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&VykRunInstallerA), &self);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(self, path, MAX_PATH);

    char value[MAX_PATH];
    if (Env("VYK_ENGINE_RECORD", value, sizeof value)) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExA(path, GetFileExInfoStandard, &data);
        const unsigned long long writeTime = (unsigned long long)data.ftLastWriteTime.dwHighDateTime
                                                 << 32 |
                                             data.ftLastWriteTime.dwLowDateTime;
        if (FILE* f = std::fopen(value, "wb")) {
            std::fprintf(f, "cmdline=%s\npath=%s\nattributes=%lu\nwritetime=%llu\nreserved=%lu\n",
                         commandLine ? commandLine : "(null)", path,
                         (unsigned long)data.dwFileAttributes, writeTime, (unsigned long)reserved);
            std::fclose(f);
        }
    }
    if (Env("VYK_ENGINE_PIN", value, sizeof value) && value[0] == '1')
        LoadLibraryA(path);
    if (Env("VYK_ENGINE_RESULT", value, sizeof value))
        return DWORD(std::strtoul(value, nullptr, 10));
    return 0;
}
