#pragma once

#include "app/settings/IniText.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <optional>

namespace torumin {

// What is at the settings file's path.
struct SettingsFileRead {
    enum class Status {
        Missing,
        Read,
        CannotRead,      // not a file, no permission, an I/O error
        NothingReadable, // a file, but not one line of it is a setting
    };
    Status status = Status::Missing;
    IniContent content;
};

[[nodiscard]] SettingsFileRead readSettingsFile(const QString &path);

// Replaces the file with `bytes` in one step. The old file stays exactly as
// it was unless every byte of the new one was written and flushed to the disk
// first, so a full disk or a kill halfway costs the new contents only. The
// error text when that did not happen.
[[nodiscard]] std::optional<QString> replaceSettingsFile(const QString &path, const QByteArray &bytes);

#ifndef Q_OS_WIN

// Keeps other running instances of the program away from the settings file
// while one reads, merges and replaces it. An flock on a companion file,
// which the kernel drops the moment its holder ends, however it ended: a
// killed instance can never leave a lock behind that the next one has to
// wait out or judge stale by process id.
class SettingsFileLock {
public:
    SettingsFileLock(const QString &lockPath, std::chrono::milliseconds timeout);
    ~SettingsFileLock();
    SettingsFileLock(const SettingsFileLock &) = delete;
    SettingsFileLock &operator=(const SettingsFileLock &) = delete;

    [[nodiscard]] bool isLocked() const noexcept { return m_fd >= 0; }
    // Not locked because another holder kept it past the timeout, rather
    // than for a fault of the file system.
    [[nodiscard]] bool wasBusy() const noexcept { return m_busy; }

private:
    QByteArray m_path;
    int m_fd = -1;
    bool m_busy = false;
};

#endif

} // namespace torumin
