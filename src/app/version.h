// The program's version, in the fixed version block and as "FileVersion".
// A launcher whose "FileVersion" differs from the running editor's is
// replaced on the next save, so change it with every release.
#pragma once

#define ORVEXA_VERSION_BINARY 1, 0, 0, 1
#define ORVEXA_VERSION_TEXT "1.0.0.1"
