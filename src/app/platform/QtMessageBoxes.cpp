#include "app/platform/QtMessageBoxes.h"

#include "app/WindowGeometry.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>

namespace torumin {

namespace {

// A message box that, once it knows its size, moves clear of `keep` (screen
// coordinates) and of the window it belongs to, where the screen has room.
class PlacedMessageBox final : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

    QRect keep;

protected:
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event);
        const QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
        if (keep.isEmpty() || !owner || !owner->screen())
            return;
        // This box's frame is not known before it is first shown; the
        // owner's is the best guess.
        const QSize frame = owner->frameGeometry().size() - owner->geometry().size();
        move(dialogPositionClearOf(size() + frame, owner->frameGeometry(), keep, owner->screen()->availableGeometry()));
    }
};

} // namespace

QString QtMessageBoxes::displayText(const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

MsgResult QtMessageBoxes::MsgBox(const QString &text, int style, const QString &title)
{
    return show(text, style, title, QRect());
}

MsgResult QtMessageBoxes::MsgBoxClearOf(const QString &text, int style, const QString &title, const QRect &keep)
{
    return show(text, style, title, keep);
}

MsgResult QtMessageBoxes::show(const QString &text, int style, const QString &title, const QRect &keep)
{
    const bool question = style == kStyleQuestionOkCancel;
    const QPointer<QWidget> owner = QApplication::activeWindow();
    PlacedMessageBox box(question ? QMessageBox::Question : QMessageBox::Warning, title, displayText(text),
                         question ? (QMessageBox::Ok | QMessageBox::Cancel) : QMessageBox::Ok, owner);
    box.keep = keep;
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Ok);
    if (question)
        box.setEscapeButton(QMessageBox::Cancel);
    const bool ok = box.exec() == QMessageBox::Ok;
    // The window that asked gets the keyboard back, where it put its focus;
    // not every desktop hands the activation back by itself.
    if (owner && owner->isVisible())
        owner->activateWindow();
    return ok ? MsgResult::Ok : MsgResult::Cancel;
}

} // namespace torumin
