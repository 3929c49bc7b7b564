#pragma once

#include "ui/UiContext.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class QPlainTextEdit;

namespace torumin {

class CommonDialogs;
class EnvironmentProbes;
class MainCommands;
class MainMenus;
class SessionEnd;

// The main window: toolbar, menus and the result box. It lives for the whole
// run and the program ends only through its exit path.
class TORUMIN final : public QMainWindow {
    Q_OBJECT

public:
    TORUMIN(UiContext context, const EnvironmentProbes &probes, QWidget *parent = nullptr);
    ~TORUMIN() override;

    [[nodiscard]] QPlainTextEdit *Text1() const { return m_text1; }
    [[nodiscard]] MainMenus &menus() const { return *m_menus; }
    [[nodiscard]] MainCommands &commands() const { return *m_commands; }

    // Why the window is asked to close.
    enum UnloadMode : int {
        vbFormControlMenu = 0,  // the close box or the window menu
        vbFormCode = 1,         // the program's own code
        vbAppWindows = 2,       // the desktop session is ending
    };

    // The exit path of the menu item and toolbar button 1: saves the position,
    // then asks.
    void mnuFileEnd_Click();
    // Saves the position; asks only for the user's own close and for the end of
    // the session. False when the user chose to stay.
    bool Form_QueryUnload(UnloadMode mode);
    // The desktop session is ending: the exit path for that reason, where the
    // session lets the user be asked; staying refuses the end.
    void sessionEnding(SessionEnd &session);

    // The button layout shown now, as button indices in order.
    [[nodiscard]] std::vector<int> toolbarLayout() const;
    void setToolbarLayout(const std::vector<int> &buttons);

    // What the settings dialog applies at once.
    void setMenusVisible(bool visible);
    void applyWindowSize();  // from the menu-bar option and the system
    void centreOnScreen();
    void applyColours();
    [[nodiscard]] const EnvironmentProbes &probes() const { return m_probes; }

    // The file and colour choosers the settings dialog uses (the system's
    // unless a test gives others).
    [[nodiscard]] CommonDialogs &commonDialogs() const { return *m_dialogs; }
    void setCommonDialogs(CommonDialogs &dialogs) { m_dialogs = &dialogs; }

    // The outer size and position in twips, as the settings keep them.
    void setOuterSizeTwips(QSizeF twips);
    [[nodiscard]] QSizeF outerSizeTwips() const;
    [[nodiscard]] QPointF positionTwips() const;

Q_SIGNALS:
    // The user confirmed the exit: the program ends now.
    void programEnded();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void Form_Activate();
    void Toolbar1_ButtonClick(int index);
    void savePosition();
    [[nodiscard]] bool confirmExit();
    void endProgram();
    void restoreToolbar();
    [[nodiscard]] double dpi() const;

    UiContext m_context;
    Module1 &m_state;
    const EnvironmentProbes &m_probes;
    MainMenus *m_menus = nullptr;
    MainCommands *m_commands = nullptr;
    std::unique_ptr<CommonDialogs> m_systemDialogs;
    CommonDialogs *m_dialogs = nullptr;
    QPlainTextEdit *m_text1 = nullptr;
    QSizeF m_outerSizeTwips;
    bool m_firstActivation = false;
    bool m_ending = false;
};

} // namespace torumin
