#pragma once

#include <QIODevice>

namespace torumin {

// Standard input as a device that hands over whatever has arrived, so that
// a line typed, or sent by a program that waits for its answer, is read at
// once. (QFile on a pipe waits to fill its buffer, and on a file asks for
// its position at every line.)
class StandardInputDevice final : public QIODevice {
public:
    StandardInputDevice();

    [[nodiscard]] bool isSequential() const override { return true; }

    // What standard input is: a terminal (someone at the keyboard), a file
    // (read as fast as it goes), or neither (a pipe).
    [[nodiscard]] static bool isTerminal();
    [[nodiscard]] static bool isFile();

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;
};

} // namespace torumin
