#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace torumin {

// The well-formed UTF-8 sequence at the start of `bytes`: its length (1 to
// 4), kIllFormedUtf8 when it is not one, or kCutOffUtf8 when the bytes end
// inside a sequence that was well-formed so far. Overlong forms, surrogates
// and code points past U+10FFFF are ill-formed, as Unicode has it: a decoder
// that let them through would give two byte strings the same text.
inline constexpr int kIllFormedUtf8 = 0;
inline constexpr int kCutOffUtf8 = -1;
[[nodiscard]] int utf8SequenceLength(std::string_view bytes) noexcept;

// UTF-8 to UTF-16 for the list's UTF-8 edition, with the same contract as
// Cp932Decoder so the parser can use either. The list's separators are ASCII
// and UTF-8 never uses an ASCII byte inside a longer sequence, so a field
// boundary never splits a character here either.
//
// Written out rather than taken from QStringDecoder, which replaces a bad
// sequence instead of saying where it is.
class Utf8Decoder {
public:
    struct Result {
        std::size_t units = 0;
        // Index of the first byte of the first ill-formed or cut-off sequence.
        std::optional<std::size_t> badByte;
    };
    // Writes at most `size` units to `out`: no sequence yields more units
    // than it has bytes.
    static Result decode(const char *bytes, std::size_t size, char16_t *out) noexcept;
};

} // namespace torumin
