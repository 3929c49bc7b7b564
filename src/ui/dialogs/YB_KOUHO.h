#pragma once

#include "search/Candidates.h"
#include "ui/UiContext.h"

#include <QDialog>

#include <array>

class QListView;
class QPushButton;

namespace torumin {

class CandidateListModel;

// The candidate window: every town area of the prefecture and city split off
// the typed address, with its postal code, one per line. The search runs
// while the window is built; the user copies a line or part of it. The window
// keeps its position between openings and runs.
class YB_KOUHO final : public QDialog {
    Q_OBJECT

public:
    // `typedIn`, the box the address was typed in, stays in view when the
    // window says it found nothing.
    YB_KOUHO(UiContext context, const QString &address, QWidget *parent = nullptr, const QWidget *typedIn = nullptr);

    QListView *List1 = nullptr;
    std::array<QPushButton *, 3> Command1{};
    [[nodiscard]] const CandidateListModel &candidates() const { return *m_model; }

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitWholeRows();
    void Form_Load(const QString &address, const QWidget *typedIn);
    void Command1_Click(int index);
    void copySelected();
    void savePosition();

    UiContext m_context;
    CandidateListModel *m_model = nullptr;
    CandidateFormat m_format;  // the options the lines were built with
    int m_designedListHeight = 0;  // pixels
    int m_leastRows = 1;           // the rows the options ask to see
};

} // namespace torumin
