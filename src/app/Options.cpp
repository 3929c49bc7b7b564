#include "app/Options.h"

#include "app/SettingsKeys.h"
#include "app/settings/NumericValue.h"
#include "app/settings/SettingsStore.h"

namespace torumin {

double Options::number(const QString &key) const
{
    return NumericValue(value(key));
}

void Options::store(SettingsStore &settings, const QString &key, const QString &value)
{
    m_values.insert(key, value);
    const SettingKey *entry = findSettingKey(key);
    Q_ASSERT_X(entry, "Options::store", "every stored key belongs in the key table");
    if (entry)
        settings.WriteSetting(entry->section, key, value);
}

} // namespace torumin
