#pragma once

#include "ui/UiContext.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QPushButton;

namespace torumin {

// The address input dialog of the free-address search: the typed address is
// remembered and the candidate window lists what matches it. With continuous
// search the dialog stays open for the next address.
class JUSHO_K_KEN final : public QDialog {
    Q_OBJECT

public:
    explicit JUSHO_K_KEN(UiContext context, QWidget *parent = nullptr);

    QLineEdit *Text1 = nullptr;
    std::array<QPushButton *, 3> Command1{};

private:
    void Form_Load();
    void Command1_Click(int index);
    void search();

    UiContext m_context;
};

} // namespace torumin
