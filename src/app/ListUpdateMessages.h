#pragma once

#include "data/ListLayout.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace torumin {

// Why a download of the latest list came to nothing.
enum class ListUpdateFailure {
    NoNetwork,          // no connection to the server at all
    HttpStatus,         // the server answered with an error status
    Timeout,            // the server stopped sending
    TooSlow,            // the server sends, but too little to ever finish
    TooManyRedirects,   // the server sends the program round in circles
    BadCompression,     // the server's compressed answer could not be unpacked
    ConnectionLost,     // the connection broke before the end
    NotSecure,          // the HTTPS connection could not be made safely
    TooLarge,           // more data than any list, cut off
    CannotSave,         // the data folder cannot take the file (disk full, no permission)
    NotAList,           // not a zip archive with one readable list
    TooFewRecords,      // a list, but not the nationwide one
    PrefectureMissing,  // a list without some prefectures
};

struct ListUpdateError {
    ListUpdateFailure code;
    QString reason;  // the user's text for what went wrong
};

// One maker per failure, so that each reason reads the same wherever it is
// found. systemText is what the system or the server said, shown in brackets.
namespace ListUpdateErrors {
ListUpdateError noNetwork(const QString &systemText);
ListUpdateError httpStatus(int status, const QString &phrase);
ListUpdateError timeout(int seconds);
ListUpdateError tooSlow(qint64 minimumBytes, int seconds);
ListUpdateError tooManyRedirects();
ListUpdateError badCompression();
ListUpdateError connectionLost(const QString &systemText);
ListUpdateError notSecure(const QString &systemText);
ListUpdateError tooLarge(ListKind kind, qint64 limitBytes);
ListUpdateError cannotSave(const QString &folder, const QString &systemText, bool diskFull);
ListUpdateError notAList(ListKind kind, const QString &why);
ListUpdateError tooFewRecords(ListKind kind, int count, int required);
ListUpdateError prefecturesMissing(const QStringList &names);
} // namespace ListUpdateErrors

// The message boxes: a failure, and a list no newer than the one in use.
// The office list is fetched after a new postal list, which its failure
// leaves in place.
[[nodiscard]] QString listUpdateFailedMessage(const ListUpdateError &error, ListKind kind = ListKind::Postal);
[[nodiscard]] QString listUpToDateMessage(QDate dataDate);
[[nodiscard]] QString listUpdateTitle();

} // namespace torumin
