#include "app/MessageLanguage.h"

#include <QLocale>
#include <QStringList>
#include <QtGlobal>

namespace torumin {

namespace {

// ja, ja_JP, ja_JP.UTF-8, ja.eucJP, ja@…: the language is what comes before
// the first character that is not a letter.
bool isJapaneseLocale(const QString &locale)
{
    return locale.startsWith(QLatin1String("ja")) && (locale.size() == 2 || !locale.at(2).isLetter());
}

} // namespace

MessageLanguage messageLanguageOf(const QString &lcAll, const QString &lcMessages, const QString &lang)
{
    for (const QString *setting : {&lcAll, &lcMessages, &lang}) {
        if (!setting->isEmpty())
            return isJapaneseLocale(*setting) ? MessageLanguage::Japanese : MessageLanguage::English;
    }
    return MessageLanguage::English;
}

MessageLanguage messageLanguageOfEnvironment()
{
    const QString lcAll = qEnvironmentVariable("LC_ALL");
    const QString lcMessages = qEnvironmentVariable("LC_MESSAGES");
    const QString lang = qEnvironmentVariable("LANG");
#ifdef Q_OS_WIN
    if (lcAll.isEmpty() && lcMessages.isEmpty() && lang.isEmpty()) {
        const QStringList languages = QLocale::system().uiLanguages();
        return !languages.isEmpty() && languages.front().startsWith(QLatin1String("ja")) ? MessageLanguage::Japanese
                                                                                         : MessageLanguage::English;
    }
#endif
    return messageLanguageOf(lcAll, lcMessages, lang);
}

} // namespace torumin
