#pragma once

#include <QString>

#include <optional>
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
// means the code may be searched. "0" to "9" and their full-width forms are
// digits.
[[nodiscard]] std::vector<CodeCheckMessage> checkPostalCode(const QString &first, const QString &second);

// "0" to "9" and their full-width forms.
[[nodiscard]] bool isCodeDigit(QChar ch);

// The text with every full-width digit replaced by its ASCII digit; the list
// holds ASCII digits only, so a code is looked up in this form.
[[nodiscard]] QString asciiDigits(const QString &text);

// The seven ASCII digits of a whole postal code as people type or paste it:
// surrounding spaces, a leading "〒", full-width digits and one hyphen (or a
// dash that stands for one) after the third digit are allowed. Nothing when
// the text is not one whole code.
[[nodiscard]] std::optional<QString> postalCodeDigits(const QString &text);

// The code a pasted line begins with: a whole code as postalCodeDigits takes
// it, alone or followed by a space (the ideographic one too) and more text,
// as the result box, the history and the candidate lines write a code and
// its address ("〒100-0005　東京都千代田区丸の内"). Nothing otherwise.
[[nodiscard]] std::optional<QString> leadingPostalCode(const QString &text);

} // namespace torumin
