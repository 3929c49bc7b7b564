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
// check what was written, and when.
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
    void WriteSetting(const QString &section, const QString &key, const QString &value) override
    {
        m_values.insert(qMakePair(section, key), value);
        m_writes.push_back({section, key, value});
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
    void clearWrites() { m_writes.clear(); }
    void reset()
    {
        m_values.clear();
        m_writes.clear();
    }

private:
    QMap<QPair<QString, QString>, QString> m_values;
    std::vector<Write> m_writes;
};

} // namespace torumin::testing
