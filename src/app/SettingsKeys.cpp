#include "app/SettingsKeys.h"

#include "app/ProgramFolder.h"

#include <algorithm>

namespace torumin {

namespace {

std::vector<SettingKey> buildKeys()
{
    using K = DefaultKind;
    std::vector<SettingKey> keys;
    auto add = [&keys](const QString &section, const QString &key, K kind, const QString &value = {}) {
        keys.push_back({section, key, kind, value});
    };
    const QString on = QStringLiteral("1");
    const QString off = QStringLiteral("0");

    add(Section::Config, QStringLiteral("OptLogo"), K::Fixed, on);
    for (int i = 0; i < kListSlotCount; ++i) {
        add(Section::Config, arrayKey(QStringLiteral("Yubin_File"), i), K::ProgramFolderList);
        add(Section::Config, arrayKey(QStringLiteral("FolderName"), i), K::ProgramFolder);
    }
    add(Section::Config, QStringLiteral("OptSen"), K::Fixed, off);
    add(Section::Position, QStringLiteral("OptCent"), K::Fixed, off);
    add(Section::Position, QStringLiteral("O_Left"), K::None);
    add(Section::Position, QStringLiteral("O_Top"), K::None);
    add(Section::Position, QStringLiteral("YB_Height"), K::Fixed, QStringLiteral("5625"));
    add(Section::Position, QStringLiteral("YB_Width"), K::Fixed, QStringLiteral("8295"));
    add(Section::Position, QStringLiteral("YB_Left"), K::None);
    add(Section::Position, QStringLiteral("YB_Top"), K::None);
    add(Section::Config, QStringLiteral("OptTemae"), K::Fixed, on);
    add(Section::Config, QStringLiteral("OptMBar"), K::Fixed, on);
    add(Section::Config, QStringLiteral("OptTBar2"), K::Fixed, on);
    for (int i = 0; i < 4; ++i) {
        add(Section::Config, arrayKey(QStringLiteral("OptRen"), i), K::Fixed, on);
        add(Section::Saigo, arrayKey(QStringLiteral("OptLak"), i), K::Fixed, on);
    }
    add(Section::Config, QStringLiteral("OptLAct"), K::Fixed, on);
    add(Section::Config, QStringLiteral("OptLATab"), K::Fixed, off);
    add(Section::Config, arrayKey(QStringLiteral("OptColor"), 0), K::Fixed, QStringLiteral("&H00000000&"));
    add(Section::Config, arrayKey(QStringLiteral("OptColor"), 1), K::Fixed, QStringLiteral("&H00FFFFFF&"));
    add(Section::Saigo, QStringLiteral("YubinB"), K::None);
    for (int i = 0; i < 3; ++i) {
        add(Section::Saigo, arrayKey(QStringLiteral("Jusho"), i), K::None);
        add(Section::Saigo, arrayKey(QStringLiteral("Jusho2"), i), K::None);
    }
    for (int i = 0; i < 3; ++i) {
        add(Section::Config, arrayKey(QStringLiteral("YJ_Disp"), i), K::Fixed, on);
        add(Section::Config, arrayKey(QStringLiteral("YJ_Copy"), i), K::Fixed, on);
    }
    add(Section::Saigo, QStringLiteral("J_Input"), K::None);
    // The office-name search's last text.
    add(Section::Saigo, QStringLiteral("Jigyosyo"), K::None);
    for (int i = 0; i < kHistorySize; ++i)
        add(Section::Rireki, arrayKey(QStringLiteral("K_Rireki"), i), K::None);
    add(Section::Config, QStringLiteral("OptYBketa"), K::Fixed, QStringLiteral("3"));
    add(Section::Config, QStringLiteral("OptYBsize"), K::Fixed, QStringLiteral("9"));
    // Written only by the settings dialog; the main window reads it itself.
    add(Section::Config, QStringLiteral("Toolbar"), K::None);
    // Where the download button fetches the latest list, when not from the
    // postal service; only a hand edit of the settings writes it.
    add(Section::Config, QStringLiteral("ListUrl"), K::None);
    add(Section::Config, QStringLiteral("JigyosyoUrl"), K::None);
    return keys;
}

} // namespace

const std::vector<SettingKey> &settingKeys()
{
    static const std::vector<SettingKey> keys = buildKeys();
    return keys;
}

const SettingKey *findSettingKey(const QString &key)
{
    const auto &keys = settingKeys();
    const auto it = std::find_if(keys.cbegin(), keys.cend(), [&key](const SettingKey &k) { return k.key == key; });
    return it == keys.cend() ? nullptr : &*it;
}

QString arrayKey(const QString &name, int index)
{
    return name + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

QString defaultValue(const SettingKey &key, const QString &programFolder)
{
    switch (key.defaultKind) {
    case DefaultKind::None:
        return {};
    case DefaultKind::Fixed:
        return key.fixedDefault;
    case DefaultKind::ProgramFolderList:
        return bundledListPath(programFolder);
    case DefaultKind::ProgramFolder:
        return programFolder;
    }
    return {};
}

} // namespace torumin
