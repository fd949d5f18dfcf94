#include "player/shell.h"

namespace orv::player {

std::string FolderOfFile(const std::string& file) {
    size_t slash = file.find_last_of('\\');
    return slash == std::string::npos ? std::string() : file.substr(0, slash);
}

} // namespace orv::player
