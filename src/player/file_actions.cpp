#include "player/file_actions.h"

#include "base/fsys.h"
#include "base/report.h"
#include "player/action_params.h"

#include <algorithm>

namespace orv::player {

namespace {

std::vector<std::string> PathParts(const std::string& relative) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : relative) {
        if (c == '\\' || c == '/') {
            if (!part.empty())
                parts.push_back(std::move(part));
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(std::move(part));
    return parts;
}

// Creates folder and every missing parent.
void CreateFolders(const std::string& folder) {
    if (folder.empty() || fsys::DirectoryExists(folder))
        return;
    std::string parent = folder;
    while (!parent.empty() && (parent.back() == '\\' || parent.back() == '/'))
        parent.pop_back();
    size_t cut = parent.find_last_of("\\/");
    if (cut != std::string::npos && cut > 0) {
        std::string up = parent.substr(0, cut);
        // Keep a drive root ("C:") as "C:\".
        if (up.size() == 2 && up[1] == ':')
            up += '\\';
        CreateFolders(up);
    }
    fsys::CreateDir(folder);
}

// Copies over an existing destination after clearing its read-only mark.
void CopyOver(const std::string& from, const std::string& to) {
    if (fsys::FileExists(to))
        fsys::ClearReadOnly(to);
    fsys::CopyFileTo(from, to, true);
}

// Whether target holds a file for every file of the source tree and a
// folder for every sub-folder.
bool HoldsEverything(const std::string& source, const std::string& target, int depth) {
    if (depth > 64)
        return true;
    std::vector<std::string> names;
    if (fsys::ListDir(source, false, names))
        for (const std::string& n : names)
            if (!fsys::FileExists(fsys::Join(target, n)))
                return false;
    if (fsys::ListDir(source, true, names))
        for (const std::string& n : names) {
            const std::string sub = fsys::Join(source, n);
            if (fsys::IsLink(sub))
                continue;
            if (!fsys::DirectoryExists(fsys::Join(target, n)) ||
                !HoldsEverything(sub, fsys::Join(target, n), depth + 1))
                return false;
        }
    return true;
}

void CopyTree(const std::string& source, const std::string& target, bool overwrite, int depth) {
    // Links are not followed, so a loop in the source cannot run away.
    if (depth > 64)
        return;
    CreateFolders(target);
    std::vector<std::string> names;
    if (fsys::ListDir(source, false, names))
        for (const std::string& n : names) {
            const std::string to = fsys::Join(target, n);
            if (overwrite || !fsys::FileExists(to))
                CopyOver(fsys::Join(source, n), to);
        }
    if (fsys::ListDir(source, true, names))
        for (const std::string& n : names) {
            const std::string sub = fsys::Join(source, n);
            if (!fsys::IsLink(sub))
                CopyTree(sub, fsys::Join(target, n), overwrite, depth + 1);
        }
}

// The optional message before copying; false when a Yes/No question is
// not answered Yes.
bool AskBeforeCopy(const CopyFileSettings& s, ActionPlatform& platform) {
    if (!s.showMessage)
        return true;
    if (!s.yesNo) {
        platform.UI().Show(s.message, s.caption, mb::kIconInformation | mb::kOk);
        return true;
    }
    return platform.UI().Show(s.message, s.caption, mb::kIconInformation | mb::kYesNo) ==
           answer::kYes;
}

} // namespace

std::string JoinActionPath(const std::string& folder, const std::string& relative) {
    std::string path = folder;
    for (const std::string& part : PathParts(relative))
        path = fsys::Join(path, part);
    return path;
}

bool RunCopyFile(const std::string& settings, const std::string& projectFolder) {
    ActionPlatform& platform = Platform();
    CopyFileSettings s;
    if (ParseCopyFileSettings(settings, s) != ParamParse::Ok)
        return false;
    // A bracketed special-folder name becomes its path on this machine.
    std::string target = s.target;
    if (target.size() > 2 && target.front() == '[' && target.back() == ']') {
        std::string folder = platform.FolderOfToken(target);
        if (!folder.empty())
            target = folder;
    }
    if (target.empty())
        return false;
    const std::string toOpen = s.fileToOpen.empty() ? "" : JoinActionPath(target, s.fileToOpen);
    const std::string startIn = s.startFolder.empty() ? "" : JoinActionPath(target, s.startFolder);

    const std::string source = JoinActionPath(projectFolder, s.source);
    if (fsys::FileExists(source)) {
        const std::string destination = fsys::Join(target, PathParts(s.source).back());
        if (s.overwrite || !fsys::FileExists(destination)) {
            if (!AskBeforeCopy(s, platform))
                return false;
            // The target folder is made when missing, so the copy has
            // somewhere to go.
            CreateFolders(target);
            CopyOver(source, destination);
        }
    } else if (fsys::DirectoryExists(source)) {
        if (s.overwrite || !HoldsEverything(source, target, 0)) {
            if (!AskBeforeCopy(s, platform))
                return false;
            CopyTree(source, target, s.overwrite, 0);
        }
    } else {
        return false;
    }
    if (!toOpen.empty())
        ShellRun("open", toOpen, s.parameters, false, 1, startIn);
    return true;
}

FitRect ShrinkToFit(int cw, int ch, int pw, int ph) {
    cw = std::max(cw, 1);
    ch = std::max(ch, 1);
    pw = std::max(pw, 1);
    ph = std::max(ph, 1);
    // 64-bit products: a picture may be up to 16384 pixels on a side.
    auto scale = [](int a, int b, int c) { return static_cast<int>(int64_t{a} * b / c); };
    int w = pw, h = ph;
    const bool wide = pw > cw, tall = ph > ch;
    if (wide && !tall) {
        w = cw;
        h = scale(ph, cw, pw);
    } else if (tall && !wide) {
        w = scale(pw, ch, ph);
        h = ch;
    } else if (wide && tall) {
        w = scale(pw, ch, ph);
        h = ch;
        if (w > cw) {
            w = cw;
            h = scale(ph, cw, pw);
        }
    }
    return {(cw - w) / 2, (ch - h) / 2, w, h};
}

} // namespace orv::player
