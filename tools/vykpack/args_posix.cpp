#include "args.h"

// Arguments arrive as the bytes the shell passed, taken to be UTF-8.
std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}
