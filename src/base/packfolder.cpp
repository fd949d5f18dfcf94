#include "base/packfolder.h"

#include "base/fsys.h"
#include "base/path.h"

namespace orv {

namespace {

constexpr const char* kLauncherName = "autorun.exe";

// Smallest packed sub-folder: its name's length and two empty counts.
constexpr int64_t kMinPackedFolder = 4 + 8;
// Smallest packed file: its name's length and its size.
constexpr int64_t kMinPackedFile = 4 + 4;

bool PackInto(Stream& s, const std::string& folder, bool includeLauncher) {
    std::vector<std::string> dirs, files;
    ListFolder(folder, true, true, dirs);
    s.WriteI32(static_cast<int32_t>(dirs.size()));
    for (const std::string& d : dirs) {
        s.WriteString(d);
        // Sub-folders always carry their own launcher file.
        if (!PackInto(s, fsys::Join(folder, d), true))
            return false;
    }
    ListFolder(folder, false, includeLauncher, files);
    s.WriteI32(static_cast<int32_t>(files.size()));
    for (const std::string& f : files) {
        FileStream in;
        if (!in.Open(fsys::Join(folder, f), FileStream::Mode::Read))
            return false;
        int64_t size = in.Size();
        if (size > 0x7FFFFFFF)
            return false; // the stored size is an int32
        s.WriteString(f);
        s.WriteI32(static_cast<int32_t>(size));
        s.CopyFrom(in, size);
    }
    return true;
}

class Unpacker {
public:
    Unpacker(Stream& s, Reporter& r) : s_(s), r_(r) {}

    // Returns false after reporting.
    bool Run(const std::string& folder, int depth) {
        if (depth > kMaxPackDepth)
            return Damaged();
        int32_t dirs = s_.ReadI32();
        if (dirs < 0 || dirs > s_.Remaining() / kMinPackedFolder)
            return Damaged();
        for (int32_t i = 0; i < dirs; ++i) {
            std::string name = s_.ReadString();
            if (!IsPlainFileName(name))
                return BadName(name);
            std::string path = fsys::Join(folder, name);
            if (fsys::IsLink(path))
                return BadName(name);
            if (!fsys::DirectoryExists(path) && !fsys::CreateDir(path)) {
                r_.ReportFileError(101, path);
                return false;
            }
            if (!Run(path, depth + 1))
                return false;
        }
        int32_t files = s_.ReadI32();
        if (files < 0 || files > s_.Remaining() / kMinPackedFile)
            return Damaged();
        for (int32_t i = 0; i < files; ++i) {
            std::string name = s_.ReadString();
            if (!IsPlainFileName(name))
                return BadName(name);
            int32_t size = s_.ReadI32();
            if (size < 0 || size > s_.Remaining())
                return Damaged();
            std::string path = fsys::Join(folder, name);
            if (fsys::IsLink(path))
                return BadName(name);
            FileStream out;
            if (!out.Open(path, FileStream::Mode::Create)) {
                r_.ReportFileError(101, path);
                return false;
            }
            out.CopyFrom(s_, size);
            if (!out.Close()) {
                r_.ReportFileError(101, path);
                return false;
            }
        }
        return true;
    }

    bool Damaged() {
        r_.ShowErrorText(kPackedDataDamagedText);
        return false;
    }

private:
    bool BadName(const std::string& name) {
        r_.ShowErrorText("The packed data holds an invalid file name \"" + name + "\".");
        return false;
    }

    Stream& s_;
    Reporter& r_;
};

} // namespace

void ListFolder(const std::string& folder, bool wantFolders, bool includeLauncher,
                std::vector<std::string>& list) {
    fsys::ListDir(folder, wantFolders, list);
    if (!wantFolders && !includeLauncher)
        std::erase(list, std::string(kLauncherName));
}

bool PackFolder(Stream& stream, const std::string& folder, bool includeLauncher) {
    try {
        return PackInto(stream, folder, includeLauncher);
    } catch (const StreamError&) {
        return false;
    }
}

bool UnpackFolder(Stream& stream, const std::string& folder, Reporter& reporter) {
    Unpacker u(stream, reporter);
    try {
        return u.Run(folder, 0);
    } catch (const StreamError&) {
        return u.Damaged();
    }
}

bool DeleteFolderTree(const std::string& folder) {
    if (folder.empty() || !IsAbsolutePath(folder))
        return false;
    std::string f = ExcludeTrailingBackslash(folder);
    // A drive root or the file-system root is never a folder we made.
    if (f == "/" || (f.size() <= 3 && f.size() >= 2 && f[1] == ':'))
        return false;
    if (fsys::IsLink(f)) {
        // Remove the link itself, never what it points to.
        fsys::RemoveFile(f) || fsys::RemoveDir(f);
        return true;
    }
    std::vector<std::string> names;
    fsys::ListDir(f, true, names);
    for (const std::string& d : names)
        DeleteFolderTree(fsys::Join(f, d));
    fsys::ListDir(f, false, names);
    for (const std::string& n : names) {
        std::string p = fsys::Join(f, n);
        fsys::ClearReadOnly(p);
        fsys::RemoveFile(p);
    }
    fsys::RemoveDir(f);
    return true;
}

bool IsFolderEmpty(const std::string& folder) {
    if (!fsys::DirectoryExists(folder))
        return true;
    std::vector<std::string> a, b;
    fsys::ListDir(folder, true, a);
    fsys::ListDir(folder, false, b);
    return a.empty() && b.empty();
}

} // namespace orv
