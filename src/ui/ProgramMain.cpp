#include "ui/ProgramMain.h"

#include "app/EnvironmentProbes.h"
#include "app/LeftoverFiles.h"
#include "app/Module1.h"
#include "app/ProgramFolder.h"
#include "app/WindowGeometry.h"
#include "app/platform/QtClipboard.h"
#include "app/platform/QtHelpViewer.h"
#include "app/platform/QtMessageBoxes.h"
#include "app/platform/QtWebOpener.h"
#include "app/settings/QtSettingsStore.h"
#include "ui/Resources.h"
#include "ui/dialogs/INITDISP.h"
#include "ui/main/TORUMIN.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>

namespace torumin {

namespace {

QSizeF screenSizeTwips()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const double dpi = screen->logicalDotsPerInch();
    return {pixelsToTwips(screen->geometry().width(), dpi), pixelsToTwips(screen->geometry().height(), dpi)};
}

} // namespace

bool installJapaneseQtTexts(QApplication &app)
{
    auto *translator = new QTranslator(&app);
    const QStringList folders{QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                              QCoreApplication::applicationDirPath() + QStringLiteral("/translations")};
    for (const QString &folder : folders) {
        if (translator->load(QStringLiteral("qtbase_ja"), folder))
            return QCoreApplication::installTranslator(translator);
    }
    delete translator;
    return false;
}

int runProgram(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("TORUMIN"));
    QApplication::setOrganizationName(QStringLiteral("TORUMIN"));
    loadResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/torumin-64.png")));
    installJapaneseQtTexts(app);

    // What an instance killed mid-save or mid-download left behind.
    const QDateTime now = QDateTime::currentDateTime();
    for (const LeftoverFiles &leftovers : programLeftoverFiles())
        (void)removeLeftoverFiles(leftovers, now);

    QtMessageBoxes boxes;
    const std::unique_ptr<QtSettingsStore> store = QtSettingsStore::openDefault();
    if (const auto notice = store->takeOpeningNotice())
        boxes.MsgBox(notice->text, kStyleExclamationOk, notice->title);
    store->setWriteFailureHandler(
        [&boxes](const SettingsNotice &notice) { boxes.MsgBox(notice.text, kStyleExclamationOk, notice.title); });

    Module1 state;
    StartUpEnvironment env;
    env.programFolder = programFolder();
    env.screenTwips = screenSizeTwips();
    env.showSplash = [] {
        INITDISP splash;
        splash.exec();
    };
    StartUp(state, *store, boxes, env);

    const EnvironmentProbes probes;
    QtClipboard clipboard;
    QtHelpViewer help;
    QtWebOpener web;
    TORUMIN window(UiContext{state, *store, boxes, clipboard, help, web}, probes);
    QObject::connect(&window, &TORUMIN::programEnded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    // The main window's exit path ends the program; closing it any other way
    // must not leave a process without windows behind.
    app.setQuitOnLastWindowClosed(true);
    window.show();
    return QApplication::exec();
}

} // namespace torumin
