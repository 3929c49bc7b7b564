#pragma once

#include <QDialog>

#include <functional>
#include <vector>

class QListWidget;
class QPushButton;

namespace torumin {

class MainMenus;

// Shows, hides and reorders the main window's eight toolbar buttons. Every
// change shows in the main window at once; 元に戻す brings back the designed
// layout. Whether the layout outlives the run is the settings' business.
class ToolbarCustomizeDialog final : public QDialog {
    Q_OBJECT

public:
    ToolbarCustomizeDialog(MainMenus &menus, QWidget *parent = nullptr);

    QListWidget *available = nullptr;  // buttons not shown
    QListWidget *shown = nullptr;      // buttons shown, in order

    void showSelected();
    void hideSelected();
    void moveSelected(int steps);
    void restoreDesign();

private:
    void fill(const std::vector<int> &layout);
    void apply();

    MainMenus &m_menus;
};

} // namespace torumin
