#include "app/platform/QtMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace torumin {

QString QtMessageBoxes::displayText(const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

MsgResult QtMessageBoxes::MsgBox(const QString &text, int style, const QString &title)
{
    const bool question = style == kStyleQuestionOkCancel;
    const QPointer<QWidget> owner = QApplication::activeWindow();
    QMessageBox box(question ? QMessageBox::Question : QMessageBox::Warning, title, displayText(text),
                    question ? (QMessageBox::Ok | QMessageBox::Cancel) : QMessageBox::Ok, owner);
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
