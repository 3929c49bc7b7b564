// Any bytes handed to the list reader: a code page 932 list, a UTF-8 one, or a
// zip archive holding either (the reader tells them apart by content).
//
// Besides not crashing, the reader must give the same answer however its
// bytes arrive, so they are read again and compared: from a file, as the
// program reads a list slot; and a plain list in tiny chunks without a size
// hint, and stored inside a zip archive built here, in memory and from a file.

#include "FuzzCheck.h"
#include "ScratchFolder.h"

#include "data/ListByteSource.h"
#include "data/ListParser.h"
#include "data/PostalListReader.h"
#include "data/PostalTable.h"
#include "data/ZipEntrySource.h"
#include "search/AddressMatcher.h"
#include "search/TownNote.h"

#include <QDir>
#include <QString>

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace torumin;

namespace {

constexpr std::array kColumns{PostalColumn::ZipCode, PostalColumn::PrefKana, PostalColumn::CityKana,
                              PostalColumn::TownKana, PostalColumn::PrefName, PostalColumn::CityName,
                              PostalColumn::TownName, PostalColumn::LocalGovernmentCode};
static_assert(kColumns.size() == kStoredColumnCount);

const QString kPlainName = QStringLiteral("fuzz.csv");
const QString kArchiveName = QStringLiteral("fuzz.zip");

// Where the units read go, so the reads cannot be optimised away.
volatile char16_t g_sink;

// Reads every unit of every field, so a view pointing outside the table's
// storage shows up under AddressSanitizer, and checks the reads outside the
// table are empty as promised.
void checkTable(const PostalTable &table)
{
    const int count = table.recordCount();
    FUZZ_CHECK(count >= 0);
    char16_t mix = 0;
    for (int row = 0; row < count; ++row) {
        for (const PostalColumn column : kColumns) {
            const QStringView text = table.field(column, row);
            FUZZ_CHECK(text.size() >= 0);
            for (const QChar c : text)
                mix = static_cast<char16_t>(mix ^ c.unicode());
        }
    }
    g_sink = mix;
    for (const int outside : {count, count + 1, -1, INT_MAX, INT_MIN}) {
        for (const PostalColumn column : kColumns)
            FUZZ_CHECK(table.field(column, outside).isEmpty());
    }
}

// Town fields are read further by the address matcher: their notes, and the
// records a note runs on in. It builds on any list, and a row's own address
// names a row of the table or none.
void checkMatcher(const PostalTable &table)
{
    const AddressMatcher matcher(table);
    const int count = std::min(table.recordCount(), 64);
    for (int row = 0; row < count; ++row) {
        const QString field = wholeTownField(table, row);
        FUZZ_CHECK(field.startsWith(table.townName(row)));
        FUZZ_CHECK(readTownField(field).name.size() <= field.size());
        const QString written = table.prefName(row) + table.cityName(row) + field + u" 1-2";
        const int named = matcher.bestRow(written);
        FUZZ_CHECK(named >= -1 && named < table.recordCount());
    }
}

void checkError(const ListReadResult &result)
{
    if (!result.error)
        return;
    FUZZ_CHECK(!result.error->message.isEmpty());
    FUZZ_CHECK(result.error->byteOffset >= 0);
}

bool isArchiveCode(ListErrorCode code)
{
    switch (code) {
    case ListErrorCode::ArchiveDamaged:
    case ListErrorCode::NoListInArchive:
    case ListErrorCode::ArchiveEncrypted:
    case ListErrorCode::ArchiveUnsupported:
        return true;
    default:
        return false;
    }
}

QString describe(const ListReadResult &result)
{
    QString text = QStringLiteral("%1 records").arg(result.table.recordCount());
    if (result.error) {
        text += QStringLiteral(", error %1 at %2: %3")
                    .arg(static_cast<int>(result.error->code))
                    .arg(result.error->byteOffset)
                    .arg(result.error->message);
    }
    return text;
}

// Same records with the same text, same problem at the same place. Messages
// may differ only where they name the file.
void checkSame(const ListReadResult &expected, const ListReadResult &actual, bool sameName)
{
    const QString detail = describe(expected) + QStringLiteral("  <>  ") + describe(actual);
    FUZZ_CHECK_SAYING(expected.table.recordCount() == actual.table.recordCount(), detail);
    for (int row = 0; row < expected.table.recordCount(); ++row) {
        for (const PostalColumn column : kColumns) {
            FUZZ_CHECK_SAYING(expected.table.field(column, row) == actual.table.field(column, row),
                              detail + QStringLiteral(" (row %1, column %2)").arg(row).arg(static_cast<int>(column)));
        }
    }
    FUZZ_CHECK_SAYING(expected.error.has_value() == actual.error.has_value(), detail);
    if (expected.error) {
        FUZZ_CHECK_SAYING(expected.error->code == actual.error->code, detail);
        FUZZ_CHECK_SAYING(expected.error->byteOffset == actual.error->byteOffset, detail);
        if (sameName)
            FUZZ_CHECK_SAYING(expected.error->message == actual.error->message, detail);
    }
}

std::uint32_t crc32(std::string_view bytes)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320U ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFU;
    for (const char b : bytes)
        crc = table[(crc ^ static_cast<unsigned char>(b)) & 0xFFU] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFU;
}

void put16(std::string &out, std::uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string &out, std::uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// The smallest archive that holds `list` unchanged: one stored entry, no
// extra fields, a correct checksum.
std::string storedArchive(std::string_view list)
{
    const std::string_view name = "KEN_ALL.CSV";
    const auto size = static_cast<std::uint32_t>(list.size());
    const std::uint32_t crc = crc32(list);
    constexpr std::uint32_t dosTime = 0;
    constexpr std::uint32_t dosDate = (44U << 9) | (1U << 5) | 1U; // 2024-01-01

    std::string out;
    out.reserve(list.size() + 2 * name.size() + 128);
    put32(out, 0x04034B50U);
    put16(out, 10); // version needed: stored
    put16(out, 0);  // flags
    put16(out, 0);  // method: stored
    put16(out, dosTime);
    put16(out, dosDate);
    put32(out, crc);
    put32(out, size);
    put32(out, size);
    put16(out, static_cast<std::uint32_t>(name.size()));
    put16(out, 0);
    out += name;
    out += list;

    const auto directoryStart = static_cast<std::uint32_t>(out.size());
    put32(out, 0x02014B50U);
    put16(out, 20); // made by
    put16(out, 10);
    put16(out, 0);
    put16(out, 0);
    put16(out, dosTime);
    put16(out, dosDate);
    put32(out, crc);
    put32(out, size);
    put32(out, size);
    put16(out, static_cast<std::uint32_t>(name.size()));
    put16(out, 0); // extra
    put16(out, 0); // comment
    put16(out, 0); // disk
    put16(out, 0); // internal attributes
    put32(out, 0); // external attributes
    put32(out, 0); // local header offset
    out += name;
    const auto directorySize = static_cast<std::uint32_t>(out.size()) - directoryStart;

    put32(out, 0x06054B50U);
    put16(out, 0);
    put16(out, 0);
    put16(out, 1);
    put16(out, 1);
    put32(out, directorySize);
    put32(out, directoryStart);
    put16(out, 0);
    return out;
}

// The bytes as a file in the scratch folder, read from its path.
ListReadResult readAsFile(std::string_view bytes, const QString &name)
{
    const QString path = QDir(fuzz::scratchFolder()).filePath(name);
    FUZZ_CHECK(fuzz::writeScratchFile(path, QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size()))));
    ListReadResult result = readPostalListFile(path);
    checkTable(result.table);
    checkError(result);
    return result;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::makeScratchFolder("fuzz-list");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    fuzz::emptyScratchFolder();

    const ListReadResult result = readPostalListBytes(bytes, kPlainName);
    checkTable(result.table);
    checkMatcher(result.table);
    checkError(result);

    // A file reads as the same bytes in memory do; only the name in the
    // messages differs.
    checkSame(result, readAsFile(bytes, kPlainName), false);

    if (startsLikeZipArchive(bytes))
        return 0;

    // Read as a plain list: the problem, if any, lies inside these bytes, and
    // is one about text.
    if (result.error) {
        FUZZ_CHECK_SAYING(result.error->byteOffset <= static_cast<std::int64_t>(size), describe(result));
        FUZZ_CHECK_SAYING(!isArchiveCode(result.error->code), describe(result));
    }

    // Chunk boundaries and table growth must not change what is read.
    {
        MemoryByteSource unsized(bytes, false);
        const std::size_t chunk = 1 + size % 13;
        const ListReadResult chunked = detail::parseList(unsized, kPostalListLayout, kPlainName, chunk);
        checkTable(chunked.table);
        checkSame(result, chunked, true);
    }

    // Nor must coming out of an archive, in memory or opened from a file.
    {
        const std::string archive = storedArchive(bytes);
        const ListReadResult unpacked = readPostalListBytes(archive, kPlainName);
        checkTable(unpacked.table);
        checkError(unpacked);
        checkSame(result, unpacked, false);
        checkSame(result, readAsFile(archive, kArchiveName), false);
    }

    // A name ending in ".zip" sends anything to the archive reader: it must
    // cope with bytes that were never an archive.
    {
        const ListReadResult named = readPostalListBytes(bytes, kArchiveName);
        checkTable(named.table);
        checkError(named);
    }
    return 0;
}
