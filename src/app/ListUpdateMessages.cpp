#include "app/ListUpdateMessages.h"

#include <QDir>
#include <QLocale>

namespace torumin {

namespace {

// The program's message boxes separate their lines with two CRs.
constexpr QStringView kLineBreak = u"\r\r";

QString withSystemText(const QString &reason, const QString &systemText)
{
    if (systemText.isEmpty())
        return reason;
    return reason % u"（" % systemText % u"）";
}

QString count(qint64 value)
{
    return QLocale(QLocale::English).toString(value);
}

QString listName(ListKind kind)
{
    return kind == ListKind::Office ? QStringLiteral("事業所の個別郵便番号一覧") : QStringLiteral("郵便番号一覧");
}

} // namespace

namespace ListUpdateErrors {

ListUpdateError noNetwork(const QString &systemText)
{
    return {ListUpdateFailure::NoNetwork,
            withSystemText(QStringLiteral("サーバーに接続できません。ネットワークにつながっているか確かめてください。"),
                           systemText)};
}

ListUpdateError httpStatus(int status, const QString &phrase)
{
    const QString answer = phrase.isEmpty() ? QStringLiteral("HTTP %1 ").arg(status)
                                            : QStringLiteral("HTTP %1（%2）").arg(QString::number(status), phrase);
    return {ListUpdateFailure::HttpStatus, QStringLiteral("サーバーが ") + answer + QStringLiteral("を返しました。")};
}

ListUpdateError timeout(int seconds)
{
    return {ListUpdateFailure::Timeout,
            QStringLiteral("サーバーからの応答が %1 秒以上ありません。時間をおいて試してください。").arg(seconds)};
}

ListUpdateError tooSlow(qint64 minimumBytes, int seconds)
{
    return {ListUpdateFailure::TooSlow,
            QStringLiteral("サーバーからの受信が遅すぎます（%1 秒間に %2 バイト未満）。時間をおいて試してください。")
                .arg(seconds)
                .arg(count(minimumBytes))};
}

ListUpdateError tooManyRedirects()
{
    return {ListUpdateFailure::TooManyRedirects,
            QStringLiteral("サーバーの転送（リダイレクト）が多すぎるか、同じところを回っています。"
                           "ダウンロード先のアドレスを確かめてください。")};
}

ListUpdateError badCompression()
{
    return {ListUpdateFailure::BadCompression,
            QStringLiteral("サーバーが圧縮して送ってきたデータを展開できませんでした。時間をおいて試してください。")};
}

ListUpdateError connectionLost(const QString &systemText)
{
    return {ListUpdateFailure::ConnectionLost,
            withSystemText(QStringLiteral("受信の途中で接続が切れました。"), systemText)};
}

ListUpdateError notSecure(const QString &systemText)
{
    return {ListUpdateFailure::NotSecure,
            withSystemText(QStringLiteral("安全な接続（HTTPS）を確立できません。"), systemText)};
}

ListUpdateError tooLarge(ListKind kind, qint64 limitBytes)
{
    return {ListUpdateFailure::TooLarge,
            QStringLiteral("受信したデータが %1 MB を超えたため、受信をやめました。%2ではありません。")
                .arg(limitBytes / (1024 * 1024))
                .arg(listName(kind))};
}

ListUpdateError cannotSave(const QString &folder, const QString &systemText, bool diskFull)
{
    const QString reason = diskFull ? QStringLiteral("ディスクの空きが足りず、ダウンロードしたファイルを保存できません。")
                                    : QStringLiteral("ダウンロードしたファイルを保存できません。");
    return {ListUpdateFailure::CannotSave,
            withSystemText(reason, systemText) % kLineBreak % u"保存先：" % QDir::toNativeSeparators(folder)};
}

ListUpdateError notAList(ListKind kind, const QString &why)
{
    return {ListUpdateFailure::NotAList,
            QStringLiteral("受信したファイルは%1として使えません：").arg(listName(kind)) + why + u'。'};
}

ListUpdateError tooFewRecords(ListKind kind, int records, int required)
{
    const QString whole = kind == ListKind::Office ? QStringLiteral("全国の事業所の個別郵便番号一覧")
                                                   : QStringLiteral("全国の郵便番号一覧");
    return {ListUpdateFailure::TooFewRecords,
            QStringLiteral("郵便番号が %1 件しかありません。%3なら %2 件以上あるはずです。")
                .arg(count(records), count(required), whole)};
}

ListUpdateError prefecturesMissing(const QStringList &names)
{
    return {ListUpdateFailure::PrefectureMissing,
            QStringLiteral("次の都道府県の郵便番号がありません：") + names.join(u'、')};
}

} // namespace ListUpdateErrors

QString listUpdateFailedMessage(const ListUpdateError &error, ListKind kind)
{
    if (kind == ListKind::Office)
        return QStringView(u"最新の事業所の個別郵便番号一覧をダウンロードできませんでした。\u3000") % kLineBreak
            % error.reason % kLineBreak
            % u"ダウンロードした郵便番号一覧は使えます。事業所の個別郵便番号は、これまでの一覧で探します。";
    return QStringView(u"最新の郵便番号一覧をダウンロードできませんでした。\u3000") % kLineBreak % error.reason
        % kLineBreak % u"読み込み中の郵便番号一覧と設定は、そのままです。";
}

QString listUpToDateMessage(QDate dataDate)
{
    return QStringView(u"ダウンロードした郵便番号一覧は、読み込み中の一覧と同じ ")
        % dataDate.toString(QStringLiteral("yyyy/MM/dd")) % u" のデータです。\u3000" % kLineBreak
        % u"郵便番号一覧は入れ替えません。";
}

QString listUpdateTitle()
{
    return QStringLiteral("ﾀﾞｳﾝﾛｰﾄﾞ 確認");
}

} // namespace torumin
