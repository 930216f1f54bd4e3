#pragma once
// The list views take drags from the program's own views only; a drop from
// another program is refused.
class QDropEvent;

namespace sorvi {

// Accepts `event` (a drag entering, moving or dropping) as a copy, so that
// the drag's source removes nothing afterwards, when it comes from this
// program; ignores it otherwise. Returns whether it was taken.
bool TakeOwnDrag(QDropEvent* event);

}  // namespace sorvi
