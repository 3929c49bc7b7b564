#include "ListTestSupport.h"

#include "support/Cp932Text.h"

#include <QFile>

#include <zip.h>

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
    return testing::cp932Bytes(utf8);
}

std::string readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return file.readAll().toStdString();
}

void writeWholeFile(const QString &path, std::string_view bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
        throw std::runtime_error("cannot write " + path.toStdString());
}

QString fixturePath(const char *name)
{
    return QStringLiteral(TORUMIN_TEST_FIXTURES "/") + QString::fromUtf8(name);
}

std::string zipArchive(const std::vector<ZipEntry> &entries)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!buffer)
        throw std::runtime_error("zip_source_buffer_create failed");
    // Kept past zip_close(), which writes the archive into it.
    zip_source_keep(buffer);
    zip_t *archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (!archive) {
        zip_source_free(buffer);
        throw std::runtime_error("zip_open_from_source failed");
    }
    for (const ZipEntry &entry : entries) {
        zip_source_t *data = zip_source_buffer(archive, entry.bytes.data(), entry.bytes.size(), 0);
        const zip_int64_t index = data ? zip_file_add(archive, entry.name.c_str(), data, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            zip_source_free(data);
            zip_discard(archive);
            zip_source_free(buffer);
            throw std::runtime_error("zip_file_add failed");
        }
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                 entry.stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 1);
        if (entry.modified != 0)
            zip_file_set_mtime(archive, static_cast<zip_uint64_t>(index), entry.modified, 0);
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        zip_source_free(buffer);
        throw std::runtime_error("zip_close failed");
    }
    std::string bytes;
    if (zip_source_open(buffer) == 0) {
        char chunk[65536];
        zip_int64_t count = 0;
        while ((count = zip_source_read(buffer, chunk, sizeof chunk)) > 0)
            bytes.append(chunk, static_cast<std::size_t>(count));
        zip_source_close(buffer);
    }
    zip_source_free(buffer);
    if (bytes.empty())
        throw std::runtime_error("the archive came out empty");
    return bytes;
}

} // namespace torumin::test
