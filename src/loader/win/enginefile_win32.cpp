#include "loader/container.h"
#include "loader/win/loader_win32.h"

// After windows.h: declares the system's random generator.
#include <ntsecapi.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cwchar>
#include <vector>

namespace vyk {

namespace {

// Attributes an entry may give the extracted file.
constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                      FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
constexpr int kFolderAttempts = 8;
constexpr int kDeleteAttempts = 10;
constexpr DWORD kDeleteWaitMs = 500;

// Every allocation of the unpacking comes zero-filled from the process heap.
void* HeapAllocate(void* heap, size_t count, size_t size) {
    if (size && count > SIZE_MAX / size)
        return nullptr;
    return HeapAlloc(static_cast<HANDLE>(heap), HEAP_ZERO_MEMORY, count * size);
}
void HeapRelease(void* heap, void* p) {
    if (p)
        HeapFree(static_cast<HANDLE>(heap), 0, p);
}

void Close(HANDLE& h) {
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    h = INVALID_HANDLE_VALUE;
}

// Reads the stub section of the loader's file, never past its raw size.
class SectionSource : public ByteSource {
public:
    SectionSource(HANDLE file, uint32_t size) : file_(file), left_(size) {}

    uint32_t Read(uint8_t* buf, size_t n, size_t& got) override {
        got = 0;
        const DWORD want = DWORD(std::min<uint64_t>(n, left_));
        if (want == 0)
            return err::kOk;
        DWORD read = 0;
        if (!ReadFile(file_, buf, want, &read, nullptr))
            return GetLastError();
        got = read;
        left_ -= read;
        return err::kOk;
    }

private:
    HANDLE file_;
    uint64_t left_;
};

// Writes the engine library. The writing handle shares only reading; when
// the data is complete the file is handed to a read-only handle that shares
// neither writing nor deletion and that is kept until the library is loaded
// (the system's loader cannot open a file that someone holds for writing,
// so the writing handle itself cannot be kept).
class FileSink : public EngineSink {
public:
    FileSink(const std::wstring& path, bool& created) : path_(path), created_(created) {}
    ~FileSink() override {
        Close(write_);
        Close(hold_);
    }

    uint32_t Create(const EntryHeader&) override {
        // The folder is new and private: a file there already was planted.
        write_ =
            CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (write_ == INVALID_HANDLE_VALUE)
            return GetLastError();
        created_ = true;
        return err::kOk;
    }

    uint32_t Write(const uint8_t* buf, size_t n, size_t& written) override {
        DWORD w = 0;
        if (!WriteFile(write_, buf, DWORD(n), &w, nullptr))
            return GetLastError();
        written = w;
        return err::kOk;
    }

    uint32_t Finish(const EntryHeader& h) override {
        FILE_BASIC_INFO info{};
        // 0 leaves a field unchanged; negative times have special meanings.
        if (h.fileTime > 0 && h.fileTime <= uint64_t(INT64_MAX))
            info.LastWriteTime.QuadPart = LONGLONG(h.fileTime);
        info.FileAttributes = h.attributes & kSettableAttributes;
        if ((info.LastWriteTime.QuadPart || info.FileAttributes) &&
            !SetFileInformationByHandle(write_, FileBasicInfo, &info, sizeof info))
            return GetLastError();
        // The bridge must share writing while the writer is open; the hold
        // opened after the writer closed proves that nobody else writes.
        HANDLE bridge = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        if (bridge == INVALID_HANDLE_VALUE)
            return GetLastError();
        Close(write_);
        hold_ = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
        const DWORD rc = hold_ == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        CloseHandle(bridge);
        return rc;
    }

    HANDLE TakeHold() {
        HANDLE h = hold_;
        hold_ = INVALID_HANDLE_VALUE;
        return h;
    }

private:
    const std::wstring& path_;
    bool& created_;
    HANDLE write_ = INVALID_HANDLE_VALUE;
    HANDLE hold_ = INVALID_HANDLE_VALUE;
};

// A security descriptor whose protected DACL grants the current user alone,
// inherited by what is created inside.
class PrivateSecurity {
public:
    DWORD Init() {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
            return GetLastError();
        DWORD len = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &len);
        // TOKEN_USER holds a pointer: the buffer is aligned for one on every
        // architecture.
        user_.assign(len / sizeof(std::max_align_t) + 1, std::max_align_t{});
        const BOOL ok = GetTokenInformation(token, TokenUser, user_.data(),
                                            DWORD(user_.size() * sizeof(std::max_align_t)), &len);
        const DWORD tokenError = GetLastError();
        CloseHandle(token);
        if (!ok)
            return tokenError;
        PSID sid = reinterpret_cast<TOKEN_USER*>(user_.data())->User.Sid;
        const DWORD aclSize = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(sid);
        acl_.assign(aclSize / sizeof(DWORD) + 1, 0);
        PACL acl = reinterpret_cast<PACL>(acl_.data());
        if (!InitializeAcl(acl, aclSize, ACL_REVISION) ||
            !AddAccessAllowedAceEx(acl, ACL_REVISION, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE,
                                   FILE_ALL_ACCESS, sid) ||
            !InitializeSecurityDescriptor(&sd_, SECURITY_DESCRIPTOR_REVISION) ||
            !SetSecurityDescriptorDacl(&sd_, TRUE, acl, FALSE) ||
            !SetSecurityDescriptorControl(&sd_, SE_DACL_PROTECTED, SE_DACL_PROTECTED))
            return GetLastError();
        sa_ = {sizeof sa_, &sd_, FALSE};
        return 0;
    }
    SECURITY_ATTRIBUTES* Attributes() { return &sa_; }

private:
    std::vector<std::max_align_t> user_;
    std::vector<DWORD> acl_;
    SECURITY_DESCRIPTOR sd_{};
    SECURITY_ATTRIBUTES sa_{};
};

} // namespace

DWORD EngineFile::CreatePrivateFolder(const std::wstring& tempDir) {
    PrivateSecurity security;
    if (DWORD rc = security.Init())
        return rc;
    for (int attempt = 0; attempt < kFolderAttempts; ++attempt) {
        uint32_t r[2] = {};
        if (!RtlGenRandom(r, sizeof r))
            return ERROR_GEN_FAILURE;
        wchar_t name[24];
        std::swprintf(name, 24, L"Vyk%08X%08X", unsigned(r[0]), unsigned(r[1]));
        std::wstring folder = tempDir;
        if (!folder.empty() && folder.back() != L'\\')
            folder += L'\\';
        folder += name;
        if (!CreateDirectoryW(folder.c_str(), security.Attributes())) {
            const DWORD e = GetLastError();
            if (e == ERROR_ALREADY_EXISTS)
                continue; // never reuse a folder: take another name
            return e;
        }
        folder_ = folder;
        // Keep the folder open without delete sharing so that it cannot be
        // renamed or replaced, and make sure it is a plain folder.
        folderHandle_ = CreateFileW(
            folder.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (folderHandle_ == INVALID_HANDLE_VALUE)
            return GetLastError();
        BY_HANDLE_FILE_INFORMATION info{};
        if (!GetFileInformationByHandle(folderHandle_, &info))
            return GetLastError();
        if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
            !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return ERROR_CANT_ACCESS_FILE;
        return 0;
    }
    return ERROR_ALREADY_EXISTS;
}

DWORD EngineFile::Extract(const std::wstring& tempDir, const std::wstring& fileName,
                          const std::wstring& loaderPath, const StubLocation& stub) {
    path_ = tempDir + fileName; // named in the report if no folder can be made
    if (DWORD rc = CreatePrivateFolder(tempDir))
        return rc;
    path_ = folder_ + L"\\" + fileName;

    HANDLE source = CreateFileW(loaderPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (source == INVALID_HANDLE_VALUE)
        return GetLastError();
    LARGE_INTEGER at{};
    at.QuadPart = stub.rawOffset;
    if (!SetFilePointerEx(source, at, nullptr, FILE_BEGIN)) {
        const DWORD e = GetLastError();
        CloseHandle(source);
        return e;
    }
    SectionSource input(source, stub.rawSize);
    FileSink sink(path_, fileCreated_);
    lzma_allocator heap{HeapAllocate, HeapRelease, GetProcessHeap()};
    const DWORD rc = UnpackEngine(input, sink, &heap);
    CloseHandle(source);
    if (rc == 0)
        hold_ = sink.TakeHold();
    return rc;
}

void EngineFile::ReleaseHold() {
    Close(hold_);
}

void EngineFile::Remove() {
    Close(hold_);
    if (fileCreated_) {
        fileCreated_ = false;
        const DWORD attrs = GetFileAttributesW(path_.c_str());
        if (attrs != INVALID_FILE_ATTRIBUTES) {
            DWORD plain = attrs & ~DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
            SetFileAttributesW(path_.c_str(), plain ? plain : FILE_ATTRIBUTE_NORMAL);
            // A library that is still mapped cannot be deleted yet: retry
            // for about five seconds, then leave it.
            for (int attempt = 1; attempt <= kDeleteAttempts; ++attempt) {
                if (DeleteFileW(path_.c_str()) || GetLastError() != ERROR_ACCESS_DENIED)
                    break;
                if (attempt < kDeleteAttempts)
                    Sleep(kDeleteWaitMs);
            }
        }
    }
    Close(folderHandle_);
    if (!folder_.empty()) {
        RemoveDirectoryW(folder_.c_str()); // fails, rightly, if the file was left behind
        folder_.clear();
    }
}

} // namespace vyk
