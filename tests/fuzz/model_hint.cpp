// Feeds arbitrary text to the composite menu-item hint parser. A hint that
// parses is turned back into text with its name and parsed again.
#include "model/actions.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace orv;
using namespace orv::model;

namespace {

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    RecordingReporter r;
    TAuActions list{TAuAction{}};
    bool ok = TextToActionList(text, list, r);
    Check(ok ? r.entries.empty() : r.entries.size() == 1, "one report for each failure");
    if (!ok) {
        Check(list.size() == 1 && list[0] == TAuAction{}, "a failed parse keeps the list");
        return 0;
    }
    std::string name = ActionTextName(text);
    std::string again;
    Check(ActionListToText(name, list, again, r), "a parsed list turns into text");
    Check(ActionTextName(again) == name, "the name survives");
    TAuActions back;
    Check(TextToActionList(again, back, r), "the text parses");
    Check(back == list, "same actions");
    return 0;
}
