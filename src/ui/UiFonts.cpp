#include "ui/UiFonts.h"

#include "app/settings/NumericValue.h"

#include <QStringList>

#include <cmath>
#include <cstdint>

namespace torumin::UiFonts {

namespace {

QFont withFamilies(const QStringList &families, double pointSize, bool bold = false)
{
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

// After the fonts a window was designed with: the Japanese UI fonts of later
// Windows, for a Windows that lacks the older ones, then those of Linux
// desktops.
const QStringList &japaneseSans()
{
    static const QStringList fallbacks{QStringLiteral("Yu Gothic UI"), QStringLiteral("Meiryo UI"),
                                       QStringLiteral("Meiryo"), QStringLiteral("IPAPGothic"),
                                       QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP"),
                                       QStringLiteral("VL PGothic"), QStringLiteral("sans-serif")};
    return fallbacks;
}

} // namespace

QFont pGothic(double pointSize)
{
    return withFamilies(QStringList{QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic")} + japaneseSans(),
                        pointSize);
}

QFont gothic(double pointSize)
{
    return withFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"), QStringLiteral("BIZ UDGothic"),
                         QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                         QStringLiteral("Noto Sans CJK JP"), QStringLiteral("monospace")},
                        pointSize);
}

QFont uiGothic(double pointSize)
{
    return withFamilies(QStringList{QStringLiteral("MS UI Gothic")} + japaneseSans(), pointSize);
}

QFont mincho(double pointSize, bool bold)
{
    return withFamilies({QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("MS PMincho"), QStringLiteral("Yu Mincho"),
                         QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho"), QStringLiteral("Noto Serif CJK JP"),
                         QStringLiteral("serif")},
                        pointSize, bold);
}

QFont timesRoman(double pointSize)
{
    return withFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                         QStringLiteral("DejaVu Serif"), QStringLiteral("Noto Serif"), QStringLiteral("serif")},
                        pointSize);
}

std::optional<double> designedAscent(const QFont &font)
{
    // Ascent over the em of the TrueType fonts: the line the text was placed
    // by starts this far above the baseline.
    const QString face = font.families().value(0, font.family());
    if (face == QStringLiteral("ＭＳ Ｐ明朝"))
        return 220.0 / 256.0;
    if (face == QLatin1String("Times New Roman"))
        return 1825.0 / 2048.0;
    return std::nullopt;
}

} // namespace torumin::UiFonts

namespace torumin {

QColor colourFromSetting(const QString &text)
{
    const double value = NumericValue(text);
    if (!(value >= 0 && value <= 4294967295.0))
        return QColor(0, 0, 0);
    const auto bgr = static_cast<std::uint32_t>(value);
    return QColor(static_cast<int>(bgr & 0xFFu), static_cast<int>((bgr >> 8) & 0xFFu),
                  static_cast<int>((bgr >> 16) & 0xFFu));
}

} // namespace torumin
