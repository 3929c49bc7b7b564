#include "data/ListEncoding.h"

#include "data/Utf8Decoder.h"

#include <algorithm>
#include <cstring>

namespace torumin {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kReadAheadBytes = 16 * 1024;

std::size_t firstNonAscii(const char *bytes, std::size_t size) noexcept
{
    const auto *begin = bytes;
    const auto *found = std::find_if(begin, begin + size,
                                     [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return static_cast<std::size_t>(found - begin);
}

} // namespace

ListEncoding judgeEncoding(std::string_view bytes, bool reachesEnd) noexcept
{
    int sequences = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const int length = utf8SequenceLength(bytes.substr(i));
        if (length == kIllFormedUtf8)
            return ListEncoding::Cp932;
        if (length == kCutOffUtf8)
            return reachesEnd ? ListEncoding::Cp932 : ListEncoding::Undecided;
        if (++sequences == kConvincingUtf8Sequences)
            return ListEncoding::Utf8;
        i += static_cast<std::size_t>(length);
    }
    // Nothing outside ASCII is no evidence either way.
    if (!reachesEnd || sequences == 0)
        return ListEncoding::Undecided;
    return ListEncoding::Utf8;
}

std::int64_t EncodingSniffer::read(char *into, std::size_t capacity)
{
    for (;;) {
        if (m_pendingPos < m_pending.size()) {
            const std::size_t count = std::min(capacity, m_pending.size() - m_pendingPos);
            std::memcpy(into, m_pending.data() + m_pendingPos, count);
            m_pendingPos += count;
            if (m_pendingPos == m_pending.size()) {
                m_pending.clear();
                m_pendingPos = 0;
            }
            return static_cast<std::int64_t>(count);
        }
        if (m_innerFailed)
            return -1;
        if (m_innerEnded)
            return 0;
        const std::int64_t count = m_inner.read(into, capacity);
        if (count <= 0 || m_encoding != ListEncoding::Undecided) {
            m_position += std::max<std::int64_t>(count, 0);
            return count;
        }
        const auto size = static_cast<std::size_t>(count);
        const std::size_t first = firstNonAscii(into, size);
        m_position += count;
        if (first == size)
            return count;
        // The bytes from the first one outside ASCII wait in m_pending until
        // the verdict is in; the ASCII before them can go at once.
        m_pending.assign(into + first, size - first);
        m_pendingPos = 0;
        decide();
        if (first > 0)
            return static_cast<std::int64_t>(first);
    }
}

void EncodingSniffer::decide()
{
    // Only a mark at the very start of the list is one.
    const bool atStart = m_position == static_cast<std::int64_t>(m_pending.size());
    for (;;) {
        const bool noMore = m_innerEnded || m_innerFailed;
        const std::size_t have = std::min(m_pending.size(), kByteOrderMark.size());
        const bool markSoFar =
            atStart && std::string_view(m_pending).substr(0, have) == kByteOrderMark.substr(0, have);
        if (markSoFar && have == kByteOrderMark.size()) {
            m_pending.erase(0, kByteOrderMark.size());
            m_skipped = static_cast<std::int64_t>(kByteOrderMark.size());
            m_encoding = ListEncoding::Utf8;
            return;
        }
        if (!markSoFar || noMore) {
            // A read error is judged like the end: the bytes before it are
            // read all the same, and they need an encoding.
            const ListEncoding verdict = judgeEncoding(m_pending, noMore);
            if (verdict != ListEncoding::Undecided) {
                m_encoding = verdict;
                return;
            }
            // No ill-formed sequence in all that way is verdict enough.
            if (noMore || m_pending.size() >= kEncodingLookahead) {
                m_encoding = ListEncoding::Utf8;
                return;
            }
        }
        const std::size_t old = m_pending.size();
        m_pending.resize(old + kReadAheadBytes);
        const std::int64_t count = m_inner.read(m_pending.data() + old, kReadAheadBytes);
        m_pending.resize(old + static_cast<std::size_t>(std::max<std::int64_t>(count, 0)));
        if (count < 0)
            m_innerFailed = true;
        else if (count == 0)
            m_innerEnded = true;
        else
            m_position += count;
    }
}

} // namespace torumin
