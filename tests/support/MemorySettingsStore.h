#pragma once

#include "app/settings/SettingsStore.h"

#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

#include <tuple>
#include <vector>

namespace torumin::testing {

// A settings store in memory that remembers every write in order, so a test can
// check what was written, and when, and in how many steps.
class MemorySettingsStore final : public SettingsStore {
public:
    struct Write {
        QString section;
        QString key;
        QString value;
        friend bool operator==(const Write &, const Write &) = default;
    };

    [[nodiscard]] QString ReadSetting(const QString &section, const QString &key) const override
    {
        return m_values.value(qMakePair(section, key));
    }
    void WriteSettings(const std::vector<SettingWrite> &writes) override
    {
        for (const SettingWrite &write : writes) {
            m_values.insert(qMakePair(write.section, write.key), write.value);
            m_writes.push_back({write.section, write.key, write.value});
        }
        if (!writes.empty())
            ++m_steps;
    }
    void UpdateSection(const QString &section, const SectionChange &change) override
    {
        SectionValues stored;
        for (auto it = m_values.cbegin(); it != m_values.cend(); ++it) {
            if (it.key().first == section)
                stored.insert(it.key().second, it.value());
        }
        WriteSettings(change(stored));
    }

    void preset(const QString &section, const QString &key, const QString &value)
    {
        m_values.insert(qMakePair(section, key), value);
    }
    [[nodiscard]] bool contains(const QString &section, const QString &key) const
    {
        return m_values.contains(qMakePair(section, key));
    }
    // "Section/Key" of every stored value, sorted.
    [[nodiscard]] QStringList storedKeys() const
    {
        QStringList keys;
        for (auto it = m_values.cbegin(); it != m_values.cend(); ++it)
            keys.append(it.key().first + QLatin1Char('/') + it.key().second);
        keys.sort();
        return keys;
    }
    [[nodiscard]] const std::vector<Write> &writes() const { return m_writes; }
    // How many times the store was written to, however many keys each time.
    [[nodiscard]] int writeSteps() const { return m_steps; }
    void clearWrites()
    {
        m_writes.clear();
        m_steps = 0;
    }
    void reset()
    {
        m_values.clear();
        clearWrites();
    }

private:
    QMap<QPair<QString, QString>, QString> m_values;
    std::vector<Write> m_writes;
    int m_steps = 0;
};

} // namespace torumin::testing
