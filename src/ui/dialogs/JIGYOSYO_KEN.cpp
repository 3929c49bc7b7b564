#include "ui/dialogs/JIGYOSYO_KEN.h"

#include "app/Module1.h"
#include "app/OfficeList.h"
#include "app/platform/Clipboard.h"
#include "app/platform/HelpViewer.h"
#include "app/platform/MessageBoxes.h"
#include "search/Candidates.h"
#include "search/OfficeSearch.h"
#include "ui/CommandButtons.h"
#include "ui/TwipsPlacement.h"
#include "ui/UiFonts.h"
#include "ui/dialogs/CandidateListModel.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

namespace torumin {

JIGYOSYO_KEN::JIGYOSYO_KEN(UiContext context, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_index(officeNameIndex(context.state))
{
    setObjectName(QStringLiteral("JIGYOSYO_KEN"));
    setWindowTitle(QStringLiteral("事業所名検索"));
    const TwipsPlacement twips;
    setFixedSize(twips.size(9000, 5130));

    Label1 = new QLabel(QStringLiteral("事業所名（一部やﾖﾐでも可）を入力し、一覧から選んで検索ボタンを押して下さい。"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(UiFonts::pGothic(9));
    Label1->setGeometry(twips.rect(240, 240, 8520, 300));

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setToolTip(QStringLiteral(" 事業所名 "));
    Text1->setFont(UiFonts::gothic(9));
    Text1->setGeometry(twips.rect(240, 630, 8520, 330));
    Text1->installEventFilter(this);

    List1 = new QListView(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setToolTip(QStringLiteral(" 〒＋事業所名＋住所 "));
    List1->setUniformItemSizes(true);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List1->setWordWrap(false);
    List1->setTextElideMode(Qt::ElideNone);
    List1->setFont(UiFonts::pGothic(9));
    List1->setGeometry(twips.rect(240, 1080, 8520, 3420));
    m_model = new CandidateListModel(this);
    List1->setModel(m_model);
    connect(List1, &QListView::doubleClicked, this, [this] { search(); });

    Command1 = makeCommandButtons<4>(this,
                                     {QStringLiteral("検索"), QStringLiteral("コピー"), QStringLiteral("キャンセル"),
                                      QStringLiteral("ヘルプ")},
                                     [this](int index) { Command1_Click(index); });
    placeButtonRow<4>(twips, Command1, {1510, 3070, 4630, 6190}, 4650);
    // Type, Enter: the highlighted office.
    Command1[0]->setDefault(true);
    setTabOrder(Text1, List1);
    setTabOrder(List1, Command1[0]);
    setTabOrder(Command1[0], Command1[1]);
    setTabOrder(Command1[1], Command1[2]);
    setTabOrder(Command1[2], Command1[3]);

    const OfficeTable &offices = m_context.state.offices;
    m_lines.reserve(offices.recordCount());
    for (int row = 0; row < offices.recordCount(); ++row)
        m_lines.append(officeLine(offices, row));
    m_widths = CandidateListModel::estimatedWidths(m_lines, List1->font());

    connect(Text1, &QLineEdit::textChanged, this, &JIGYOSYO_KEN::Text1_Change);
    Text1->setText(m_context.state.options.value(QStringLiteral("Jigyosyo")));
    Text1->selectAll();
    Text1_Change();
    Text1->setFocus();
}

void JIGYOSYO_KEN::Text1_Change()
{
    m_rows = m_index.find(Text1->text());
    QStringList lines;
    std::vector<int> widths;
    lines.reserve(static_cast<qsizetype>(m_rows.size()));
    widths.reserve(m_rows.size());
    for (const int row : m_rows) {
        lines.append(m_lines.at(row));
        widths.push_back(m_widths[static_cast<std::size_t>(row)]);
    }
    // Measured once for every office: a keystroke only picks the widest.
    const int widest = CandidateListModel::widestLine(lines, widths, List1->font());
    m_model->setLines(std::move(lines), List1->font(), widest);
    // The first office is the one Enter takes until the arrows pick another.
    if (!m_rows.empty())
        List1->setCurrentIndex(m_model->index(0, 0));
}

bool JIGYOSYO_KEN::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            QCoreApplication::sendEvent(List1, event);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

int JIGYOSYO_KEN::currentOffice() const
{
    const QModelIndex current = List1->currentIndex();
    if (!current.isValid() || current.row() >= static_cast<int>(m_rows.size()))
        return -1;
    return m_rows[static_cast<std::size_t>(current.row())];
}

void JIGYOSYO_KEN::Command1_Click(int index)
{
    switch (index) {
    case 0:
        search();
        break;
    case 1:
        copySelected();
        break;
    case 2:
        reject();
        break;
    case 3:
        m_context.help.showTopic(HelpTopic::OfficeNameDialog);
        break;
    default:
        break;
    }
}

void JIGYOSYO_KEN::search()
{
    const int office = currentOffice();
    if (office < 0) {
        m_context.boxes.MsgBox(m_context.state.offices.recordCount() == 0
                                   ? QStringLiteral("事業所の個別郵便番号一覧が読み込まれていません。　")
                                   : QStringLiteral("入力された名前の事業所は、一覧にありません。　"),
                               kStyleExclamationOk, QStringLiteral("事業所名確認"));
        Text1->setFocus();
        return;
    }
    m_context.state.options.store(m_context.store, QStringLiteral("Jigyosyo"), Text1->text());
    m_context.state.pickedOffice = office;
    m_context.state.searchRequested = 1;
    accept();
}

void JIGYOSYO_KEN::copySelected()
{
    const QModelIndex current = List1->currentIndex();
    if (!current.isValid()) {
        m_context.boxes.MsgBox(QStringLiteral("クリップボードにコピーするデータを一覧の中から選択して下さい。　"),
                               kStyleExclamationOk, QStringLiteral("選択確認"));
        return;
    }
    CandidateFormat format;
    const Options &options = m_context.state.options;
    format.copyCode = options.isOn(QStringLiteral("YJ_Copy(0)"));
    format.copyAddress = options.isOn(QStringLiteral("YJ_Copy(1)"));
    m_context.clipboard.setText(candidateCopyText(m_model->lines().at(current.row()), format));
}

} // namespace torumin
