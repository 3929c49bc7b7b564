#pragma once

#include <QString>

namespace torumin {

class MessageBoxes;

// Opens a web address or a mailto: address with the desktop's own handler.
class WebOpener {
public:
    WebOpener() = default;
    virtual ~WebOpener() = default;
    WebOpener(const WebOpener &) = delete;
    WebOpener &operator=(const WebOpener &) = delete;

    // False when nothing on the desktop could open it.
    virtual bool openUrl(const QString &url) = 0;
};

// The texts shown when no browser or mail program could be started. The
// settings dialog's text ends in an ideographic space, the About window's not.
inline const QString kBrowserMissingTitle = QStringLiteral("IE ｲﾝｽﾄｰﾙ 確認");
inline const QString kBrowserMissingSettings = QStringLiteral("「Internet Explorer」 が ｲﾝｽﾄｰﾙ されていません。　");
inline const QString kBrowserMissingAbout = QStringLiteral("「Internet Explorer」 が ｲﾝｽﾄｰﾙ されていません。");
inline const QString kMailMissingTitle = QStringLiteral("OE ｲﾝｽﾄｰﾙ 確認");
inline const QString kMailMissingText = QStringLiteral("「Outlook Express」 が ｲﾝｽﾄｰﾙ されていません。");

// Opens a web page in the desktop's browser; when none can be started, says so
// with missingText (style 48, title "IE ｲﾝｽﾄｰﾙ 確認").
void OpenWebPage(WebOpener &opener, MessageBoxes &boxes, const QString &url, const QString &missingText);
// Opens the mail program on an address; when none can be started, says so.
void OpenMail(WebOpener &opener, MessageBoxes &boxes, const QString &address);

// The postal service's postal-code download page.
inline const QString kPostalCodeDownloadPage = QStringLiteral("https://www.post.japanpost.jp/zipcode/");

} // namespace torumin
