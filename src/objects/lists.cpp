// The ListBox, DropDownList, ListView, TreeView and the shell views kinds.
#include "objects/aucontrol.h"

namespace orv::objects {

void AddListKinds(KindMakerTable&) {}

} // namespace orv::objects
