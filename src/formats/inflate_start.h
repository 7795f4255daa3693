// Starting a zlib inflate stream the way every inflater of the engine does.
#pragma once

#include <zlib.h>

namespace kelvara {

// Starts `stream` (zero-filled by the caller) for a zlib-wrapped stream; the inflater's state and
// window come from the private heap, like every other allocation of the engine. False when the
// library refuses, which for a sound library means the heap is exhausted.
bool startInflate(z_stream& stream);

}  // namespace kelvara
