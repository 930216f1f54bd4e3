#pragma once
// Gives memory the program has freed back to the system.

namespace sorvi {

// A moment after the last call, returns the heap freed since to the system.
// The engine frees a closed page's memory piecemeal over a second or two,
// and the C library keeps freed heap for reuse: after closing dozens of tabs
// the program would otherwise keep hundreds of MiB it no longer uses.
void TrimFreedMemorySoon();

}  // namespace sorvi
