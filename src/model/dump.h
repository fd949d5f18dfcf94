// A readable, stable text form of projects, pages, objects and action lists,
// for inspecting files and comparing them in tests and tools.
#pragma once

#include "model/page.h"
#include "model/project.h"

#include <string>

namespace orv::model {

// Settings, project action lists and the page table with the summaries.
std::string DumpProject(const TAuProject& project);
// Page settings, menu bar, status bar and the object tree.
std::string DumpPage(const TPageRecord& page);
// One object with its block and its subtree; each object is headed by its
// path and kind.
std::string DumpObject(const TAuObject& obj);
std::string DumpActions(const TAuActions& list);

} // namespace orv::model
