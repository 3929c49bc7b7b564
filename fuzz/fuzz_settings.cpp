// Any bytes as the settings file, opened the way the program opens it at
// start-up. The file either opens untouched or is set aside, byte for byte,
// with a notice; after one write the program must be able to open what it
// wrote and find the value there, and every other value as it was.
//
// QSettings keeps each file it read in a per-process cache and reads it again
// only when its size or time stamp changed, so each input's file is given a
// time stamp no earlier input had: otherwise two inputs of one size written
// within the file system's clock tick would be answered from the cache.

#include "FuzzCheck.h"

#include "app/settings/QtSettingsStore.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>
#include <utility>

#include <fcntl.h>    // AT_FDCWD
#include <stdlib.h>   // mkdtemp
#include <sys/stat.h> // utimensat

using namespace torumin;

namespace {

struct Key {
    const char16_t *section;
    const char16_t *key;
};

// Keys the program uses, with the characters its key names contain.
constexpr std::array kReadKeys{
    Key{u"Config", u"Toolbar"}, Key{u"Config", u"OptSen"},       Key{u"Config", u"Yubin_File(0)"},
    Key{u"Config", u"YJ_Disp(0)"}, Key{u"Position", u"MainLeft"}, Key{u"Saigo", u"Code"},
    Key{u"Rireki", u"Rireki(1)"}, Key{u"Saigo", u"Kana"},
};
constexpr Key kWrittenKey{u"Rireki", u"Rireki(0)"};

QString &scratchDir()
{
    static QString dir;
    return dir;
}

void emptyScratchDir()
{
    QDir dir(scratchDir());
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

void removeScratchDir()
{
    if (!scratchDir().isEmpty())
        QDir(scratchDir()).removeRecursively();
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString readKey(const QtSettingsStore &store, const Key &key)
{
    return store.ReadSetting(QString::fromUtf16(key.section), QString::fromUtf16(key.key));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    QByteArray pattern = QDir::tempPath().toLocal8Bit() + "/torumin-fuzz-settings-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    scratchDir() = QString::fromLocal8Bit(pattern);
    std::atexit(removeScratchDir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static long long run = 0;
    emptyScratchDir();
    const QString fileName = QStringLiteral("TORUMIN.ini");
    const QString path = QDir(scratchDir()).filePath(fileName);
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(input) == input.size());
    }
    {
        // Whole seconds from 2001 on: never the current time a write leaves.
        const timespec stamp{978307200 + ++run, 0};
        const std::array<timespec, 2> times{stamp, stamp};
        FUZZ_CHECK(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times.data(), 0) == 0);
    }

    std::unique_ptr<QtSettingsStore> store = QtSettingsStore::openFile(path);
    FUZZ_CHECK(store);
    const std::optional<SettingsNotice> notice = store->takeOpeningNotice();
    FUZZ_CHECK(!store->takeOpeningNotice());
    if (!notice) {
        FUZZ_CHECK(!store->isMemoryOnly());
        FUZZ_CHECK_SAYING(contentsOf(path) == input, QStringLiteral("opening changed the file"));
    } else {
        FUZZ_CHECK(!notice->title.isEmpty() && !notice->text.isEmpty());
        if (store->isMemoryOnly()) {
            FUZZ_CHECK(contentsOf(path) == input);
        } else {
            FUZZ_CHECK_SAYING(!QFileInfo::exists(path), QStringLiteral("set aside, yet still in place"));
            const QStringList aside = QDir(scratchDir()).entryList({fileName + QStringLiteral(".unreadable-*")},
                                                                   QDir::Files | QDir::Hidden);
            FUZZ_CHECK_SAYING(aside.size() == 1, aside.join(u' '));
            FUZZ_CHECK_SAYING(contentsOf(QDir(scratchDir()).filePath(aside.front())) == input,
                              QStringLiteral("the copy set aside differs from the file"));
        }
    }

    std::array<QString, kReadKeys.size()> before;
    for (std::size_t i = 0; i < kReadKeys.size(); ++i)
        before[i] = readKey(*store, kReadKeys[i]);

    // What gets written comes from the input too, so values with quotes,
    // separators, control characters and any script get their turn.
    const QByteArray tail = input.right(48);
    const QString value = QString::fromUtf8(tail);
    const QString section = QString::fromUtf16(kWrittenKey.section);
    const QString key = QString::fromUtf16(kWrittenKey.key);
    store->WriteSetting(section, key, value);
    FUZZ_CHECK_SAYING(!store->lastWriteFailed(), QStringLiteral("writing to a writable folder failed"));
    FUZZ_CHECK(store->ReadSetting(section, key) == value);
    if (store->isMemoryOnly())
        return 0;
    store.reset();

    std::unique_ptr<QtSettingsStore> reopened = QtSettingsStore::openFile(path);
    const std::optional<SettingsNotice> second = reopened->takeOpeningNotice();
    FUZZ_CHECK_SAYING(!second, QStringLiteral("the file the program wrote cannot be read back: ")
                                   + QString::fromUtf8(contentsOf(path).toPercentEncoding(" =[]\n")));
    FUZZ_CHECK_SAYING(reopened->ReadSetting(section, key) == value,
                      QStringLiteral("wrote \"%1\", read back \"%2\"").arg(value, reopened->ReadSetting(section, key)));
    for (std::size_t i = 0; i < kReadKeys.size(); ++i) {
        const QString after = readKey(*reopened, kReadKeys[i]);
        FUZZ_CHECK_SAYING(after == before[i], QStringLiteral("%1/%2 was \"%3\", is \"%4\" after writing another key")
                                                  .arg(QString::fromUtf16(kReadKeys[i].section),
                                                       QString::fromUtf16(kReadKeys[i].key), before[i], after));
    }
    return 0;
}
