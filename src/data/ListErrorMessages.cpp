#include "data/ListErrorMessages.h"

#include <QDir>

namespace torumin {

namespace {

// The program's message boxes separate their lines with two CRs.
constexpr QStringView kLineBreak = u"\r\r";

QString compose(const QString &path, const QString &reason)
{
    return QStringView(u"指定された 「郵便番号一覧 *.CSV」 を読み込めませんでした。\u3000")
        % kLineBreak % QDir::toNativeSeparators(path) % kLineBreak % reason;
}

QString withKeptCount(const QString &path, const QString &reason, int keptRecords)
{
    const QString kept = keptRecords > 0
        ? QStringLiteral("問題の箇所より前の %1 件だけを読み込みました。").arg(keptRecords)
        : QStringLiteral("読み込めた郵便番号はありません。");
    return compose(path, reason % kLineBreak % kept);
}

QString withSystemText(const QString &reason, const QString &systemText)
{
    if (systemText.isEmpty())
        return reason;
    return reason % u"（" % systemText % u"）";
}

} // namespace

ListError cannotOpenError(const QString &path, FileByteSource::OpenStatus status,
                          const QString &systemText)
{
    QString reason;
    switch (status) {
    case FileByteSource::OpenStatus::Missing:
        reason = QStringLiteral("ファイルが見つかりません。削除されたか、名前や場所が変わった可能性があります。");
        break;
    case FileByteSource::OpenStatus::IsFolder:
        reason = QStringLiteral("指定されたのはフォルダーです。郵便番号一覧のファイルを指定してください。");
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
    return {ListErrorCode::CannotOpen, 0, compose(path, reason)};
}

ListError tooLargeError(const QString &path, std::int64_t size)
{
    const QString reason =
        QStringLiteral("ファイルが大きすぎます（%1 バイト）。郵便番号一覧として読み込めるのは %2 MB までです。")
            .arg(size)
            .arg(kMaxListFileBytes / (1024 * 1024));
    return {ListErrorCode::TooLarge, 0, compose(path, reason)};
}

ListError readFailedError(const QString &path, std::int64_t offset, const QString &systemText,
                          int keptRecords)
{
    const QString reason =
        withSystemText(QStringLiteral("読み込みの途中でエラーが起きました。"), systemText);
    return {ListErrorCode::ReadFailed, offset, withKeptCount(path, reason, keptRecords)};
}

ListError outOfMemoryError(const QString &path, std::int64_t offset, int keptRecords)
{
    const QString reason = QStringLiteral("メモリーが足りず、読み込みを続けられませんでした。");
    return {ListErrorCode::ReadFailed, offset, withKeptCount(path, reason, keptRecords)};
}

ListError noConverterError(const QString &path)
{
    const QString reason =
        QStringLiteral("このコンピューターでは Shift_JIS（Windows のコード ページ 932）の文字を変換できません。");
    return {ListErrorCode::ReadFailed, 0, compose(path, reason)};
}

ListError notCp932Error(const QString &path, std::int64_t offset, int keptRecords)
{
    const QString reason =
        QStringLiteral("先頭から %1 バイト目に、Shift_JIS（Windows のコード ページ 932）の文字ではないバイトがあります。"
                       "UTF-8 など別の文字コードで保存されていないか確かめてください。")
            .arg(offset + 1);
    return {ListErrorCode::NotCp932, offset, withKeptCount(path, reason, keptRecords)};
}

ListError truncatedError(const QString &path, std::int64_t offset, int keptRecords)
{
    const QString reason =
        QStringLiteral("ファイルが途中で終わっています。最後のデータは 15 項目そろう前に切れています。");
    return {ListErrorCode::Truncated, offset, withKeptCount(path, reason, keptRecords)};
}

} // namespace torumin
