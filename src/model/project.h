// The project in memory and its file autorun.aru: settings, project action
// lists, the page table with each page record's position and length, the
// object summaries, and the page records themselves. Pages are not parsed at
// load; a window reads a page's record from the entry's cache or the file.
#pragma once

#include "model/page.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orv::model {

inline constexpr int32_t kProjectMagic = 21384; // 0x5388
inline constexpr const char* kProjectFileName = "autorun.aru";

// Summary node of a page's object tree (names and kinds only).
struct TObjectInfo {
    std::string Name;
    uint8_t Kind = 0;
    std::vector<TObjectInfo> Children;
    bool operator==(const TObjectInfo&) const = default;
};

// One page-table entry.
struct TFormData {
    std::string Name = "Unknown";
    int32_t Position = 0; // of the page record in the file last read or written
    int32_t Length = 0;
    TObjectInfo Summary;
    // The page record as last stored by the editor; supersedes the file copy.
    std::unique_ptr<MemoryStream> Cache;
    void* TreeNode = nullptr; // the editor's page tree node, not owned
};

struct TAuProject {
    std::string ApplicationTitle = "AutoRun CD";
    uint8_t Reserved1 = 0;
    double ReservedDate = 0.0;
    int32_t Reserved2 = 0;
    std::string Reserved3;
    uint8_t Reserved4 = 0;
    std::string LauncherName = "autorun.exe";
    std::string IconName = "autorun.ico";
    std::string CDLabel = "CDROM";
    std::string ReservedText;
    std::string DataFileName = "autorun.aru";
    TAuActions OnStart, OnExit, ReservedList;
    std::vector<std::unique_ptr<TFormData>> Pages;
    std::string ProjectPassword;
    bool Modified = false;

    // The scramble key and filler of the header block last read, kept only
    // so a tool can write a file back with the same header (not stored).
    int32_t HeaderKey = 0;
    std::vector<int32_t> HeaderFill;

    // Index of the first page with exactly this name, or -1.
    int FindPage(const std::string& name) const;
};

// Empties the project to its defaults. With a first page it adds "Page1":
// a blank page stored in the entry's cache with its summary, and marks the
// project modified.
void ResetProject(TAuProject& project, bool withFirstPage);

// Asked for the project password; returns false when cancelled.
using PasswordPrompt =
    std::function<bool(const std::string& title, const std::string& prompt, std::string& answer)>;

struct ProjectReadOptions {
    // The editor reads the object summaries; the player does not.
    bool readSummaries = false;
    // The editor asks for a set password; with no prompt nobody is asked
    // (the player never asks).
    PasswordPrompt askPassword;
};

// Replaces the project with the file's content; the project is reset first,
// also when the read fails.
bool ReadProjectFile(TAuProject& project, const std::string& file, Reporter& r,
                     const ProjectReadOptions& options = {});
// The same over a stream (file failures are reported with the given name).
bool ReadProjectStream(TAuProject& project, Stream& s, const std::string& name, Reporter& r,
                       const ProjectReadOptions& options = {});

// Progress while page records are written ("Save Project", one step a page).
struct SaveProgress {
    std::function<void(const std::string& title, int max)> show;
    std::function<void(int position)> step;
    std::function<void()> close;
};

// Where a page record went in a written file.
struct PageSpan {
    int32_t Position = 0;
    int32_t Length = 0;
};

struct ProjectWriteOptions {
    SaveProgress progress;
    // Seeds the header's random key and filler (otherwise the clock does).
    std::optional<uint32_t> seed;
    // Writes the header key and filler that were read (for tools that
    // compare a written file with its source).
    bool reuseHeader = false;
};

// Writes the project to file. Page records come from their caches, or are
// copied from oldFile (the file the pages were last read from or saved to;
// empty when there is none) at their entries' positions. When spans is
// given the entries are left alone and the new positions go there, for the
// caller to apply once the file is in place (CommitPageSpans); otherwise
// they are applied after the file has been written and closed. A file equal
// to oldFile is saved through SaveProjectFile.
bool WriteProjectFile(TAuProject& project, const std::string& file, const std::string& oldFile,
                      Reporter& r, const ProjectWriteOptions& options = {},
                      std::vector<PageSpan>* spans = nullptr);
// The same into a stream; oldStream may be null.
bool WriteProjectStream(const TAuProject& project, Stream& out, Stream* oldStream,
                        const std::string& name, Reporter& r, const ProjectWriteOptions& options,
                        std::vector<PageSpan>& spans);
// Applies the positions of a written file to the page table and marks the
// project unmodified.
void CommitPageSpans(TAuProject& project, const std::vector<PageSpan>& spans);

// Saves the project over projectFile safely: writes a temporary file beside
// it (copying unchanged page records from projectFile), flushes it to the
// device, and only then replaces projectFile and updates the page table. A
// failed save leaves projectFile and the page table as they were.
bool SaveProjectFile(TAuProject& project, const std::string& projectFile, Reporter& r,
                     const ProjectWriteOptions& options = {});
// The temporary file SaveProjectFile writes beside projectFile.
std::string SaveTempPath(const std::string& projectFile);

// Frees every page cache (after a successful save the file holds them).
void ReleasePageCaches(TAuProject& project);

// Rebuilds a page's summary from its object tree.
void RefreshPageSummary(TFormData& page, const TAuObject& root);
TObjectInfo MakeObjectInfo(const TAuObject& root);

// The record bytes of a page: its cache when present, else length bytes at
// its position in projectFile. A file that cannot be opened or read, or an
// entry outside the file, is reported with code 102 and the file name.
bool LoadPageBytes(const TAuProject& project, int index, const std::string& projectFile,
                   std::vector<uint8_t>& bytes, Reporter& r);
// Reads a page's record (from cache or file) into page.
bool ReadProjectPage(const TAuProject& project, int index, const std::string& projectFile,
                     TPageRecord& page, Reporter& r);
// Writes a page record into the entry's cache (emptied first) and rebuilds
// its summary, as the editor does when it leaves a modified page.
bool StorePageInCache(TFormData& entry, const TPageRecord& page, Reporter& r);

} // namespace orv::model
