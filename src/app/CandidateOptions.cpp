#include "app/CandidateOptions.h"

#include "app/Options.h"
#include "app/settings/NumericValue.h"

namespace torumin {

CandidateFormat candidateFormat(const Options &options)
{
    CandidateFormat format;
    format.mark = options.isOn(QStringLiteral("YJ_Disp(0)"));
    format.hyphen = options.isOn(QStringLiteral("YJ_Disp(1)"));
    format.prefecture = options.isOn(QStringLiteral("YJ_Disp(2)"));
    format.copyCode = options.isOn(QStringLiteral("YJ_Copy(0)"));
    format.copyAddress = options.isOn(QStringLiteral("YJ_Copy(1)"));
    return format;
}

CandidateWindowHeights candidateWindowHeights(const QString &optYBsize, const QString &optYBketa)
{
    const double rows = NumericValue(optYBketa);
    double list = 0;
    if (optYBsize == QLatin1String("9"))
        list = (rows + 1) * 180 + 240;
    else if (optYBsize == QLatin1String("10"))
        list = (rows + 1) * 195 + 255;
    else
        list = rows * 225 + 285;
    const double window = list + 1430;
    return {list, window, window - 915};
}

} // namespace torumin
