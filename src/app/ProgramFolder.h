#pragma once

#include <QString>

namespace torumin {

// "The program's folder": the folder whose bundled list every list slot points
// at by default. Beside the executable in a build or a copied folder; where the
// package put the bundled list once installed.
QString programFolder();

// The same choice for given folders, without the file system of this run.
QString chooseProgramFolder(const QString &executableFolder, const QString &installedData);

// The bundled list in a program folder: the ken_all.csv a build unpacks beside
// the executable, or, when there is none, the ken_all.zip a package installs
// (read in place, so the package need not carry the list three times larger).
// The CSV's path when the folder holds neither, so the missing-list message
// names the file a user would expect.
QString bundledListPath(const QString &folder);

} // namespace torumin
