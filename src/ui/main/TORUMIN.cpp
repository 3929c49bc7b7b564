#include "ui/main/TORUMIN.h"

#include "app/EnvironmentProbes.h"
#include "app/Module1.h"
#include "app/SettingsKeys.h"
#include "app/ToolbarLayout.h"
#include "app/WindowGeometry.h"
#include "app/platform/MessageBoxes.h"
#include "app/platform/QtCommonDialogs.h"
#include "app/settings/SettingsStore.h"
#include "ui/Resources.h"
#include "ui/UiFonts.h"
#include "ui/main/MainCommands.h"
#include "ui/main/MainMenus.h"
#include "ui/main/SessionEnd.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <cmath>

namespace torumin {

namespace {

QString exitQuestion()
{
    return QStringLiteral("「とるみん for Windows」 を終了しますか？　");
}

#if QT_CONFIG(sessionmanager)
class QtSessionEnd final : public SessionEnd {
public:
    explicit QtSessionEnd(QSessionManager &manager)
        : m_manager(manager)
    {
    }
    bool allowsInteraction() override { return m_manager.allowsInteraction(); }
    void cancel() override { m_manager.cancel(); }

private:
    QSessionManager &m_manager;
};
#endif

} // namespace

TORUMIN::TORUMIN(UiContext context, const EnvironmentProbes &probes, QWidget *parent)
    : QMainWindow(parent)
    , m_context(context)
    , m_state(context.state)
    , m_probes(probes)
    , m_systemDialogs(std::make_unique<QtCommonDialogs>())
    , m_dialogs(m_systemDialogs.get())
{
    loadResources();
    setObjectName(QStringLiteral("TORUMIN"));
    setWindowTitle(QStringLiteral("とるみん for Windows"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/torumin.png")));

    m_menus = new MainMenus(*this);
    connect(m_menus->mnuFileEnd, &QAction::triggered, this, &TORUMIN::mnuFileEnd_Click);
    connect(m_menus, &MainMenus::Toolbar1_ButtonClick, this, &TORUMIN::Toolbar1_ButtonClick);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    const int margin = static_cast<int>(std::lround(twipsToPixels(40, dpi())));
    layout->setContentsMargins(margin, margin / 2, margin, margin / 2);
    m_text1 = new QPlainTextEdit(central);
    // The box is designed for three lines, a not-found message's; with the
    // line spacing of today's CJK fonts they fit only when the margins around
    // the text are thin (a scroll bar comes as soon as the last line and the
    // margin below it do not).
    m_text1->document()->setDocumentMargin(1);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setFont(UiFonts::pGothic(11.25));
    m_text1->setMinimumSize(1, 1);
    m_text1->setTabChangesFocus(true);
    m_text1->installEventFilter(this);
    layout->addWidget(m_text1);
    central->setMinimumSize(1, 1);
    setCentralWidget(central);
    m_commands = new MainCommands(m_context, *this, *m_text1, *m_menus);

#if QT_CONFIG(sessionmanager)
    // Logging out would otherwise close the window as if the program did it:
    // no question, and no chance to stay. The manager lives only during the
    // signal, so it is answered at once.
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &manager) {
        QtSessionEnd session(manager);
        sessionEnding(session);
    }, Qt::DirectConnection);
#endif

    Form_Load();
}

TORUMIN::~TORUMIN() = default;

double TORUMIN::dpi() const
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

void TORUMIN::Form_Load()
{
    const Options &options = m_state.options;
    if (!options.isOn(QStringLiteral("OptMBar")))
        setMenusVisible(false);
    applyWindowSize();

    if (options.isOn(QStringLiteral("OptCent"))) {
        centreOnScreen();
    } else {
        move(static_cast<int>(std::lround(twipsToPixels(options.number(QStringLiteral("O_Left")), dpi()))),
             static_cast<int>(std::lround(twipsToPixels(options.number(QStringLiteral("O_Top")), dpi()))));
    }

    applyColours();
    // Set before the first show so the window does not flicker when the first
    // activation confirms it.
    setWindowFlag(Qt::WindowStaysOnTopHint, options.isOn(QStringLiteral("OptTemae")));
    m_firstActivation = true;
}

void TORUMIN::setMenusVisible(bool visible)
{
    menuBar()->setVisible(visible);
}

void TORUMIN::applyWindowSize()
{
    // The appearance scheme matters only on Windows XP, so it is asked only there.
    const QString osName = m_probes.GetOSName();
    const QString scheme = osName == QLatin1String("Windows XP") ? m_probes.GetAppearanceScheme() : QString();
    setOuterSizeTwips(mainWindowSizeTwips(m_state.options.value(QStringLiteral("OptMBar")), osName, scheme));
}

void TORUMIN::centreOnScreen()
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSizeF screenTwips(pixelsToTwips(screen->geometry().width(), dpi()),
                             pixelsToTwips(screen->geometry().height(), dpi()));
    move(static_cast<int>(std::lround(twipsToPixels((screenTwips.width() - m_outerSizeTwips.width()) / 2, dpi()))),
         static_cast<int>(std::lround(twipsToPixels((screenTwips.height() - m_outerSizeTwips.height()) / 2, dpi()))));
}

void TORUMIN::applyColours()
{
    const QColor text = colourFromSetting(m_state.options.value(arrayKey(QStringLiteral("OptColor"), 0)));
    const QColor back = colourFromSetting(m_state.options.value(arrayKey(QStringLiteral("OptColor"), 1)));
    // Only the client area behind the result box: the menu bar and toolbar
    // keep the desktop's colours, so their captions stay readable on any
    // background and under a dark desktop theme.
    QWidget *client = centralWidget();
    QPalette clientPalette = client->palette();
    clientPalette.setColor(QPalette::Window, back);
    client->setPalette(clientPalette);
    client->setAutoFillBackground(true);
    QPalette textPalette = m_text1->palette();
    textPalette.setColor(QPalette::Base, back);
    textPalette.setColor(QPalette::Text, text);
    m_text1->setPalette(textPalette);
}

void TORUMIN::setOuterSizeTwips(QSizeF twips)
{
    m_outerSizeTwips = twips;
    const QSize outer(static_cast<int>(std::lround(twipsToPixels(twips.width(), dpi()))),
                      static_cast<int>(std::lround(twipsToPixels(twips.height(), dpi()))));
    // The table sizes include the frame; before the window is shown its frame
    // is unknown, so the size is set again once it is.
    const QSize frame = isVisible() ? frameGeometry().size() - geometry().size() : QSize(0, 0);
    resize(outer - frame);
}

QSizeF TORUMIN::outerSizeTwips() const
{
    const QSize outer = frameGeometry().size();
    return {pixelsToTwips(outer.width(), dpi()), pixelsToTwips(outer.height(), dpi())};
}

QPointF TORUMIN::positionTwips() const
{
    const QPoint topLeft = pos();
    return {pixelsToTwips(topLeft.x(), dpi()), pixelsToTwips(topLeft.y(), dpi())};
}

void TORUMIN::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        QTimer::singleShot(0, this, [this] { setOuterSizeTwips(m_outerSizeTwips); });
}

bool TORUMIN::eventFilter(QObject *watched, QEvent *event)
{
    // The result box would take Ctrl+C, Ctrl+V, Ctrl+A and the other menu keys
    // for itself; while the menus are shown, their commands win.
    if (watched == m_text1 && event->type() == QEvent::ShortcutOverride && menuBar()->isVisible()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QKeySequence pressed(key->keyCombination());
        for (QAction *action : menuBar()->findChildren<QAction *>()) {
            if (!action->shortcut().isEmpty() && action->shortcut() == pressed) {
                event->ignore();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TORUMIN::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void TORUMIN::Form_Activate()
{
    const bool topmost = m_state.options.isOn(QStringLiteral("OptTemae"));
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) != topmost) {
        // Changing the flag hides a visible window; show it again at once.
        QTimer::singleShot(0, this, [this, topmost] {
            setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
            show();
        });
    }
    if (m_firstActivation) {
        m_firstActivation = false;
        // Let pending window events run before the buttons change.
        QTimer::singleShot(0, this, &TORUMIN::restoreToolbar);
    }
}

void TORUMIN::restoreToolbar()
{
    const auto layout = parseToolbarLayout(m_context.store.ReadSetting(Section::Config, QStringLiteral("Toolbar")));
    if (layout)
        setToolbarLayout(*layout);
}

std::vector<int> TORUMIN::toolbarLayout() const
{
    return m_menus->toolbarLayout();
}

void TORUMIN::setToolbarLayout(const std::vector<int> &buttons)
{
    m_menus->setToolbarLayout(buttons);
}

void TORUMIN::Toolbar1_ButtonClick(int index)
{
    switch (index) {
    case 1:
        mnuFileEnd_Click();
        break;
    case 2:
    case 3:
    case 4:
    case 5:
        m_menus->mnuSeekKensaku[static_cast<std::size_t>(index - 2)]->trigger();
        break;
    case 6:
        m_menus->mnuOptSettei->trigger();
        break;
    case 7:
        m_menus->mnuHelpAbout->trigger();
        break;
    case 8:
        m_menus->mnuHelpContext_KeyWord[1]->trigger();
        break;
    default:
        break;
    }
}

void TORUMIN::savePosition()
{
    const QPointF position = positionTwips();
    m_state.options.store(m_context.store, QStringLiteral("O_Top"), twipsText(position.y()));
    m_state.options.store(m_context.store, QStringLiteral("O_Left"), twipsText(position.x()));
}

bool TORUMIN::confirmExit()
{
    return m_context.boxes.MsgBox(exitQuestion(), kStyleQuestionOkCancel, QStringLiteral("終了確認")) == MsgResult::Ok;
}

void TORUMIN::endProgram()
{
    m_ending = true;
    Q_EMIT programEnded();
}

void TORUMIN::mnuFileEnd_Click()
{
    savePosition();
    if (confirmExit())
        endProgram();
}

bool TORUMIN::Form_QueryUnload(UnloadMode mode)
{
    savePosition();
    if (mode != vbFormControlMenu && mode != vbAppWindows)
        return true;
    if (!confirmExit())
        return false;
    endProgram();
    return true;
}

void TORUMIN::sessionEnding(SessionEnd &session)
{
    if (m_ending)
        return;
    if (!session.allowsInteraction()) {
        // Nobody may be asked: the position is kept and the session goes on
        // to close the window.
        savePosition();
        return;
    }
    if (!Form_QueryUnload(vbAppWindows))
        session.cancel();
}

void TORUMIN::closeEvent(QCloseEvent *event)
{
    if (m_ending) {
        event->accept();
        return;
    }
    // A close from the window system is the user's; one the program starts
    // itself does not ask.
    if (Form_QueryUnload(event->spontaneous() ? vbFormControlMenu : vbFormCode))
        event->accept();
    else
        event->ignore();
}

} // namespace torumin
