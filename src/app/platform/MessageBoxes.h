#pragma once

#include <QRect>
#include <QString>

namespace torumin {

// Message box styles, by the numbers the program's messages are known by.
enum MsgStyle : int {
    kStyleExclamationOk = 48,      // OK, exclamation icon: input errors, missing files
    kStyleQuestionOkCancel = 33,   // OK and Cancel, question icon: questions
};

enum class MsgResult { Ok, Cancel };

// Every message box the program shows goes through here, so tests can script
// the answers and read back exactly what was shown.
class MessageBoxes {
public:
    MessageBoxes() = default;
    virtual ~MessageBoxes() = default;
    MessageBoxes(const MessageBoxes &) = delete;
    MessageBoxes &operator=(const MessageBoxes &) = delete;

    // Texts may separate lines with CR characters; they are passed on as they are.
    virtual MsgResult MsgBox(const QString &text, int style, const QString &title) = 0;

    // The same, for a message about what the user typed: the box leaves
    // `keep` (where that text is, in screen coordinates) in view.
    virtual MsgResult MsgBoxClearOf(const QString &text, int style, const QString &title, const QRect &keep)
    {
        Q_UNUSED(keep)
        return MsgBox(text, style, title);
    }
};

} // namespace torumin
