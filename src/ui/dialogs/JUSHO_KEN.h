#pragma once

#include "search/PostalLookup.h"
#include "ui/UiContext.h"

#include <QDialog>

#include <array>

class QComboBox;
class QKeyEvent;
class QLabel;
class QModelIndex;
class QPushButton;

namespace torumin {

// The address selection dialog of the kanji and kana address searches: a
// prefecture, a city/ward and a town area picked from lists built from the
// table, handed to the main window as the search state.
class JUSHO_KEN final : public QDialog {
    Q_OBJECT

public:
    // The mode (kanji or kana) is the state's current search mode.
    explicit JUSHO_KEN(UiContext context, QWidget *parent = nullptr);

    std::array<QLabel *, 4> Label1{};
    std::array<QComboBox *, 3> Combo1{};
    std::array<QPushButton *, 3> Command1{};

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void Combo1_GotFocus(int index, Qt::FocusReason reason);
    [[nodiscard]] int boxIndex(const QObject *object) const;
    [[nodiscard]] int completionIndex(const QObject *object) const;
    [[nodiscard]] int listIndex(const QObject *object) const;
    bool listKeyPressed(int index, QKeyEvent &key);
    void completionChosen(int index, const QModelIndex &completion);
    [[nodiscard]] bool listTakesEnter(int index) const;
    void enterInBox(int index);
    [[nodiscard]] int pickedTownRow() const;
    void City_Fill();
    void Town_Fill();
    [[nodiscard]] bool Jusho_Check();
    void Command1_Click(int index);
    [[nodiscard]] QString stateKey(int index) const;

    UiContext m_context;
    AddressScript m_script;
    // The box the address check sent the user to: entered when the focus
    // reaches it, however late the window gets the activation back.
    int m_enterAfterMessage = -1;
    // Entered by a click on its text: its list opens when the button comes up.
    bool m_dropOnRelease = false;
    // A row of an open list was pointed at, by the arrow keys or the mouse:
    // Enter and Tab take it. Otherwise the box keeps what it holds.
    bool m_rowPointedAt = false;
    bool m_listTookEnter = false;  // until that Enter's key press
};

} // namespace torumin
