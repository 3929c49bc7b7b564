#pragma once

#include "data/ListByteSource.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace torumin {

// The two editions of the list: the long-standing one in code page 932 and
// the UTF-8 one. Until the first byte outside ASCII the text reads the same
// in both, so the choice may stay open that long.
enum class ListEncoding { Undecided, Cp932, Utf8 };

// How many multi-byte UTF-8 sequences in a row settle the question. Japanese
// in code page 932 passes for a UTF-8 sequence now and then (a pair of
// half-width katakana can), but not this many times running.
inline constexpr int kConvincingUtf8Sequences = 16;
// How far past the first byte outside ASCII the judgement may look before it
// settles for what it has seen.
inline constexpr std::size_t kEncodingLookahead = 64 * 1024;

// The verdict on `bytes`, which start at the first byte outside ASCII:
// UTF-8 when the first kConvincingUtf8Sequences multi-byte sequences (or all
// of them up to the end of the list, when `reachesEnd`) are well-formed, code
// page 932 as soon as one is not, Undecided while more bytes are needed.
[[nodiscard]] ListEncoding judgeEncoding(std::string_view bytes, bool reachesEnd) noexcept;

// Passes a list's bytes through unchanged, except a UTF-8 byte order mark at
// the start, and decides the encoding before handing out the first byte
// outside ASCII. That byte may come at any depth, after any number of chunks
// of ASCII, so every chunk is looked at until then; whatever the judgement
// needs beyond the chunk is read ahead and handed out afterwards.
class EncodingSniffer final : public ListByteSource {
public:
    explicit EncodingSniffer(ListByteSource &inner) noexcept : m_inner(inner) {}

    [[nodiscard]] ListEncoding encoding() const noexcept { return m_encoding; }
    // Bytes dropped from the start: the byte order mark's three, or none.
    [[nodiscard]] std::int64_t skippedBytes() const noexcept { return m_skipped; }

    std::int64_t read(char *into, std::size_t capacity) override;
    [[nodiscard]] std::int64_t sizeHint() const override { return m_inner.sizeHint(); }
    [[nodiscard]] QString errorText() const override { return m_inner.errorText(); }
    [[nodiscard]] ListError readError(ListKind kind, const QString &nameForMessages, std::int64_t offset,
                                      int keptRecords) const override
    {
        return m_inner.readError(kind, nameForMessages, offset, keptRecords);
    }
    [[nodiscard]] bool recordsBeforeFailureAreSound() const override
    {
        return m_inner.recordsBeforeFailureAreSound();
    }
    [[nodiscard]] bool confirmIntact() override { return m_inner.confirmIntact(); }

private:
    // Reads ahead after m_pending, which starts with the first byte outside
    // ASCII, until the encoding is known.
    void decide();

    ListByteSource &m_inner;
    ListEncoding m_encoding = ListEncoding::Undecided;
    std::int64_t m_position = 0; // bytes taken from m_inner
    std::int64_t m_skipped = 0;
    std::string m_pending;       // read ahead, not yet handed out
    std::size_t m_pendingPos = 0;
    bool m_innerEnded = false;
    bool m_innerFailed = false;  // reported once m_pending is handed out
};

} // namespace torumin
