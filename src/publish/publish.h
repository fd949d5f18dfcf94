// Publishing a project folder: the launcher files that every save
// refreshes (autorun.exe, autorun.ico, autorun.inf), the launcher's file
// information, and the single-file executable (the launcher with the packed
// project folder and its offset appended). The file work is portable;
// questions and dialogs go through PublishUi.
#pragma once

#include "base/report.h"

#include <cstdint>
#include <string>

namespace orv::publish {

inline constexpr const char* kLauncherFile = "autorun.exe";
inline constexpr const char* kCDIconFile = "autorun.ico";
inline constexpr const char* kAutorunInfFile = "autorun.inf";
inline constexpr const char* kDefaultIconFile = "Default.ico";

// Operation codes of the reports.
inline constexpr int kCodeCopyCDIcon = 5100;
inline constexpr int kCodeCopyLauncher = 5101;
inline constexpr int kCodeCopyDefaultIcon = 5102;
inline constexpr int kCodeSingleFile = 5301;

// The three file-information strings are stored with exactly this many
// characters.
inline constexpr size_t kFileInfoLength = 100;

// The largest single-file executable: its int32 trailer and the player's
// reader address at most this many bytes.
inline constexpr int64_t kMaxSingleFileSize = 0x7FFFFFFF;

// What the operations need to know about the running program and the
// project.
struct LauncherContext {
    std::string projectFolder;  // without a trailing separator
    std::string programPath;    // the running program, copied as the launcher
    std::string ownFileVersion; // its "FileVersion"
    std::string cdLabel;        // the project's CD label
};

// Dialogs and actions of the editor that publishing uses. The Windows
// program implements them with the interaction module; tests answer them.
class PublishUi {
public:
    virtual ~PublishUi() = default;
    virtual Reporter& Messages() = 0;
    // An open dialog titled title with a filter such as
    // "Icon Files (*.ico)|*.ico", starting at path; false on cancel.
    virtual bool PickOpenFile(const std::string& title, const std::string& filter,
                              std::string& path) = 0;
    // A save dialog that adds defaultExtension when the user types none;
    // false on cancel.
    virtual bool PickSaveFile(const std::string& filter, const std::string& defaultExtension,
                              std::string& path) = 0;
    // The editor's save command (which also refreshes the launcher files).
    virtual bool SaveProject() = 0;
    // Opens a file with the platform shell's "Open" verb.
    virtual void OpenFile(const std::string& path) = 0;
    // The hourglass cursor while files are copied and packed.
    virtual void SetBusy(bool) {}
};

// Refreshes the launcher files of the project folder, as every save does:
// the launcher is copied from the program when its "FileVersion" differs
// from the program's (or it is missing), and its recorded file name set to
// "autorun.exe" padded with blanks; Default.ico from the program's folder
// becomes autorun.ico when that is missing; autorun.inf gets its three
// keys. Reports every failure; false then.
bool RefreshLauncherFiles(const LauncherContext& ctx, Reporter& reporter);

// Writes OPEN, ICON and LABEL of section "autorun" into the folder's
// autorun.inf, keeping every other section and key. False on failure.
bool WriteAutorunInf(const std::string& folder, const std::string& label);

// The file information dialog's apply step: brings the launcher to the
// program's version when needed, replaces its main icon with iconFile (when
// given and present), and writes the three texts cut or padded to 100
// characters. All changes are made on a copy that replaces the launcher only
// when every step succeeded. Reports failures; false then.
bool UpdateLauncherInformation(const LauncherContext& ctx, const std::string& iconFile,
                               const std::string& description, const std::string& company,
                               const std::string& legalNotice, Reporter& reporter);

// The CD icon choice: an icon file picked by the user replaces autorun.ico.
// True when it was replaced.
bool ChooseCDIcon(const LauncherContext& ctx, PublishUi& ui);

// Builds the single-file executable: picks the target, refuses one inside
// the project folder, saves the project, builds, and offers to launch it.
bool BuildSingleFile(const LauncherContext& ctx, PublishUi& ui);

// The building step alone (the command-line publisher calls it): the
// project folder's launcher, the packed folder without the top-level
// launcher, the int32 offset of the packed folder; the recorded file name
// is blanked. Written to a temporary file beside target that replaces
// target only when complete; a failure leaves no partial output. A result
// larger than maxSize is refused.
bool BuildSingleFileTo(const std::string& projectFolder, const std::string& target,
                       Reporter& reporter, int64_t maxSize = kMaxSingleFileSize);

// True when path lies in folder or below it (letter case ignored).
bool IsInsideFolder(const std::string& folder, const std::string& path);

// Replaces the executable's "MAINICON" group with the icon file's images:
// through the platform's resource update functions on Windows, through the
// portable resource-section rewrite elsewhere. Throws
// pe::ResourceUpdateError.
void ReplaceMainIcon(const std::string& file, const std::string& iconFile);

#ifdef _WIN32
// The best image of the file's "MAINICON" group as an icon handle (HICON),
// or null when it has none. Throws pe::PeError as pe::LoadMainIcon.
void* CreateMainIcon(const std::string& file);
#endif

// Single-byte text of the platform's code page to UTF-16.
std::u16string AnsiToUtf16(const std::string& text);

} // namespace orv::publish
