#include "data/HalfWidthKana.h"

#include <gtest/gtest.h>

#include <QString>

#include <string>
#include <vector>

namespace torumin {
namespace {

std::string folded(const char *utf8)
{
    const QString text = QString::fromUtf8(utf8);
    std::u16string out;
    foldToHalfWidth(std::u16string_view(reinterpret_cast<const char16_t *>(text.utf16()),
                                        static_cast<std::size_t>(text.size())),
                    out);
    return QString::fromStdU16String(out).toStdString();
}

bool changes(const char *utf8)
{
    const QString text = QString::fromUtf8(utf8);
    return hasHalfWidthForms(std::u16string_view(reinterpret_cast<const char16_t *>(text.utf16()),
                                                 static_cast<std::size_t>(text.size())));
}

TEST(HalfWidthKana, FoldsFullWidthReadingsToTheOtherEditions)
{
    const std::vector<std::pair<const char *, const char *>> cases{
        {"ホッカイドウ", "ﾎｯｶｲﾄﾞｳ"},
        {"ガギグゲゴザジズゼゾダヂヅデドバビブベボ", "ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞ"},
        {"パピプペポ", "ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ"},
        {"ヴヷヺ", "ｳﾞﾜﾞｦﾞ"},
        {"ァィゥェォャュョッヲン", "ｧｨｩｪｫｬｭｮｯｦﾝ"},
        {"ー・「」、。゛゜", "ｰ･｢｣､｡ﾞﾟ"},
        {"カ\u3099ハ\u309A", "ｶﾞﾊﾟ"}, // decomposed voicing marks
        {"オオドオリニシ（１－１９チョウメ）", "ｵｵﾄﾞｵﾘﾆｼ(1-19ﾁｮｳﾒ)"},
        {"ＡＢｃ　～", "ABc ~"},
        // No half-width form: left as they are.
        {"ヶヵヮヰヱヸヹヽ", "ヶヵヮヰヱヸヹヽ"},
        {"ひらがな漢字①", "ひらがな漢字①"},
        {"ｶﾞ ﾎｯｶｲﾄﾞｳ (1-19)", "ｶﾞ ﾎｯｶｲﾄﾞｳ (1-19)"},
        {"", ""},
    };
    for (const auto &[text, expected] : cases) {
        EXPECT_EQ(folded(text), expected) << text;
        EXPECT_EQ(changes(text), std::string(text) != expected) << text;
    }
}

} // namespace
} // namespace torumin
