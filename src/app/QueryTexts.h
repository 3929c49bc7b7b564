#pragma once

#include "app/MessageLanguage.h"

#include <QString>

namespace torumin {

// torumin-query's own words, in each language it speaks. Texts with %1 take
// an argument.
struct QueryTexts {
    QString usage;   // the synopsis: the lead word, then one form a line
    QString help;    // what --help prints after the usage
    QString unknownOption;
    QString optionNeedsValue;
    QString optionTakesNoValue;
    QString unknownFormat;
    QString unknownEncoding;
    QString bestNeedsCandidates;
    QString candidatesTakeOneAddress;
    QString allNeedsCodeOrNames;
    QString codeOrNames;          // the query words are neither
    QString lineHoldsCodeOrNames; // the same for a line of input
    QString listMissing;
    QString listIsFolder;
    QString listNotAFile;         // a pipe, a device
    QString officeGoesAlone;
    QString noOfficeList;
    QString officeListUnreadable;
    QString candidatesButNoneForSure;
    QString onLine;               // "line %1: " before a complaint about a line
    QString notUtf8;
    QString notCp932;
    QString neitherEncoding;
    QString cannotWriteOutput;
    QString replacedCharacters;
};

[[nodiscard]] const QueryTexts &queryTexts(MessageLanguage language);

} // namespace torumin
