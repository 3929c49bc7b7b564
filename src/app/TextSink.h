#pragma once

#include "data/TextEncoding.h"

#include <QString>
#include <QStringView>

namespace torumin {

// Where the command-line programs write text: standard output or standard
// error. One seam for both, so that a console taking text as it is can stand
// in for a stream of bytes. A sink may hold what is written until flush(); a
// failure is reported by the write or flush that meets it, and every one
// after it fails too.
class TextSink {
public:
    TextSink() = default;
    virtual ~TextSink() = default;
    TextSink(const TextSink &) = delete;
    TextSink &operator=(const TextSink &) = delete;

    // The bytes the text becomes, where bytes are written: UTF-8 until set.
    virtual void setEncoding(TextEncoding encoding) = 0;
    // False when the text, or text held before it, could not be written.
    [[nodiscard]] virtual bool write(QStringView text) = 0;
    // Passes on everything held; false when that fails.
    [[nodiscard]] virtual bool flush() = 0;
    // Why writing failed, in the system's words.
    [[nodiscard]] virtual QString errorText() const = 0;
    // Whether a character had no place in the encoding and went out as "?"
    // since the last call.
    [[nodiscard]] virtual bool takeReplacedCharacters() = 0;
};

} // namespace torumin
