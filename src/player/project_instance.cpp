#include "player/project_instance.h"

namespace orv {

model::TAuProject& Project() {
    static model::TAuProject project;
    return project;
}

} // namespace orv
