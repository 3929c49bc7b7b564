#include "ListTestSupport.h"

#include <QFile>

#include <iconv.h>

#include <stdexcept>

namespace torumin::test {

std::vector<Row> rowsOf(const PostalTable &table)
{
    std::vector<Row> rows;
    for (int row = 0; row < table.recordCount(); ++row) {
        Row values;
        for (int column = 0; column < kPostalColumnCount; ++column)
            values[static_cast<std::size_t>(column)] =
                table.field(static_cast<PostalColumn>(column), row).toString().toStdString();
        rows.push_back(values);
    }
    return rows;
}

std::string toCp932(std::string_view utf8)
{
    const iconv_t handle = ::iconv_open("CP932", "UTF-8");
    if (handle == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("no CP932 encoder");
    std::string out(utf8.size() * 2 + 1, '\0');
    char *in = const_cast<char *>(utf8.data());
    std::size_t inLeft = utf8.size();
    char *outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t status = ::iconv(handle, &in, &inLeft, &outPtr, &outLeft);
    ::iconv_close(handle);
    if (status == static_cast<std::size_t>(-1))
        throw std::runtime_error("text has no CP932 form");
    out.resize(out.size() - outLeft);
    return out;
}

std::string readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return file.readAll().toStdString();
}

} // namespace torumin::test
