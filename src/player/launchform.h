// The full-screen window of the ShowImage action: borderless, covering the
// screen, black, with the picture shrunk to fit and centred; a key or a
// click anywhere closes it. It runs modally: the page windows behind it
// do not react until it closes.
#pragma once

#include <string>

namespace orv::player {

// Shows the picture file (a full path) until a key or click; false, with
// nothing shown, when the file is missing or is not a picture.
bool ShowImageFullScreen(const std::string& file);

// The picture window while it is up (for tests), else null.
void* FullScreenWindowHandle();

} // namespace orv::player
