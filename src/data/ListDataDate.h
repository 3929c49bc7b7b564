#pragma once

#include <QDateTime>
#include <QString>

namespace torumin {

// How old the data in a list file is, as the windows show it: for a zip
// archive the time recorded for its list entry, which is the postal
// service's own date whenever the archive was downloaded or copied; for a
// plain list the file's last change, which the bundled list keeps from its
// archive. Invalid when neither can be told (missing, not a regular file, a
// broken archive).
[[nodiscard]] QDateTime listDataDate(const QString &path);

} // namespace torumin
