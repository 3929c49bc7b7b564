#pragma once

#include <QIODevice>
#include <QStringDecoder>

#include <cstdio>

namespace torumin {

// Standard output or standard error for text written as UTF-8. To a file or a
// pipe the bytes go as they are. To a Windows console they go as text
// (WriteConsoleW): a console shows the bytes a program writes in its own code
// page, which is seldom UTF-8, but shows text in any code page.
class ConsoleOutput final : public QIODevice {
public:
    explicit ConsoleOutput(std::FILE *stream);
    ~ConsoleOutput() override;

    ConsoleOutput(const ConsoleOutput &) = delete;
    ConsoleOutput &operator=(const ConsoleOutput &) = delete;

    [[nodiscard]] bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    std::FILE *m_stream;
    void *m_console = nullptr; // the console's handle, when the stream is one
    // A character cut between two writes is decoded once its last byte came.
    QStringDecoder m_decoder{QStringDecoder::Utf8};
};

} // namespace torumin
