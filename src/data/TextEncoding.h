#pragma once

#include <QString>

#include <optional>
#include <string_view>

namespace torumin {

class Cp932Decoder;

// The two encodings Japanese text comes in here: UTF-8, and Windows code
// page 932, which Windows consoles and spreadsheets write.
enum class TextEncoding { Utf8, Cp932 };

// The text of one line of input, without its line end. In `only` when given;
// otherwise UTF-8 where the bytes are well-formed UTF-8, and code page 932
// where they are not but are well-formed CP932. Nothing when the bytes are
// not in the encoding asked for, or in neither: a guess would put a wrong
// address or code in the answer.
[[nodiscard]] std::optional<QString> decodeLine(std::string_view bytes, std::optional<TextEncoding> only,
                                                Cp932Decoder &cp932);

} // namespace torumin
