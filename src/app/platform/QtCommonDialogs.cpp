#include "app/platform/QtCommonDialogs.h"

#include <QColor>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>

namespace torumin {

std::unique_ptr<QFileDialog> QtCommonDialogs::makeListFileDialog(QWidget *parent, const QString &title,
                                                                 const QString &folder)
{
    // Lists are published as KEN_ALL.CSV inside ken_all.zip, and either is read
    // as it is; a copy may well be named in lower case. Qt's own chooser
    // matches its patterns in any case; the desktop's chooser on Linux may
    // not, so Qt's is used there. Windows matches any case itself.
    auto dialog = std::make_unique<QFileDialog>(parent, title, folder, QStringLiteral("(*.CSV *.ZIP)"));
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    dialog->setOption(QFileDialog::DontUseNativeDialog);
#endif
    dialog->setFilter(dialog->filter() & ~QDir::CaseSensitive);
    return dialog;
}

QString QtCommonDialogs::chooseListFile(QWidget *parent, const QString &title, const QString &folder)
{
    const std::unique_ptr<QFileDialog> dialog = makeListFileDialog(parent, title, folder);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return QDir::toNativeSeparators(dialog->selectedFiles().constFirst());
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
