#include "app/platform/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace torumin {

bool QtClipboard::setText(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(text, QClipboard::Clipboard);
    return true;
}

std::optional<QString> QtClipboard::text() const
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return std::nullopt;
    const QMimeData *data = clipboard->mimeData(QClipboard::Clipboard);
    if (!data || !data->hasText())
        return QString();
    return data->text();
}

} // namespace torumin
