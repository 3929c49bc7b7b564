#include "app/platform/QtMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

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
    QMessageBox box(question ? QMessageBox::Question : QMessageBox::Warning, title, displayText(text),
                    question ? (QMessageBox::Ok | QMessageBox::Cancel) : QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Ok);
    if (question)
        box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok ? MsgResult::Ok : MsgResult::Cancel;
}

} // namespace torumin
