// Shared platform services: version strings, special folders and tokens,
// folder selection, clipboard streams, the progress window, the custom
// cursors.
#pragma once

#include "base/stream.h"

#include <string>

namespace orv::win {

// The value of "StringFileInfo\040904E4\<key>" of a file's version
// information, or empty when the file, the information or the key is
// missing.
std::string ReadVersionString(const std::string& file, const std::string& key);

// The path of special-folder table entry index (no trailing backslash), or
// empty.
std::string SpecialFolderPath(int index);
// The path a token such as [ProgramFiles] stands for, or empty when the text
// is not a token of the table.
std::string ResolveFolderToken(const std::string& text);

// "Select Project Folder" folder browser; true with the folder on OK.
bool SelectProjectFolder(std::string& folder);
// A folder below the project folder, stored relative to it.
bool ChooseSubfolder(const std::string& projectFolder, std::string& relative,
                     const std::string& title = "");

// The clipboard data of a registered format: int32 byte count, then bytes.
bool PutStreamOnClipboard(Stream& stream, unsigned format);
// Fails when no data of the format is there, or the stored count exceeds
// the block. The bytes go to the stream from position 0.
bool GetStreamFromClipboard(Stream& stream, unsigned format);

void ShowProgress(const std::string& title, int max);
void StepProgress(int position);
void CloseProgress();

// Loads "Cursor1".."Cursor15" of the executable; CursorHandle(n) gives the
// cursor for a stored cursor number (0 arrow, 1..15 custom, negative the
// platform's stock cursors as numbered by the stored records).
void LoadCustomCursors();
void* CursorHandle(int number);

} // namespace orv::win
