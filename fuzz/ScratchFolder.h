#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

#include <stdlib.h> // mkdtemp

namespace torumin::fuzz {

// A folder of the run's own under TMPDIR for the files a target writes, made
// at start-up, emptied for each input and removed at exit.
inline QString &scratchFolder()
{
    static QString folder;
    return folder;
}

inline void removeScratchFolder()
{
    if (!scratchFolder().isEmpty())
        QDir(scratchFolder()).removeRecursively();
}

inline void makeScratchFolder(const char *name)
{
    QByteArray pattern = QDir::tempPath().toLocal8Bit() + "/torumin-" + name + "-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    scratchFolder() = QString::fromLocal8Bit(pattern);
    std::atexit(removeScratchFolder);
}

inline void emptyScratchFolder()
{
    QDir dir(scratchFolder());
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::Dirs
                                            | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        const QString path = dir.filePath(name);
        if (QFileInfo(path).isDir() && !QFileInfo(path).isSymLink())
            QDir(path).removeRecursively();
        else
            QFile::remove(path);
    }
}

inline bool writeScratchFile(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes.data(), bytes.size()) == bytes.size();
}

} // namespace torumin::fuzz
