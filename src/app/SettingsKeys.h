#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace torumin {

// The store's four sections.
namespace Section {
inline const QString Config = QStringLiteral("Config");
inline const QString Position = QStringLiteral("Position");
inline const QString Saigo = QStringLiteral("Saigo");
inline const QString Rireki = QStringLiteral("Rireki");
} // namespace Section

// What a key gets when it is empty at start-up.
enum class DefaultKind {
    None,               // stays empty, nothing written
    Fixed,              // the text in SettingKey::fixedDefault
    ProgramFolderList,  // the bundled list in the program's folder (bundledListPath)
    ProgramFolder,      // the program's folder
};

struct SettingKey {
    QString section;
    QString key;  // arrays as "Name(i)"
    DefaultKind defaultKind = DefaultKind::None;
    QString fixedDefault;
};

// Every key the program keeps, in the order start-up reads them. The one place
// that says which section a key lives in and what its default is.
const std::vector<SettingKey> &settingKeys();

// The entry for a key name such as "OptColor(1)", if the program knows it.
const SettingKey *findSettingKey(const QString &key);

// "Name(i)".
QString arrayKey(const QString &name, int index);

// The default of a key for a program installed in programFolder; empty for keys
// without one.
QString defaultValue(const SettingKey &key, const QString &programFolder);

// The bundled list's file name, the last part of every slot's default path.
inline const QString kDefaultListFileName = QStringLiteral("ken_all.csv");
inline constexpr int kListSlotCount = 8;
inline constexpr int kHistorySize = 20;

} // namespace torumin
