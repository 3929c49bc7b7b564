#include "app/ProgramFolder.h"

#include "app/SettingsKeys.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace torumin {

namespace {

const QString kBundledArchiveFileName = QStringLiteral("ken_all.zip");

bool holdsFile(const QString &folder, const QString &name)
{
    return !folder.isEmpty() && QFileInfo::exists(folder + QLatin1Char('/') + name);
}

bool holdsList(const QString &folder)
{
    return holdsFile(folder, kDefaultListFileName) || holdsFile(folder, kBundledArchiveFileName);
}

} // namespace

QString chooseProgramFolder(const QString &executableFolder, const QString &installedData)
{
    if (!holdsList(executableFolder) && holdsList(installedData))
        return QDir::toNativeSeparators(installedData);
    return QDir::toNativeSeparators(executableFolder);
}

QString programFolder()
{
    return chooseProgramFolder(QCoreApplication::applicationDirPath(), QStringLiteral(TORUMIN_INSTALLED_DATA));
}

QString bundledListPath(const QString &folder)
{
    const bool archiveOnly = !holdsFile(folder, kDefaultListFileName) && holdsFile(folder, kBundledArchiveFileName);
    return folder + QDir::separator() + (archiveOnly ? kBundledArchiveFileName : kDefaultListFileName);
}

} // namespace torumin
