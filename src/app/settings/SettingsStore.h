#pragma once

#include <QString>

namespace torumin {

// The per-user key/value store every option, position, last search and history
// entry lives in. Values are strings; a missing key reads as the empty string.
// There is no delete: clearing a value writes the empty string.
class SettingsStore {
public:
    SettingsStore() = default;
    virtual ~SettingsStore() = default;
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    [[nodiscard]] virtual QString ReadSetting(const QString &section, const QString &key) const = 0;
    // Reaches the disk before it returns.
    virtual void WriteSetting(const QString &section, const QString &key, const QString &value) = 0;
};

} // namespace torumin
