#pragma once

#include "ui/UiContext.h"

#include <QDialog>

#include <array>

class QKeyEvent;
class QLineEdit;
class QPushButton;

namespace torumin {

// The postal-code search dialog: three digits and four digits, checked, then
// handed to the main window as the search state.
class YUBIN_KEN final : public QDialog {
    Q_OBJECT

public:
    explicit YUBIN_KEN(UiContext context, QWidget *parent = nullptr);

    // Checks the boxes, showing a message for each problem; 1 when the input
    // failed, 0 when it may be searched.
    int Yubin_Check();

    std::array<QLineEdit *, 2> Text1{};
    std::array<QPushButton *, 3> Command1{};

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void Command1_Click(int index);
    [[nodiscard]] bool keyPressed(QLineEdit *box, const QKeyEvent &key);
    void pasteInto(QLineEdit *box);
    void showContextMenu(QLineEdit *box, QPoint at);

    UiContext m_context;
};

} // namespace torumin
