// Stands in for a running instance of the program in the tests that need a
// second process: one killed mid-write, or two writing the same file at once.
//
//   settings_writer write <ini-file> <key-prefix> <count>   (count 0: until killed)
//       prints each key on its own line once WriteSetting has returned for it
//   settings_writer history <ini-file> <key-prefix> <count>
//       records <count> search history entries as the program's searches do,
//       printing the key each entry was made from once it is recorded
//   settings_writer default <key> <value>
//       prints the default file path, the path QSettings itself picks for the
//       user scope, then writes <key> to the default store

#include "WriterProtocol.h"
#include "app/Options.h"
#include "app/settings/QtSettingsStore.h"
#include "app/HistoryStore.h"

#include <QSettings>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

using torumin::QtSettingsStore;
namespace writer = torumin::testing::writer;

// Straight to the pipe: a line must be there the moment the key is written,
// even if SIGKILL follows at once.
void printLine(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n <= 0)
            std::exit(4);
        done += n;
    }
}

int writeKeys(const QString &iniPath, const QString &prefix, int count)
{
    const auto store = QtSettingsStore::openFile(iniPath);
    if (const auto notice = store->takeOpeningNotice()) {
        printLine(u"NOTICE "_s + notice->text);
        return 3;
    }
    for (int i = 0; count == 0 || i < count; ++i) {
        const QString key = writer::key(prefix, i);
        store->WriteSetting(writer::section(), key, writer::value(key));
        if (store->lastWriteFailed()) {
            printLine(u"FAILED "_s + key);
            return 2;
        }
        printLine(key);
    }
    return 0;
}

int recordHistory(const QString &iniPath, const QString &prefix, int count)
{
    const auto store = QtSettingsStore::openFile(iniPath);
    torumin::Options options;
    for (int i = 0; i < count; ++i) {
        const QString key = writer::key(prefix, i);
        torumin::addHistoryEntry(options, *store, writer::value(key), u"東京都"_s);
        if (store->lastWriteFailed()) {
            printLine(u"FAILED "_s + key);
            return 2;
        }
        printLine(key);
    }
    return 0;
}

int writeDefault(const QString &key, const QString &value)
{
    const auto store = QtSettingsStore::openDefault();
    store->WriteSetting(writer::section(), key, value);
    printLine(QtSettingsStore::defaultFilePath());
    const QSettings userScope(QSettings::IniFormat, QSettings::UserScope, u"TORUMIN"_s, u"TORUMIN"_s);
    printLine(userScope.fileName());
    return store->lastWriteFailed() ? 2 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 5 && QByteArray(argv[1]) == "write")
        return writeKeys(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), std::atoi(argv[4]));
    if (argc == 5 && QByteArray(argv[1]) == "history")
        return recordHistory(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), std::atoi(argv[4]));
    if (argc == 4 && QByteArray(argv[1]) == "default")
        return writeDefault(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    std::fputs("usage: settings_writer write|history <ini> <prefix> <count> | default <key> <value>\n", stderr);
    return 64;
}
