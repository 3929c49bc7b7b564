#include "app/QueryTool.h"

#include "app/Module1.h"
#include "app/SettingsKeys.h"
#include "app/settings/SettingsStore.h"
#include "data/PostalListReader.h"
#include "search/Candidates.h"
#include "search/PostalLookup.h"

#include <QTextStream>

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
    "       torumin-query [--list FILE] [--kana] CITY TOWN\n"
    "       torumin-query [--list FILE] [--kana]    (queries on standard input: a code, or city<TAB>town)\n"
    "       torumin-query [--list FILE] --candidates [--best] ADDRESS\n");

std::optional<QueryArguments> parseArguments(const QStringList &arguments, QTextStream &err)
{
    QueryArguments parsed;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--list")) {
            if (i + 1 >= arguments.size()) {
                err << "torumin-query: --list needs a file\n" << kUsage;
                return std::nullopt;
            }
            parsed.listPath = arguments.at(++i);
        } else if (argument == QLatin1String("--kana")) {
            parsed.kana = true;
        } else if (argument == QLatin1String("--candidates")) {
            parsed.candidates = true;
        } else if (argument == QLatin1String("--best")) {
            parsed.best = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            err << kUsage;
            return std::nullopt;
        } else if (argument.startsWith(QLatin1String("--"))) {
            err << "torumin-query: unknown option " << argument << '\n' << kUsage;
            return std::nullopt;
        } else {
            parsed.words.append(argument);
        }
    }
    if (parsed.best && !parsed.candidates) {
        err << "torumin-query: --best goes with --candidates\n" << kUsage;
        return std::nullopt;
    }
    if (parsed.candidates) {
        if (parsed.words.size() != 1 || parsed.kana) {
            err << "torumin-query: --candidates takes one address\n" << kUsage;
            return std::nullopt;
        }
        return parsed;
    }
    const bool codeQuery = parsed.words.size() == 1 && !parsed.kana;
    if (!(parsed.words.isEmpty() || codeQuery || parsed.words.size() == 2)) {
        err << "torumin-query: give a code, or a city and a town\n" << kUsage;
        return std::nullopt;
    }
    return parsed;
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

int printCandidates(const PostalTable &table, const QString &address, bool bestOnly, const SettingsStore &settings,
                    QueryStreams streams)
{
    const SplitAddress split = splitAddress(address);
    std::vector<int> rows = candidateRows(table, split);
    if (bestOnly) {
        const int best = bestCandidateRow(table, rows, split, address);
        rows = best < 0 ? std::vector<int>{} : std::vector<int>{best};
    }
    const QStringList lines = candidateLines(table, rows, split.prefecture, storedFormat(settings));
    if (lines.isEmpty()) {
        streams.err << "torumin-query: " << kNoCandidatesMessage << '\n';
        return kQueryExitNoResult;
    }
    for (const QString &line : lines)
        streams.out << line << '\n';
    return kQueryExitOk;
}

QString answer(const PostalTable &table, const QStringList &query, bool kana)
{
    if (query.size() == 1)
        return addressResultText(table, query.front());
    return codeResultText(table, QString(), query.at(0), query.at(1), kana ? AddressScript::Kana : AddressScript::Kanji);
}

} // namespace

int runQueryTool(const QStringList &arguments, QueryStreams streams, const SettingsStore &settings,
                 const QString &programFolder)
{
    const std::optional<QueryArguments> parsed = parseArguments(arguments, streams.err);
    if (!parsed)
        return kQueryExitError;

    const QString listPath = parsed->listPath.isEmpty() ? configuredList(settings, programFolder) : parsed->listPath;
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

    if (parsed->candidates)
        return printCandidates(list.table, parsed->words.front(), parsed->best, settings, streams);
    if (!parsed->words.isEmpty()) {
        streams.out << answer(list.table, parsed->words, parsed->kana) << '\n';
        return kQueryExitOk;
    }
    QString line;
    while (streams.in.readLineInto(&line)) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QStringList query = line.split(QLatin1Char('\t'));
        if (query.size() > 2) {
            streams.err << "torumin-query: a line holds a code, or a city and a town separated by a tab: " << line
                        << '\n';
            streams.out << '\n';
            continue;
        }
        streams.out << answer(list.table, query, parsed->kana) << '\n';
    }
    return kQueryExitOk;
}

} // namespace torumin
