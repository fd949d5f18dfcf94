// The one project of the process, shared by start-up, the player windows,
// the action engine and the editor.
#pragma once

#include "model/project.h"

namespace orv {

model::TAuProject& Project();

} // namespace orv
