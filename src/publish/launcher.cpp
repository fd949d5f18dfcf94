#include "base/fsys.h"
#include "base/path.h"
#include "base/profile.h"
#include "base/text.h"
#include "pe/pe_error.h"
#include "pe/version_info.h"
#include "publish/publish.h"

namespace orv::publish {

namespace {

constexpr const char* kInfSection = "autorun";
constexpr const char* kInfFailedText = "Save \"autorun.inf\" file failed.";
constexpr const char* kUpdateFailedCaption = "Update File Infomation Failed";
constexpr const char* kLauncherRunningHint =
    " If the \"autorun.exe\" is running, please terminate it and try again.";

// Suffix of the copies that are completed before they replace a file.
constexpr const char* kPartSuffix = ".tmp";

bool LauncherIsCurrent(const std::string& launcher, const std::string& ownVersion) {
    return fsys::FileExists(launcher) &&
           pe::ReadVersionString(launcher, "FileVersion") == ownVersion;
}

// Copies from to a temporary name beside to; the caller completes it and
// moves it over to. Read-only is cleared, since the copy is patched next.
bool CopyToPart(const std::string& from, const std::string& part) {
    if (!fsys::CopyFileTo(from, part, true))
        return false;
    fsys::ClearReadOnly(part);
    return true;
}

// Reports with the platform's error current now, then removes the part.
void ReportAndDiscard(Reporter& reporter, int code, const std::string& part) {
    reporter.ReportError(code);
    fsys::RemoveFile(part);
}

std::u16string FitText(const std::string& text) {
    std::u16string t = AnsiToUtf16(text);
    if (t.size() > kFileInfoLength)
        t.resize(kFileInfoLength);
    t.append(kFileInfoLength - t.size(), u' ');
    return t;
}

} // namespace

bool IsInsideFolder(const std::string& folder, const std::string& path) {
    return !folder.empty() && !MakeRelativePath(ExcludeTrailingBackslash(folder), path).empty();
}

bool WriteAutorunInf(const std::string& folder, const std::string& label) {
    std::string path = fsys::Join(folder, kAutorunInfFile);
    IniFile ini;
    if (!ini.Load(path))
        return false;
    ini.WriteString(kInfSection, "OPEN", "AUTORUN.EXE");
    ini.WriteString(kInfSection, "ICON", "AUTORUN.ICO");
    ini.WriteString(kInfSection, "LABEL", label);
    return ini.Save(path);
}

bool RefreshLauncherFiles(const LauncherContext& ctx, Reporter& reporter) {
    if (!fsys::DirectoryExists(ctx.projectFolder)) {
        reporter.ReportFolderNotFound(ctx.projectFolder);
        return false;
    }
    std::string launcher = fsys::Join(ctx.projectFolder, kLauncherFile);
    if (!LauncherIsCurrent(launcher, ctx.ownFileVersion)) {
        std::string part = launcher + kPartSuffix;
        if (!CopyToPart(ctx.programPath, part)) {
            ReportAndDiscard(reporter, kCodeCopyLauncher, part);
            return false;
        }
        try {
            pe::SetVersionStrings(part, {{"OriginalFilename", u"autorun.exe", true}});
        } catch (const pe::ResourceUpdateError& e) {
            fsys::RemoveFile(part);
            reporter.ShowErrorText(e.what());
            return false;
        }
        if (!fsys::MoveReplace(part, launcher)) {
            ReportAndDiscard(reporter, kCodeCopyLauncher, part);
            return false;
        }
    }

    std::string icon = fsys::Join(ctx.projectFolder, kCDIconFile);
    std::string defaultIcon = fsys::Join(ExtractFileDir(ctx.programPath), kDefaultIconFile);
    if (!fsys::FileExists(icon) && fsys::FileExists(defaultIcon)) {
        std::string part = icon + kPartSuffix;
        if (!CopyToPart(defaultIcon, part) || !fsys::MoveReplace(part, icon)) {
            ReportAndDiscard(reporter, kCodeCopyDefaultIcon, part);
            return false;
        }
    }

    if (!WriteAutorunInf(ctx.projectFolder, ctx.cdLabel)) {
        reporter.Show(kInfFailedText, "Error", mb::kIconError | mb::kOk);
        return false;
    }
    return true;
}

bool UpdateLauncherInformation(const LauncherContext& ctx, const std::string& iconFile,
                               const std::string& description, const std::string& company,
                               const std::string& legalNotice, Reporter& reporter) {
    std::string launcher = fsys::Join(ctx.projectFolder, kLauncherFile);
    std::string part = launcher + kPartSuffix;
    bool current = LauncherIsCurrent(launcher, ctx.ownFileVersion);
    auto copyFailed = [&] {
        int e = reporter.LastErrorNumber();
        std::string text = reporter.ErrorText(e);
        while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
            text.pop_back();
        fsys::RemoveFile(part);
        reporter.Show(text + kLauncherRunningHint, kUpdateFailedCaption, mb::kIconError | mb::kOk);
        return false;
    };
    if (!CopyToPart(current ? launcher : ctx.programPath, part))
        return copyFailed();
    try {
        if (!current)
            pe::SetVersionStrings(part, {{"OriginalFilename", u"autorun.exe", true}});
        if (!iconFile.empty() && fsys::FileExists(iconFile))
            ReplaceMainIcon(part, iconFile);
        pe::SetVersionStrings(part, {{"CompanyName", FitText(company), false},
                                     {"FileDescription", FitText(description), false},
                                     {"LegalCopyright", FitText(legalNotice), false}});
    } catch (const pe::PeError& e) {
        fsys::RemoveFile(part);
        reporter.ShowErrorText(e.what());
        return false;
    }
    if (!fsys::MoveReplace(part, launcher))
        return copyFailed();
    return true;
}

bool ChooseCDIcon(const LauncherContext& ctx, PublishUi& ui) {
    std::string target = fsys::Join(ctx.projectFolder, kCDIconFile);
    std::string chosen = target;
    if (!ui.PickOpenFile("Select Icon File", "Icon Files (*.ico)|*.ico", chosen))
        return false;
    if (SameTextAscii(chosen, target))
        return false;
    std::string part = target + kPartSuffix;
    if (!CopyToPart(chosen, part) || !fsys::MoveReplace(part, target)) {
        ReportAndDiscard(ui.Messages(), kCodeCopyCDIcon, part);
        return false;
    }
    return true;
}

} // namespace orv::publish
