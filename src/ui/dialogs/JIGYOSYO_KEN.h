#pragma once

#include "ui/UiContext.h"

#include <QDialog>
#include <QStringList>

#include <array>
#include <vector>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace torumin {

class CandidateListModel;
class OfficeNameIndex;

// The office-name search: the user types part of a large office's name and
// the list of offices narrows with each key; the one picked goes to the main
// window's result box and the history with its own postal code. Keyboard
// first: the arrow keys move through the list while the text keeps the focus,
// and Enter takes the highlighted office.
class JIGYOSYO_KEN final : public QDialog {
    Q_OBJECT

public:
    explicit JIGYOSYO_KEN(UiContext context, QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QListView *List1 = nullptr;
    std::array<QPushButton *, 4> Command1{};  // 検索, コピー, キャンセル, ヘルプ

    // The offices listed now, rows of the office list in file order.
    [[nodiscard]] const std::vector<int> &listedOffices() const { return m_rows; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Text1_Change();
    void Command1_Click(int index);
    void search();
    void copySelected();
    [[nodiscard]] int currentOffice() const;

    UiContext m_context;
    const OfficeNameIndex &m_index;
    QStringList m_lines;   // one per office of the list, made once
    std::vector<int> m_widths; // their estimated widths in the list's font
    std::vector<int> m_rows;
    CandidateListModel *m_model = nullptr;
};

} // namespace torumin
