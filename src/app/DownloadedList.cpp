#include "app/DownloadedList.h"

#include "app/Options.h"
#include "data/PostalListReader.h"
#include "data/ZipEntrySource.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <array>
#include <utility>

namespace torumin {

namespace {

constexpr std::array<QStringView, 47> kPrefectures{
    u"北海道", u"青森県", u"岩手県", u"宮城県", u"秋田県", u"山形県", u"福島県", u"茨城県", u"栃木県", u"群馬県",
    u"埼玉県", u"千葉県", u"東京都", u"神奈川県", u"新潟県", u"富山県", u"石川県", u"福井県", u"山梨県", u"長野県",
    u"岐阜県", u"静岡県", u"愛知県", u"三重県", u"滋賀県", u"京都府", u"大阪府", u"兵庫県", u"奈良県", u"和歌山県",
    u"鳥取県", u"島根県", u"岡山県", u"広島県", u"山口県", u"徳島県", u"香川県", u"愛媛県", u"高知県", u"福岡県",
    u"佐賀県", u"長崎県", u"熊本県", u"大分県", u"宮崎県", u"鹿児島県", u"沖縄県"};

const QString kNamePattern = QStringLiteral("^ken_all-(\\d{8})\\.zip$");

// What the reader found wrong, in the words of this message.
QString readerProblem(const ListError &error, ListKind kind)
{
    const QString list = kind == ListKind::Office ? QStringLiteral("事業所の個別郵便番号一覧") : QStringLiteral("郵便番号一覧");
    switch (error.code) {
    case ListErrorCode::NotCp932:
    case ListErrorCode::NotUtf8:
        return QStringLiteral("%1 バイト目に、%2の文字ではないバイトがあります").arg(error.byteOffset).arg(list);
    case ListErrorCode::Truncated:
        return list + QStringLiteral("が途中で終わっています");
    case ListErrorCode::MalformedLine:
        return list + QStringLiteral("の形になっていない行があります");
    case ListErrorCode::NoRecords:
        return QStringLiteral("郵便番号が 1 件も入っていません");
    case ListErrorCode::TooLarge:
        return QStringLiteral("展開すると大きすぎます");
    case ListErrorCode::ArchiveEncrypted:
        return QStringLiteral("パスワードがかかっています");
    case ListErrorCode::ArchiveUnsupported:
        return QStringLiteral("圧縮の方式に対応していません");
    case ListErrorCode::NoListInArchive:
        return QStringLiteral("一覧（.csv）が入っていません");
    case ListErrorCode::SeveralListsInArchive:
        return QStringLiteral("一覧（.csv）が複数入っています");
    case ListErrorCode::CannotOpen:
    case ListErrorCode::ReadFailed:
    case ListErrorCode::ArchiveDamaged:
        break;
    }
    return QStringLiteral("zip ファイルが壊れています");
}

} // namespace

QUrl latestOfficeListUrl(const Options &options)
{
    const QString configured = options.value(QStringLiteral("JigyosyoUrl")).trimmed();
    return QUrl(configured.isEmpty() ? kLatestOfficeListUrl : configured);
}

QUrl latestListUrl(const Options &options)
{
    const QString configured = options.value(QStringLiteral("ListUrl")).trimmed();
    return QUrl(configured.isEmpty() ? kLatestListUrl : configured);
}

QString downloadedListsFolder()
{
    return QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                                    + QStringLiteral("/TORUMIN"));
}

QString downloadedListName(QDate dataDate)
{
    return QStringLiteral("ken_all-") + dataDate.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".zip");
}

std::optional<QDate> downloadedListDate(const QString &fileName)
{
    static const QRegularExpression pattern(kNamePattern);
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date = QDate::fromString(match.captured(1), QStringLiteral("yyyyMMdd"));
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

QStringList downloadedListsToRemove(const QStringList &fileNames, const QStringList &inUse, int kept)
{
    std::vector<std::pair<QDate, QString>> lists;
    for (const QString &name : fileNames) {
        if (const std::optional<QDate> date = downloadedListDate(name))
            lists.emplace_back(*date, name);
    }
    std::sort(lists.begin(), lists.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    QStringList remove;
    for (std::size_t i = static_cast<std::size_t>(std::max(kept, 0)); i < lists.size(); ++i) {
        if (!inUse.contains(lists[i].second))
            remove.append(lists[i].second);
    }
    return remove;
}

CheckedList checkDownloadedList(const QString &path, const ListCheckLimits &limits, ListKind kind)
{
    CheckedList checked;
    {
        QFile file(path);
        const QByteArray head = file.open(QIODevice::ReadOnly) ? file.read(4) : QByteArray();
        // A proxy's or a portal's web page, most likely.
        if (!startsLikeZipArchive(std::string_view(head.constData(), static_cast<std::size_t>(head.size())))) {
            checked.error = ListUpdateErrors::notAList(kind, QStringLiteral("zip 形式ではありません"));
            return checked;
        }
    }
    const ZipListSummary archive = summarizeListArchive(path);
    if (!archive.readable) {
        checked.error = ListUpdateErrors::notAList(kind, QStringLiteral("zip ファイルが壊れています（") + archive.errorText
                                                   + QStringLiteral("）"));
        return checked;
    }
    if (archive.csvEntries != 1) {
        checked.error = ListUpdateErrors::notAList(kind, 
            archive.csvEntries == 0 ? QStringLiteral("一覧（.csv）が入っていません")
                                    : QStringLiteral("一覧（.csv）が %1 個入っています").arg(archive.csvEntries));
        return checked;
    }
    if (!archive.entryTime.isValid()) {
        checked.error = ListUpdateErrors::notAList(kind, QStringLiteral("一覧の日付が記録されていません"));
        return checked;
    }
    checked.dataDate = archive.entryTime.date();

    const ListReadResult list = readListFile(path, layoutOf(kind));
    if (list.error) {
        checked.error = ListUpdateErrors::notAList(kind, readerProblem(*list.error, kind));
        return checked;
    }
    checked.recordCount = list.table.recordCount();
    if (checked.recordCount < limits.minRecords) {
        checked.error = ListUpdateErrors::tooFewRecords(kind, checked.recordCount, limits.minRecords);
        return checked;
    }
    if (kind == ListKind::Office)
        return checked;
    QSet<QStringView> found;
    for (int row = 0; row < checked.recordCount; ++row)
        found.insert(list.table.prefName(row));
    QStringList missing;
    for (const QStringView prefecture : kPrefectures) {
        if (!found.contains(prefecture))
            missing.append(prefecture.toString());
    }
    if (!missing.isEmpty())
        checked.error = ListUpdateErrors::prefecturesMissing(missing);
    return checked;
}

} // namespace torumin
