#include "app/QueryOptions.h"

#include "app/QueryTexts.h"

#include <array>
#include <utility>

namespace torumin {

namespace {

using Parsed = ParsedQueryArguments;

Parsed refuse(const QString &why)
{
    Parsed parsed;
    parsed.action = Parsed::Action::Refuse;
    parsed.refusal = why;
    return parsed;
}

std::optional<AnswerFormat> formatNamed(const QString &name)
{
    static const std::array<std::pair<const char *, AnswerFormat>, 4> kFormats{{
        {"text", AnswerFormat::Text},
        {"tsv", AnswerFormat::Tsv},
        {"csv", AnswerFormat::Csv},
        {"json", AnswerFormat::Json},
    }};
    for (const auto &[word, format] : kFormats) {
        if (name.compare(QLatin1String(word), Qt::CaseInsensitive) == 0)
            return format;
    }
    return std::nullopt;
}

std::optional<TextEncoding> encodingNamed(const QString &name)
{
    const QString lower = name.toLower();
    if (lower == QLatin1String("utf-8") || lower == QLatin1String("utf8"))
        return TextEncoding::Utf8;
    if (lower == QLatin1String("cp932"))
        return TextEncoding::Cp932;
    return std::nullopt;
}

// The combinations that make a query, once every argument is read.
Parsed checked(Parsed parsed, const QueryTexts &texts)
{
    const QueryOptions &o = parsed.options;
    if (o.office && (o.candidates || o.kana || o.all || !o.words.isEmpty()))
        return refuse(texts.officeGoesAlone);
    if (o.office)
        return parsed;
    if (o.best && !o.candidates)
        return refuse(texts.bestNeedsCandidates);
    if (o.candidates) {
        if (o.all)
            return refuse(texts.allNeedsCodeOrNames);
        if (o.kana || o.words.size() > 1 || (o.words.isEmpty() && !o.best))
            return refuse(texts.candidatesTakeOneAddress);
        return parsed;
    }
    if (o.words.size() > 3 || (o.words.size() == 1 && o.kana))
        return refuse(texts.codeOrNames);
    return parsed;
}

} // namespace

ParsedQueryArguments parseQueryArguments(const QStringList &arguments, const QueryTexts &texts)
{
    Parsed parsed;
    QueryOptions &o = parsed.options;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (optionsEnded || argument == QLatin1String("-") || !argument.startsWith(QLatin1Char('-'))) {
            o.words.append(argument);
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const QString name = argument.startsWith(QLatin1String("--")) && equals > 0 ? argument.left(equals) : argument;
        const std::optional<QString> attached =
            name.size() < argument.size() ? std::optional<QString>(argument.mid(equals + 1)) : std::nullopt;

        bool *flag = nullptr;
        if (name == QLatin1String("--kana"))
            flag = &o.kana;
        else if (name == QLatin1String("--candidates"))
            flag = &o.candidates;
        else if (name == QLatin1String("--best"))
            flag = &o.best;
        else if (name == QLatin1String("--all"))
            flag = &o.all;
        const bool help = name == QLatin1String("--help") || name == QLatin1String("-h");
        const bool version = name == QLatin1String("--version");
        if (flag || help || version) {
            if (attached)
                return refuse(texts.optionTakesNoValue.arg(name));
            if (help || version) {
                parsed.action = help ? Parsed::Action::Help : Parsed::Action::Version;
                return parsed;
            }
            *flag = true;
            continue;
        }

        if (name != QLatin1String("--list") && name != QLatin1String("--format")
            && name != QLatin1String("--encoding") && name != QLatin1String("--office"))
            return refuse(texts.unknownOption.arg(name));
        QString value;
        if (attached) {
            value = *attached;
        } else if (i + 1 < arguments.size()) {
            value = arguments.at(++i);
        } else {
            return refuse(texts.optionNeedsValue.arg(name));
        }
        if (name == QLatin1String("--list")) {
            if (value.isEmpty())
                return refuse(texts.optionNeedsValue.arg(name));
            o.listPath = value;
        } else if (name == QLatin1String("--office")) {
            o.office = value;
        } else if (name == QLatin1String("--format")) {
            const std::optional<AnswerFormat> format = formatNamed(value);
            if (!format)
                return refuse(texts.unknownFormat.arg(value));
            o.format = *format;
        } else {
            o.encoding = encodingNamed(value);
            if (!o.encoding)
                return refuse(texts.unknownEncoding.arg(value));
        }
    }
    return checked(std::move(parsed), texts);
}

} // namespace torumin
