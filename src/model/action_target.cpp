#include "model/action_target.h"

namespace orv::model {

void ApplyPendingChanges(ActionTarget& target) {
    ActionTarget::Pending p = std::move(target.pending);
    target.pending = {};
    if (p.caption)
        target.SetCaption(*p.caption);
    if (p.lines)
        target.SetLines(*p.lines);
    if (p.picture)
        target.SetPicture(*p.picture ? &**p.picture : nullptr);
    if (p.file)
        target.LoadFile(*p.file);
}

} // namespace orv::model
