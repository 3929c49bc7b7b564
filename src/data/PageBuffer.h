#pragma once

#include <cstddef>

namespace torumin {

// Raw memory for the table's large arrays.
//
// Loading the nationwide list is dominated by the first touch of fresh pages,
// not by parsing or decoding. On Linux a large buffer is therefore mapped on a
// 2 MB boundary and offered to transparent huge pages, so that a few faults
// replace thousands; untouched parts of the mapping cost nothing, which lets
// the reader size a buffer for the worst case once instead of growing it.
// Small buffers, and every buffer on other systems, come from malloc.
class PageBuffer {
public:
    PageBuffer() noexcept = default;
    ~PageBuffer();
    PageBuffer(PageBuffer &&other) noexcept;
    PageBuffer &operator=(PageBuffer &&other) noexcept;
    PageBuffer(const PageBuffer &) = delete;
    PageBuffer &operator=(const PageBuffer &) = delete;

    // Replaces the buffer with one of at least `bytes` usable bytes; the old
    // contents are lost. False when the memory cannot be had.
    [[nodiscard]] bool allocate(std::size_t bytes) noexcept;
    // Grows to at least `bytes`, keeping the first `usedBytes`.
    [[nodiscard]] bool grow(std::size_t bytes, std::size_t usedBytes) noexcept;
    // Gives back what lies beyond `usedBytes`, as far as the allocation
    // granularity allows.
    void shrinkTo(std::size_t usedBytes) noexcept;

    [[nodiscard]] std::byte *data() noexcept { return m_data; }
    [[nodiscard]] const std::byte *data() const noexcept { return m_data; }
    [[nodiscard]] std::size_t capacity() const noexcept { return m_capacity; }
    // What the buffer occupies: for a huge-page mapping, whole 2 MB pages
    // until shrinkTo() gives back the rest.
    [[nodiscard]] std::size_t heldBytes() const noexcept { return m_held; }

private:
    void release() noexcept;

    std::byte *m_data = nullptr;
    std::size_t m_capacity = 0;
    std::size_t m_held = 0;
    bool m_mapped = false;
};

} // namespace torumin
