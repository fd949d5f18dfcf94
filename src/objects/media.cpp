// The Browser, MediaPlayer, FlashPlayer and SlideShow kinds.
#include "objects/aucontrol.h"

namespace orv::objects {

void AddMediaKinds(KindMakerTable&) {}

} // namespace orv::objects
