#include "app/settings/QtSettingsStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QVariant>

#include <chrono>
#include <utility>

using namespace Qt::StringLiterals;

namespace torumin {
namespace {

using Values = QHash<QString, QHash<QString, QString>>;

QString noticeTitle()
{
    return u"設定 確認"_s;
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Only a hand-edited file has an unquoted "a,b", which QSettings hands back as
// a list; every value this program writes comes back as one string.
QString textOf(const QVariant &value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

Values readValues(QSettings &settings)
{
    Values values;
    const QStringList keys = settings.allKeys();
    for (const QString &path : keys) {
        const qsizetype slash = path.indexOf(u'/');
        if (slash <= 0)
            continue; // outside every section: not written by this program
        values[path.first(slash)].insert(path.sliced(slash + 1), textOf(settings.value(path)));
    }
    return values;
}

#ifndef Q_OS_WIN

constexpr QLatin1String kName("TORUMIN");

// QSettings reads NUL bytes and broken UTF-8 without a complaint (the latter
// as U+FFFD), and would then write the damage back for good. A file this
// program wrote has neither: control characters are written escaped.
bool isPlainText(const QByteArray &bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
            return false;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);
    return !decoder.hasError();
}

std::optional<Values> readIniFile(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError || !isPlainText(bytes))
            return std::nullopt;
    }
    QSettings settings(path, QSettings::IniFormat);
    Values values = readValues(settings); // parses every section, so status() covers them all
    if (settings.status() != QSettings::NoError)
        return std::nullopt;
    return values;
}

// Never over an earlier copy: each start-up that finds the file unreadable
// keeps its own. Returns the new name, or nothing when the file had to stay.
QString setAside(const QString &path)
{
    const QString stem = path + u".unreadable-"_s
        + QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss"_s);
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const QString candidate = attempt == 1 ? stem : stem + u'-' + QString::number(attempt);
        const QFileInfo target(candidate);
        if (target.exists() || target.isSymLink())
            continue;
        if (QFile::rename(path, candidate))
            return candidate;
        if (!QFileInfo(candidate).exists())
            return {}; // not a name clash with a racing instance: renaming is impossible here
    }
    return {};
}

SettingsNotice setAsideNotice(const QString &path, const QString &aside)
{
    return {noticeTitle(),
            u"設定ファイル「"_s + shown(path)
                + u"」を読み込めなかったため、初期設定で起動しました。元のファイルは「"_s
                + shown(aside) + u"」として残してあります。　"_s};
}

SettingsNotice keptInPlaceNotice(const QString &path)
{
    return {noticeTitle(),
            u"設定ファイル「"_s + shown(path)
                + u"」を読み込めず、別の名前で残すこともできなかったため、初期設定で起動しました。"
                  u"このファイルはそのままにして、今回の設定の変更は保存しません。　"_s};
}

// QSettings' own lock waits out its 30-second stale time on a lock file whose
// writer was killed before filling it in, which would freeze the next click
// that saves anything. Qt holds an flock on every live lock file from the
// moment after creating it, and never removes one it cannot flock; so the
// only live lock this can take over is one whose owner has spent 100 ms
// between two adjacent system calls.
void clearAbandonedLock(const QString &lockPath)
{
    QLockFile probe(lockPath);
    probe.setStaleLockTime(std::chrono::milliseconds{100});
    if (probe.tryLock(std::chrono::seconds{5}))
        probe.unlock();
}

#endif

} // namespace

QtSettingsStore::QtSettingsStore(QString location, QSettings::Format format)
    : m_location(std::move(location))
    , m_format(format)
{
}

#ifdef Q_OS_WIN

std::unique_ptr<QtSettingsStore> QtSettingsStore::openDefault()
{
    // Where SaveSetting kept them: one subkey per section, REG_SZ values.
    // QSettings reads those as they are; only a value it writes that starts
    // with "@" is stored with the "@" doubled, which the older program would
    // show as such.
    std::unique_ptr<QtSettingsStore> store(new QtSettingsStore(
        u"HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\TORUMIN"_s,
        QSettings::NativeFormat));
    QSettings settings(store->m_location, store->m_format);
    store->m_values = readValues(settings);
    return store;
}

std::unique_ptr<QtSettingsStore> QtSettingsStore::openDefaultReadOnly()
{
    std::unique_ptr<QtSettingsStore> store = openDefault();
    store->m_memoryOnly = true;
    return store;
}

#else

QString QtSettingsStore::defaultFilePath()
{
    // Where QSettings puts IniFormat/UserScope for organisation and application
    // "TORUMIN". Not asked of a QSettings object: that would read the file into
    // its per-process cache, and the check at open would then see the cached
    // copy instead of the file.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + kName
        + u'/' + kName + u".ini"_s;
}

std::unique_ptr<QtSettingsStore> QtSettingsStore::openDefault()
{
    return openFile(defaultFilePath());
}

std::unique_ptr<QtSettingsStore> QtSettingsStore::openDefaultReadOnly()
{
    const QString path = defaultFilePath();
    std::unique_ptr<QtSettingsStore> store(new QtSettingsStore(path, QSettings::IniFormat));
    store->m_memoryOnly = true;
    if (std::optional<Values> values = readIniFile(path))
        store->m_values = std::move(*values);
    return store;
}

std::unique_ptr<QtSettingsStore> QtSettingsStore::openFile(const QString &iniPath)
{
    std::unique_ptr<QtSettingsStore> store(new QtSettingsStore(iniPath, QSettings::IniFormat));
    if (!QFileInfo::exists(iniPath))
        return store;
    if (std::optional<Values> values = readIniFile(iniPath)) {
        store->m_values = std::move(*values);
        return store;
    }

    const QString aside = setAside(iniPath);
    if (aside.isEmpty()) {
        store->m_memoryOnly = true;
        store->m_openingNotice = keptInPlaceNotice(iniPath);
    } else {
        store->m_openingNotice = setAsideNotice(iniPath, aside);
    }
    return store;
}

#endif

QString QtSettingsStore::ReadSetting(const QString &section, const QString &key) const
{
    return m_values.value(section).value(key);
}

void QtSettingsStore::WriteSetting(const QString &section, const QString &key, const QString &value)
{
    m_values[section].insert(key, value);
    if (m_memoryOnly)
        return;

    m_unsaved.insert({section, key});
    m_lastWriteFailed = !persistUnsaved();
    if (!m_lastWriteFailed) {
        m_unsaved.clear();
        m_failureReported = false;
        m_undeliveredFailure.reset(); // healed before anyone could be told: no longer news
        return;
    }
    if (m_failureReported)
        return;
    m_failureReported = true;

    SettingsNotice notice{noticeTitle(),
                          u"設定を「"_s + shown(m_location)
                              + u"」に保存できませんでした。保存できるようになるまで、"
                                u"変更は今回の起動中だけ有効です。保存先に書き込めるか確認してください。　"_s};
    if (m_onWriteFailure)
        m_onWriteFailure(notice);
    else
        m_undeliveredFailure = std::move(notice);
}

bool QtSettingsStore::persistUnsaved()
{
#ifndef Q_OS_WIN
    clearAbandonedLock(m_location + u".lock"_s);
#endif
    // A fresh QSettings every time: status() never goes back to NoError once
    // set, so a long-lived object could not tell a success after a failure.
    // sync() merges with the file under QSettings' lock and replaces it through
    // QSaveFile, so another instance's keys survive and the file is never torn.
    QSettings settings(m_location, m_format);
    for (const auto &[section, key] : std::as_const(m_unsaved))
        settings.setValue(section + u'/' + key, m_values.value(section).value(key));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

std::optional<SettingsNotice> QtSettingsStore::takeOpeningNotice()
{
    return std::exchange(m_openingNotice, std::nullopt);
}

void QtSettingsStore::setWriteFailureHandler(WriteFailureHandler handler)
{
    m_onWriteFailure = std::move(handler);
    if (m_onWriteFailure && m_undeliveredFailure)
        m_onWriteFailure(*std::exchange(m_undeliveredFailure, std::nullopt));
}

} // namespace torumin
