#include "app/QueryTool.h"

#include "app/AnswerRecords.h"
#include "app/Module1.h"
#include "app/OfficeList.h"
#include "app/QueryOptions.h"
#include "app/QueryTexts.h"
#include "app/SettingsKeys.h"
#include "app/TextSink.h"
#include "app/settings/SettingsStore.h"
#include "data/Cp932Decoder.h"
#include "data/OfficeTable.h"
#include "data/PostalListReader.h"
#include "search/AddressMatcher.h"
#include "app/CandidateOptions.h"
#include "search/Candidates.h"
#include "search/OfficeAddressMatcher.h"
#include "search/OfficeSearch.h"
#include "search/KanaWidth.h"
#include "search/PickLists.h"
#include "search/PostalCodeCheck.h"
#include "search/PostalIndex.h"
#include "search/PostalLookup.h"
#include "search/TownNote.h"

#include <QFileInfo>
#include <QIODevice>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>

namespace torumin {

namespace {

const QString kPrefix = QStringLiteral("torumin-query: ");

// The list of the selected slot, as the program would load it.
QString configuredList(const SettingsStore &settings, const QString &programFolder)
{
    Options options;
    options.set(QStringLiteral("OptSen"), settings.ReadSetting(Section::Config, QStringLiteral("OptSen")));
    const QString key = arrayKey(QStringLiteral("Yubin_File"), selectedSlot(options));
    const QString stored = settings.ReadSetting(Section::Config, key);
    return stored.isEmpty() ? defaultValue(*findSettingKey(key), programFolder) : stored;
}

// The display options as stored; a key never stored is on, as at start-up.
CandidateFormat storedFormat(const SettingsStore &settings)
{
    Options options;
    for (const QString &family : {QStringLiteral("YJ_Disp"), QStringLiteral("YJ_Copy")}) {
        for (int i = 0; i < 3; ++i) {
            const QString key = arrayKey(family, i);
            const QString value = settings.ReadSetting(Section::Config, key);
            options.set(key, value.isEmpty() ? QStringLiteral("1") : value);
        }
    }
    return candidateFormat(options);
}

const QString kNotSevenDigits = QStringLiteral("入力された郵便番号が７桁ではありません。　");

struct CodeText {
    QString code;  // seven digits when messages is empty
    QStringList messages;
};

// A code as people paste it is taken as the dialog takes a paste; anything
// else is split as the dialog's two boxes would hold it, and goes through the
// dialog's checks, which say what is wrong with it.
CodeText readCode(const QString &text)
{
    if (const std::optional<QString> digits = postalCodeDigits(text))
        return {*digits, {}};
    QString plain = text.trimmed();
    if (plain.startsWith(u'〒'))
        plain = plain.sliced(1).trimmed();
    for (QChar &ch : plain) {
        if (ch == u'－' || ch == u'‐' || ch == u'−' || ch == u'ー')
            ch = u'-';
    }
    const qsizetype hyphen = plain.indexOf(u'-');
    const QString first = hyphen >= 0 ? plain.left(hyphen) : plain.left(3);
    const QString second = hyphen >= 0 ? plain.mid(hyphen + 1) : plain.mid(3);
    CodeText read;
    for (const CodeCheckMessage &message : checkPostalCode(first, second))
        read.messages.append(message.text);
    // The dialog's boxes hold at most three and four characters: more is not
    // seven digits either, and neither is whatever else the paste rule refused.
    if ((first.size() > 3 || second.size() > 4 || read.messages.isEmpty()) && !read.messages.contains(kNotSevenDigits))
        read.messages.prepend(kNotSevenDigits);
    return read;
}

// One line of input as bytes, without its line end; false at the end.
bool readLine(QIODevice &in, QByteArray &line)
{
    line.clear();
    char chunk[4096];
    for (;;) {
        const qint64 got = in.readLine(chunk, sizeof chunk);
        if (got <= 0)
            break;
        line.append(chunk, got);
        if (line.endsWith('\n'))
            break;
    }
    if (line.isEmpty())
        return false;
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return true;
}

// What follows the names in an address: the block and the building, without
// the separators that stood between.
// Why an address has no code, for the batch's third column: words a script
// can match, the same in every language.
QString whyNoCode(const PostalTable &table, const AddressMatcher::Answer &answer)
{
    QStringList named;
    switch (answer.verdict) {
    case AddressMatcher::Verdict::NoCity:
        return QStringLiteral("no city of the list");
    case AddressMatcher::Verdict::NoTown:
        return QStringLiteral("no town area of the list");
    case AddressMatcher::Verdict::SeveralCities:
        for (const int row : answer.rows)
            named.append(table.prefName(row) + table.cityName(row));
        named.removeDuplicates();
        return QStringLiteral("several cities: ") + named.join(QStringLiteral(", "));
    case AddressMatcher::Verdict::SeveralWards:
        return QStringLiteral("several wards");
    case AddressMatcher::Verdict::SeveralCodes:
        for (const int row : answer.rows)
            named.append(hyphenatedCode(table.zipCode(row)));
        return QStringLiteral("several codes: ") + named.join(QStringLiteral(", "));
    case AddressMatcher::Verdict::NotSure:
    case AddressMatcher::Verdict::Named:
        break;
    }
    return QStringLiteral("no town area for sure");
}

QString restOf(QStringView address, qsizetype start)
{
    QStringView rest = address.sliced(std::min(start, address.size()));
    while (!rest.isEmpty()
           && (rest.front().isSpace() || rest.front() == u'-' || rest.front() == u'－' || rest.front() == u'‐'
               || rest.front() == u'−' || rest.front() == u',' || rest.front() == u'、'))
        rest = rest.sliced(1);
    return rest.trimmed().toString();
}

AnswerRecord record(const QString &query, AnswerStatus status, int row = -1)
{
    AnswerRecord record;
    record.query = query;
    record.status = status;
    record.row = row;
    return record;
}

// One run of the tool on a loaded list: the answers, the complaints, and the
// exit status.
class QueryRun {
public:
    QueryRun(const QueryOptions &options, const QueryStreams &streams, const QueryTexts &texts,
             const PostalTable &table, QString officePath, const SettingsStore &settings)
        : m_options(options)
        , m_streams(streams)
        , m_texts(texts)
        , m_table(table)
        , m_officePath(std::move(officePath))
        , m_settings(settings)
        , m_structured(options.format != AnswerFormat::Text)
    {
    }

    int run()
    {
        put(answerHeader(m_options.format, m_options.best));
        int status = kQueryExitOk;
        if (m_options.office)
            status = answered(0, answerOffices(*m_options.office));
        else if (m_options.candidates && m_options.words.isEmpty())
            status = answerBestOfLines();
        else if (m_options.candidates)
            status = answerCandidates(m_options.words.front());
        else if (m_options.words.isEmpty())
            status = answerLines();
        else
            status = answered(0, answerQuery(m_options.words, m_options.words.join(QLatin1Char('\t')), 0));
        return finish(status);
    }

private:
    // Standard output, held back only where nobody waits for it line by line.
    void put(const QString &text)
    {
        if (!m_outputFailed && !m_streams.out.write(text))
            m_outputFailed = true;
    }

    // A complaint on standard error, after the answers before it, so the two
    // keep their order where they go to one place.
    void complain(int line, const QString &message)
    {
        if (!m_outputFailed && !m_streams.out.flush())
            m_outputFailed = true;
        const QString where = line > 0 ? m_texts.onLine.arg(line) : QString();
        (void)m_streams.err.write(QString(kPrefix + where + message + QLatin1Char('\n')));
        (void)m_streams.err.flush();
    }

    // After the answer to a line: out at once if someone waits for it; a
    // character the output's encoding could not hold is that line's error.
    int answered(int line, int status)
    {
        if (m_streams.answerEachLine && !m_outputFailed && !m_streams.out.flush())
            m_outputFailed = true;
        if (m_streams.out.takeReplacedCharacters()) {
            complain(line, m_texts.replacedCharacters);
            return kQueryExitError;
        }
        return status;
    }

    int finish(int status)
    {
        if (!m_outputFailed && !m_streams.out.flush())
            m_outputFailed = true;
        if (m_outputFailed) {
            (void)m_streams.err.write(
                QString(kPrefix + m_texts.cannotWriteOutput.arg(m_streams.out.errorText()) + QLatin1Char('\n')));
            (void)m_streams.err.flush();
            return kQueryExitError;
        }
        return status;
    }

    void putRecord(const AnswerRecord &record)
    {
        static const OfficeTable none;
        put(answerLine(m_table, record.office >= 0 ? offices() : none, record, m_options.format, m_options.best));
    }

    // The large offices' list that goes with the postal list, read when an
    // answer first needs it: a batch of codes the postal list has never pays
    // for it. Without one, no office is known; one that cannot be read is
    // said once.
    const OfficeTable &offices()
    {
        if (!m_offices) {
            m_offices = m_officePath.isEmpty() ? OfficeReadResult() : readOfficeListFile(m_officePath);
            if (m_offices->error) {
                QString message = m_offices->error->message;
                message.replace(QLatin1Char('\r'), QLatin1Char('\n'));
                complain(0, m_texts.officeListUnreadable.arg(message));
            }
        }
        return m_offices->table;
    }

    // The offices with their own code: a code the postal list lacks.
    std::vector<int> officesOfCode(const QString &code)
    {
        if (!m_officeCodes) {
            m_officeCodes = std::make_unique<QHash<QString, std::vector<int>>>();
            for (int row = 0; row < offices().recordCount(); ++row)
                (*m_officeCodes)[offices().code(row).toString()].push_back(row);
        }
        return m_officeCodes->value(code);
    }

    AnswerRecord officeRecord(const QString &query, int office) const
    {
        AnswerRecord found = record(query, AnswerStatus::Found);
        found.office = office;
        return found;
    }

    // --office: the offices whose name holds the text.
    int answerOffices(const QString &name)
    {
        const OfficeNameIndex index(offices());
        if (m_offices->error)
            return kQueryExitError;
        const std::vector<int> rows = index.find(name);
        for (const int row : rows) {
            if (m_structured)
                putRecord(officeRecord(name, row));
            else
                put(hyphenatedCode(offices().code(row)) + QLatin1Char('\t') + offices().name(row) + QLatin1Char('\t')
                    + officeAddress(offices(), row) + QLatin1Char('\n'));
        }
        if (rows.empty() && m_structured)
            putRecord(record(name, AnswerStatus::NotFound));
        return rows.empty() ? kQueryExitNoResult : kQueryExitOk;
    }

    // A query refused with the reasons given: in a batch its line keeps its
    // place in the output.
    int refused(int line, const QStringList &reasons, const QString &query)
    {
        for (const QString &reason : reasons)
            complain(line, reason);
        if (m_structured)
            putRecord(record(query, AnswerStatus::Invalid));
        else if (line > 0)
            put(QStringLiteral("\n"));
        return kQueryExitError;
    }

    const PostalIndex &index(PostalIndex::Key key)
    {
        std::unique_ptr<PostalIndex> &built = m_indexes[static_cast<std::size_t>(key)];
        if (!built)
            built = std::make_unique<PostalIndex>(m_table, key);
        return *built;
    }

    // A code only the office list has: the office's address and name, as the
    // result box shows them.
    int answerOfficeCode(const QString &code, const QString &query)
    {
        std::vector<int> rows = officesOfCode(code);
        if (!m_options.all && rows.size() > 1)
            rows.resize(1);
        if (rows.empty()) {
            if (m_structured)
                putRecord(record(query, AnswerStatus::NotFound));
            else
                put(kCodeNotFound + QLatin1Char('\n'));
            return kQueryExitNoResult;
        }
        for (const int office : rows) {
            if (m_structured)
                putRecord(officeRecord(query, office));
            else
                put(officeResultText(offices(), office) + QLatin1Char('\n'));
        }
        return kQueryExitOk;
    }

    // A code, or [prefecture] city town, given as words or as one line.
    int answerQuery(const QStringList &words, const QString &query, int line)
    {
        const bool code = words.size() == 1;
        std::vector<int> rows;
        if (code) {
            const CodeText read = readCode(words.front());
            if (!read.messages.isEmpty())
                return refused(line, read.messages, query);
            rows = index(PostalIndex::Key::Code).rowsOfCode(read.code);
            if (rows.empty())
                return answerOfficeCode(read.code, query);
        } else {
            QStringList names = words;
            if (m_options.kana) {
                for (QString &name : names)
                    name = toHalfWidthKatakana(name);
            }
            const QString prefecture = names.size() == 3 ? names.takeFirst() : QString();
            const AddressScript script = m_options.kana ? AddressScript::Kana : AddressScript::Kanji;
            if (const auto missing = checkAddress(script, names.at(0), names.at(1)))
                return refused(line, {missing->text}, query);
            const PostalIndex::Key key = m_options.kana ? PostalIndex::Key::KanaNames : PostalIndex::Key::KanjiNames;
            rows = index(key).rowsOfAddress(prefecture, names.at(0), names.at(1));
        }
        if (!m_options.all && rows.size() > 1)
            rows.resize(1);

        if (m_structured) {
            if (rows.empty())
                putRecord(record(query, AnswerStatus::NotFound));
            for (const int row : rows)
                putRecord(record(query, AnswerStatus::Found, row));
        } else if (rows.empty()) {
            put((code ? kCodeNotFound : kAddressNotFound) + QLatin1Char('\n'));
        } else {
            for (const int row : rows) {
                QString text = code ? m_table.prefName(row).toString() + m_table.cityName(row) + m_table.townName(row)
                                    : hyphenatedCode(m_table.zipCode(row));
                put(text + QLatin1Char('\n'));
            }
        }
        return rows.empty() ? kQueryExitNoResult : kQueryExitOk;
    }

    // The text of a line of input, or nothing when its bytes are not in
    // the encoding asked for (or in neither), which is said.
    std::optional<QString> decoded(QByteArray &bytes, int line)
    {
        // A spreadsheet's "UTF-8" file starts with a byte order mark.
        if (line == 1 && m_options.encoding != TextEncoding::Cp932 && bytes.startsWith("\xEF\xBB\xBF"))
            bytes.remove(0, 3);
        std::optional<QString> text =
            decodeLine(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), m_options.encoding,
                       m_cp932);
        if (!text) {
            complain(line, !m_options.encoding                           ? m_texts.neitherEncoding
                           : m_options.encoding == TextEncoding::Utf8 ? m_texts.notUtf8
                                                                          : m_texts.notCp932);
        }
        return text;
    }

    int answerLines()
    {
        int status = kQueryExitOk;
        QByteArray bytes;
        for (int line = 1; !m_outputFailed && readLine(m_streams.in, bytes); ++line) {
            int lineStatus = kQueryExitOk;
            const std::optional<QString> text = decoded(bytes, line);
            if (!text) {
                lineStatus = refused(line, {}, QString());
            } else if (text->isEmpty()) {
                if (m_structured)
                    putRecord(record(QString(), AnswerStatus::Empty));
                else
                    put(QStringLiteral("\n"));
            } else {
                const QStringList words = text->split(QLatin1Char('\t'));
                if (words.size() > 3 || (words.size() == 1 && m_options.kana))
                    lineStatus = refused(line, {m_texts.lineHoldsCodeOrNames}, *text);
                else
                    lineStatus = answerQuery(words, *text, line);
            }
            status = std::max(status, answered(line, lineStatus));
        }
        return status;
    }

    AnswerRecord bestRecord(const QString &address, const OfficeAddressMatcher::Answer &best) const
    {
        const AddressMatcher::Answer &match = best.area;
        if (match.row < 0)
            return record(address, AnswerStatus::NotFound);
        AnswerRecord found = record(address, AnswerStatus::Found, match.row);
        found.office = best.office;
        found.namesTown = match.namesTown;
        found.rest = restOf(address, match.restStart);
        return found;
    }

    int answerCandidates(const QString &address)
    {
        const SplitAddress split = splitAddress(address);
        const std::vector<int> rows = candidateRows(m_table, split);
        const CandidateFormat format = storedFormat(m_settings);
        if (m_options.best) {
            // Beyond the window's rules: the city as it may be written, with
            // or without the prefecture or county.
            const AddressMatcher addresses(m_table);
            const OfficePlaces places(m_table, offices());
            const OfficeAddressMatcher matcher(addresses, places);
            const OfficeAddressMatcher::Answer best = matcher.answer(address);
            const AddressMatcher::Answer &match = best.area;
            if (m_structured) {
                putRecord(bestRecord(address, best));
            } else if (best.office >= 0) {
                put(u'〒' + hyphenatedCode(offices().code(best.office)) + u'\u3000'
                    + officeResultText(offices(), best.office) + QLatin1Char('\n'));
            } else if (match.row >= 0) {
                put(candidateLine(m_table, match.row, m_table.prefName(match.row).toString(), format)
                    + QLatin1Char('\n'));
            } else if (!rows.empty()) {
                complain(0, m_texts.candidatesButNoneForSure.arg(rows.size()));
            } else {
                complain(0, kNoCandidatesMessage);
            }
            return answered(0, match.row >= 0 ? kQueryExitOk : kQueryExitNoResult);
        }
        if (m_structured) {
            if (rows.empty())
                putRecord(record(address, AnswerStatus::NotFound));
            for (const int row : rows)
                putRecord(record(address, AnswerStatus::Found, row));
        } else if (rows.empty()) {
            complain(0, kNoCandidatesMessage);
        } else {
            for (const QString &line : candidateLines(m_table, rows, split.prefecture, format))
                put(line + QLatin1Char('\n'));
        }
        return answered(0, rows.empty() ? kQueryExitNoResult : kQueryExitOk);
    }

    // Every line an address; every answer a line: the address, its code and
    // the address that code stands for, separated by tabs; without a code, why not.
    int answerBestOfLines()
    {
        const AddressMatcher addresses(m_table);
        const OfficePlaces places(m_table, offices());
        const OfficeAddressMatcher matcher(addresses, places);
        int status = kQueryExitOk;
        QByteArray bytes;
        for (int line = 1; !m_outputFailed && readLine(m_streams.in, bytes); ++line) {
            int lineStatus = kQueryExitOk;
            const std::optional<QString> text = decoded(bytes, line);
            if (!text) {
                lineStatus = kQueryExitError;
                if (m_structured)
                    putRecord(record(QString(), AnswerStatus::Invalid));
                else
                    put(QStringLiteral("\t\t\n"));
            } else if (m_structured) {
                putRecord(text->isEmpty() ? record(QString(), AnswerStatus::Empty)
                                           : bestRecord(*text, matcher.answer(*text)));
            } else {
                QString answer = *text + QLatin1Char('\t');
                const OfficeAddressMatcher::Answer best = matcher.answer(*text);
                const AddressMatcher::Answer &found = best.area;
                if (best.office >= 0) {
                    answer += hyphenatedCode(offices().code(best.office)) + QLatin1Char('\t')
                        + officeResultText(offices(), best.office);
                } else if (const int row = found.row; row >= 0) {
                    answer += hyphenatedCode(m_table.zipCode(row)) + QLatin1Char('\t')
                        + m_table.prefName(row).toString() + m_table.cityName(row) + wholeTownField(m_table, row);
                } else if (!text->trimmed().isEmpty()) {
                    answer += QLatin1Char('\t') + whyNoCode(m_table, found);
                } else {
                    answer += QLatin1Char('\t');
                }
                put(answer + QLatin1Char('\n'));
            }
            status = std::max(status, answered(line, lineStatus));
        }
        return status;
    }

    const QueryOptions &m_options;
    const QueryStreams &m_streams;
    const QueryTexts &m_texts;
    const PostalTable &m_table;
    const QString m_officePath;
    std::optional<OfficeReadResult> m_offices;
    const SettingsStore &m_settings;
    std::unique_ptr<QHash<QString, std::vector<int>>> m_officeCodes;
    const bool m_structured;
    Cp932Decoder m_cp932;
    std::array<std::unique_ptr<PostalIndex>, 3> m_indexes;
    bool m_outputFailed = false;
};

// Help and version: standard output too must take them.
int printed(const QueryStreams &streams, const QueryTexts &texts, const QString &text)
{
    if (streams.out.write(text) && streams.out.flush())
        return kQueryExitOk;
    (void)streams.err.write(
        QString(kPrefix + texts.cannotWriteOutput.arg(streams.out.errorText()) + QLatin1Char('\n')));
    (void)streams.err.flush();
    return kQueryExitError;
}

int refusedRun(const QueryStreams &streams, const QString &message)
{
    (void)streams.err.write(message);
    (void)streams.err.flush();
    return kQueryExitError;
}

} // namespace

int runQueryTool(const QStringList &arguments, QueryStreams streams, const SettingsStore &settings,
                 const QString &programFolder)
{
    const QueryTexts &texts = queryTexts(streams.language);
    const ParsedQueryArguments parsed = parseQueryArguments(arguments, texts);
    switch (parsed.action) {
    case ParsedQueryArguments::Action::Refuse:
        return refusedRun(streams, kPrefix + parsed.refusal + QLatin1Char('\n') + texts.usage);
    case ParsedQueryArguments::Action::Help:
        return printed(streams, texts, texts.usage + texts.help);
    case ParsedQueryArguments::Action::Version:
        return printed(streams, texts, QStringLiteral("torumin-query " TORUMIN_VERSION "\n"));
    case ParsedQueryArguments::Action::Query:
        break;
    }
    const QueryOptions &options = parsed.options;
    if (options.encoding) {
        streams.out.setEncoding(*options.encoding);
        streams.err.setEncoding(*options.encoding);
    }
    if (options.words.isEmpty() && streams.inputIsTerminal)
        return refusedRun(streams, texts.usage);

    const QString listPath = options.listPath.isEmpty() ? configuredList(settings, programFolder) : options.listPath;
    if (QFileInfo(listPath).isDir())
        return refusedRun(streams, kPrefix + texts.listIsFolder.arg(listPath) + QLatin1Char('\n'));
    if (QFileInfo::exists(listPath) && !QFileInfo(listPath).isFile())
        return refusedRun(streams, kPrefix + texts.listNotAFile.arg(listPath) + QLatin1Char('\n'));
    if (!postalListExists(listPath))
        return refusedRun(streams, kPrefix + texts.listMissing.arg(listPath) + QLatin1Char('\n'));
    const ListReadResult list = readPostalListFile(listPath);
    if (list.error) {
        QString message = list.error->message;
        message.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        return refusedRun(streams, kPrefix + message + QLatin1Char('\n'));
    }
    const QString officePath = officeListPathFor(listPath, programFolder);
    if (options.office && officePath.isEmpty())
        return refusedRun(streams, kPrefix + texts.noOfficeList.arg(listPath) + QLatin1Char('\n'));
    return QueryRun(options, streams, texts, list.table, officePath, settings).run();
}

} // namespace torumin
