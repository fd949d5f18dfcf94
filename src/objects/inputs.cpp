// The TextBox, RichText, Edit, CheckBox, RadioButton and UserPassword kinds.
#include "objects/aucontrol.h"

namespace orv::objects {

void AddInputKinds(KindMakerTable&) {}

} // namespace orv::objects
