#include "PixelMemory.h"

#include <sys/mman.h>

#include <cstdlib>

namespace imaging {

namespace {
constexpr std::size_t kMapFrom = std::size_t(4) << 20;
}

std::uint8_t *allocatePixels(std::size_t size) {
    if (size < kMapFrom) return static_cast<std::uint8_t *>(std::calloc(size ? size : 1, 1));
    void *p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return nullptr;
    madvise(p, size, MADV_HUGEPAGE); // only advice: without huge pages the buffer still works
    return static_cast<std::uint8_t *>(p);
}

void freePixels(std::uint8_t *pixels, std::size_t size) {
    if (!pixels) return;
    if (size < kMapFrom)
        std::free(pixels);
    else
        munmap(pixels, size);
}

} // namespace imaging
