#pragma once

#include "app/ListUpdateMessages.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace torumin {

class Options;

// The postal service's nationwide list in its UTF-8 edition, whose town
// names are never split over several records.
inline const QString kLatestListUrl = QStringLiteral("https://www.post.japanpost.jp/zipcode/dl/utf/zip/utf_ken_all.zip");

// The list is about 2 MB zipped; a server sending this much is sending
// something else, or never stops.
inline constexpr qint64 kMaxDownloadBytes = 64LL * 1024 * 1024;

// How many downloaded lists are kept in the data folder.
inline constexpr int kDownloadedListsKept = 3;

// The address the download fetches: the ListUrl option, which only a hand
// edit of the settings sets (a mirror, a local test server), or else the
// postal service's.
[[nodiscard]] QUrl latestListUrl(const Options &options);

// Where downloaded lists are kept: the user's data folder for the program
// ($XDG_DATA_HOME/TORUMIN, %LOCALAPPDATA%\TORUMIN), in native separators.
[[nodiscard]] QString downloadedListsFolder();

// "ken_all-20251031.zip": a downloaded list is named after its data's date,
// so the folder sorts by it and a second download of the same data lands on
// the same file.
[[nodiscard]] QString downloadedListName(QDate dataDate);
[[nodiscard]] std::optional<QDate> downloadedListDate(const QString &fileName);

// Which of a folder's files go when a new list has come: every downloaded
// list but the newest `kept`, sparing the names in `inUse`. Files the
// program did not name are never touched.
[[nodiscard]] QStringList downloadedListsToRemove(const QStringList &fileNames, const QStringList &inUse,
                                                  int kept = kDownloadedListsKept);

// The postal service's list of large offices, fetched with the nationwide
// list and placed beside it under the name the program looks for there.
inline const QString kLatestOfficeListUrl =
    QStringLiteral("https://www.post.japanpost.jp/zipcode/dl/jigyosyo/zip/jigyosyo.zip");
inline const QString kDownloadedOfficeListName = QStringLiteral("jigyosyo.zip");

// The office list's address: JigyosyoUrl, set only by hand like ListUrl, or
// the postal service's.
[[nodiscard]] QUrl latestOfficeListUrl(const Options &options);

// How much a downloaded list must hold before it may replace anything.
struct ListCheckLimits {
    int minRecords = 100000;
};
inline constexpr ListCheckLimits kOfficeListCheckLimits{10000};

struct CheckedList {
    QDate dataDate;       // its archive entry's date
    int recordCount = 0;
    std::optional<ListUpdateError> error;
};

// A downloaded file, checked before it may replace anything: a zip archive
// holding exactly one list, which the program's own reader reads to the end
// without a fault, with at least limits.minRecords records and, for the
// postal-code list, every one of the 47 prefectures.
[[nodiscard]] CheckedList checkDownloadedList(const QString &path, const ListCheckLimits &limits = {},
                                              ListKind kind = ListKind::Postal);

} // namespace torumin
