#pragma once

#include "ui/UiContext.h"

#include <QObject>

#include <functional>

class QPlainTextEdit;
class QWidget;

namespace torumin {

class MainMenus;
class TORUMIN;

// What the main window's menu items and toolbar buttons do: the searches, the
// result box's copy, paste and clear, erasing the saved conditions, and the
// history window.
class MainCommands final : public QObject {
    Q_OBJECT

public:
    MainCommands(UiContext context, TORUMIN &window, QPlainTextEdit &text1, MainMenus &menus);

    // Opens the dialog of the mode; a confirmed search shows its result and,
    // with continuous search on, opens the same dialog again, until the user
    // closes one without confirming. The dialogs open one after another, never
    // one inside another, however long the chain.
    void mnuSeekKensaku_Click(int mode);
    void mnuEditCopyPaste_Click(int index);
    void mnuEditDelete_Click();
    void mnuEditKensaku_Erase_Click();
    void mnuFileRireki_Click();
    void mnuOptSettei_Click();
    void mnuHelpAbout_Click();
    void mnuHelpContext_KeyWord_Click(int index);

private:
    // Opens the dialog of the mode modally; returns when it has closed.
    void showSearchDialog(int mode);

    UiContext m_context;
    TORUMIN &m_window;
    QPlainTextEdit &m_text1;
};

} // namespace torumin
