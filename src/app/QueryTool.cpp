#include "app/QueryTool.h"

#include "app/Module1.h"
#include "app/SettingsKeys.h"
#include "app/settings/SettingsStore.h"
#include "data/PostalListReader.h"
#include "search/AddressMatcher.h"
#include "search/Candidates.h"
#include "search/KanaWidth.h"
#include "search/PickLists.h"
#include "search/PostalCodeCheck.h"
#include "search/PostalLookup.h"
#include "search/TownNote.h"

#include <QTextStream>

#include <algorithm>
#include <optional>

namespace torumin {

namespace {

struct QueryArguments {
    QString listPath;
    bool kana = false;
    bool candidates = false;
    bool best = false;
    QStringList words;
};

const QString kUsage = QStringLiteral(
    "usage: torumin-query [--list FILE] CODE\n"
    "       torumin-query [--list FILE] [--kana] [PREFECTURE] CITY TOWN\n"
    "       torumin-query [--list FILE] [--kana] < QUERIES\n"
    "       torumin-query [--list FILE] --candidates ADDRESS\n"
    "       torumin-query [--list FILE] --candidates --best [ADDRESS | < ADDRESSES]\n"
    "       torumin-query --help | --version\n");

const QString kHelp = QStringLiteral(
    "\n"
    "Looks up Japanese postal codes and addresses in the postal-code list, offline,\n"
    "and prints what the program's result box would show.\n"
    "\n"
    "  CODE                 a postal code: 1000005, 100-0005, 〒100-0005, full-width digits\n"
    "  PREFECTURE CITY TOWN the names as the list writes them; without the prefecture,\n"
    "                       the first match in any prefecture\n"
    "  QUERIES              one a line: CODE, CITY<TAB>TOWN or PREFECTURE<TAB>CITY<TAB>TOWN\n"
    "  --list FILE          the list to search (KEN_ALL.CSV layout, CSV or zip);\n"
    "                       default: the list selected in the program's settings\n"
    "  --kana               the names are kana readings, in half- or full-width katakana\n"
    "  --candidates ADDRESS every town area of the address's prefecture and city, as the\n"
    "                       candidate window lists them\n"
    "  --best               only the candidate the address names; with no ADDRESS, one\n"
    "                       address a line on standard input, each answered with one line:\n"
    "                       ADDRESS<TAB>nnn-nnnn<TAB>matched address; with no code, the\n"
    "                       third column says why (several codes: …, several cities: …)\n"
    "  --help               this text\n"
    "  --version            the version\n"
    "\n"
    "Exit status: 0 found; 1 a search found nothing (its text is still printed);\n"
    "2 bad input or arguments, or the list cannot be read. Lines on standard input\n"
    "give the highest status of any line; --best on standard input gives 0 unless\n"
    "the list cannot be read.\n");

enum class Parsed { Query, Help, Version, Error };

Parsed parseArguments(const QStringList &arguments, QueryArguments &parsed, QTextStream &err)
{
    const auto refuse = [&err](const QString &why) {
        err << "torumin-query: " << why << '\n' << kUsage;
        return Parsed::Error;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--list")) {
            if (i + 1 >= arguments.size())
                return refuse(QStringLiteral("--list needs a file"));
            parsed.listPath = arguments.at(++i);
        } else if (argument == QLatin1String("--kana")) {
            parsed.kana = true;
        } else if (argument == QLatin1String("--candidates")) {
            parsed.candidates = true;
        } else if (argument == QLatin1String("--best")) {
            parsed.best = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            return Parsed::Help;
        } else if (argument == QLatin1String("--version")) {
            return Parsed::Version;
        } else if (argument.startsWith(QLatin1String("--"))) {
            return refuse(QStringLiteral("unknown option ") + argument);
        } else {
            parsed.words.append(argument);
        }
    }
    if (parsed.best && !parsed.candidates)
        return refuse(QStringLiteral("--best goes with --candidates"));
    if (parsed.candidates) {
        if (parsed.kana || parsed.words.size() > 1 || (parsed.words.isEmpty() && !parsed.best))
            return refuse(QStringLiteral("--candidates takes one address (--best: or one a line on standard input)"));
        return Parsed::Query;
    }
    if (parsed.words.size() > 3 || (parsed.words.size() == 1 && parsed.kana))
        return refuse(QStringLiteral("give a code, or a city and a town, with or without the prefecture"));
    return Parsed::Query;
}

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
    return CandidateFormat::fromOptions(options);
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

struct Answer {
    QString text;
    int status = kQueryExitOk;
};

Answer refused(QTextStream &err, const QStringList &messages)
{
    for (const QString &message : messages)
        err << "torumin-query: " << message << '\n';
    return {QString(), kQueryExitError};
}

// One query: a code, or [prefecture] city town.
Answer answer(const PostalTable &table, const QStringList &query, bool kana, QTextStream &err)
{
    if (query.size() == 1) {
        const CodeText code = readCode(query.front());
        if (!code.messages.isEmpty())
            return refused(err, code.messages);
        const QString text = addressResultText(table, code.code);
        return {text, text == kCodeNotFound ? kQueryExitNoResult : kQueryExitOk};
    }
    const AddressScript script = kana ? AddressScript::Kana : AddressScript::Kanji;
    QStringList names = query;
    if (kana) {
        for (QString &name : names)
            name = toHalfWidthKatakana(name);
    }
    const QString prefecture = names.size() == 3 ? names.takeFirst() : QString();
    if (const auto missing = checkAddress(script, names.at(0), names.at(1)))
        return refused(err, {missing->text});
    const QString text = codeResultText(table, prefecture, names.at(0), names.at(1), script);
    return {text, text == kAddressNotFound ? kQueryExitNoResult : kQueryExitOk};
}

int answerLines(const PostalTable &table, bool kana, QueryStreams streams)
{
    int status = kQueryExitOk;
    QString line;
    while (streams.in.readLineInto(&line)) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty()) {
            streams.out << '\n';
            continue;
        }
        const QStringList query = line.split(QLatin1Char('\t'));
        Answer result;
        if (query.size() > 3 || (query.size() == 1 && kana)) {
            streams.err << "torumin-query: a line holds a code, or a city and a town (and the prefecture before "
                           "them) separated by tabs: "
                        << line << '\n';
            result.status = kQueryExitError;
        } else {
            result = answer(table, query, kana, streams.err);
        }
        streams.out << result.text << '\n';
        status = std::max(status, result.status);
    }
    return status;
}

int printCandidates(const PostalTable &table, const QString &address, bool bestOnly, const SettingsStore &settings,
                    QueryStreams streams)
{
    const SplitAddress split = splitAddress(address);
    const std::vector<int> rows = candidateRows(table, split);
    const CandidateFormat format = storedFormat(settings);
    if (bestOnly) {
        // Beyond the window's rules: the city as it may be written, with or
        // without the prefecture or county.
        const int best = AddressMatcher(table).bestRow(address);
        if (best >= 0) {
            streams.out << candidateLine(table, best, table.prefName(best).toString(), format) << '\n';
            return kQueryExitOk;
        }
        if (!rows.empty()) {
            streams.err << "torumin-query: " << rows.size()
                        << " candidates, but none that the address names for sure (--candidates without --best "
                           "lists them all)\n";
            return kQueryExitNoResult;
        }
    }
    const QStringList lines = candidateLines(table, rows, split.prefecture, format);
    if (lines.isEmpty()) {
        streams.err << "torumin-query: " << kNoCandidatesMessage << '\n';
        return kQueryExitNoResult;
    }
    for (const QString &line : lines)
        streams.out << line << '\n';
    return kQueryExitOk;
}

// Why an address has no code, for the batch's third column.
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

// Every line an address; every answer a line: the address, its code and the
// address that code stands for, separated by tabs; without a code, why not.
int printBestOfLines(const PostalTable &table, QueryStreams streams)
{
    const AddressMatcher matcher(table);
    QString line;
    while (streams.in.readLineInto(&line)) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        streams.out << line << '\t';
        const AddressMatcher::Answer answer = matcher.answer(line);
        if (answer.row >= 0) {
            const QString town = wholeTownField(table, answer.row);
            streams.out << hyphenatedCode(table.zipCode(answer.row)) << '\t' << table.prefName(answer.row)
                        << table.cityName(answer.row) << town;
        } else if (!line.trimmed().isEmpty()) {
            streams.out << '\t' << whyNoCode(table, answer);
        } else {
            streams.out << '\t';
        }
        streams.out << '\n';
    }
    return kQueryExitOk;
}

} // namespace

int runQueryTool(const QStringList &arguments, QueryStreams streams, const SettingsStore &settings,
                 const QString &programFolder)
{
    QueryArguments parsed;
    switch (parseArguments(arguments, parsed, streams.err)) {
    case Parsed::Error:
        return kQueryExitError;
    case Parsed::Help:
        streams.out << kUsage << kHelp;
        return kQueryExitOk;
    case Parsed::Version:
        streams.out << "torumin-query " << TORUMIN_VERSION << '\n';
        return kQueryExitOk;
    case Parsed::Query:
        break;
    }
    if (parsed.words.isEmpty() && streams.inputIsTerminal) {
        streams.err << kUsage;
        return kQueryExitError;
    }

    const QString listPath = parsed.listPath.isEmpty() ? configuredList(settings, programFolder) : parsed.listPath;
    if (!postalListExists(listPath)) {
        streams.err << "torumin-query: the postal-code list " << listPath << " does not exist (or is hidden)\n";
        return kQueryExitError;
    }
    ListReadResult list = readPostalListFile(listPath);
    if (list.error) {
        QString message = list.error->message;
        message.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        streams.err << "torumin-query: " << message << '\n';
        return kQueryExitError;
    }

    if (parsed.candidates && parsed.words.isEmpty())
        return printBestOfLines(list.table, streams);
    if (parsed.candidates)
        return printCandidates(list.table, parsed.words.front(), parsed.best, settings, streams);
    if (parsed.words.isEmpty())
        return answerLines(list.table, parsed.kana, streams);
    const Answer result = answer(list.table, parsed.words, parsed.kana, streams.err);
    if (result.status != kQueryExitError)
        streams.out << result.text << '\n';
    return result.status;
}

} // namespace torumin
