#include "data/OfficeTable.h"

namespace torumin {

namespace {

OfficeReadResult asOffices(ListReadResult read)
{
    return {OfficeTable(std::move(read.table)), std::move(read.error)};
}

} // namespace

OfficeReadResult readOfficeListFile(const QString &path)
{
    return asOffices(readListFile(path, kOfficeListLayout));
}

OfficeReadResult readOfficeListBytes(std::string_view bytes, const QString &nameForMessages)
{
    return asOffices(readListBytes(bytes, nameForMessages, kOfficeListLayout));
}

} // namespace torumin
