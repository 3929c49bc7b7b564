#pragma once

#include "app/TextSink.h"

#include <QtGlobal>

#include <cstdio>
#include <memory>
#include <string>

namespace torumin {

class Cp932Encoder;

// A sink on a C stream (stdout, stderr, or any file), encoding text as it is
// written and checking every write and flush, so that a full disk or a
// closed pipe is never taken for success.
class StdioTextSink final : public TextSink {
public:
    // The stream stays the caller's. On Windows a console is written text
    // (WriteConsoleW), whatever the encoding; any other stream is switched to
    // binary mode, so line ends go out as they are written.
    explicit StdioTextSink(std::FILE *stream);
    ~StdioTextSink() override;

    void setEncoding(TextEncoding encoding) override;
    [[nodiscard]] bool write(QStringView text) override;
    [[nodiscard]] bool flush() override;
    [[nodiscard]] QString errorText() const override;
    [[nodiscard]] bool takeReplacedCharacters() override;

private:
    bool fail(int error);
#ifdef Q_OS_WIN
    bool writeConsole(QStringView text);
    void *m_console = nullptr; // the console's handle, when the stream is one
#endif

    std::FILE *m_stream;
    TextEncoding m_encoding = TextEncoding::Utf8;
    std::unique_ptr<Cp932Encoder> m_cp932;
    std::string m_bytes;
    int m_error = 0;  // errno of the first failure, or 0
    bool m_failed = false;
    bool m_replaced = false;
};

} // namespace torumin
