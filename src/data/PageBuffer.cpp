#include "data/PageBuffer.h"

#include <QtGlobal>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace torumin {

namespace {

#ifdef Q_OS_LINUX
constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;
// Below this a mapping would waste most of its huge page.
constexpr std::size_t kMapThresholdBytes = kHugePageBytes;

constexpr std::size_t roundUpToHugePage(std::size_t bytes)
{
    return (bytes + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
}

// Maps `bytes` (a multiple of 2 MB) starting on a 2 MB boundary: the kernel
// only backs aligned 2 MB ranges with huge pages.
std::byte *mapAligned(std::size_t bytes) noexcept
{
    const std::size_t span = bytes + kHugePageBytes;
    void *raw = ::mmap(nullptr, span, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kHugePageBytes - 1) & ~std::uintptr_t{kHugePageBytes - 1};
    const std::size_t head = aligned - start;
    if (head > 0)
        ::munmap(raw, head);
    const std::size_t tail = span - head - bytes;
    if (tail > 0)
        ::munmap(reinterpret_cast<void *>(aligned + bytes), tail);
    auto *data = reinterpret_cast<std::byte *>(aligned);
    // Only a hint: without huge pages the buffer still works, just slower.
    ::madvise(data, bytes, MADV_HUGEPAGE);
    return data;
}
#endif

} // namespace

PageBuffer::~PageBuffer()
{
    release();
}

PageBuffer::PageBuffer(PageBuffer &&other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)),
      m_capacity(std::exchange(other.m_capacity, 0)),
      m_held(std::exchange(other.m_held, 0)),
      m_mapped(std::exchange(other.m_mapped, false))
{
}

PageBuffer &PageBuffer::operator=(PageBuffer &&other) noexcept
{
    if (this != &other) {
        release();
        m_data = std::exchange(other.m_data, nullptr);
        m_capacity = std::exchange(other.m_capacity, 0);
        m_held = std::exchange(other.m_held, 0);
        m_mapped = std::exchange(other.m_mapped, false);
    }
    return *this;
}

void PageBuffer::release() noexcept
{
    if (!m_data)
        return;
#ifdef Q_OS_LINUX
    if (m_mapped)
        ::munmap(m_data, m_held);
    else
        std::free(m_data);
#else
    std::free(m_data);
#endif
    m_data = nullptr;
    m_capacity = 0;
    m_held = 0;
    m_mapped = false;
}

bool PageBuffer::allocate(std::size_t bytes) noexcept
{
    release();
    if (bytes == 0)
        bytes = 1;
#ifdef Q_OS_LINUX
    if (bytes >= kMapThresholdBytes) {
        const std::size_t mapped = roundUpToHugePage(bytes);
        m_data = mapAligned(mapped);
        if (!m_data)
            return false;
        m_capacity = mapped;
        m_held = mapped;
        m_mapped = true;
        return true;
    }
#endif
    m_data = static_cast<std::byte *>(std::malloc(bytes));
    if (!m_data)
        return false;
    m_capacity = bytes;
    m_held = bytes;
    return true;
}

bool PageBuffer::grow(std::size_t bytes, std::size_t usedBytes) noexcept
{
    if (bytes <= m_capacity)
        return true;
    // Growing only happens when a size hint was wrong, so a plain copy is fine.
    PageBuffer bigger;
    if (!bigger.allocate(bytes))
        return false;
    if (usedBytes > 0)
        std::memcpy(bigger.m_data, m_data, usedBytes);
    *this = std::move(bigger);
    return true;
}

void PageBuffer::shrinkTo(std::size_t usedBytes) noexcept
{
    if (!m_data)
        return;
    if (usedBytes == 0)
        usedBytes = 1;
#ifdef Q_OS_LINUX
    if (m_mapped) {
        // A huge page given back in part is split, and on a virtual machine
        // every small page of it then costs a trip to the hypervisor at its
        // first use: milliseconds for the nationwide list. So the last huge
        // page is kept whole when it is at least half used, and split only
        // when that frees more than it costs.
        const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
        const std::size_t lastPageUse = usedBytes % kHugePageBytes;
        const std::size_t keep = lastPageUse == 0 || lastPageUse >= kHugePageBytes / 2
            ? roundUpToHugePage(usedBytes)
            : (usedBytes + page - 1) / page * page;
        if (keep < m_held) {
            ::munmap(m_data + keep, m_held - keep);
            m_held = keep;
            m_capacity = keep;
        }
        return;
    }
#endif
    if (usedBytes < m_capacity) {
        if (void *smaller = std::realloc(m_data, usedBytes)) {
            m_data = static_cast<std::byte *>(smaller);
            m_capacity = usedBytes;
            m_held = usedBytes;
        }
    }
}

} // namespace torumin
