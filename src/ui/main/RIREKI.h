#pragma once

#include "ui/UiContext.h"

#include <QDialog>

#include <array>

class QListWidget;
class QPushButton;

namespace torumin {

// The search history window: lists the history, copies parts of a line,
// removes lines, and writes the list back as the history on OK. Closing it any
// other way forgets the removals.
class RIREKI final : public QDialog {
    Q_OBJECT

public:
    explicit RIREKI(UiContext context, QWidget *parent = nullptr);

    QListWidget *List1 = nullptr;
    std::array<QPushButton *, 4> Command1{};

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void Command1_Click(int index);
    void copySelected();
    void deleteSelected();
    void commit();
    [[nodiscard]] int selectedRow() const;
    void fitWholeRows();

    UiContext m_context;
    int m_designedListHeight = 0;  // pixels
};

} // namespace torumin
