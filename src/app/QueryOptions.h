#pragma once

#include "data/TextEncoding.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace torumin {

struct QueryTexts;

// How torumin-query writes its answers: as the result box shows them, or
// their fields in one of three forms programs read.
enum class AnswerFormat { Text, Tsv, Csv, Json };

struct QueryOptions {
    QString listPath;
    bool kana = false;
    bool candidates = false;
    bool best = false;
    bool all = false;
    AnswerFormat format = AnswerFormat::Text;
    std::optional<TextEncoding> encoding;  // none: input in either, output UTF-8
    QStringList words;                     // the query
    std::optional<QString> office;         // --office: part of a large office's name
};

struct ParsedQueryArguments {
    enum class Action { Query, Help, Version, Refuse };
    Action action = Action::Query;
    QueryOptions options;
    QString refusal;  // why, for Refuse
};

// The arguments as GNU programs take them: --name=VALUE or --name VALUE,
// options anywhere among the query words, "--" ending the options, and
// anything else that starts with "-" (but "-" itself) an unknown option.
// --help and --version answer at once, whatever follows them.
[[nodiscard]] ParsedQueryArguments parseQueryArguments(const QStringList &arguments, const QueryTexts &texts);

} // namespace torumin
