#include "app/settings/QtSettingsStore.h"

#include "app/settings/SettingsFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <QSettings>
#include <QVariant>
#endif

#include <chrono>
#include <utility>

using namespace Qt::StringLiterals;

namespace torumin {
namespace {

QString noticeTitle()
{
    return u"設定 確認"_s;
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

SettingsNotice writeFailureNotice(const QString &location)
{
    return {noticeTitle(),
            u"設定を「"_s + shown(location)
                + u"」に保存できませんでした。保存できるようになるまで、"
                  u"変更は今回の起動中だけ有効です。保存先に書き込めるか確認してください。　"_s};
}

SettingsNotice busyNotice(const QString &location)
{
    return {noticeTitle(),
            u"ほかに起動している「とるみん」が設定ファイル「"_s + shown(location)
                + u"」を使っているため、設定をまだ保存できていません。"
                  u"変更はこのまま残し、保存できるようになりしだい保存します。　"_s};
}

#ifdef Q_OS_WIN

// Only a hand-edited value has an unquoted "a,b", which QSettings hands back
// as a list; every value this program writes comes back as one string.
QString textOf(const QVariant &value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

SettingsValues readValues(QSettings &settings)
{
    SettingsValues values;
    const QStringList keys = settings.allKeys();
    for (const QString &path : keys) {
        const qsizetype slash = path.indexOf(u'/');
        if (slash <= 0)
            continue; // outside every section: not written by this program
        values[path.first(slash)].insert(path.sliced(slash + 1), textOf(settings.value(path)));
    }
    return values;
}

#else

constexpr QLatin1String kName("TORUMIN");

// Long enough for any save by another instance on a slow disk; a lock held
// longer belongs to an instance that is stuck or slow, and waiting on it
// would freeze this one's window: the save is tried again later instead.
constexpr std::chrono::seconds kLockTimeout{1};

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

#endif

} // namespace

QtSettingsStore::QtSettingsStore(QString location)
    : m_location(std::move(location))
{
}

#ifdef Q_OS_WIN

std::unique_ptr<QtSettingsStore> QtSettingsStore::openDefault()
{
    // Where SaveSetting kept them: one subkey per section, REG_SZ values.
    // QSettings reads those as they are; only a value it writes that starts
    // with "@" is stored with the "@" doubled, which the older program would
    // show as such.
    return openRegistry(u"HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\TORUMIN"_s);
}

std::unique_ptr<QtSettingsStore> QtSettingsStore::openRegistry(const QString &keyPath)
{
    std::unique_ptr<QtSettingsStore> store(new QtSettingsStore(keyPath));
    QSettings settings(store->m_location, QSettings::NativeFormat);
    store->m_values = readValues(settings);
    return store;
}

std::unique_ptr<QtSettingsStore> QtSettingsStore::openDefaultReadOnly()
{
    std::unique_ptr<QtSettingsStore> store = openDefault();
    store->m_memoryOnly = true;
    return store;
}

QtSettingsStore::Outcome QtSettingsStore::persist(const StoredValuesSeen &seen)
{
    // A fresh QSettings every time: status() never goes back to NoError once
    // set, so a long-lived object could not tell a success after a failure.
    // Each registry value is written on its own, so there is nothing to tear.
    QSettings settings(m_location, QSettings::NativeFormat);
    if (seen)
        seen(readValues(settings));
    for (const auto &[section, key] : std::as_const(m_unsaved))
        settings.setValue(section + u'/' + key, m_values.value(section).value(key));
    settings.sync();
    return settings.status() == QSettings::NoError ? Outcome::Saved : Outcome::Failed;
}

#else

QString QtSettingsStore::defaultFilePath()
{
    // Where QSettings puts IniFormat/UserScope for organisation and application
    // "TORUMIN", which is where earlier versions of the program kept it.
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
    std::unique_ptr<QtSettingsStore> store(new QtSettingsStore(path));
    store->m_memoryOnly = true;
    SettingsFileRead read = readSettingsFile(path);
    if (read.status == SettingsFileRead::Status::Read)
        store->m_values = std::move(read.content.values);
    return store;
}

std::unique_ptr<QtSettingsStore> QtSettingsStore::openFile(const QString &iniPath)
{
    std::unique_ptr<QtSettingsStore> store(new QtSettingsStore(iniPath));
    SettingsFileRead read = readSettingsFile(iniPath);
    switch (read.status) {
    case SettingsFileRead::Status::Missing:
        return store;
    case SettingsFileRead::Status::Read:
        store->m_values = std::move(read.content.values);
        return store;
    case SettingsFileRead::Status::CannotRead:
    case SettingsFileRead::Status::NothingReadable:
        break;
    }

    // Kept under another name rather than overwritten by the first save.
    const QString aside = setAside(iniPath);
    if (aside.isEmpty()) {
        store->m_memoryOnly = true;
        store->m_openingNotice = keptInPlaceNotice(iniPath);
    } else {
        store->m_openingNotice = setAsideNotice(iniPath, aside);
    }
    return store;
}

QtSettingsStore::Outcome QtSettingsStore::persist(const StoredValuesSeen &seen)
{
    if (!QDir().mkpath(QFileInfo(m_location).absolutePath()))
        return Outcome::Failed;
    const SettingsFileLock lock(m_location + u".lock"_s, kLockTimeout);
    if (!lock.isLocked())
        return lock.wasBusy() ? Outcome::Busy : Outcome::Failed;
    // What other instances saved since this one opened the file survives:
    // only the keys this one changed are written over it.
    SettingsFileRead stored = readSettingsFile(m_location);
    if (stored.status == SettingsFileRead::Status::CannotRead)
        return Outcome::Failed;
    if (stored.status == SettingsFileRead::Status::NothingReadable)
        stored.content.values.clear();
    if (seen)
        seen(stored.content.values);
    SettingsValues merged = std::move(stored.content.values);
    for (const auto &[section, key] : std::as_const(m_unsaved))
        merged[section].insert(key, m_values.value(section).value(key));
    return replaceSettingsFile(m_location, formatIni(merged, stored.content.passedOver)) ? Outcome::Failed
                                                                                         : Outcome::Saved;
}

#endif

QString QtSettingsStore::ReadSetting(const QString &section, const QString &key) const
{
    return m_values.value(section).value(key);
}

void QtSettingsStore::remember(const std::vector<SettingWrite> &writes)
{
    for (const SettingWrite &write : writes) {
        m_values[write.section].insert(write.key, write.value);
        if (!m_memoryOnly)
            m_unsaved.insert({write.section, write.key});
    }
}

void QtSettingsStore::WriteSettings(const std::vector<SettingWrite> &writes)
{
    remember(writes);
    if (m_memoryOnly || writes.empty())
        return;
    settle(persist({}));
}

void QtSettingsStore::retryLater()
{
    if (!m_retry) {
        m_retry = std::make_unique<QTimer>();
        m_retry->setSingleShot(true);
        m_retry->setInterval(kRetryInterval);
        m_retry->callOnTimeout(m_retry.get(), [this] {
            if (!m_unsaved.isEmpty())
                settle(persist({}));
        });
    }
    m_retry->start();
}

void QtSettingsStore::UpdateSection(const QString &section, const SectionChange &change)
{
    bool changed = false;
    const auto apply = [&](const SectionValues &stored) {
        // This run's values that never reached the disk stay over it.
        SectionValues current = stored;
        for (const auto &[unsavedSection, key] : std::as_const(m_unsaved)) {
            if (unsavedSection == section)
                current.insert(key, m_values.value(section).value(key));
        }
        m_values.insert(section, current);
        remember(change(current));
        changed = true;
    };
    if (m_memoryOnly) {
        apply(m_values.value(section));
        return;
    }
    const Outcome outcome = persist([&](const SettingsValues &stored) { apply(stored.value(section)); });
    if (!changed) // the stored values could not be seen: this run's own will do
        apply(m_values.value(section));
    settle(outcome);
}

void QtSettingsStore::settle(Outcome outcome)
{
    m_lastWriteFailed = outcome != Outcome::Saved;
    if (outcome == Outcome::Saved) {
        m_unsaved.clear();
        m_failureReported = false;
        m_undeliveredFailure.reset(); // healed before anyone could be told: no longer news
        if (m_retry)
            m_retry->stop();
        return;
    }
    if (outcome == Outcome::Busy)
        retryLater();
    if (m_failureReported)
        return;
    m_failureReported = true;
    SettingsNotice notice = outcome == Outcome::Busy ? busyNotice(m_location) : writeFailureNotice(m_location);
    if (m_onWriteFailure)
        m_onWriteFailure(notice);
    else
        m_undeliveredFailure = std::move(notice);
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
