#pragma once

#include "app/settings/QtSettingsStore.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <memory>
#include <ostream>

// Readable failure messages for QString comparisons, found by argument-dependent lookup.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace torumin::testing {

#ifndef Q_OS_WIN
// QSettings keeps every file it has parsed in a per-process cache and trusts it
// while size and modification time are unchanged, so a second store opened on
// the same path in this process may never look at the bytes. A copy under a
// new name is parsed from what is actually on the disk.
inline std::unique_ptr<QtSettingsStore> reopenFromCopy(const QString &path)
{
    static int serial = 0;
    const QString copy = path + QStringLiteral(".copy-") + QString::number(++serial);
    EXPECT_TRUE(QFile::copy(path, copy)) << path.toStdString();
    auto store = QtSettingsStore::openFile(copy);
    const auto notice = store->takeOpeningNotice();
    EXPECT_FALSE(notice.has_value()) << notice.value_or(SettingsNotice{}).text.toStdString();
    return store;
}
#endif

inline QStringList asideCopies(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.unreadable-*")}, QDir::AllEntries | QDir::Hidden | QDir::System,
                                  QDir::Name);
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

} // namespace torumin::testing
