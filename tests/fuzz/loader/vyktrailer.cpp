// The argument trailer search over the mapped end of an executable, and the
// command line built from it.
#include "loader/cmdline.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const vyk::Trailer t = vyk::FindTrailer(data, size);
    const auto* begin = reinterpret_cast<const char*>(data);
    if (!t.text.empty() && (t.text.data() < begin || t.text.data() + t.text.size() > begin + size))
        std::abort();
    const std::string_view all(begin, size);
    const std::string line =
        vyk::BuildEngineCommandLine(t.text, t.text, vyk::OwnArguments(all), "C:\\setup.exe");
    if (line.size() < 4 || line.find('\0') != std::string::npos)
        std::abort();
    char report[vyk::kReportBufferSize];
    const std::string text(t.text);
    vyk::FormatReport(report, vyk::msg::kExtracting, 13u, text.c_str());
    return 0;
}
