// Without the platform's resource update functions the icon is replaced by
// rewriting the resource section.
#include "pe/icon_replace.h"
#include "publish/publish.h"

namespace orv::publish {

void ReplaceMainIcon(const std::string& file, const std::string& iconFile) {
    pe::ReplaceMainIconInFile(file, iconFile);
}

} // namespace orv::publish
