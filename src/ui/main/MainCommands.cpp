#include "ui/main/MainCommands.h"

#include "app/Module1.h"
#include "app/SettingsKeys.h"
#include "app/platform/Clipboard.h"
#include "app/platform/HelpViewer.h"
#include "app/platform/MessageBoxes.h"
#include "app/SearchResult.h"
#include "ui/DialogPlacement.h"
#include "ui/dialogs/JIGYOSYO_KEN.h"
#include "ui/dialogs/JUSHO_KEN.h"
#include "ui/dialogs/JUSHO_K_KEN.h"
#include "ui/dialogs/YUBIN_KEN.h"
#include "ui/main/MainMenus.h"
#include "ui/main/RIREKI.h"
#include "ui/main/TORUMIN.h"
#include "ui/settings/INFO_VER.h"
#include "ui/settings/SETTEI.h"

#include <QAction>
#include <QPlainTextEdit>

namespace torumin {

MainCommands::MainCommands(UiContext context, TORUMIN &window, QPlainTextEdit &text1, MainMenus &menus)
    : QObject(&window)
    , m_context(context)
    , m_window(window)
    , m_text1(text1)
{
    for (int mode = 0; mode < static_cast<int>(menus.mnuSeekKensaku.size()); ++mode) {
        connect(menus.mnuSeekKensaku[static_cast<std::size_t>(mode)], &QAction::triggered, this,
                [this, mode] { mnuSeekKensaku_Click(mode); });
    }
    for (int index = 0; index < 2; ++index) {
        connect(menus.mnuEditCopyPaste[static_cast<std::size_t>(index)], &QAction::triggered, this,
                [this, index] { mnuEditCopyPaste_Click(index); });
    }
    connect(menus.mnuEditDelete, &QAction::triggered, this, &MainCommands::mnuEditDelete_Click);
    connect(menus.mnuEditKensaku_Erase, &QAction::triggered, this, &MainCommands::mnuEditKensaku_Erase_Click);
    connect(menus.mnuFileRireki, &QAction::triggered, this, &MainCommands::mnuFileRireki_Click);
    connect(menus.mnuOptSettei, &QAction::triggered, this, &MainCommands::mnuOptSettei_Click);
    connect(menus.mnuHelpAbout, &QAction::triggered, this, &MainCommands::mnuHelpAbout_Click);
    for (int index = 0; index < 2; ++index) {
        connect(menus.mnuHelpContext_KeyWord[static_cast<std::size_t>(index)], &QAction::triggered, this,
                [this, index] { mnuHelpContext_KeyWord_Click(index); });
    }
}

void MainCommands::showSearchDialog(int mode)
{
    switch (mode) {
    case kModeCodeToAddress: {
        YUBIN_KEN dialog(m_context, &m_window);
        placeClearOf(dialog, m_window, m_text1);
        dialog.exec();
        break;
    }
    case kModeAddressToCode:
    case kModeKanaToCode: {
        JUSHO_KEN dialog(m_context, &m_window);
        placeClearOf(dialog, m_window, m_text1);
        dialog.exec();
        break;
    }
    case kModeFreeAddress: {
        JUSHO_K_KEN dialog(m_context, &m_window);
        placeClearOf(dialog, m_window, m_text1);
        dialog.exec();
        break;
    }
    case kModeOfficeName: {
        JIGYOSYO_KEN dialog(m_context, &m_window);
        placeClearOf(dialog, m_window, m_text1);
        dialog.exec();
        break;
    }
    default:
        break;
    }
}

void MainCommands::mnuSeekKensaku_Click(int mode)
{
    Module1 &state = m_context.state;
    for (;;) {
        state.searchRequested = 0;
        state.SearchMode = mode;
        showSearchDialog(mode);
        if (state.searchRequested != 1)
            return;
        m_text1.setPlainText(QString());
        const SearchResult result = ShowSearchResult(state, m_context.store);
        m_text1.setPlainText(result.text);
        if (!result.repeat)
            return;
    }
}

void MainCommands::mnuEditCopyPaste_Click(int index)
{
    if (index == 0) {
        m_context.clipboard.setText(m_text1.toPlainText());
        return;
    }
    if (const std::optional<QString> text = m_context.clipboard.text())
        m_text1.setPlainText(*text);
}

void MainCommands::mnuEditDelete_Click()
{
    m_text1.setPlainText(QString());
}

void MainCommands::mnuEditKensaku_Erase_Click()
{
    if (m_context.boxes.MsgBox(QStringLiteral("検索条件を削除しますか？　"), kStyleQuestionOkCancel,
                               QStringLiteral("削除確認"))
        != MsgResult::Ok)
        return;
    Options &options = m_context.state.options;
    SettingsStore &store = m_context.store;
    options.set(QStringLiteral("YubinB"), QString());
    for (int i = 0; i < 3; ++i) {
        options.store(store, arrayKey(QStringLiteral("Jusho"), i), QString());
        options.store(store, arrayKey(QStringLiteral("Jusho2"), i), QString());
    }
    options.set(QStringLiteral("J_Input"), QString());
    options.store(store, QStringLiteral("YubinB"), QString());
    options.store(store, QStringLiteral("J_Input"), QString());
}

void MainCommands::mnuOptSettei_Click()
{
    SETTEI dialog(m_context, m_window, m_window.commonDialogs(), &m_window);
    dialog.exec();
}

void MainCommands::mnuHelpAbout_Click()
{
    INFO_VER window(m_context, &m_window);
    window.exec();
}

void MainCommands::mnuHelpContext_KeyWord_Click(int index)
{
    if (index == 0)
        m_context.help.showIndex();
    else
        m_context.help.showContents();
}

void MainCommands::mnuFileRireki_Click()
{
    RIREKI window(m_context, &m_window);
    window.exec();
}

} // namespace torumin
