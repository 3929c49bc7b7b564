#pragma once

#include <QString>

#include <optional>

namespace torumin {

// The system clipboard, plain text only.
class Clipboard {
public:
    Clipboard() = default;
    virtual ~Clipboard() = default;
    Clipboard(const Clipboard &) = delete;
    Clipboard &operator=(const Clipboard &) = delete;

    // Replaces the clipboard's contents with this text (an empty text too).
    // False when the clipboard could not be used.
    virtual bool setText(const QString &text) = 0;
    // The clipboard's text: empty when it holds no text; nothing when the
    // clipboard could not be used.
    [[nodiscard]] virtual std::optional<QString> text() const = 0;
};

} // namespace torumin
