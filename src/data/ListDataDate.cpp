#include "data/ListDataDate.h"

#include "data/ZipEntrySource.h"

#include <QFile>
#include <QFileInfo>

namespace torumin {

QDateTime listDataDate(const QString &path)
{
    const QFileInfo info(path);
    // Opening a FIFO for reading would wait for a writer.
    if (!info.isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.read(4);
    file.close();
    if (isListArchive(std::string_view(head.constData(), static_cast<std::size_t>(head.size())), path))
        return summarizeListArchive(path).entryTime;
    return info.lastModified();
}

} // namespace torumin
