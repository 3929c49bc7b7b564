// Any bytes as the user's settings file, at the default location, opened the
// way the program opens it at start-up and the way torumin-query reads it.
//
// The file either opens untouched or, when nothing in it is readable, is set
// aside byte for byte with a notice; the read-only store reads what the
// program reads. After a change, a batch of defaults and a history entry, the
// program must open what it wrote without a notice and find every key it had
// read before, the changed ones changed. What the file text makes of the
// values must also survive being written and read again as they are.

#include "FuzzCheck.h"
#include "ScratchFolder.h"

#include "app/Options.h"
#include "app/settings/IniText.h"
#include "app/settings/QtSettingsStore.h"
#include "app/HistoryStore.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>

using namespace torumin;

namespace {

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString describe(const SettingsValues &values)
{
    return QString::fromUtf8(formatIni(values).toPercentEncoding(" =[]\n"));
}

// Where each passed-over line belongs: its section and the key it stands
// above, in file order among the lines that share both. A save sorts the
// keys, so lines above different keys may change places between them, but
// never leave their key or change their order above it.
QHash<QString, QMap<QString, QList<QByteArray>>> placesOf(const PassedOverLines &lines)
{
    QHash<QString, QMap<QString, QList<QByteArray>>> places;
    for (auto section = lines.bySection.cbegin(); section != lines.bySection.cend(); ++section) {
        for (const PassedOverLine &line : section.value())
            places[section.key()][line.beforeKey].append(line.bytes);
    }
    return places;
}

// Every key of `expected` reads the same from `store`.
void checkReads(const QtSettingsStore &store, const SettingsValues &expected, const char *what)
{
    for (auto section = expected.cbegin(); section != expected.cend(); ++section) {
        for (auto key = section.value().cbegin(); key != section.value().cend(); ++key) {
            const QString read = store.ReadSetting(section.key(), key.key());
            FUZZ_CHECK_SAYING(read == key.value(), QStringLiteral("%1: %2/%3 is \"%4\", not \"%5\"")
                                                       .arg(QString::fromUtf8(what), section.key(), key.key(),
                                                            read, key.value()));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::makeScratchFolder("fuzz-settings");
    // The default location is the one under test.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(fuzz::scratchFolder()));
    if (QtSettingsStore::defaultFilePath() != fuzz::scratchFolder() + QStringLiteral("/TORUMIN/TORUMIN.ini")) {
        std::fprintf(stderr, "the default settings file is not in the scratch folder\n");
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::emptyScratchFolder();
    const QString folder = fuzz::scratchFolder() + QStringLiteral("/TORUMIN");
    const QString path = QtSettingsStore::defaultFilePath();
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    FUZZ_CHECK(QDir().mkpath(folder) && fuzz::writeScratchFile(path, input));

    // The text on its own: what it reads as is written back the same.
    const IniContent parsed = parseIni(input);
    {
        const IniContent again = parseIni(formatIni(parsed.values));
        FUZZ_CHECK_SAYING(again.values == parsed.values && again.unusableLines == 0,
                          describe(parsed.values) + QStringLiteral("  <>  ") + describe(again.values));
        // With what it passed over: that comes back too, in the same place.
        const QByteArray saved = formatIni(parsed.values, parsed.passedOver);
        const IniContent kept = parseIni(saved);
        FUZZ_CHECK_SAYING(kept.values == parsed.values
                              && kept.passedOver.outsideSections == parsed.passedOver.outsideSections
                              && placesOf(kept.passedOver) == placesOf(parsed.passedOver)
                              && kept.unusableLines == parsed.unusableLines,
                          QStringLiteral("passed-over lines moved or changed"));
        // And a second save changes nothing.
        FUZZ_CHECK_SAYING(formatIni(kept.values, kept.passedOver) == saved,
                          QStringLiteral("a second save wrote a different file"));
    }

    // torumin-query first: it must leave the file exactly as it was.
    const std::unique_ptr<QtSettingsStore> readOnly = QtSettingsStore::openDefaultReadOnly();
    FUZZ_CHECK(readOnly && readOnly->isMemoryOnly() && !readOnly->takeOpeningNotice());
    FUZZ_CHECK_SAYING(contentsOf(path) == input, QStringLiteral("the read-only store changed the file"));

    std::unique_ptr<QtSettingsStore> store = QtSettingsStore::openDefault();
    FUZZ_CHECK(store);
    const std::optional<SettingsNotice> notice = store->takeOpeningNotice();
    FUZZ_CHECK(!store->takeOpeningNotice());
    SettingsValues expected;
    if (!notice) {
        FUZZ_CHECK(!parsed.isUnreadable() && !store->isMemoryOnly());
        FUZZ_CHECK_SAYING(contentsOf(path) == input, QStringLiteral("opening changed the file"));
        expected = parsed.values;
        checkReads(*store, expected, "the program");
        checkReads(*readOnly, expected, "the read-only store");
    } else {
        FUZZ_CHECK(parsed.isUnreadable());
        FUZZ_CHECK(!notice->title.isEmpty() && !notice->text.isEmpty());
        FUZZ_CHECK_SAYING(!QFileInfo::exists(path), QStringLiteral("set aside, yet still in place"));
        const QStringList aside = QDir(folder).entryList({QStringLiteral("TORUMIN.ini.unreadable-*")},
                                                         QDir::Files | QDir::Hidden);
        FUZZ_CHECK_SAYING(aside.size() == 1, aside.join(u' '));
        FUZZ_CHECK_SAYING(contentsOf(QDir(folder).filePath(aside.front())) == input,
                          QStringLiteral("the copy set aside differs from the file"));
    }

    // What gets written comes from the input too, so keys and values with
    // quotes, separators, control characters and any script get their turn.
    const QString text = QString::fromUtf8(input.right(48));
    const QString key = QStringLiteral("K") + QString::fromUtf8(input.left(12));
    store->WriteSettings({{QStringLiteral("Config"), key, text}, {QStringLiteral("Saigo"), QStringLiteral("J_Input"), text}});
    FUZZ_CHECK_SAYING(!store->lastWriteFailed(), QStringLiteral("writing to a writable folder failed"));
    expected[QStringLiteral("Config")].insert(key, text);
    expected[QStringLiteral("Saigo")].insert(QStringLiteral("J_Input"), text);

    Options options;
    addHistoryEntry(options, *store, text, QStringLiteral("東京都"));
    FUZZ_CHECK(!store->lastWriteFailed());
    for (int slot = 0; slot < 20; ++slot) {
        const QString slotKey = historyKey(slot);
        expected[QStringLiteral("Rireki")].insert(slotKey, options.value(slotKey));
    }
    FUZZ_CHECK(historyEntries(options).contains(text) || text.isEmpty());
    checkReads(*store, expected, "the store after writing");
    store.reset();

    const std::unique_ptr<QtSettingsStore> reopened = QtSettingsStore::openDefault();
    const std::optional<SettingsNotice> second = reopened->takeOpeningNotice();
    FUZZ_CHECK_SAYING(!second, QStringLiteral("the file the program wrote cannot be read back: ")
                                   + QString::fromUtf8(contentsOf(path).toPercentEncoding(" =[]\n")));
    checkReads(*reopened, expected, "the file written");
    return 0;
}
