#include "app/ProgramFolder.h"

#include "app/SettingsKeys.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace torumin {

QString chooseProgramFolder(const QString &executableFolder, const QString &installedData)
{
    const auto holdsList = [](const QString &folder) {
        return !folder.isEmpty() && QFileInfo::exists(folder + QLatin1Char('/') + kDefaultListFileName);
    };
    if (!holdsList(executableFolder) && holdsList(installedData))
        return QDir::toNativeSeparators(installedData);
    return QDir::toNativeSeparators(executableFolder);
}

QString programFolder()
{
    return chooseProgramFolder(QCoreApplication::applicationDirPath(), QStringLiteral(TORUMIN_INSTALLED_DATA));
}

} // namespace torumin
