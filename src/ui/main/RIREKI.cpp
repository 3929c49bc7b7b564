#include "ui/main/RIREKI.h"

#include "app/Module1.h"
#include "app/WindowGeometry.h"
#include "app/platform/Clipboard.h"
#include "app/platform/HelpViewer.h"
#include "app/platform/MessageBoxes.h"
#include "app/HistoryStore.h"
#include "search/SearchHistory.h"
#include "ui/CommandButtons.h"
#include "ui/TwipsPlacement.h"
#include "ui/UiFonts.h"

#include <QFontInfo>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QStyledItemDelegate>

namespace torumin {

namespace {

// The history list: nothing looks chosen until the user chooses a line (a
// list view otherwise puts its focus frame on the first line when it gets the
// focus).
class HistoryList final : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    void focusInEvent(QFocusEvent *event) override
    {
        QListWidget::focusInEvent(event);
        if (selectedItems().isEmpty())
            selectionModel()->clearCurrentIndex();
    }
};

// Every row as tall as the list asks, so that whole rows fill it.
class RowHeightDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    int rowHeight = 0;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (rowHeight > 0)
            size.setHeight(rowHeight);
        return size;
    }
};

} // namespace

RIREKI::RIREKI(UiContext context, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("RIREKI"));
    setWindowTitle(QStringLiteral("検索履歴一覧"));
    const TwipsPlacement twips;
    setFixedSize(twips.size(8205, 4575));

    List1 = new HistoryList(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setToolTip(QStringLiteral(" 住所履歴一覧 "));
    List1->setFont(UiFonts::pGothic(9));
    List1->setGeometry(twips.rect(300, 300, 7545, 3660));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setItemDelegate(new RowHeightDelegate(List1));
    m_designedListHeight = List1->height();
    // The room for rows is known only once the list has placed its frame and
    // scroll bars.
    List1->viewport()->installEventFilter(this);

    Command1 = makeCommandButtons<4>(this,
                                     {QStringLiteral("OK"), QStringLiteral("コピー"), QStringLiteral("削除"),
                                      QStringLiteral("ヘルプ")},
                                     [this](int index) { Command1_Click(index); });
    placeButtonRow<4>(twips, Command1, {1337, 2747, 4157, 5567}, 4140);
    // No button is the default: Enter in the list must not commit the
    // removals, nor may OK look as if it would (see keyPressEvent).
    for (QPushButton *button : Command1)
        button->setAutoDefault(false);
    setTabOrder(List1, Command1[0]);
    for (std::size_t i = 0; i + 1 < Command1.size(); ++i)
        setTabOrder(Command1[i], Command1[i + 1]);

    Form_Load();
}

void RIREKI::Form_Load()
{
    List1->addItems(historyEntries(m_context.state.options));
    List1->setCurrentRow(-1);
    List1->clearSelection();
    List1->setFocus();
}

bool RIREKI::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == List1->viewport() && event->type() == QEvent::Resize)
        fitWholeRows();
    return QDialog::eventFilter(watched, event);
}

void RIREKI::fitWholeRows()
{
    // A last row cut in half looks like a fault, as in the candidate list:
    // rows as tight as the glyphs, a whole number of them filling the list.
    auto *delegate = static_cast<RowHeightDelegate *>(List1->itemDelegate());
    const int chrome = List1->height() - List1->viewport()->height();
    const WholeRows fit = wholeRows(m_designedListHeight, chrome, QFontInfo(List1->font()).pixelSize() + 3, 1);
    if (fit.rowHeight != delegate->rowHeight) {
        delegate->rowHeight = fit.rowHeight;
        List1->doItemsLayout();
    }
    if (fit.listHeight != List1->height())
        List1->resize(List1->width(), fit.listHeight);
}

void RIREKI::keyPressEvent(QKeyEvent *event)
{
    // Enter presses the button that has the focus, and nothing else.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto *button = qobject_cast<QPushButton *>(focusWidget()))
            button->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

int RIREKI::selectedRow() const
{
    const QList<QListWidgetItem *> selected = List1->selectedItems();
    return selected.isEmpty() ? -1 : List1->row(selected.front());
}

void RIREKI::Command1_Click(int index)
{
    switch (index) {
    case 0:
        commit();
        break;
    case 1:
        copySelected();
        break;
    case 2:
        deleteSelected();
        break;
    case 3:
        m_context.help.showTopic(HelpTopic::HistoryWindow);
        break;
    default:
        break;
    }
}

void RIREKI::copySelected()
{
    const int row = selectedRow();
    if (row < 0) {
        m_context.boxes.MsgBox(QStringLiteral("クリップボードにコピーするデータを検索履歴一覧の中から選択して下さい。　"),
                               kStyleExclamationOk, QStringLiteral("選択確認"));
        return;
    }
    const Options &options = m_context.state.options;
    m_context.clipboard.setText(historyCopyText(List1->item(row)->text(), options.isOn(QStringLiteral("YJ_Copy(0)")),
                                                options.isOn(QStringLiteral("YJ_Copy(1)"))));
}

void RIREKI::deleteSelected()
{
    const int row = selectedRow();
    if (row < 0) {
        m_context.boxes.MsgBox(QStringLiteral("削除する検索履歴を一覧の中から指定して下さい。　"), kStyleExclamationOk,
                               QStringLiteral("選択確認"));
        return;
    }
    delete List1->takeItem(row);
    List1->clearSelection();
}

void RIREKI::commit()
{
    QStringList entries;
    for (int row = 0; row < List1->count(); ++row)
        entries.append(List1->item(row)->text());
    commitHistory(m_context.state.options, m_context.store, entries);
    accept();
}

} // namespace torumin
