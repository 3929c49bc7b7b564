#pragma once

#include "app/platform/MessageBoxes.h"

namespace torumin {

// Real message boxes, over the active window. CR line breaks in a text are shown
// as line breaks.
class QtMessageBoxes final : public MessageBoxes {
public:
    MsgResult MsgBox(const QString &text, int style, const QString &title) override;
    MsgResult MsgBoxClearOf(const QString &text, int style, const QString &title, const QRect &keep) override;

    // The text as a Qt label shows it: CR and CR LF become line breaks.
    [[nodiscard]] static QString displayText(const QString &text);

private:
    static MsgResult show(const QString &text, int style, const QString &title, const QRect &keep);
};

} // namespace torumin
