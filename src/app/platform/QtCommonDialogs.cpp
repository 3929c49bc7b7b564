#include "app/platform/QtCommonDialogs.h"

#include <QColor>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>

namespace torumin {

QString QtCommonDialogs::chooseListFile(QWidget *parent, const QString &title, const QString &folder)
{
    // Lists are published as KEN_ALL.CSV inside ken_all.zip, and either is read
    // as it is; a copy may well be named in lower case, so the filter ignores
    // case on case-sensitive file systems too.
    const QString filter = QStringLiteral("(*.CSV, *.ZIP) (*.[Cc][Ss][Vv] *.[Zz][Ii][Pp])");
    return QDir::toNativeSeparators(QFileDialog::getOpenFileName(parent, title, folder, filter));
}

std::optional<std::uint32_t> QtCommonDialogs::chooseColour(QWidget *parent, std::uint32_t initial)
{
    const QColor start(static_cast<int>(initial & 0xFFu), static_cast<int>((initial >> 8) & 0xFFu),
                       static_cast<int>((initial >> 16) & 0xFFu));
    const QColor chosen = QColorDialog::getColor(start, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return static_cast<std::uint32_t>(chosen.red()) | (static_cast<std::uint32_t>(chosen.green()) << 8)
        | (static_cast<std::uint32_t>(chosen.blue()) << 16);
}

} // namespace torumin
