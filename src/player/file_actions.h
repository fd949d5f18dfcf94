// The file actions that run outside the page: CopyFile, which copies a
// file or a folder tree from the project folder onto the user's machine
// and may open a file afterwards, and the arithmetic of ShowImage, which
// shows a picture over the whole screen.
#pragma once

#include "player/actions.h"

#include <string>

namespace orv::player {

// CopyFile with its settings text (ten fields, see ParseCopyFileSettings).
// The source is relative to projectFolder; the target is a special-folder
// token ("[System]", ...) or a folder as typed. Messages, tokens and the
// shell go through the engine's platform (Platform()). True when the copy step was reached and
// finished (individual copies that fail are skipped); false for an incomplete text, a source that
// is neither file nor folder, or a question not answered Yes.
bool RunCopyFile(const std::string& settings, const std::string& projectFolder);

// A relative path of an action ("\media\a.png" or "media\a.png", either
// separator) joined with a folder in the platform's form.
std::string JoinActionPath(const std::string& folder, const std::string& relative);

// Where ShowImage puts a picture of pw x ph on a client area of cw x ch:
// it keeps its size when it fits, else shrinks to fit keeping its aspect,
// and is centred.
struct FitRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const FitRect&) const = default;
};
FitRect ShrinkToFit(int cw, int ch, int pw, int ph);

} // namespace orv::player
