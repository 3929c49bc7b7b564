#include "data/TextEncoding.h"

#include "data/Cp932Decoder.h"
#include "data/Utf8Decoder.h"

namespace torumin {

namespace {

// Neither encoding yields more UTF-16 units than it has bytes.
template<typename Decode>
std::optional<QString> decodeWith(std::string_view bytes, Decode decode)
{
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    const auto result = decode(bytes.data(), bytes.size(), reinterpret_cast<char16_t *>(text.data()));
    if (result.badByte)
        return std::nullopt;
    text.truncate(static_cast<qsizetype>(result.units));
    return text;
}

} // namespace

std::optional<QString> decodeLine(std::string_view bytes, std::optional<TextEncoding> only, Cp932Decoder &cp932)
{
    if (only != TextEncoding::Cp932) {
        if (std::optional<QString> text = decodeWith(bytes, &Utf8Decoder::decode))
            return text;
        if (only == TextEncoding::Utf8)
            return std::nullopt;
    }
    if (!cp932.isValid())
        return std::nullopt;
    return decodeWith(bytes, [&cp932](const char *from, std::size_t size, char16_t *out) {
        return cp932.decode(from, size, out);
    });
}

} // namespace torumin
