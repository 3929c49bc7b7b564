#include "data/Utf8Decoder.h"

#include <cstdint>
#include <cstring>

namespace torumin {

namespace {

unsigned char byteAt(std::string_view bytes, std::size_t index) noexcept
{
    return static_cast<unsigned char>(bytes[index]);
}

bool isContinuation(unsigned char byte) noexcept
{
    return (byte & 0xC0) == 0x80;
}

} // namespace

int utf8SequenceLength(std::string_view bytes) noexcept
{
    if (bytes.empty())
        return kCutOffUtf8;
    const unsigned char lead = byteAt(bytes, 0);
    if (lead < 0x80)
        return 1;
    int length = 0;
    // The range the second byte must fall in; it is narrower than a plain
    // continuation byte exactly where overlong forms, surrogates and code
    // points past U+10FFFF would begin.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return kIllFormedUtf8;
    }
    for (int i = 1; i < length; ++i) {
        const auto index = static_cast<std::size_t>(i);
        if (index == bytes.size())
            return kCutOffUtf8;
        const unsigned char byte = byteAt(bytes, index);
        const bool fits = i == 1 ? byte >= low && byte <= high : isContinuation(byte);
        if (!fits)
            return kIllFormedUtf8;
    }
    return length;
}

Utf8Decoder::Result Utf8Decoder::decode(const char *bytes, std::size_t size, char16_t *out) noexcept
{
    Result result;
    const std::string_view text(bytes, size);
    std::size_t i = 0;
    std::size_t units = 0;
    while (i < size) {
        // Codes and punctuation come in ASCII runs worth taking a word at a time.
        while (size - i >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, bytes + i, sizeof word);
            if (word & 0x8080808080808080ULL)
                break;
            for (std::size_t k = 0; k < 8; ++k)
                out[units + k] = static_cast<unsigned char>(bytes[i + k]);
            i += 8;
            units += 8;
        }
        if (i == size)
            break;
        const unsigned char lead = byteAt(text, i);
        if (lead < 0x80) {
            out[units++] = lead;
            ++i;
            continue;
        }
        const int length = utf8SequenceLength(text.substr(i));
        if (length <= 0) {
            result.badByte = i;
            break;
        }
        char32_t code = 0;
        switch (length) {
        case 2:
            code = (lead & 0x1Fu) << 6 | (byteAt(text, i + 1) & 0x3Fu);
            break;
        case 3:
            code = (lead & 0x0Fu) << 12 | (byteAt(text, i + 1) & 0x3Fu) << 6 | (byteAt(text, i + 2) & 0x3Fu);
            break;
        default:
            code = (lead & 0x07u) << 18 | (byteAt(text, i + 1) & 0x3Fu) << 12
                | (byteAt(text, i + 2) & 0x3Fu) << 6 | (byteAt(text, i + 3) & 0x3Fu);
            break;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out[units++] = static_cast<char16_t>(0xD800 + (code >> 10));
            out[units++] = static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            out[units++] = static_cast<char16_t>(code);
        }
        i += static_cast<std::size_t>(length);
    }
    result.units = units;
    return result;
}

} // namespace torumin
