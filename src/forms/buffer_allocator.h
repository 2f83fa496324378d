#pragma once
// Where the editors take their work buffers from. Every editor allocates its
// buffers at full capacity when it opens and reports a shortfall with its
// memory message; tests inject an allocator that runs short.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace lyr::forms {

class BufferAllocator {
public:
    virtual ~BufferAllocator() = default;
    // nullptr when memory is short.
    virtual std::unique_ptr<double[]> doubles(std::size_t count) = 0;
    virtual std::unique_ptr<std::uint8_t[]> bytes(std::size_t count) = 0;
};

// The heap (non-throwing new); shared, stateless.
BufferAllocator& heapAllocator();

// A form that reserves buffers: the heap unless another allocator is set
// before it opens. The allocator must outlive the form.
class UsesAllocator {
public:
    void setAllocator(BufferAllocator& allocator) { allocator_ = &allocator; }

protected:
    BufferAllocator& allocator() const { return *allocator_; }

private:
    BufferAllocator* allocator_ = &heapAllocator();
};

}  // namespace lyr::forms
