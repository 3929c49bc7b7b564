#include "app/LeftoverFiles.h"

#include "app/DownloadedList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#ifndef Q_OS_WIN
#include "app/settings/QtSettingsStore.h"
#endif

namespace torumin {

QList<LeftoverFiles> programLeftoverFiles()
{
    // The six characters QTemporaryFile puts in place of XXXXXX, for the
    // settings file (QSaveFile appends them) and the download's ".part" file.
    QList<LeftoverFiles> leftovers{{QDir::fromNativeSeparators(downloadedListsFolder()),
                                    QStringLiteral("(ken_all|jigyosyo)-[A-Za-z0-9]{6}\\.part")}};
#ifndef Q_OS_WIN
    const QFileInfo settings(QtSettingsStore::defaultFilePath());
    leftovers.append({settings.absolutePath(),
                      QRegularExpression::escape(settings.fileName()) + QStringLiteral("\\.[A-Za-z0-9]{6}")});
#endif
    return leftovers;
}

QStringList removeLeftoverFiles(const LeftoverFiles &leftovers, const QDateTime &now, std::chrono::seconds age)
{
    const QRegularExpression pattern(QRegularExpression::anchoredPattern(leftovers.namePattern));
    const QDateTime before = now.addSecs(-age.count());
    QStringList removed;
    const QDir folder(leftovers.folder);
    const QFileInfoList entries = folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QFileInfo &entry : entries) {
        if (!entry.isFile() || entry.isSymLink() || !pattern.match(entry.fileName()).hasMatch())
            continue;
        if (entry.lastModified() >= before)
            continue;
        if (QFile::remove(entry.absoluteFilePath()))
            removed.append(entry.fileName());
    }
    return removed;
}

} // namespace torumin
