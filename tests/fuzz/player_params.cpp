// The parameter texts of actions as stored in a project: numbers, the
// slide-show and copy settings, channel tokens, viewer file types, line
// splitting and URLs for the shell. The parsers are compiled in from their
// own file (the fuzz programs link only the layers below the player).
#include "../../src/player/action_params.cpp"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orv::player;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    int32_t n = 0;
    if (ParseDecimal(text, n)) {
        std::string back = std::to_string(n);
        int32_t again = 0;
        if (!ParseDecimal(back, again) || again != n)
            __builtin_trap();
    }
    SlideShowSettings show;
    try {
        ParseSlideShowSettings(text, show);
    } catch (const ActionError&) {
    }
    CopyFileSettings copy;
    ParseCopyFileSettings(text, copy);
    PlayChannelOfToken(text);
    StopChannelOfToken(text);
    std::string ext = ViewerExtension(text);
    if (ext.size() > text.size())
        __builtin_trap();
    ConditionPath(text.substr(0, size / 2), text.substr(size / 2));
    size_t total = 0;
    for (const std::string& line : SplitLines(text))
        total += line.size();
    if (total > size)
        __builtin_trap();
    std::string url = EscapeShellUrl(text);
    if (url.find('"') != std::string::npos)
        __builtin_trap();
    return 0;
}
