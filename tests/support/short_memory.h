#pragma once
// An allocator for the editors' memory-message paths: it grants the first
// `granted` buffers from the heap and refuses every later one.
#include "forms/buffer_allocator.h"

namespace lyr::test {

class ShortMemory : public forms::BufferAllocator {
public:
    explicit ShortMemory(int granted = 0) : granted_(granted) {}
    std::unique_ptr<double[]> doubles(std::size_t n) override {
        return granted_-- > 0 ? forms::heapAllocator().doubles(n) : nullptr;
    }
    std::unique_ptr<std::uint8_t[]> bytes(std::size_t n) override {
        return granted_-- > 0 ? forms::heapAllocator().bytes(n) : nullptr;
    }

private:
    int granted_;
};

}  // namespace lyr::test
