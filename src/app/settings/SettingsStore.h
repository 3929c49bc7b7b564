#pragma once

#include <QHash>
#include <QString>

#include <functional>
#include <vector>

namespace torumin {

struct SettingWrite {
    QString section;
    QString key;
    QString value;
};

// The keys of one section and their values.
using SectionValues = QHash<QString, QString>;

// The per-user key/value store every option, position, last search and history
// entry lives in. Values are strings; a missing key reads as the empty string.
// There is no delete: clearing a value writes the empty string.
class SettingsStore {
public:
    // Given the section as it is stored now, returns what to write to it.
    using SectionChange = std::function<std::vector<SettingWrite>(const SectionValues &stored)>;

    SettingsStore() = default;
    virtual ~SettingsStore() = default;
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    [[nodiscard]] virtual QString ReadSetting(const QString &section, const QString &key) const = 0;

    // Reaches the disk before it returns.
    void WriteSetting(const QString &section, const QString &key, const QString &value)
    {
        WriteSettings({{section, key, value}});
    }
    // Several values in one step: whoever reads the store afterwards, even
    // after the program was killed halfway, finds all of them or none. Later
    // writes of a key in the list win over earlier ones.
    virtual void WriteSettings(const std::vector<SettingWrite> &writes) = 0;

    // For a section that other running instances of the program write too:
    // reads it as stored now, lets `change` decide what to write from that,
    // and writes it, with no other instance in between. Afterwards this store
    // reads that section as written, other instances' values included.
    virtual void UpdateSection(const QString &section, const SectionChange &change) = 0;
};

} // namespace torumin
