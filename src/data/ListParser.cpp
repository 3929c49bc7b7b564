#include "data/ListParser.h"

#include "data/Cp932Decoder.h"
#include "data/HalfWidthKana.h"
#include "data/ListEncoding.h"
#include "data/ListErrorMessages.h"
#include "data/PostalTableBuilder.h"
#include "data/Utf8Decoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace torumin::detail {

namespace {

constexpr int kTooManyFields = -1;
constexpr std::size_t kLocalGovernmentCodeDigits = 5;
constexpr std::size_t kPostalCodeDigits = 7;
constexpr std::size_t kMinChunkBytes = 1;

bool isLineEnd(char c) noexcept
{
    return c == '\r' || c == '\n';
}

bool isSeparator(char c) noexcept
{
    return c == ',' || isLineEnd(c);
}

bool isDigits(std::string_view bytes, std::size_t count) noexcept
{
    return bytes.size() == count
        && std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isAscii(std::string_view bytes) noexcept
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Where the bytes of a field came from: a field that goes on after its
// closing quote is joined from two pieces, and an error inside it must still
// point into the file.
struct FieldOrigin {
    std::int64_t first = 0;
    std::size_t firstLength = 0;
    std::int64_t second = 0;

    [[nodiscard]] std::int64_t offsetOf(std::size_t index) const noexcept
    {
        const auto i = static_cast<std::int64_t>(index);
        if (index < firstLength)
            return first + i;
        return second + i - static_cast<std::int64_t>(firstLength);
    }
};

struct Problem {
    enum class Kind {
        ReadFailed, OutOfMemory, NotCp932, NotUtf8, Truncated, TooLarge, FieldCount, UnclosedQuote, BadValue
    } kind;
    std::int64_t offset = 0;
    std::int64_t line = 0;  // for the kinds about one line
    int fields = 0;         // FieldCount: how many the line has, or kTooManyFields; BadValue: which field
    std::string value{};    // BadValue: the field's bytes
};

class ListParser {
public:
    ListParser(ListByteSource &source, const ListLayout &layout, std::size_t chunkBytes);

    // Reads every record: false when the read stopped at a problem, which
    // result() then reports.
    [[nodiscard]] bool parse();
    [[nodiscard]] ListEncoding encoding() const noexcept { return m_text.encoding(); }
    // After a clean parse(): takes the rows of a table read from the rest of
    // the same list as the rows after these.
    [[nodiscard]] bool appendRows(PostalTable &&tail) noexcept { return m_builder.appendRows(std::move(tail)); }
    // The rows read, without judging them: the builder is spent afterwards.
    [[nodiscard]] PostalTable takeTable() noexcept { return m_builder.finish(); }
    // The table and, after a problem or for a list without records, the
    // user's message; the builder is spent afterwards.
    [[nodiscard]] ListReadResult result(const QString &name);

private:
    enum class Step { Ok, Finished, Failed };

    // One field found in the buffer: the text between the quotes (or all of
    // an unquoted field), then whatever follows a closing quote up to the
    // separator.
    struct Scan {
        enum class Kind { Complete, NeedMore, Missing, UnclosedQuote } kind = Kind::Complete;
        enum class End { Comma, LineEnd, FileEnd } end = End::Comma;
        std::size_t textBegin = 0;
        std::size_t textEnd = 0;
        std::size_t tailBegin = 0;
        std::size_t tailEnd = 0;
        std::size_t next = 0;
        bool endedByCr = false;
    };

    [[nodiscard]] bool refill();
    [[nodiscard]] Step startRecord();
    [[nodiscard]] Step endField(const Scan &found);
    [[nodiscard]] Step readField();
    [[nodiscard]] Scan scan() noexcept;
    [[nodiscard]] std::int64_t lineEnd() noexcept;
    [[nodiscard]] bool storeField(std::string_view bytes, const FieldOrigin &origin,
                                  std::int64_t fieldStart);
    [[nodiscard]] bool checkValue(std::string_view bytes, const FieldOrigin &origin);
    [[nodiscard]] bool storeKept(int column, std::string_view bytes, const FieldOrigin &origin);
    [[nodiscard]] std::size_t foldReading(char16_t *text, std::size_t units, std::size_t room);
    [[nodiscard]] bool checkDiscarded(std::string_view bytes, const FieldOrigin &origin);
    // Decodes a field into `out` (room for bytes.size() units): the count of
    // units, or nothing after recording the problem.
    [[nodiscard]] std::optional<std::size_t> decode(std::string_view bytes, const FieldOrigin &origin,
                                                    char16_t *out);
    [[nodiscard]] bool fail(Problem::Kind kind, std::int64_t offset);
    [[nodiscard]] bool failOnLine(Problem::Kind kind, std::int64_t offset, int fields = 0);
    [[nodiscard]] std::int64_t offsetOf(std::size_t index) const noexcept
    {
        return m_base + static_cast<std::int64_t>(index);
    }

    const ListLayout &m_layout;
    // Every read goes through it, so the encoding is settled before the
    // first byte outside ASCII reaches a field.
    EncodingSniffer m_text;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_capacity;
    std::size_t m_pos = 0;       // start of the next field, or of the line ends before a record
    std::size_t m_end = 0;
    std::int64_t m_base = 0;     // file offset of m_buffer[0]
    std::int64_t m_totalRead = 0;
    bool m_atEnd = false;
    bool m_lfBelongsToCr = false; // the last separator was a CR: a following LF is part of it
    int m_field = 0;              // index of the next field within its record
    std::int64_t m_recordStart = 0;
    std::int64_t m_line = 1;       // of the file, as an editor counts them
    std::int64_t m_recordLine = 0;
    std::int64_t m_lineEnd = -1;   // offset of the current line's CR or LF, once seen
    Cp932Decoder m_decoder;
    PostalTableBuilder m_builder;
    // The previous row's raw bytes per column: equal bytes decode to equal
    // text, so a repeated field is found before paying for its decoding.
    std::array<std::string, kStoredColumnCount> m_previous;
    std::string m_joined;
    std::u16string m_folded;
    std::optional<Problem> m_problem;
    bool m_noConverter = false;
};

std::size_t textUnitsHint(std::int64_t size)
{
    // A kept field yields no more units than its bytes, and its length prefix
    // is paid for by the fourteen separators of its record, so the file size
    // bounds the text; the empty entry and a cut-off record need a little more.
    return static_cast<std::size_t>(size) + 64;
}

std::size_t rowsHint(std::int64_t size, int fields)
{
    // The shortest record is its commas and a line end. Reserving that many
    // rows costs address space only: untouched pages are never faulted in.
    return static_cast<std::size_t>(size) / static_cast<std::size_t>(fields) + 1;
}

ListParser::ListParser(ListByteSource &source, const ListLayout &layout, std::size_t chunkBytes)
    : m_layout(layout),
      m_text(source),
      m_capacity(std::max(chunkBytes, kMinChunkBytes)),
      m_builder(textUnitsHint(source.sizeHint()), rowsHint(source.sizeHint(), layout.fields))
{
}

bool ListParser::fail(Problem::Kind kind, std::int64_t offset)
{
    m_problem = Problem{kind, offset};
    return false;
}

bool ListParser::failOnLine(Problem::Kind kind, std::int64_t offset, int fields)
{
    m_problem = Problem{kind, offset, m_recordLine, fields};
    return false;
}

bool ListParser::refill()
{
    const std::size_t kept = m_end - m_pos;
    if (kept == m_capacity) {
        // A single field fills the buffer: it has to grow for the field to end.
        const std::size_t bigger = m_capacity * 2;
        auto grown = std::unique_ptr<char[]>(new (std::nothrow) char[bigger]);
        if (!grown)
            return fail(Problem::Kind::OutOfMemory, offsetOf(m_pos));
        std::memcpy(grown.get(), m_buffer.get() + m_pos, kept);
        m_buffer = std::move(grown);
        m_capacity = bigger;
    } else if (kept > 0 && m_pos > 0) {
        std::memmove(m_buffer.get(), m_buffer.get() + m_pos, kept);
    }
    m_base += static_cast<std::int64_t>(m_pos);
    m_pos = 0;
    m_end = kept;

    const std::int64_t count = m_text.read(m_buffer.get() + m_end, m_capacity - m_end);
    if (count < 0)
        return fail(Problem::Kind::ReadFailed, offsetOf(m_end));
    if (count == 0)
        m_atEnd = true;
    // A byte order mark is dropped by the first read that returns anything;
    // offsets stay those of the file.
    if (m_totalRead == 0 && count > 0)
        m_base += m_text.skippedBytes();
    m_totalRead += count;
    // The size was checked before reading; a file still being written to can
    // outgrow it.
    if (m_totalRead > kMaxListFileBytes)
        return fail(Problem::Kind::TooLarge, m_totalRead);
    m_end += static_cast<std::size_t>(count);
    return true;
}

// The end-of-file test made before each record. A record is one line, and a
// line with nothing on it holds none, wherever it stands: line ends are
// skipped here, only counted.
ListParser::Step ListParser::startRecord()
{
    for (;;) {
        while (m_pos < m_end && isLineEnd(m_buffer[m_pos])) {
            const char c = m_buffer[m_pos++];
            if (c == '\n' && m_lfBelongsToCr) {
                m_lfBelongsToCr = false;
                continue;
            }
            ++m_line;
            m_lfBelongsToCr = c == '\r';
        }
        if (m_pos < m_end)
            break;
        if (m_atEnd)
            return Step::Finished;
        if (!refill())
            return Step::Failed;
    }
    m_lfBelongsToCr = false;
    m_recordLine = m_line;
    return Step::Ok;
}

// Where the line the next field is on ends: the offset of its CR or LF, or
// -1 while that lies beyond the buffer. Looked for once a line, not once a
// field.
std::int64_t ListParser::lineEnd() noexcept
{
    if (m_lineEnd >= offsetOf(m_pos))
        return m_lineEnd;
    const char *from = m_buffer.get() + m_pos;
    const std::size_t length = m_end - m_pos;
    const auto *lf = static_cast<const char *>(std::memchr(from, '\n', length));
    const auto *cr = static_cast<const char *>(std::memchr(from, '\r', lf ? static_cast<std::size_t>(lf - from) : length));
    const char *end = cr ? cr : lf;
    m_lineEnd = end ? offsetOf(static_cast<std::size_t>(end - m_buffer.get())) : -1;
    return m_lineEnd;
}

ListParser::Scan ListParser::scan() noexcept
{
    Scan found;
    const char *buffer = m_buffer.get();
    if (m_pos == m_end) {
        found.kind = m_atEnd ? Scan::Kind::Missing : Scan::Kind::NeedMore;
        return found;
    }
    const bool quoted = buffer[m_pos] == '"';
    std::size_t rest = m_pos;
    if (quoted) {
        const void *close = std::memchr(buffer + m_pos + 1, '"', m_end - m_pos - 1);
        // The closing quote is on the field's own line, or there is none: a
        // record never takes in a second line.
        const std::int64_t lineEndsAt = lineEnd();
        const std::int64_t closesAt =
            close ? offsetOf(static_cast<std::size_t>(static_cast<const char *>(close) - buffer)) : offsetOf(m_end);
        if (lineEndsAt >= 0 && lineEndsAt < closesAt) {
            found.kind = Scan::Kind::UnclosedQuote;
            return found;
        }
        if (!close) {
            // A quote never closed is a record cut off at the end of the file.
            found.kind = m_atEnd ? Scan::Kind::Missing : Scan::Kind::NeedMore;
            return found;
        }
        found.textBegin = m_pos + 1;
        found.textEnd = static_cast<std::size_t>(static_cast<const char *>(close) - buffer);
        rest = found.textEnd + 1;
    }
    std::size_t separator = rest;
    while (separator < m_end && !isSeparator(buffer[separator]))
        ++separator;
    if (separator == m_end && !m_atEnd) {
        found.kind = Scan::Kind::NeedMore;
        return found;
    }
    if (quoted) {
        // Anything between the closing quote and the separator stays part of
        // the value rather than vanishing silently.
        found.tailBegin = rest;
        found.tailEnd = separator;
    } else {
        found.textBegin = m_pos;
        found.textEnd = separator;
        found.tailBegin = found.tailEnd = separator;
    }
    if (separator == m_end)
        found.end = Scan::End::FileEnd;
    else
        found.end = buffer[separator] == ',' ? Scan::End::Comma : Scan::End::LineEnd;
    found.endedByCr = separator < m_end && buffer[separator] == '\r';
    found.next = separator < m_end ? separator + 1 : separator;
    return found;
}

ListParser::Step ListParser::readField()
{
    Scan found;
    for (;;) {
        found = scan();
        if (found.kind == Scan::Kind::Complete)
            break;
        if (found.kind == Scan::Kind::Missing) {
            (void)fail(Problem::Kind::Truncated, m_field == 0 ? offsetOf(m_pos) : m_recordStart);
            return Step::Failed;
        }
        if (found.kind == Scan::Kind::UnclosedQuote) {
            (void)failOnLine(Problem::Kind::UnclosedQuote, offsetOf(m_pos));
            return Step::Failed;
        }
        if (!refill())
            return Step::Failed;
    }
    const char *buffer = m_buffer.get();
    std::string_view bytes(buffer + found.textBegin, found.textEnd - found.textBegin);
    FieldOrigin origin{offsetOf(found.textBegin), bytes.size(), offsetOf(found.tailBegin)};
    if (found.tailEnd > found.tailBegin) {
        m_joined.assign(bytes);
        m_joined.append(buffer + found.tailBegin, found.tailEnd - found.tailBegin);
        bytes = m_joined;
    }
    if (!storeField(bytes, origin, offsetOf(m_pos)))
        return Step::Failed;
    m_pos = found.next;
    return endField(found);
}

// A record is the fields of one line: the row is kept when its line ends
// right after the last, and the list stops at a line with more or fewer
// rather than take a field from the next line or leave one over.
ListParser::Step ListParser::endField(const Scan &found)
{
    const bool last = m_field == m_layout.fields - 1;
    switch (found.end) {
    case Scan::End::Comma:
        if (last) {
            (void)failOnLine(Problem::Kind::FieldCount, m_recordStart, kTooManyFields);
            return Step::Failed;
        }
        ++m_field;
        return Step::Ok;
    case Scan::End::LineEnd:
        ++m_line;
        m_lfBelongsToCr = found.endedByCr;
        if (!last) {
            (void)failOnLine(Problem::Kind::FieldCount, m_recordStart, m_field + 1);
            return Step::Failed;
        }
        break;
    case Scan::End::FileEnd:
        // The download stopped in the middle of the last line.
        if (!last) {
            (void)fail(Problem::Kind::Truncated, m_recordStart);
            return Step::Failed;
        }
        break;
    }
    m_builder.endRow();
    m_field = 0;
    return Step::Ok;
}

bool ListParser::storeField(std::string_view bytes, const FieldOrigin &origin,
                            std::int64_t fieldStart)
{
    if (m_field == 0) {
        m_recordStart = fieldStart;
        if (!m_builder.beginRow())
            return fail(Problem::Kind::OutOfMemory, fieldStart);
    }
    const int column = m_field == m_layout.localGovernmentCodeField ? static_cast<int>(PostalColumn::LocalGovernmentCode)
                                                                     : m_field - m_layout.firstKept;
    // Bytes outside the encoding are the deeper fault, and are told first.
    const bool kept = m_field == m_layout.localGovernmentCodeField || (column >= 0 && column < kPostalColumnCount);
    const bool stored = kept ? storeKept(column, bytes, origin) : checkDiscarded(bytes, origin);
    return stored && checkValue(bytes, origin);
}

bool ListParser::checkValue(std::string_view bytes, const FieldOrigin &origin)
{
    std::size_t digits = 0;
    if (m_field == m_layout.localGovernmentCodeField)
        digits = kLocalGovernmentCodeDigits;
    else if (m_field == m_layout.postalCodeField)
        digits = kPostalCodeDigits;
    if (digits == 0 || isDigits(bytes, digits))
        return true;
    (void)failOnLine(Problem::Kind::BadValue, origin.first, m_field);
    m_problem->value.assign(bytes);
    return false;
}

bool ListParser::storeKept(int column, std::string_view bytes, const FieldOrigin &origin)
{
    std::string &previous = m_previous[static_cast<std::size_t>(column)];
    if (bytes.empty()) {
        m_builder.setEmpty(column);
        previous.clear();
        return true;
    }
    // In the first row `previous` is empty, so this never looks before it.
    if (previous == bytes) {
        m_builder.repeatPrevious(column);
        return true;
    }
    char16_t *out = m_builder.beginText(bytes.size());
    if (!out)
        return fail(Problem::Kind::OutOfMemory, origin.first);
    const std::optional<std::size_t> units = decode(bytes, origin, out);
    if (!units)
        return false;
    const bool reading = column < kPostalColumnCount && m_layout.readings[static_cast<std::size_t>(column)];
    m_builder.endText(column, reading ? foldReading(out, *units, bytes.size()) : *units);
    previous.assign(bytes);
    return true;
}

// The UTF-8 edition's full-width readings, made half-width in place. They
// fit where they were decoded: a character that folds to two units took two
// bytes in code page 932 and three in UTF-8.
std::size_t ListParser::foldReading(char16_t *text, std::size_t units, std::size_t room)
{
    const std::u16string_view decoded(text, units);
    if (!hasHalfWidthForms(decoded))
        return units;
    m_folded.clear();
    foldToHalfWidth(decoded, m_folded);
    if (m_folded.size() > room)
        return units;
    std::copy(m_folded.begin(), m_folded.end(), text);
    return m_folded.size();
}

// Discarded fields are still checked: a file with bytes that are not in its
// encoding anywhere is not a list in that encoding.
bool ListParser::checkDiscarded(std::string_view bytes, const FieldOrigin &origin)
{
    if (isAscii(bytes))
        return true;
    // The table's free space serves as scratch: the text is never committed.
    char16_t *scratch = m_builder.beginText(bytes.size());
    if (!scratch)
        return fail(Problem::Kind::OutOfMemory, origin.first);
    return decode(bytes, origin, scratch).has_value();
}

std::optional<std::size_t> ListParser::decode(std::string_view bytes, const FieldOrigin &origin,
                                              char16_t *out)
{
    // Undecided means no byte outside ASCII so far, which both read alike.
    if (m_text.encoding() == ListEncoding::Utf8) {
        const Utf8Decoder::Result decoded = Utf8Decoder::decode(bytes.data(), bytes.size(), out);
        if (decoded.badByte) {
            (void)fail(Problem::Kind::NotUtf8, origin.offsetOf(*decoded.badByte));
            return std::nullopt;
        }
        return decoded.units;
    }
    const Cp932Decoder::Result decoded = m_decoder.decode(bytes.data(), bytes.size(), out);
    if (decoded.badByte) {
        (void)fail(Problem::Kind::NotCp932, origin.offsetOf(*decoded.badByte));
        return std::nullopt;
    }
    return decoded.units;
}

bool ListParser::parse()
{
    if (!m_decoder.isValid()) {
        m_noConverter = true;
        return false;
    }
    m_buffer.reset(new (std::nothrow) char[m_capacity]);
    if (!m_builder.isValid() || !m_buffer)
        return fail(Problem::Kind::OutOfMemory, 0);
    for (;;) {
        if (m_field == 0) {
            const Step step = startRecord();
            if (step != Step::Ok)
                break;
        }
        if (readField() != Step::Ok)
            break;
    }
    return !m_problem;
}

ListReadResult ListParser::result(const QString &name)
{
    const ListKind kind = m_layout.kind;
    ListReadResult result;
    if (m_noConverter) {
        result.error = noConverterError(kind, name);
        return result;
    }
    result.table = m_builder.finish();
    if (!m_problem) {
        if (result.table.recordCount() == 0)
            result.error = noRecordsError(kind, name);
        return result;
    }
    // A byte changed in transit makes a list look broken just as well.
    const bool aboutTheText = m_problem->kind == Problem::Kind::NotCp932
        || m_problem->kind == Problem::Kind::NotUtf8 || m_problem->kind == Problem::Kind::Truncated
        || m_problem->kind == Problem::Kind::FieldCount || m_problem->kind == Problem::Kind::UnclosedQuote
        || m_problem->kind == Problem::Kind::BadValue;
    if (aboutTheText && !m_text.confirmIntact())
        m_problem->kind = Problem::Kind::ReadFailed;
    if (m_problem->kind == Problem::Kind::ReadFailed && !m_text.recordsBeforeFailureAreSound())
        result.table = PostalTable();
    const int kept = result.table.recordCount();
    switch (m_problem->kind) {
    case Problem::Kind::ReadFailed:
        result.error = m_text.readError(kind, name, m_problem->offset, kept);
        break;
    case Problem::Kind::OutOfMemory:
        result.error = outOfMemoryError(kind, name, m_problem->offset, kept);
        break;
    case Problem::Kind::NotCp932:
        result.error = notCp932Error(kind, name, m_problem->offset, kept);
        break;
    case Problem::Kind::NotUtf8:
        result.error = notUtf8Error(kind, name, m_problem->offset, kept);
        break;
    case Problem::Kind::Truncated:
        result.error = truncatedError(kind, name, m_problem->offset, kept);
        break;
    case Problem::Kind::TooLarge:
        result.error = tooLargeError(kind, name, m_problem->offset);
        break;
    case Problem::Kind::FieldCount:
        result.error = fieldCountError(kind, name, m_problem->offset, m_problem->line, m_problem->fields, kept);
        break;
    case Problem::Kind::UnclosedQuote:
        result.error = unclosedQuoteError(kind, name, m_problem->offset, m_problem->line, kept);
        break;
    case Problem::Kind::BadValue:
        result.error = m_problem->fields == m_layout.postalCodeField
            ? badPostalCodeError(kind, name, m_problem->offset, m_problem->line, m_problem->value, kept)
            : badLocalGovernmentCodeError(kind, name, m_problem->offset, m_problem->line, m_problem->value, kept);
        break;
    }
    return result;
}

} // namespace

ListReadResult parseList(ListByteSource &source, const ListLayout &layout, const QString &nameForMessages,
                         std::size_t chunkBytes)
{
    ListParser parser(source, layout, chunkBytes);
    (void)parser.parse();
    return parser.result(nameForMessages);
}

std::optional<std::size_t> lineEndAfter(std::string_view bytes) noexcept
{
    const std::size_t lineEnd = bytes.find('\n');
    if (lineEnd == std::string_view::npos)
        return std::nullopt;
    return lineEnd + 1;
}

ListReadResult parseListInHalves(ListByteSource &head, ListByteSource &tail, const WholeListRead &whole,
                                 const ListLayout &layout, const QString &nameForMessages, std::size_t chunkBytes)
{
    ListParser first(head, layout, chunkBytes);
    bool firstClean = false;
    bool secondClean = false;
    ListEncoding secondEncoding = ListEncoding::Undecided;
    PostalTable second;
    {
        std::jthread worker([&] {
            try {
                ListParser parser(tail, layout, chunkBytes);
                secondClean = parser.parse();
                secondEncoding = parser.encoding();
                second = parser.takeTable();
            } catch (...) {
                // Read whole below, where the failure shows as it would have.
                secondClean = false;
            }
        });
        firstClean = first.parse();
    }
    // Each half settles its encoding by its own first bytes outside ASCII.
    // Halves that disagree are read whole, where the first such bytes decide.
    const ListEncoding firstEncoding = first.encoding();
    const bool sameEncoding = firstEncoding == ListEncoding::Undecided || secondEncoding == ListEncoding::Undecided
        || firstEncoding == secondEncoding;
    // Should the second half start inside a quoted field, the first ends in
    // an open quote, which is a problem. Any problem is reported as one pass
    // finds it, with its line counted from the start of the list.
    if (firstClean && secondClean && sameEncoding && first.appendRows(std::move(second)))
        return first.result(nameForMessages);
    return whole();
}

ListReadResult parseListInHalves(std::string_view bytes, const ListLayout &layout, const QString &nameForMessages,
                                 std::size_t chunkBytes)
{
    const auto whole = [&] {
        MemoryByteSource source(bytes);
        return parseList(source, layout, nameForMessages, chunkBytes);
    };
    const std::size_t middle = bytes.size() / 2;
    const std::optional<std::size_t> split = lineEndAfter(bytes.substr(middle));
    if (!split || middle + *split >= bytes.size())
        return whole();
    MemoryByteSource head(bytes.substr(0, middle + *split));
    MemoryByteSource tail(bytes.substr(middle + *split));
    return parseListInHalves(head, tail, whole, layout, nameForMessages, chunkBytes);
}

} // namespace torumin::detail
