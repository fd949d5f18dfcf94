// Version strings of arbitrary executables: the reader of start-up and the
// locating step of the in-place patch, then a patch of the found value in
// memory. Nothing may be read or written outside the input.
#include "base/stream.h"
#include "pe/pe_error.h"
#include "pe/version_info.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orv;
    {
        ViewStream s(data, size);
        std::u16string value;
        pe::ReadVersionStringFrom(s, "OriginalFilename", value);
    }
    try {
        ViewStream s(data, size);
        int64_t position = 0;
        std::vector<uint8_t> res = pe::LocateVersionResource(s, position);
        if (position < 0 || static_cast<uint64_t>(position) + res.size() > size)
            __builtin_trap(); // the patch would write outside the file
        pe::VersionValue v;
        if (pe::FindVersionValue(res.data(), res.size(), pe::kVersionTable, "FileDescription", v))
            pe::WriteVersionValue(res.data(), res.size(), v, std::u16string(120, u'x'));
    } catch (const pe::ResourceUpdateError&) {
    } catch (const StreamError&) {
    }
    // The input taken as a version resource itself.
    std::vector<uint8_t> copy(data, data + size);
    pe::VersionValue v;
    if (pe::FindVersionValue(copy.data(), copy.size(), "040904E4", "CompanyName", v)) {
        pe::ReadVersionValue(copy.data(), copy.size(), v);
        pe::WriteVersionValue(copy.data(), copy.size(), v, u"Replaced company name");
    }
    return 0;
}
