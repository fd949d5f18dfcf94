// Feeds arbitrary bytes to the object file reader, loading into an object
// of the kind the file names (byte 4), inside a TabNotebook so TabSheets are
// accepted. A load that succeeds is saved and loaded again into a fresh
// object, which must hold the same content.
#include "model/object.h"

#include <cstdio>
#include <cstdlib>

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
    int kind = size > 4 ? data[4] : 0;
    if (!IsValidKind(kind))
        kind = 0;
    TAuObject parent(TAuObjectKind::TabNotebook);
    TAuObject& target =
        parent.AddChild(std::make_unique<TAuObject>(static_cast<TAuObjectKind>(kind)));
    target.Name = "Target";
    ViewStream in(data, size);
    RecordingReporter r;
    bool ok = ReadObjectFile(in, target, r);
    Check(ok ? r.entries.empty() : r.entries.size() == 1, "one report for each failure");
    if (!ok) {
        TAuObject fresh(static_cast<TAuObjectKind>(kind));
        fresh.Name = "Target";
        Check(target.SameContent(fresh), "a failed load leaves the target alone");
        return 0;
    }
    Check(target.Name == "Target" && target.Parent() == &parent, "name and parent kept");
    MemoryStream saved;
    Check(WriteObjectFile(saved, target, r), "a loaded object can be saved");
    saved.Seek(0);
    TAuObject& copy = parent.AddChild(std::make_unique<TAuObject>(target.Kind()));
    copy.Name = "Target";
    Check(ReadObjectFile(saved, copy, r), "a saved object loads");
    Check(copy.SameContent(target), "same content");
    return 0;
}
