// The full-screen window of the ShowImage, LaunchMedia and LaunchSlideShow
// actions: borderless, covering the screen, black; a key or a click
// anywhere closes it. It runs modally: the page windows behind it do not
// react until it closes.
#pragma once

#include <string>

namespace orv::player {

// Shows the picture file (a full path) until a key or click; false, with
// nothing shown, when the file is missing or is not a picture.
bool ShowImageFullScreen(const std::string& file);
// Plays the media file (a full path) over the whole screen; false when it
// does not exist.
bool PlayMediaFullScreen(const std::string& file);
// The slide show of a LaunchSlideShow settings text; projectFolder joins
// its folder and music. False for an incomplete text or a missing folder;
// a malformed number raises ActionError.
bool RunSlideShowFullScreen(const std::string& settings, const std::string& projectFolder);

// The picture window while it is up (for tests), else null.
void* FullScreenWindowHandle();

} // namespace orv::player
