#pragma once

#include <QString>

#include <vector>

namespace torumin {

// One complaint about a typed postal code, as a message box shows it, and the
// box (0 for the three digits, 1 for the four) that the focus goes to, or -1.
struct CodeCheckMessage {
    QString text;
    QString title;
    int focusBox = -1;
    friend bool operator==(const CodeCheckMessage &, const CodeCheckMessage &) = default;
};

// Checks the two boxes of the postal-code dialog: length, then digits in each
// box, then emptiness. Every failing check gives its message, in that order (a
// box with a non-digit in each gives the digit message twice); no messages
// means the code may be searched. Only "0" to "9" are digits.
[[nodiscard]] std::vector<CodeCheckMessage> checkPostalCode(const QString &first, const QString &second);

} // namespace torumin
