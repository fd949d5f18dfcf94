// Replacing the main icon of an executable without the platform's resource
// update functions: the resource tree is read, the group "MAINICON" and its
// icons are swapped for the images of an icon file, and the tree is laid
// out again as the resource section. The result carries the group
// "MAINICON" in language 1033 with its icons numbered from 1, as the
// platform's update path leaves it.
#pragma once

#include "pe/icons.h"
#include "pe/resource_tree.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv::pe {

// Edits the resource tree: removes the first language of "MAINICON" and,
// each in its first language, the icons it names; adds the icon file's
// images as icons 1..N and the new group, all in language 1033. Throws
// ResourceUpdateError when the tree has no "MAINICON" group.
void ReplaceMainIconInTree(ResourceTree& tree, const IconFile& icon);

// Replaces the main icon of an executable image in memory. The new section
// goes where the old one was when it fits, grows the old one when it is the
// last section, and otherwise becomes a new section after the others; data
// after the sections (an overlay) is kept after them. Throws
// ResourceUpdateError; exe is unchanged then.
void ReplaceMainIconInImage(std::vector<uint8_t>& exe, const IconFile& icon);

// The whole operation on files: the icon file is read and checked first,
// so a bad icon never touches the executable; the new executable is written
// beside the old one and replaces it only when complete.
void ReplaceMainIconInFile(const std::string& exeFile, const std::string& iconFile);

} // namespace orv::pe
