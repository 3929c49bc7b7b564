#include "search/PostalCodeCheck.h"

#include <algorithm>

namespace torumin {

namespace {

bool allDigits(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), isCodeDigit);
}

// What people put between the two parts of a code: the hyphen, and the
// dashes an input method or a web page offers in its place.
bool isCodeHyphen(QChar ch)
{
    switch (ch.unicode()) {
    case u'-':
    case u'‐':   // hyphen
    case u'−':   // minus sign
    case u'－':  // full-width hyphen-minus
    case u'ー':  // long vowel mark, the kana keyboard's dash
    case u'ｰ':   // its half-width form
        return true;
    default:
        return false;
    }
}

} // namespace

bool isCodeDigit(QChar ch)
{
    return (ch >= u'0' && ch <= u'9') || (ch >= u'０' && ch <= u'９');
}

QString asciiDigits(const QString &text)
{
    QString ascii = text;
    for (QChar &ch : ascii) {
        if (ch >= u'０' && ch <= u'９')
            ch = QChar(static_cast<char16_t>(u'0' + (ch.unicode() - u'０')));
    }
    return ascii;
}

std::optional<QString> postalCodeDigits(const QString &text)
{
    QString code = text.trimmed();
    if (code.startsWith(u'〒'))
        code = code.mid(1).trimmed();
    if (code.size() == 8 && isCodeHyphen(code.at(3)))
        code.remove(3, 1);
    if (code.size() != 7 || !allDigits(code))
        return std::nullopt;
    return asciiDigits(code);
}

std::optional<QString> leadingPostalCode(const QString &text)
{
    QString line = text.trimmed();
    if (line.startsWith(u'〒'))
        line = line.mid(1).trimmed();
    const auto space = std::find_if(line.cbegin(), line.cend(), [](QChar ch) { return ch.isSpace(); });
    return postalCodeDigits(line.left(space - line.cbegin()));
}

std::vector<CodeCheckMessage> checkPostalCode(const QString &first, const QString &second)
{
    std::vector<CodeCheckMessage> messages;
    const bool bothEmpty = first.isEmpty() && second.isEmpty();
    if ((second.size() < 4 || first.size() < 3) && !bothEmpty)
        messages.push_back({QStringLiteral("入力された郵便番号が７桁ではありません。　"), QStringLiteral("桁数確認"), -1});
    const QString *boxes[] = {&first, &second};
    for (int box = 0; box < 2; ++box) {
        if (!allDigits(*boxes[box]))
            messages.push_back(
                {QStringLiteral("入力された郵便番号が数字ではありません。　"), QStringLiteral("数字確認"), box});
    }
    if (bothEmpty)
        messages.push_back({QStringLiteral("郵便番号が入力されていません。　"), QStringLiteral("入力確認"), -1});
    return messages;
}

} // namespace torumin
