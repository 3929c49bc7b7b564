#include "app/LeftoverFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace torumin {
namespace {

// The user's folders, moved into a scratch folder for the test's length.
class ScratchHome {
public:
    ScratchHome()
    {
        for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
            m_saved.append({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
            qputenv(name, QFile::encodeName(m_dir.filePath(QString::fromLatin1(name))));
        }
    }
    ~ScratchHome()
    {
        for (const Saved &saved : std::as_const(m_saved)) {
            if (saved.wasSet)
                qputenv(saved.name, saved.value);
            else
                qunsetenv(saved.name);
        }
    }
    ScratchHome(const ScratchHome &) = delete;
    ScratchHome &operator=(const ScratchHome &) = delete;

private:
    struct Saved {
        const char *name;
        QByteArray value;
        bool wasSet;
    };
    QTemporaryDir m_dir;
    QList<Saved> m_saved;
};

TEST(LeftoverFiles, OnlyTheProgramsOwnOldTemporaryFilesGo)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "no variable moves the data folder on Windows, and the settings are in the registry";
#endif
    const ScratchHome home;
    const QList<LeftoverFiles> leftovers = programLeftoverFiles();
    ASSERT_EQ(leftovers.size(), 2);
    const QDir downloads(leftovers[0].folder);
    const QDir settings(leftovers[1].folder);
    ASSERT_TRUE(QDir().mkpath(downloads.path()) && QDir().mkpath(settings.path()));

    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime old = now.addSecs(-2 * 3600);
    const auto make = [](const QDir &folder, const QString &name, const QDateTime &modified) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
    };
    make(settings, u"TORUMIN.ini.QJNBve"_s, old);             // goes
    make(downloads, u"ken_all-kLUhfn.part"_s, old);           // goes
    make(settings, u"TORUMIN.ini.a1B2c3"_s, now.addSecs(-600)); // another instance may be writing it
    for (const QString &name : {u"TORUMIN.ini"_s, u"TORUMIN.ini.lock"_s, u"TORUMIN.ini.unreadable-20251231-120000"_s,
                                u"TORUMIN.ini.QJNBve.bak"_s, u"ken_all-kLUhfn.part"_s})
        make(settings, name, old);
    for (const QString &name : {u"ken_all-20251031.zip"_s, u"ken_all-abc.part"_s, u"TORUMIN.ini.QJNBve"_s})
        make(downloads, name, old);
    ASSERT_TRUE(downloads.mkdir(u"ken_all-Folder.part"_s));
    ASSERT_TRUE(QFile::link(settings.filePath(u"TORUMIN.ini"_s), settings.filePath(u"TORUMIN.ini.Linked"_s)));

    QStringList removed;
    for (const LeftoverFiles &each : leftovers)
        removed += removeLeftoverFiles(each, now);
    EXPECT_EQ(removed, (QStringList{u"ken_all-kLUhfn.part"_s, u"TORUMIN.ini.QJNBve"_s}));
    const auto left = [](const QDir &folder) {
        QStringList names = folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
        names.sort();
        return names;
    };
    EXPECT_EQ(left(downloads), (QStringList{u"TORUMIN.ini.QJNBve"_s, u"ken_all-20251031.zip"_s,
                                            u"ken_all-Folder.part"_s, u"ken_all-abc.part"_s}));
    EXPECT_EQ(left(settings), (QStringList{u"TORUMIN.ini"_s, u"TORUMIN.ini.Linked"_s, u"TORUMIN.ini.QJNBve.bak"_s,
                                           u"TORUMIN.ini.a1B2c3"_s, u"TORUMIN.ini.lock"_s,
                                           u"TORUMIN.ini.unreadable-20251231-120000"_s, u"ken_all-kLUhfn.part"_s}));
}

} // namespace
} // namespace torumin
