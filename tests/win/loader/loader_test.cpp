// VykLoader.exe for real: installers are packed by vykpack.exe around the
// test engine library and started with CreateProcess; the tests check the
// exit code, the message log and what the engine recorded, and that the
// unpacked library and its folder are gone afterwards.
#include "loader/cmdline.h"
#include "loader/container.h"
#include "loader/peimage.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace vyk {
namespace {

std::wstring Widen(const std::string& s) {
    const int n = MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), nullptr, 0);
    std::wstring w(size_t(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), w.data(), n);
    return w;
}

std::string Narrow(const std::wstring& w) {
    const int n =
        WideCharToMultiByte(CP_ACP, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::wstring BinDir() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path, n);
    return p.substr(0, p.find_last_of(L'\\'));
}

// The test's own temporary folder, taken before any test changes TMP.
const std::wstring& BaseDir() {
    static const std::wstring base = [] {
        wchar_t t[MAX_PATH];
        const DWORD n = GetTempPathW(MAX_PATH, t);
        std::wstring dir = std::wstring(t, n) + L"vykwt-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(dir.c_str(), nullptr);
        return dir;
    }();
    return base;
}

void DeleteTree(const std::wstring& dir) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = dir + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
}

std::vector<std::wstring> ListFolder(const std::wstring& dir) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = fd.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return names;
}

std::string ReadText(const std::wstring& path) {
    std::ifstream f(path.c_str(), std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

std::vector<uint8_t> ReadBytes(const std::wstring& path) {
    const std::string s = ReadText(path);
    return {s.begin(), s.end()};
}

void WriteBytes(const std::wstring& path, const std::vector<uint8_t>& b) {
    std::ofstream f(path.c_str(), std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

std::wstring Quote(const std::wstring& s) {
    return L"\"" + s + L"\"";
}

struct Process {
    DWORD exitCode = 0xFFFFFFFF;
    DWORD processId = 0;
};

// Starts a program with the given command line and waits for it.
Process RunProgram(const std::wstring& exe, const std::wstring& commandLine) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring line = commandLine;
    Process p;
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        ADD_FAILURE() << "cannot start " << Narrow(exe) << ": " << GetLastError();
        return p;
    }
    if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
        ADD_FAILURE() << Narrow(exe) << " did not finish";
    }
    GetExitCodeProcess(pi.hProcess, &p.exitCode);
    p.processId = pi.dwProcessId;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return p;
}

std::map<std::string, std::string> ParseRecord(const std::string& text) {
    std::map<std::string, std::string> m;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const size_t eq = line.find('=');
        if (eq != std::string::npos)
            m[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return m;
}

constexpr const char* kFlags = "MB_OK|MB_ICONERROR|MB_SERVICE_NOTIFICATION";
// 2001-01-01 12:00:00 UTC: a whole second, so no file system rounds it.
constexpr uint64_t kEngineTime = 126227952000000000ull;

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        work_ = BaseDir() + L"\\" + Widen(info->name());
        DeleteTree(work_);
        ASSERT_TRUE(CreateDirectoryW(work_.c_str(), nullptr));
        temp_ = work_ + L"\\tmp";
        ASSERT_TRUE(CreateDirectoryW(temp_.c_str(), nullptr));
        // The engine, with a known time to see it applied to the extracted copy.
        engine_ = work_ + L"\\engine.dll";
        ASSERT_TRUE(
            CopyFileW((BinDir() + L"\\vyk_test_engine.dll").c_str(), engine_.c_str(), FALSE));
        HANDLE h = CreateFileW(engine_.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0,
                               nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        FILETIME ft{DWORD(kEngineTime), DWORD(kEngineTime >> 32)};
        SetFileTime(h, nullptr, nullptr, &ft);
        CloseHandle(h);
        SetEnvironmentVariableW(L"TMP", temp_.c_str());
        SetEnvironmentVariableW(L"TEMP", temp_.c_str());
        SetEnvironmentVariableW(L"VYK_MESSAGE_LOG", (work_ + L"\\messages.log").c_str());
        SetEnvironmentVariableW(L"VYK_ENGINE_RECORD", (work_ + L"\\record.txt").c_str());
        SetEnvironmentVariableW(L"VYK_ENGINE_RESULT", L"42");
        SetEnvironmentVariableW(L"VYK_ENGINE_PIN", nullptr);
    }

    void TearDown() override { DeleteTree(work_); }

    // Runs vykpack.exe with the loader, the given engine and more options;
    // the installer is work\setup.exe.
    std::wstring Pack(const std::wstring& options, const std::wstring& engine = L"") {
        const std::wstring out = work_ + L"\\setup.exe";
        const std::wstring line = L"vykpack.exe --loader " + Quote(BinDir() + L"\\VykLoader.exe") +
                                  L" --engine " + Quote(engine.empty() ? engine_ : engine) +
                                  L" --output " + Quote(out) + L" " + options;
        const Process p = RunProgram(BinDir() + L"\\vykpack.exe", line);
        EXPECT_EQ(p.exitCode, 0u) << Narrow(line);
        return out;
    }

    Process Run(const std::wstring& exe, const std::wstring& arguments = L"") {
        return RunProgram(exe, Quote(exe) + (arguments.empty() ? L"" : L" " + arguments));
    }

    std::map<std::string, std::string> Record() {
        return ParseRecord(ReadText(work_ + L"\\record.txt"));
    }
    std::string Messages() { return ReadText(work_ + L"\\messages.log"); }

    // The library path the loader uses for a process: a private folder
    // "Vyk" + 16 hexadecimal digits in the temporary folder.
    ::testing::AssertionResult IsLibraryPath(const std::string& path, DWORD pid) {
        const std::string prefix = Narrow(temp_) + "\\Vyk";
        const std::string suffix = "\\" + LibraryFileName(pid);
        if (path.size() != prefix.size() + 16 + suffix.size() || path.rfind(prefix, 0) != 0 ||
            path.compare(path.size() - suffix.size(), suffix.size(), suffix) != 0)
            return ::testing::AssertionFailure()
                   << path << " is not " << prefix << "<16 hex>" << suffix;
        for (size_t i = prefix.size(); i < prefix.size() + 16; ++i)
            if (!std::isxdigit(static_cast<unsigned char>(path[i])))
                return ::testing::AssertionFailure() << path;
        return ::testing::AssertionSuccess();
    }

    // One logged report; the path after the given text is returned in path.
    ::testing::AssertionResult LoggedReport(const std::string& lead, std::string& path) {
        const std::string log = Messages();
        const std::string head = "MessageBox\tVYK Loader\t" + lead;
        const std::string tail = std::string("\\n\t") + kFlags + "\n";
        if (log.rfind(head, 0) != 0 || log.size() < head.size() + tail.size() ||
            log.compare(log.size() - tail.size(), tail.size(), tail) != 0 ||
            log.find('\n') != log.size() - 1)
            return ::testing::AssertionFailure() << "log: " << log;
        std::string escaped = log.substr(head.size(), log.size() - head.size() - tail.size());
        path.clear();
        for (size_t i = 0; i < escaped.size(); ++i) {
            if (escaped[i] == '\\' && i + 1 < escaped.size())
                ++i;
            path += escaped[i];
        }
        return ::testing::AssertionSuccess();
    }

    std::wstring work_, temp_, engine_;
};

TEST_F(LoaderTest, EngineRunsWithTheAssembledCommandLineAndIsRemoved) {
    const std::wstring setup =
        Pack(L"--arguments /lang:de --trailer \"/log x\" --trailer-encoding utf8 "
             L"--engine-attributes 0x21 --archive " +
             Quote(engine_));
    const Process p = Run(setup, L"/q \"a b\"");
    EXPECT_EQ(p.exitCode, 42u);
    auto rec = Record();
    EXPECT_EQ(rec["cmdline"], "/lang:de /log x /q \"a b\" /d:\"" + Narrow(setup) + "\"");
    EXPECT_TRUE(IsLibraryPath(rec["path"], p.processId));
    EXPECT_EQ(rec["reserved"], "0");
    EXPECT_EQ(std::stoul(rec["attributes"]) & 0x21u, 0x21u);
    EXPECT_EQ(rec["writetime"], std::to_string(kEngineTime));
    EXPECT_TRUE(ListFolder(temp_).empty()) << "left behind in the temporary folder";
    EXPECT_EQ(Messages(), "");
}

TEST_F(LoaderTest, EmptyPartsKeepTheirSpaces) {
    const std::wstring setup = Pack(L"");
    SetEnvironmentVariableW(L"VYK_ENGINE_RESULT", L"3010");
    const Process p = Run(setup);
    EXPECT_EQ(p.exitCode, 3010u);
    EXPECT_EQ(Record()["cmdline"], "   /d:\"" + Narrow(setup) + "\"");
}

TEST_F(LoaderTest, TrailerInEachEncodingReachesTheEngineInAnsi) {
    struct Case {
        const wchar_t* encoding;
        const char* want;
    } cases[] = {{L"ansi", "caf\xE9 /x"}, {L"utf8", "caf\xE9 /x"}, {L"utf16", "caf\xE9 /x"}};
    for (const auto& c : cases) {
        const std::wstring setup =
            Pack(std::wstring(L"--trailer \"caf\u00E9 /x\" --trailer-encoding ") + c.encoding);
        const Process p = Run(setup);
        EXPECT_EQ(p.exitCode, 42u) << Narrow(c.encoding);
        EXPECT_EQ(Record()["cmdline"], std::string(" ") + c.want + "  /d:\"" + Narrow(setup) + "\"")
            << Narrow(c.encoding);
    }
}

TEST_F(LoaderTest, QuotedPathWithSpacesPassesOnlyTheRest) {
    const std::wstring setup = Pack(L"");
    const std::wstring dir = work_ + L"\\dir with spaces";
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    const std::wstring moved = dir + L"\\setup.exe";
    ASSERT_TRUE(CopyFileW(setup.c_str(), moved.c_str(), FALSE));
    const Process p = Run(moved, L"/q");
    EXPECT_EQ(p.exitCode, 42u);
    EXPECT_EQ(Record()["cmdline"], "  /q /d:\"" + Narrow(moved) + "\"");
}

TEST_F(LoaderTest, PackedVersionStringsAreReadable) {
    const std::wstring setup =
        Pack(L"--arguments \"/a 1\" --package-code {12345678-9ABC-DEF0-0123-456789ABCDEF}");
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(setup.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(setup.c_str(), 0, size, block.data()));
    auto query = [&](const wchar_t* key) {
        void* p = nullptr;
        UINT len = 0;
        std::wstring k = std::wstring(L"\\StringFileInfo\\040904E4\\") + key;
        if (!VerQueryValueW(block.data(), k.c_str(), &p, &len))
            return std::string("(missing)");
        return Narrow(static_cast<const wchar_t*>(p));
    };
    EXPECT_EQ(query(L"Arguments"), "/a 1");
    EXPECT_EQ(query(L"PackageCode"), "{12345678-9ABC-DEF0-0123-456789ABCDEF}");
    EXPECT_EQ(query(L"FileDescription"), "Installer");
    EXPECT_EQ(query(L"InternalName"), "VykLoader");

    // The installer is a loader of the build's own kind (PE32+ in the
    // 64-bit build), and its archive section carries the same package code.
    std::string error;
    PeFile pe;
    ASSERT_TRUE(pe.Parse(ReadBytes(setup), error)) << error;
    EXPECT_EQ(pe.Is64Bit(), sizeof(void*) == 8);
    const Section* arch = pe.FindSection(".vykarch");
    ASSERT_NE(arch, nullptr);
    const uint8_t* a = pe.Bytes().data() + arch->rawOffset;
    const uint8_t want[16] = {0x78, 0x56, 0x34, 0x12, 0xBC, 0x9A, 0xF0, 0xDE,
                              0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    EXPECT_EQ(std::memcmp(a + kOffPackageCode, want, 16), 0);
}

TEST_F(LoaderTest, LoaderWithoutStubSectionExits254) {
    const std::wstring plain = work_ + L"\\VykLoader.exe";
    ASSERT_TRUE(CopyFileW((BinDir() + L"\\VykLoader.exe").c_str(), plain.c_str(), FALSE));
    EXPECT_EQ(Run(plain).exitCode, 254u);
    EXPECT_EQ(Messages(),
              std::string("MessageBox\tVYK Loader\tExecutable has no .vykstub section\\n\t") +
                  kFlags + "\n");
    EXPECT_TRUE(ListFolder(temp_).empty());
}

TEST_F(LoaderTest, DamagedStubGives249WithTheUnpackingCode) {
    struct Case {
        const char* name;
        size_t offset;
        uint8_t flip; // exclusive-or into the byte
        bool setFlag;
        unsigned code;
    } cases[] = {
        {"container magic", kOffMagic, 0x20, false, 13},
        {"check pair", 64, 0x55, false, 13},
        {"check pair with flag bit 0", 64, 0x55, true, 6001},
        {"properties", 72, 0xA0, false, 1114}, // 0x5D becomes 0xFD, above 224
        {"stream", 77, 0xFF, false, 30},       // the stream's first byte must be 0
    };
    const std::wstring setup = Pack(L"");
    const std::vector<uint8_t> good = ReadBytes(setup);
    StubLocation stub;
    ASSERT_EQ(FindStubSection(good.data(), good.size(), stub), ImageCheck::Ok);
    for (const auto& c : cases) {
        std::vector<uint8_t> bad = good;
        bad[stub.rawOffset + c.offset] ^= c.flip;
        if (c.setFlag)
            bad[stub.rawOffset + kOffFlags] |= 1;
        WriteBytes(setup, bad);
        DeleteFileW((work_ + L"\\messages.log").c_str());
        const Process p = Run(setup);
        EXPECT_EQ(p.exitCode, 249u) << c.name;
        std::string path;
        EXPECT_TRUE(
            LoggedReport("Error " + std::to_string(c.code) + " while extracting VYK.DLL to ", path))
            << c.name;
        EXPECT_TRUE(IsLibraryPath(path, p.processId)) << c.name;
        EXPECT_TRUE(ListFolder(temp_).empty()) << c.name;
    }
}

TEST_F(LoaderTest, LibraryThatDoesNotLoadGives249) {
    const std::wstring junk = work_ + L"\\junk.dll";
    WriteBytes(junk, std::vector<uint8_t>(5000, 'x'));
    const std::wstring setup = Pack(L"", junk);
    const Process p = Run(setup);
    EXPECT_EQ(p.exitCode, 249u);
    std::string path;
    EXPECT_TRUE(LoggedReport("Error 193 while loading VYK.DLL ", path));
    EXPECT_TRUE(IsLibraryPath(path, p.processId));
    EXPECT_TRUE(ListFolder(temp_).empty());
}

TEST_F(LoaderTest, LibraryWithoutTheEntryGives249) {
    // The library exports the function only under the name that a loader of
    // the other kind asks for: the 32-bit decorated name in the 64-bit build,
    // the plain and the compiler's names in the 32-bit build.
    const std::wstring noentry = BinDir() + L"\\vyk_noentry_engine.dll";
    const bool is64 = sizeof(void*) == 8;
    HMODULE lib = LoadLibraryW(noentry.c_str());
    ASSERT_NE(lib, nullptr);
    EXPECT_EQ(GetProcAddress(lib, is64 ? kEngineEntryName64 : kEngineEntryName32), nullptr);
    EXPECT_NE(GetProcAddress(lib, is64 ? kEngineEntryName32 : kEngineEntryName64), nullptr);
    FreeLibrary(lib);

    const std::wstring setup = Pack(L"", noentry);
    const Process p = Run(setup);
    EXPECT_EQ(p.exitCode, 249u);
    std::string path;
    EXPECT_TRUE(
        LoggedReport("Error 127 while retrieving VykRunInstaller() entry point from ", path));
    EXPECT_TRUE(IsLibraryPath(path, p.processId));
    EXPECT_TRUE(ListFolder(temp_).empty());
    EXPECT_EQ(ReadText(work_ + L"\\record.txt"), "") << "the engine must not have run";
}

TEST_F(LoaderTest, LockedLibraryIsLeftBehindAndTheResultKept) {
    const std::wstring setup = Pack(L"");
    SetEnvironmentVariableW(L"VYK_ENGINE_PIN", L"1");
    const Process p = Run(setup);
    EXPECT_EQ(p.exitCode, 42u);
    // The library stays in its folder: the process held it until it ended.
    const std::string path = Record()["path"];
    ASSERT_TRUE(IsLibraryPath(path, p.processId));
    EXPECT_NE(GetFileAttributesW(Widen(path).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Messages(), "");
}

} // namespace
} // namespace vyk
