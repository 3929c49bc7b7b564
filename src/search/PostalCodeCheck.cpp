#include "search/PostalCodeCheck.h"

#include <algorithm>

namespace torumin {

namespace {

bool allDigits(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar ch) { return ch >= u'0' && ch <= u'9'; });
}

} // namespace

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
