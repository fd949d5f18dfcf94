// Start-up: the run mode, the project folder of each mode, single-file
// unpacking and the editor settings file. The decisions here are portable;
// the Windows entry (startup_win32.cpp) wires them to the platform.
#pragma once

#include "base/profile.h"
#include "base/report.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

inline constexpr const char* kProgramFileName = "Orvexa.exe";
inline constexpr const char* kProjectFileName = "autorun.aru";
inline constexpr const char* kSettingsFileName = "Orvexa.ini";
inline constexpr const char* kSingleFileFolderBase = "Orvexa";

enum class RunMode { Editor, Player, SingleFile };

// recordedName: the executable's "OriginalFilename", trimmed; fileName: its
// file name without folder, trimmed. A recorded name other than exactly
// "Orvexa.exe" plays (single-file when it is empty); the right recorded name
// under another file name (ignoring case) plays the folder it is in.
RunMode DecideRunMode(const std::string& recordedName, const std::string& fileName);

// Process-wide start-up state, read by the rest of the program.
struct TStartupState {
    std::string programFolder;
    std::string projectFolder;
    std::string projectFileName = kProjectFileName;
    bool editorMode = false;
    bool singleFileMode = false;
    bool folderChosenByDialog = false;
    bool previewFlag = false;
    bool exitRequested = false;
    int64_t projectFileTime = -1;
    bool projectLoaded = false;
    std::string personalFolder;
    std::string ownFileVersion;
    // The temporary folder a single-file run created (deleted at the end,
    // also when unpacking failed); empty otherwise.
    std::string singleFileFolder;
};
TStartupState& Startup();

// The editor's project folder from the settings file, the command line and
// the documents folder; empty when none of them names an existing folder
// (the caller then asks with the folder dialog).
//   settings: [START] DefaultPath when the settings file exists, else empty.
std::string EditorProjectFolder(const std::string& settingsDefaultPath,
                                const std::vector<std::string>& args,
                                const std::string& personalFolder);

// Unpacks a single-file executable: creates the first free "Orvexa" + N
// folder in tempBase, copies the executable there as "autorun.exe", reads
// the packed folder at the offset stored in its last four bytes and
// unpacks it. Returns the folder, or empty after reporting (5507 folder,
// 5508 copy, 103 damaged trailer or read failure, or the unpacker's own
// report). createdFolder receives the folder that was created, if any, so
// it can be removed at the end of the run whatever happened.
std::string UnpackSingleFile(const std::string& exePath, const std::string& tempBase,
                             Reporter& reporter, std::string& createdFolder);

// Editor settings from Orvexa.ini.
struct EditorSettings {
    std::string defaultPath;
    std::vector<std::string> recentNames;   // 10 entries
    std::vector<std::string> recentFolders; // 10 entries
    bool displayGrid = true;
    bool snapToGrid = true;
    int gridSizeX = 8;
    int gridSizeY = 8;
    bool hasBackgroundColor = false;
    int32_t backgroundColor = 0;
    std::string version;
};
inline constexpr int kRecentCount = 10;
inline constexpr int kMinGridSize = 2;
inline constexpr int kMaxGridSize = 99;

// Reads the settings; grid sizes are clamped to the grid dialog's range.
EditorSettings ReadEditorSettings(const IniFile& ini);
void WriteRecentProjects(IniFile& ini, const EditorSettings& settings);

} // namespace orv
