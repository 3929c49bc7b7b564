#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <chrono>

namespace torumin {

// Temporary files of this program that an instance killed at the wrong
// moment leaves behind: the settings file's replacement being written, and a
// list being downloaded. Nothing else ever removes them.
struct LeftoverFiles {
    QString folder;
    // A regular expression for the whole file name; only the program's own
    // temporary names may match it.
    QString namePattern;
};

// The settings folder's and the download folder's (on Windows only the
// latter: the settings live in the registry there).
[[nodiscard]] QList<LeftoverFiles> programLeftoverFiles();

// Removes the regular files in `leftovers.folder` whose names match and that
// were last written before `now - age`: a younger one may belong to another
// instance still at work. Links, folders and every other name are left
// alone. Returns the names removed.
inline constexpr std::chrono::hours kLeftoverAge{1};
QStringList removeLeftoverFiles(const LeftoverFiles &leftovers, const QDateTime &now,
                                std::chrono::seconds age = kLeftoverAge);

} // namespace torumin
