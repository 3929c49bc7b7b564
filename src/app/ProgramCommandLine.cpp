#include "app/ProgramCommandLine.h"

#include "app/StdioTextSink.h"

#include <cstdio>

namespace torumin {

namespace {

QString helpText(MessageLanguage language)
{
    if (language == MessageLanguage::Japanese) {
        return QStringLiteral(
            "使い方: torumin [--help | --version]\n"
            "\n"
            "郵便番号と住所をオフラインで調べるウィンドウを開きます: 郵便番号から住所、\n"
            "都道府県・市区町村・町域（漢字またはカナ読み）から郵便番号、入力した住所から\n"
            "候補の一覧。設定はウィンドウの ｵﾌﾟｼｮﾝ → 各種設定 で。スクリプトからの検索は\n"
            "torumin-query(1) で。\n"
            "\n"
            "  -h, --help     この説明\n"
            "  --version      バージョン\n"
            "\n"
            "Qt 共通のオプション（-platform、-style など）も使えます。\n");
    }
    return QStringLiteral(
        "usage: torumin [--help | --version]\n"
        "\n"
        "Opens a window that looks up Japanese postal codes and addresses offline:\n"
        "postal code to address, prefecture, city and town area (kanji or kana\n"
        "readings) to postal code, and typed addresses to candidates. Everything\n"
        "else is set in the window (ｵﾌﾟｼｮﾝ, 各種設定). Searches from scripts:\n"
        "torumin-query(1).\n"
        "\n"
        "  -h, --help     this text\n"
        "  --version      the version\n"
        "\n"
        "The options of every Qt program (-platform, -style …) are taken too.\n");
}

QString cannotWrite(MessageLanguage language)
{
    return language == MessageLanguage::Japanese ? QStringLiteral("torumin: 標準出力に書き込めません: %1\n")
                                                  : QStringLiteral("torumin: cannot write to standard output: %1\n");
}

} // namespace

std::optional<int> answerInformationOptions(const QStringList &arguments, TextSink &out, TextSink &err,
                                            MessageLanguage language)
{
    QString text;
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("--"))
            break;
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            text = helpText(language);
            break;
        }
        if (argument == QLatin1String("--version")) {
            text = QStringLiteral("torumin " TORUMIN_VERSION "\n");
            break;
        }
    }
    if (text.isEmpty())
        return std::nullopt;
    if (out.write(text) && out.flush())
        return 0;
    (void)err.write(cannotWrite(language).arg(out.errorText()));
    (void)err.flush();
    return 2;
}

std::optional<int> answerInformationOptions(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    StdioTextSink out(stdout);
    StdioTextSink err(stderr);
    return answerInformationOptions(arguments, out, err, messageLanguageOfEnvironment());
}

} // namespace torumin
