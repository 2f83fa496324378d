#pragma once
// Large work buffers (a track of 8 MiB and up) are filled once from start to
// end; asking the kernel for huge pages there spares one page fault per 4 KiB.
#include <cstddef>

namespace lyr::document {

// Advises the system to back the buffer with huge pages where it can; a hint
// only, without effect elsewhere or for small buffers.
void adviseLargeBuffer(void* buffer, std::size_t bytes);

}  // namespace lyr::document
