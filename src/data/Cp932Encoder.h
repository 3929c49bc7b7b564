#pragma once

#include <QStringView>

#include <string>

namespace torumin {

// UTF-16 to Windows code page 932 through the system's converter, the way
// back of Cp932Decoder: iconv, or on Windows the system's own code page 932.
// For text that people asked to have in CP932 (a file for a spreadsheet on
// Windows), so the mapping must be the one their programs read back.
class Cp932Encoder {
public:
    Cp932Encoder() noexcept;
    ~Cp932Encoder();
    Cp932Encoder(const Cp932Encoder &) = delete;
    Cp932Encoder &operator=(const Cp932Encoder &) = delete;

    // False when the system has no CP932 converter.
    [[nodiscard]] bool isValid() const noexcept;

    // Appends the CP932 bytes of text to out. A character the code page has
    // no place for is written as "?"; the result is false when that happened.
    bool encode(QStringView text, std::string &out);

private:
    void *m_handle;
};

} // namespace torumin
