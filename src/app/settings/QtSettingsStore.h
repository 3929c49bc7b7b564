#pragma once

#include "app/settings/IniText.h"
#include "app/settings/SettingsNotice.h"
#include "app/settings/SettingsStore.h"

#include <QSet>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace torumin {

// The settings store. On Windows it is the registry key an earlier
// installation of the program already filled (through QSettings), so its
// settings carry over; elsewhere one INI file that people may read and edit.
// Everything is read once at open; each write goes to the disk before it
// returns, merged with whatever another running instance wrote.
class QtSettingsStore final : public SettingsStore {
public:
    using WriteFailureHandler = std::function<void(const SettingsNotice &)>;

    // The user's own settings.
    [[nodiscard]] static std::unique_ptr<QtSettingsStore> openDefault();
    // The same settings, read the same way, for a tool that only looks:
    // nothing is ever written, renamed or created.
    [[nodiscard]] static std::unique_ptr<QtSettingsStore> openDefaultReadOnly();
#ifdef Q_OS_WIN
    // The settings under another key of HKEY_CURRENT_USER (a full path, as
    // QSettings takes it), laid out as the program's own: one subkey a
    // section, one string a value.
    [[nodiscard]] static std::unique_ptr<QtSettingsStore> openRegistry(const QString &keyPath);
#else
    // $XDG_CONFIG_HOME/TORUMIN/TORUMIN.ini, ~/.config when the variable is unset.
    [[nodiscard]] static QString defaultFilePath();
    [[nodiscard]] static std::unique_ptr<QtSettingsStore> openFile(const QString &iniPath);
#endif

    [[nodiscard]] QString ReadSetting(const QString &section, const QString &key) const override;
    void WriteSettings(const std::vector<SettingWrite> &writes) override;
    void UpdateSection(const QString &section, const SectionChange &change) override;

    // Set when the stored settings could not be used and the store started on
    // defaults; for one message box at start-up. Empty on every later call.
    [[nodiscard]] std::optional<SettingsNotice> takeOpeningNotice();

    // Told when a write did not reach the disk: once, and again only after a
    // write has succeeded in between, so the user is not flooded while the
    // disk stays full or the folder unwritable. What was not saved stays in
    // memory and goes to the disk with the next write that succeeds. A
    // failure from before a handler was set is handed to it on setting it.
    // A save never waits more than a second for another instance that holds
    // the file: what it had to write is tried again a few seconds later.
    void setWriteFailureHandler(WriteFailureHandler handler);
    [[nodiscard]] bool lastWriteFailed() const noexcept { return m_lastWriteFailed; }
    static constexpr std::chrono::milliseconds kRetryInterval{3000};

    // True when the unreadable file could not be set aside either: writes then
    // stay in memory so the file is left exactly as it was.
    [[nodiscard]] bool isMemoryOnly() const noexcept { return m_memoryOnly; }
    // The file path, or the registry path on Windows.
    [[nodiscard]] const QString &location() const noexcept { return m_location; }

private:
    using StoredValuesSeen = std::function<void(const SettingsValues &stored)>;
    enum class Outcome {
        Saved,
        Busy,    // another instance held the file for longer than a save may wait
        Failed,
    };

    explicit QtSettingsStore(QString location);

    void remember(const std::vector<SettingWrite> &writes);
    // Writes every key not yet on the disk over what is stored there now.
    // `seen`, when given, is shown what is stored first, under the same lock,
    // and may add keys to write.
    [[nodiscard]] Outcome persist(const StoredValuesSeen &seen);
    void settle(Outcome outcome);
    void retryLater();

    QString m_location;
    SettingsValues m_values;
    QSet<std::pair<QString, QString>> m_unsaved; // section, key
    std::optional<SettingsNotice> m_openingNotice;
    std::optional<SettingsNotice> m_undeliveredFailure;
    WriteFailureHandler m_onWriteFailure;
    // Saves again what waited on another instance, without waiting for the
    // next change; runs only where there is an event loop.
    std::unique_ptr<QTimer> m_retry;
    bool m_memoryOnly = false;
    bool m_lastWriteFailed = false;
    bool m_failureReported = false;
};

} // namespace torumin
