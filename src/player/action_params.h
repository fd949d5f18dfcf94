// The parameter texts of actions: numbers, the composite settings of the
// slide-show and copy actions, sound channel tokens, the file type of the
// viewer condition and the paths of the file conditions. Portable and free
// of the rest of the engine, so the parsers can be fuzzed on their own.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orv::player {

// A parameter text that cannot be used; ends the running list with its
// message (caption "Error").
class ActionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A decimal int32: an optional sign and digits, blanks around allowed.
// Nothing else (no hex, no fraction, no overflow).
bool ParseDecimal(std::string_view text, int32_t& value);

// Splits text into exactly count fields, each followed by the byte 0x01
// (anything after the last separator is ignored). False when a separator
// is missing.
bool SplitFields(std::string_view text, size_t count, std::vector<std::string>& fields);

inline constexpr char kFieldSeparator = '\x01';

struct SlideShowSettings {
    std::string folder;
    bool loop = false;
    int32_t style = 0, imageStyle = 0, step = 0, stepDelay = 0, interval = 0, backColor = 0;
    std::string music;
};
enum class ParamParse { Ok, Incomplete };
// Nine fields. Incomplete when a separator is missing (the action then
// does nothing); throws ActionError for a numeric field that is not a
// number.
ParamParse ParseSlideShowSettings(std::string_view text, SlideShowSettings& s);

struct CopyFileSettings {
    std::string source, target;
    bool overwrite = false, showMessage = false;
    std::string caption, message;
    bool yesNo = false; // message type "1"
    std::string fileToOpen, parameters, startFolder;
};
// Ten fields, source and target trimmed (and the texts after them).
// Incomplete when a separator is missing or the source is empty.
ParamParse ParseCopyFileSettings(std::string_view text, CopyFileSettings& s);

// The sound channel PlaySound uses for a token: "[DefaultPlayer3]" 2,
// "[DefaultPlayer2]" 1, anything else 0.
int PlayChannelOfToken(std::string_view token);
// The channel StopSound stops: 0..2 for "[DefaultPlayer1]".."[DefaultPlayer3]",
// -1 for any other token.
int StopChannelOfToken(std::string_view token);

// The extension the viewer condition tests: from the first "." on, cut at
// the first blank and the first "(". Empty when text has no ".".
std::string ViewerExtension(std::string_view text);

// The path the file conditions test: folder without a trailing "\", "\",
// then name (which gets a leading "\" when it has none).
std::string ConditionPath(std::string_view folder, std::string_view name);

// Lines of a text split at CR LF, LF or CR; a final line break adds no
// empty line.
std::vector<std::string> SplitLines(std::string_view text);

// A URL or "mailto:" address handed to the shell. The shell puts it into
// the command line of the program registered for it, inside quotes, so a
// double quote or a control character in it could close the quotes and add
// arguments of its own: those are written as %XX. Everything else,
// existing %XX escapes included, stays as it is.
std::string EscapeShellUrl(std::string_view url);

} // namespace orv::player
