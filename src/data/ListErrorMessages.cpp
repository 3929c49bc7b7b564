#include "data/ListErrorMessages.h"

#include <QDir>

#include <algorithm>

namespace torumin {

namespace {

// The program's message boxes separate their lines with two CRs.
constexpr QStringView kLineBreak = u"\r\r";

// How the messages name the list.
QString listName(ListKind kind)
{
    return kind == ListKind::Office ? QStringLiteral("事業所の個別郵便番号一覧") : QStringLiteral("郵便番号一覧");
}

QString compose(ListKind kind, const QString &path, const QString &reason)
{
    const QString heading = kind == ListKind::Office
        ? QStringLiteral("「事業所の個別郵便番号一覧 *.CSV」 を読み込めませんでした。\u3000")
        : QStringLiteral("指定された 「郵便番号一覧 *.CSV」 を読み込めませんでした。\u3000");
    return heading % kLineBreak % QDir::toNativeSeparators(path) % kLineBreak % reason;
}

QString withKeptCount(ListKind kind, const QString &path, const QString &reason, int keptRecords)
{
    const QString kept = keptRecords > 0
        ? QStringLiteral("問題の箇所より前の %1 件だけを読み込みました。").arg(keptRecords)
        : QStringLiteral("読み込めた郵便番号はありません。");
    return compose(kind, path, reason % kLineBreak % kept);
}

QString withSystemText(const QString &reason, const QString &systemText)
{
    if (systemText.isEmpty())
        return reason;
    return reason % u"（" % systemText % u"）";
}

// The value itself when it can be shown as it is, so the user can find the
// line; binary junk or a long text would only bury the message.
QString quotedValue(std::string_view value)
{
    constexpr std::size_t kLongest = 16;
    const bool printable = std::all_of(value.begin(), value.end(),
                                       [](char c) { return c >= 0x20 && c < 0x7F; });
    if (value.empty() || value.size() > kLongest || !printable)
        return {};
    return u"「" % QString::fromLatin1(value.data(), static_cast<qsizetype>(value.size())) % u"」";
}

QString badValueReason(ListKind kind, std::int64_t line, const QString &what, std::string_view value, int digits)
{
    return QStringLiteral("%1 行目の%2%3が %4 桁の数字ではありません。%5ではないか、壊れている可能性があります。")
        .arg(line)
        .arg(what, quotedValue(value))
        .arg(digits)
        .arg(listName(kind));
}

} // namespace

ListError cannotOpenError(ListKind kind, const QString &path, FileByteSource::OpenStatus status,
                          const QString &systemText)
{
    QString reason;
    switch (status) {
    case FileByteSource::OpenStatus::Missing:
        reason = QStringLiteral("ファイルが見つかりません。削除されたか、名前や場所が変わった可能性があります。");
        break;
    case FileByteSource::OpenStatus::IsFolder:
        reason = QStringLiteral("指定されたのはフォルダーです。%1のファイルを指定してください。").arg(listName(kind));
        break;
    case FileByteSource::OpenStatus::NotRegularFile:
        reason = QStringLiteral("普通のファイルではありません（パイプやデバイスなどは読み込めません）。");
        break;
    case FileByteSource::OpenStatus::NoPermission:
        reason = QStringLiteral("ファイルを読む権限がありません。");
        break;
    case FileByteSource::OpenStatus::Opened:
    case FileByteSource::OpenStatus::OtherError:
        reason = withSystemText(QStringLiteral("ファイルを開けませんでした。"), systemText);
        break;
    }
    return {ListErrorCode::CannotOpen, 0, compose(kind, path, reason)};
}

ListError tooLargeError(ListKind kind, const QString &path, std::int64_t size)
{
    const QString reason =
        QStringLiteral("ファイルが大きすぎます（%1 バイト）。%3として読み込めるのは %2 MB までです。")
            .arg(size)
            .arg(kMaxListFileBytes / (1024 * 1024))
            .arg(listName(kind));
    return {ListErrorCode::TooLarge, 0, compose(kind, path, reason)};
}

ListError readFailedError(ListKind kind, const QString &path, std::int64_t offset, const QString &systemText,
                          int keptRecords)
{
    const QString reason =
        withSystemText(QStringLiteral("読み込みの途中でエラーが起きました。"), systemText);
    return {ListErrorCode::ReadFailed, offset, withKeptCount(kind, path, reason, keptRecords)};
}

ListError outOfMemoryError(ListKind kind, const QString &path, std::int64_t offset, int keptRecords)
{
    const QString reason = QStringLiteral("メモリーが足りず、読み込みを続けられませんでした。");
    return {ListErrorCode::ReadFailed, offset, withKeptCount(kind, path, reason, keptRecords)};
}

ListError noConverterError(ListKind kind, const QString &path)
{
    const QString reason =
        QStringLiteral("このコンピューターでは Shift_JIS（Windows のコード ページ 932）の文字を変換できません。");
    return {ListErrorCode::ReadFailed, 0, compose(kind, path, reason)};
}

ListError notCp932Error(ListKind kind, const QString &path, std::int64_t offset, int keptRecords)
{
    const QString reason =
        QStringLiteral("先頭から %1 バイト目に、Shift_JIS（Windows のコード ページ 932）の文字ではないバイトがあります。"
                       "Shift_JIS と UTF-8 のほかの文字コードで保存されていないか確かめてください。")
            .arg(offset + 1);
    return {ListErrorCode::NotCp932, offset, withKeptCount(kind, path, reason, keptRecords)};
}

ListError truncatedError(ListKind kind, const QString &path, std::int64_t offset, int keptRecords)
{
    const QString reason =
        QStringLiteral("ファイルが途中で終わっています。最後のデータは %1 項目そろう前に切れています。").arg(layoutOf(kind).fields);
    return {ListErrorCode::Truncated, offset, withKeptCount(kind, path, reason, keptRecords)};
}

ListError notUtf8Error(ListKind kind, const QString &path, std::int64_t offset, int keptRecords)
{
    const QString reason =
        QStringLiteral("先頭から %1 バイト目に、UTF-8 の文字として正しくないバイトがあります。"
                       "ファイルが壊れているか、別の文字コードの部分が混じっている可能性があります。")
            .arg(offset + 1);
    return {ListErrorCode::NotUtf8, offset, withKeptCount(kind, path, reason, keptRecords)};
}

ListError fieldCountError(ListKind kind, const QString &path, std::int64_t offset, std::int64_t line, int fields,
                          int keptRecords)
{
    const QString found = fields < 0 ? QStringLiteral("%1 行目の項目が %2 個より多くあります。").arg(line).arg(layoutOf(kind).fields)
                                     : QStringLiteral("%1 行目の項目が %2 個しかありません。").arg(line).arg(fields);
    const QString reason = found
        % QStringLiteral("%1は 1 件を 1 行に、%2 個の項目で書いています。").arg(listName(kind)).arg(layoutOf(kind).fields);
    return {ListErrorCode::MalformedLine, offset, withKeptCount(kind, path, reason, keptRecords)};
}

ListError unclosedQuoteError(ListKind kind, const QString &path, std::int64_t offset, std::int64_t line, int keptRecords)
{
    const QString reason =
        QStringLiteral("%1 行目に、引用符（\"）で始まったまま、その行のうちに閉じていない項目があります。").arg(line);
    return {ListErrorCode::MalformedLine, offset, withKeptCount(kind, path, reason, keptRecords)};
}

ListError badPostalCodeError(ListKind kind, const QString &path, std::int64_t offset, std::int64_t line,
                             std::string_view value, int keptRecords)
{
    const QString reason = badValueReason(kind, line, QStringLiteral("郵便番号"), value, 7);
    return {ListErrorCode::MalformedLine, offset, withKeptCount(kind, path, reason, keptRecords)};
}

ListError badLocalGovernmentCodeError(ListKind kind, const QString &path, std::int64_t offset, std::int64_t line,
                                      std::string_view value, int keptRecords)
{
    const QString reason = badValueReason(kind, line, QStringLiteral("全国地方公共団体コード"), value, 5);
    return {ListErrorCode::MalformedLine, offset, withKeptCount(kind, path, reason, keptRecords)};
}

ListError noRecordsError(ListKind kind, const QString &path)
{
    const QString reason =
        QStringLiteral("郵便番号のデータが 1 件もありません。空のファイルか、%1ではないファイルです。").arg(listName(kind));
    return {ListErrorCode::NoRecords, 0, compose(kind, path, reason)};
}

QString archiveEntryName(const QString &archivePath, const QString &entryName)
{
    return archivePath % u" の中の " % entryName;
}

ListError damagedArchiveError(ListKind kind, const QString &path, const QString &systemText)
{
    const QString reason = withSystemText(
        QStringLiteral("ZIP 形式の圧縮ファイルとして読めません。ファイルが壊れているか、"
                       "ダウンロードが途中で終わっている可能性があります。"),
        systemText);
    return {ListErrorCode::ArchiveDamaged, 0, compose(kind, path, reason)};
}

ListError noListInArchiveError(ListKind kind, const QString &path)
{
    const QString reason =
        QStringLiteral("圧縮ファイルの中に、%1の CSV ファイル（*.csv）がありません。").arg(listName(kind));
    return {ListErrorCode::NoListInArchive, 0, compose(kind, path, reason)};
}

ListError severalListsInArchiveError(ListKind kind, const QString &path, const QString &entries)
{
    const QString reason =
        QStringLiteral("圧縮ファイルの中に CSV ファイル（*.csv）が複数あり（%1）、どれが%2か決められません。"
                       "%2だけが入った圧縮ファイルか、展開した CSV ファイルを指定してください。")
            .arg(entries, listName(kind));
    return {ListErrorCode::SeveralListsInArchive, 0, compose(kind, path, reason)};
}

ListError encryptedEntryError(ListKind kind, const QString &entry)
{
    const QString reason =
        QStringLiteral("パスワードで保護されているため読み込めません。"
                       "パスワードのない圧縮ファイルか、展開した CSV ファイルを指定してください。");
    return {ListErrorCode::ArchiveEncrypted, 0, compose(kind, entry, reason)};
}

ListError unsupportedEntryError(ListKind kind, const QString &entry, const QString &systemText)
{
    const QString reason = withSystemText(
        QStringLiteral("このプログラムでは展開できない方式で圧縮されています。展開した CSV ファイルを指定してください。"),
        systemText);
    return {ListErrorCode::ArchiveUnsupported, 0, compose(kind, entry, reason)};
}

ListError damagedEntryError(ListKind kind, const QString &entry, std::int64_t offset, const QString &systemText,
                            int keptRecords)
{
    const QString reason = withSystemText(
        QStringLiteral("展開の途中で、圧縮ファイルが壊れているのが見つかりました。もう一度ダウンロードしてください。"),
        systemText);
    return {ListErrorCode::ArchiveDamaged, offset, withKeptCount(kind, entry, reason, keptRecords)};
}

} // namespace torumin
