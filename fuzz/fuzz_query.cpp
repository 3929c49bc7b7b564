// Standard input as torumin-query reads it: any bytes, one query or address
// a line, each line UTF-8, CP932 or neither, answered in every format from
// the rows of fuzz/address_table.csv.
//
// Whatever the bytes, every line gets its answer and keeps its place: one
// line of text, one TSV line or JSON object, one CSV record after the
// header, each whole in its format.

#include "FuzzCheck.h"
#include "ScratchFolder.h"

#include "app/AnswerRecords.h"
#include "app/QueryTool.h"
#include "app/StdioTextSink.h"
#include "app/settings/SettingsStore.h"

#include <QBuffer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace torumin;

namespace {

// fuzz/address_table.csv, compiled in so the binary runs from anywhere.
constexpr unsigned char kTableBytes[] = {
#include "address_table.inc"
};

QString &listPath()
{
    static QString path;
    return path;
}

// The tool only reads the settings, and with --list not even those.
class NoSettings final : public SettingsStore {
public:
    [[nodiscard]] QString ReadSetting(const QString &, const QString &) const override { return {}; }
    void WriteSettings(const std::vector<SettingWrite> &) override { FUZZ_CHECK(false); }
    void UpdateSection(const QString &, const SectionChange &) override { FUZZ_CHECK(false); }
};

struct Answers {
    int status;
    QByteArray out;
};

// A C stream in memory, for the tool's standard output and error.
struct MemoryStream {
    char *text = nullptr;
    std::size_t size = 0;
    std::FILE *stream = open_memstream(&text, &size);

    QByteArray close()
    {
        std::fclose(stream);
        const QByteArray bytes(text, static_cast<qsizetype>(size));
        std::free(text);
        return bytes;
    }
};

Answers ask(const QStringList &options, const QByteArray &input)
{
    QByteArray bytes = input;
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    MemoryStream out;
    MemoryStream err;
    NoSettings settings;
    int status = 0;
    {
        StdioTextSink outSink(out.stream);
        StdioTextSink errSink(err.stream);
        status = runQueryTool(QStringList{QStringLiteral("--list"), listPath()} + options,
                              {in, outSink, errSink, false, false, MessageLanguage::English}, settings, QString());
    }
    (void)err.close();
    FUZZ_CHECK(status >= 0 && status <= 2);
    return {status, out.close()};
}

qsizetype linesOf(const QByteArray &input)
{
    return input.count('\n') + (!input.isEmpty() && !input.endsWith('\n') ? 1 : 0);
}

// RFC 4180 records, each ended by CR LF: their count, or -1 when the text is
// not that.
qsizetype csvRecords(const QByteArray &text)
{
    qsizetype records = 0;
    bool quoted = false;
    bool fieldStart = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text.at(i + 1) == '"')
                ++i;
            else if (c == '"')
                quoted = false;
            continue;
        }
        if (c == '"') {
            if (!fieldStart)
                return -1;
            quoted = true;
        } else if (c == '\r') {
            if (i + 1 >= text.size() || text.at(i + 1) != '\n')
                return -1;
            ++records;
            ++i;
            fieldStart = true;
            continue;
        } else if (c == '\n') {
            return -1;
        }
        fieldStart = c == ',';
    }
    return quoted || (!text.isEmpty() && !text.endsWith("\r\n")) ? -1 : records;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::makeScratchFolder("query");
    listPath() = fuzz::scratchFolder() + QStringLiteral("/list.csv");
    QFile list(listPath());
    if (!list.open(QIODevice::WriteOnly) || list.write(reinterpret_cast<const char *>(kTableBytes), sizeof kTableBytes)
                                                != static_cast<qint64>(sizeof kTableBytes)) {
        std::fprintf(stderr, "cannot write the list to %s\n", qPrintable(listPath()));
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > 2048)
        return -1;
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype lines = linesOf(input);
    const QString shown = QString::fromLatin1(input.toHex());

    // The result box's texts, and the best candidates: a line each.
    FUZZ_CHECK_SAYING(ask({}, input).out.count('\n') == lines, shown);
    FUZZ_CHECK_SAYING(ask({QStringLiteral("--candidates"), QStringLiteral("--best")}, input).out.count('\n') == lines,
                      shown);

    // TSV: a line each, of exactly its fields, whatever the query held.
    const QByteArray tsv =
        ask({QStringLiteral("--format=tsv"), QStringLiteral("--candidates"), QStringLiteral("--best")}, input).out;
    FUZZ_CHECK_SAYING(tsv.count('\n') == lines, shown);
    // The field counts come from the CSV header, so a new field needs no
    // change here, while a line that splits or loses a field still fails.
    const qsizetype bestFields = answerHeader(AnswerFormat::Csv, true).count(u',') + 1;
    const qsizetype plainFields = answerHeader(AnswerFormat::Csv, false).count(u',') + 1;
    for (const QByteArray &line : tsv.split('\n')) {
        FUZZ_CHECK_SAYING(line.isEmpty() || line.count('\t') == bestFields - 1, shown);
        FUZZ_CHECK_SAYING(!line.contains('\r'), shown);
    }

    // JSON Lines: an object each, with every field.
    const QByteArray json = ask({QStringLiteral("--format=json")}, input).out;
    FUZZ_CHECK_SAYING(json.count('\n') == lines, shown);
    for (const QByteArray &line : json.split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(line, &error);
        FUZZ_CHECK_SAYING(error.error == QJsonParseError::NoError && document.isObject(), QString::fromUtf8(line));
        FUZZ_CHECK_SAYING(document.object().size() == plainFields, QString::fromUtf8(line));
    }

    // CSV, in UTF-8 and in CP932: the header, then a record each.
    for (const QString &encoding : {QStringLiteral("--encoding=utf-8"), QStringLiteral("--encoding=cp932")}) {
        const Answers csv =
            ask({QStringLiteral("--format=csv"), QStringLiteral("--candidates"), QStringLiteral("--best"), encoding},
                input);
        FUZZ_CHECK_SAYING(csvRecords(csv.out) == lines + 1, shown + u' ' + encoding);
    }
    // Every row of a code or names: at least a record each.
    const qsizetype all = csvRecords(ask({QStringLiteral("--format=csv"), QStringLiteral("--all")}, input).out);
    FUZZ_CHECK_SAYING(all >= lines + 1, shown);
    return 0;
}
