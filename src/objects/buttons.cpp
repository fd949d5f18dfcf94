// The Button, ImageButton, Image, SimpleText and Bevel kinds.
#include "objects/aucontrol.h"

namespace orv::objects {

void AddButtonKinds(KindMakerTable&) {}

} // namespace orv::objects
