#pragma once

#include <QString>

namespace torumin {

// A message about the settings the user has to be told of, ready for a message box.
struct SettingsNotice {
    QString title;
    QString text;
};

} // namespace torumin
