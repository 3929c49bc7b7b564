#include "ui/dialogs/YB_KOUHO.h"

#include "app/CandidateOptions.h"
#include "app/Module1.h"
#include "app/OfficeList.h"
#include "app/WindowGeometry.h"
#include "app/platform/Clipboard.h"
#include "app/platform/HelpViewer.h"
#include "app/platform/MessageBoxes.h"
#include "app/settings/NumericValue.h"
#include "ui/CommandButtons.h"
#include "ui/TwipsPlacement.h"
#include "ui/UiFonts.h"
#include "ui/dialogs/CandidateListModel.h"

#include <QEvent>
#include <QGuiApplication>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace torumin {

namespace {

// The list and buttons sit in the client area; the designed heights are the
// outer window's. A shown parent tells how much its frame adds.
QSize frameAllowance(const QWidget *parent)
{
    if (parent && parent->isVisible())
        return parent->frameGeometry().size() - parent->geometry().size();
    return {0, 0};
}

// The screen a window stored at `position` opens on: the one there, else (a
// screen since removed) its parent's.
QRect screenRoom(QPoint position, const QWidget *parent)
{
    const QScreen *screen = QGuiApplication::screenAt(position);
    if (!screen && parent)
        screen = parent->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(position, QSize(1 << 20, 1 << 20));
}

} // namespace

YB_KOUHO::YB_KOUHO(UiContext context, const QString &address, QWidget *parent, const QWidget *typedIn)
    : QDialog(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("YB_KOUHO"));
    setWindowTitle(QStringLiteral("〒＋住所候補"));

    List1 = new QListView(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setToolTip(QStringLiteral(" 〒＋住所候補 "));
    List1->setUniformItemSizes(true);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    List1->setWordWrap(false);
    List1->setTextElideMode(Qt::ElideNone);
    m_model = new CandidateListModel(this);
    List1->setModel(m_model);

    Command1 = makeCommandButtons<3>(this, {QStringLiteral("コピー"), QStringLiteral("キャンセル"), QStringLiteral("ヘルプ")},
                                     [this](int index) { Command1_Click(index); });
    setTabOrder(List1, Command1[0]);
    setTabOrder(Command1[0], Command1[1]);
    setTabOrder(Command1[1], Command1[2]);

    Form_Load(address, typedIn);
}

void YB_KOUHO::Form_Load(const QString &address, const QWidget *typedIn)
{
    const Options &options = m_context.state.options;
    const TwipsPlacement twips;

    const CandidateWindowHeights heights =
        candidateWindowHeights(options.value(QStringLiteral("OptYBsize")), options.value(QStringLiteral("OptYBketa")));
    QFont font = UiFonts::pGothic(9);
    const double size = options.number(QStringLiteral("OptYBsize"));
    if (size >= 1 && size <= 400)
        font.setPointSizeF(size);
    List1->setFont(font);

    const QSize frame = frameAllowance(parentWidget());
    const QSize outer = twips.size(8295, heights.window);
    setFixedSize(outer - frame);
    List1->setGeometry(twips.rect(300, 330, 7545, heights.list));
    m_designedListHeight = List1->height();
    const double asked = NumericValue(options.value(QStringLiteral("OptYBketa")));
    m_leastRows = asked >= 1 && asked <= 1000 ? static_cast<int>(asked) : 1;
    placeButtonRow<3>(twips, Command1, {2042, 3452, 4862}, heights.buttonsTop);

    m_format = candidateFormat(options);
    const PostalTable &table = m_context.state.table;
    const SplitAddress split = splitAddress(address);
    const std::vector<int> rows = candidateRows(table, split);
    // A large office the address names comes first, in a line of its own.
    const CandidateChoice best = bestCandidate(table, rows, split, address, officePlaces(m_context.state));
    QStringList lines = candidateLines(table, rows, split.prefecture, m_format);
    if (best.office >= 0)
        lines.prepend(officeCandidateLine(m_context.state.offices, best.office, m_format));
    m_model->setLines(std::move(lines), font);
    if (m_model->rowCount() == 0) {
        // Not over the address it asks the user to check.
        const QRect typed = typedIn && typedIn->isVisible() ? QRect(typedIn->mapToGlobal(QPoint(0, 0)), typedIn->size()) : QRect();
        m_context.boxes.MsgBoxClearOf(kNoCandidatesMessage, kStyleExclamationOk, kNoCandidatesTitle, typed);
    }

    // The line the typed address names, selected and in view: type, search, copy.
    if (best.office >= 0 || best.row >= 0) {
        const auto position =
            best.office >= 0 ? 0 : std::find(rows.cbegin(), rows.cend(), best.row) - rows.cbegin();
        const QModelIndex index = m_model->index(static_cast<int>(position), 0);
        List1->setCurrentIndex(index);
        List1->scrollTo(index, QAbstractItemView::PositionAtCenter);
    }

    // On the screen it opens on, whole: a row count too tall for the screen
    // gives fewer rows, a stored place off the screen's edge moves in.
    // A hand-edited store may hold any number; far off is far enough.
    const auto coordinate = [&](const char *key) {
        return std::clamp(twips.px(std::clamp(options.number(QString::fromLatin1(key)), -1e8, 1e8)), -(1 << 24), 1 << 24);
    };
    const QPoint stored(coordinate("YB_Left"), coordinate("YB_Top"));
    const ListWindowPlace place = listWindowOnScreen(QRect(stored, outer), List1->height(), screenRoom(stored, parentWidget()));
    if (const int cut = List1->height() - place.listHeight; cut > 0) {
        setFixedSize(place.frame.size() - frame);
        List1->resize(List1->width(), place.listHeight);
        for (QPushButton *button : Command1)
            button->move(button->x(), button->y() - cut);
        m_designedListHeight = List1->height();
        m_leastRows = 1;
    }
    move(place.frame.topLeft());
    List1->setFocus();
    // The room for rows is known only once the view has placed its frame and
    // scroll bars.
    List1->viewport()->installEventFilter(this);
}

bool YB_KOUHO::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == List1->viewport() && event->type() == QEvent::Resize)
        fitWholeRows();
    return QDialog::eventFilter(watched, event);
}

void YB_KOUHO::fitWholeRows()
{
    // A row cut in half at the bottom looks like a fault in the list: a whole
    // number of rows, at least the number the options ask for, fills the
    // designed height.
    const int chrome = List1->height() - List1->viewport()->height();
    const WholeRows fit = wholeRows(m_designedListHeight, chrome, m_model->preferredRowHeight(), m_leastRows);
    const bool changed = fit.rowHeight != m_model->rowHeight();
    m_model->setRowHeight(fit.rowHeight);
    if (fit.listHeight != List1->height())
        List1->resize(List1->width(), fit.listHeight);
    if (changed && List1->currentIndex().isValid())
        List1->scrollTo(List1->currentIndex(), QAbstractItemView::PositionAtCenter);
}

void YB_KOUHO::Command1_Click(int index)
{
    switch (index) {
    case 0:
        copySelected();
        break;
    case 1:
        savePosition();
        reject();
        break;
    case 2:
        m_context.help.showTopic(HelpTopic::CandidateWindow);
        break;
    default:
        break;
    }
}

void YB_KOUHO::copySelected()
{
    const QModelIndexList selected = List1->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        m_context.boxes.MsgBox(QStringLiteral("クリップボードにコピーするデータを候補一覧の中から選択して下さい。　"),
                               kStyleExclamationOk, QStringLiteral("選択確認"));
        return;
    }
    const QModelIndex last = *std::max_element(selected.cbegin(), selected.cend(),
                                               [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    CandidateFormat format = m_format;
    const Options &options = m_context.state.options;
    format.copyCode = options.isOn(QStringLiteral("YJ_Copy(0)"));
    format.copyAddress = options.isOn(QStringLiteral("YJ_Copy(1)"));
    m_context.clipboard.setText(candidateCopyText(m_model->lines().at(last.row()), format));
}

void YB_KOUHO::savePosition()
{
    const TwipsPlacement twips;
    const QPoint topLeft = pos();
    Options &options = m_context.state.options;
    options.store(m_context.store, QStringLiteral("YB_Top"), twipsText(pixelsToTwips(topLeft.y(), twips.dpi())));
    options.store(m_context.store, QStringLiteral("YB_Left"), twipsText(pixelsToTwips(topLeft.x(), twips.dpi())));
}

void YB_KOUHO::done(int result)
{
    // Every way of closing saves where the window was, the close box included.
    savePosition();
    QDialog::done(result);
}

} // namespace torumin
