#pragma once

#include <QObject>

#include <array>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

namespace torumin {

// The main window's two menus and its toolbar, as designed. Each item is a
// QAction named after its menu control ("mnuSeekKensaku_2"), each toolbar
// button "Toolbar1_Button3", so tests and commands find them by name.
class MainMenus final : public QObject {
    Q_OBJECT

public:
    explicit MainMenus(QMainWindow &window);

    QMenu *mnuTotalMenu = nullptr;
    QMenu *mnuEdit = nullptr;
    QToolBar *Toolbar1 = nullptr;

    std::array<QAction *, 2> mnuHelpContext_KeyWord{};
    QAction *mnuHelpAbout = nullptr;
    QAction *mnuOptSettei = nullptr;
    std::array<QAction *, 5> mnuSeekKensaku{};
    QAction *mnuFileRireki = nullptr;
    QAction *mnuFileEnd = nullptr;
    std::array<QAction *, 2> mnuEditCopyPaste{};
    QAction *mnuEditDelete = nullptr;
    QAction *mnuEditKensaku_Erase = nullptr;

    // Buttons 1 to 8 at [0] to [7].
    std::array<QAction *, 8> toolbarButtons{};

    // The buttons shown, by index (1 to 8) in the order shown.
    [[nodiscard]] std::vector<int> toolbarLayout() const;
    void setToolbarLayout(const std::vector<int> &buttons);

Q_SIGNALS:
    // The toolbar button with this index (1 to 8) was clicked.
    void Toolbar1_ButtonClick(int index);

private:
    void buildMenus(QMainWindow &window);
    void buildToolbar(QMainWindow &window);
};

} // namespace torumin
