#include "app/EnvironmentProbes.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace torumin {

QString osNameForVersion(unsigned platformId, unsigned major, unsigned minor)
{
    constexpr unsigned win32Windows = 1;
    constexpr unsigned win32Nt = 2;
    if (platformId == win32Windows) {
        if (minor == 0)
            return QStringLiteral("Windows 95");
        if (minor == 10)
            return QStringLiteral("Windows 98");
        return QStringLiteral("Windows Me");
    }
    if (platformId == win32Nt) {
        if (major == 4)
            return QStringLiteral("Windows NT");
        if (major == 6)
            return minor == 0 ? QStringLiteral("Windows Vista") : QString();
        return minor == 0 ? QStringLiteral("Windows 2000") : QStringLiteral("Windows XP");
    }
    return {};
}

#ifdef Q_OS_WIN

QString EnvironmentProbes::GetOSName() const
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    // Deprecated, but the one call that tells these old versions apart.
#ifdef _MSC_VER
#pragma warning(suppress : 4996)
#endif
    if (!GetVersionExA(&info))
        return {};
    return osNameForVersion(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

QString EnvironmentProbes::GetAppearanceScheme() const
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Appearance", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return {};
    char buffer[256] = {};
    DWORD size = sizeof(buffer);
    DWORD type = 0;
    QString result;
    if (RegQueryValueExA(key, "Current", nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size) == ERROR_SUCCESS
        && type == REG_SZ) {
        const auto length = static_cast<int>(qstrnlen(buffer, size));
        result = QString::fromLocal8Bit(buffer, length);
    }
    RegCloseKey(key);
    return result;
}

#else

QString EnvironmentProbes::GetOSName() const
{
    return {};
}

QString EnvironmentProbes::GetAppearanceScheme() const
{
    return {};
}

#endif

} // namespace torumin
