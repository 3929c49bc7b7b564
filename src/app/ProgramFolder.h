#pragma once

#include <QString>

namespace torumin {

// "The program's folder": the folder whose ken_all.csv every list slot points
// at by default. Beside the executable in a build or a copied folder; where the
// package put the bundled list once installed.
QString programFolder();

// The same choice for given folders, without the file system of this run.
QString chooseProgramFolder(const QString &executableFolder, const QString &installedData);

} // namespace torumin
