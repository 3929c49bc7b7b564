#pragma once

#include <QHash>
#include <QString>

namespace torumin {

class SettingsStore;

// The current options: the in-memory copy of every setting, one string per key
// name ("OptLogo", "Yubin_File(3)", "K_Rireki(19)"), filled at start-up and kept
// for the whole run. A key never set reads as the empty string.
class Options {
public:
    [[nodiscard]] QString value(const QString &key) const { return m_values.value(key); }
    // Only "1" means on.
    [[nodiscard]] bool isOn(const QString &key) const { return value(key) == QLatin1String("1"); }
    [[nodiscard]] double number(const QString &key) const;

    // Memory only: for values the program uses without storing them (a
    // centred position) and for tests.
    void set(const QString &key, const QString &value) { m_values.insert(key, value); }

    // Memory and the store together, in the key's own section.
    void store(SettingsStore &settings, const QString &key, const QString &value);

private:
    QHash<QString, QString> m_values;
};

} // namespace torumin
