#pragma once

#include <QString>

namespace torumin {

// What the main window's size depends on: the Windows version name and whether
// a desktop appearance scheme is set. Each call asks the system again.
class EnvironmentProbes {
public:
    EnvironmentProbes() = default;
    virtual ~EnvironmentProbes() = default;
    EnvironmentProbes(const EnvironmentProbes &) = delete;
    EnvironmentProbes &operator=(const EnvironmentProbes &) = delete;

    // "Windows 95" ... "Windows Vista", or empty (always empty off Windows, so
    // the "any other version" sizes apply).
    [[nodiscard]] virtual QString GetOSName() const;
    // The appearance scheme's name, or empty when there is none or it cannot be read.
    [[nodiscard]] virtual QString GetAppearanceScheme() const;
};

// The version name for a platform id and version numbers, as the Windows
// version query reports them.
[[nodiscard]] QString osNameForVersion(unsigned platformId, unsigned major, unsigned minor);

} // namespace torumin
