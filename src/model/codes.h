// Operation codes of the file-format readers and writers, and the texts of
// the messages they show. A failing reader reports once, with the code of the
// innermost operation that failed; the readers around it fail silently.
#pragma once

namespace orv::model {

namespace code {
// Value encodings (write / read).
inline constexpr int kWriteFadeSettings = 5201, kReadFadeSettings = 5202;
inline constexpr int kWriteTextEffect = 5203, kReadTextEffect = 5204;
inline constexpr int kWritePicture = 5205, kReadPicture = 5206;
inline constexpr int kWriteFont = 5207, kReadFont = 5208;
inline constexpr int kWriteStr = 5209, kReadStr = 5210;

// Kind-specific sub-records.
inline constexpr int kWriteSlideShowSettings = 5423, kReadSlideShowSettings = 5424;
inline constexpr int kWriteListItem = 5437, kReadListItem = 5438;
inline constexpr int kWriteListViewItem = 5443, kReadListViewItem = 5444;
inline constexpr int kWriteListColumn = 5445, kReadListColumn = 5446;
inline constexpr int kWriteTreeNode = 5449, kReadTreeNode = 5450;
inline constexpr int kWritePanelBack = 5475, kReadPanelBack = 5476;

// Records of pages and objects.
inline constexpr int kWriteMenuText = 5501, kReadMenuText = 5502;
inline constexpr int kWriteStatusPanel = 5503, kReadStatusPanel = 5504;
inline constexpr int kWriteMenuItem = 5505, kReadMenuItem = 5506;
inline constexpr int kWriteAction = 5509, kReadAction = 5510;
inline constexpr int kWriteActionList = 5511, kReadActionList = 5512;
inline constexpr int kWriteObject = 5513, kReadObject = 5514;
inline constexpr int kReadPage = 5524, kWritePage = 5525;

// The project file.
inline constexpr int kWriteHeader = 5515, kReadHeader = 5516;
inline constexpr int kWriteSummary = 5517, kReadSummary = 5518;
inline constexpr int kWritePageEntry = 5519, kReadPageEntry = 5520;
inline constexpr int kCopyPageRecord = 5521;
inline constexpr int kWriteSettings = 5522, kReadSettings = 5523;

// File operations that name the file.
inline constexpr int kPageFile = 102;
inline constexpr int kSaveFile = 104;
inline constexpr int kLoadFile = 105;
} // namespace code

namespace msg {
inline constexpr const char* kUnknownKind = "Unknown object type, maybe file version has problem.";
inline constexpr const char* kErrorCaption = "Error";

inline constexpr const char* kBadMagic = "Invalid file format.";
inline constexpr const char* kBadMagicCaption = "File Format";
inline constexpr const char* kTooNew =
    "The file is too new to read, maybe you need install newest version of the software.";
inline constexpr const char* kTooNewCaption = "Information";
inline constexpr const char* kPasswordTitle = "Password";
inline constexpr const char* kPasswordPrompt =
    "This project is protected by password, please input the password:";
inline constexpr const char* kBadPassword = "Invalid Password.";
inline constexpr const char* kBadPasswordCaption = "Password";
inline constexpr const char* kNoSource = "System Error, \"OrgStream\" Error!";
inline constexpr const char* kSaveProgressTitle = "Save Project";

inline constexpr const char* kSaveObjectFailed = "Save object to file failed!";
inline constexpr const char* kLoadObjectFailed = "Load object from file failed!";
inline constexpr const char* kObjectFileFormat = "File format error.";
inline constexpr const char* kObjectTypeCaption = "Object Type";
} // namespace msg

} // namespace orv::model
