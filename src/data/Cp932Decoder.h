#pragma once

#include <cstddef>
#include <optional>

namespace torumin {

// Windows code page 932 to UTF-16 through the system's converter (iconv; on
// Windows the system's own code page 932), so that the Microsoft mapping (～ as
// U+FF5E, the NEC and IBM extensions) comes from a maintained table rather
// than ours.
//
// Every call converts complete fields: the list's separators (comma, double
// quote, CR, LF) never occur as the second byte of a CP932 character, so a
// field boundary never splits one.
class Cp932Decoder {
public:
    Cp932Decoder() noexcept;
    ~Cp932Decoder();
    Cp932Decoder(const Cp932Decoder &) = delete;
    Cp932Decoder &operator=(const Cp932Decoder &) = delete;

    // False when the system has no CP932 converter.
    [[nodiscard]] bool isValid() const noexcept;

    struct Result {
        std::size_t units = 0;
        // Index of the first byte that does not start a CP932 character
        // (including a lead byte with nothing after it).
        std::optional<std::size_t> badByte;
    };
    // Writes at most `size` units to `out`: CP932 never yields more units
    // than bytes.
    Result decode(const char *bytes, std::size_t size, char16_t *out) noexcept;

private:
    void *m_handle;
};

// The first byte that cannot start a CP932 character by the shape of the
// bytes alone: a single byte the code page leaves undefined (0x80, 0xA0, 0xFD
// to 0xFF), a lead byte with nothing after it, or one followed by a byte that
// cannot end a character. Windows' converter maps those single bytes to
// private-use characters where iconv refuses them; checking the shape first
// keeps both systems' answers the same.
[[nodiscard]] std::optional<std::size_t> malformedCp932Byte(const char *bytes, std::size_t size) noexcept;

} // namespace torumin
