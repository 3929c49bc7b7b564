#include "ui/settings/SettingsTabs.h"

#include "ui/UiFonts.h"
#include "ui/settings/PathLabel.h"
#include "ui/settings/UpDown.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace torumin {

namespace {

QString tip(const QString &caption)
{
    QString plain = caption;
    plain.remove(QRegularExpression(QStringLiteral("\\(&.\\)$")));
    return QLatin1Char(' ') + plain + QLatin1Char(' ');
}

QCheckBox *checkBox(const QString &name, const QString &caption, bool withTip = true)
{
    auto *box = new QCheckBox(caption);
    box->setObjectName(name);
    if (withTip)
        box->setToolTip(tip(caption));
    return box;
}

QGroupBox *frame(const QString &name, const QString &title)
{
    auto *group = new QGroupBox(title);
    group->setObjectName(name);
    return group;
}

QWidget *page(const QString &name)
{
    auto *widget = new QWidget;
    widget->setObjectName(name);
    widget->setFont(UiFonts::uiGothic(9));
    return widget;
}

} // namespace

EnvironmentTab buildEnvironmentTab()
{
    EnvironmentTab tab;
    tab.page = page(QStringLiteral("tab0"));
    auto *layout = new QHBoxLayout(tab.page);

    auto *checks = new QVBoxLayout;
    const std::array<std::pair<int, QString>, 6> boxes{{
        {0, QStringLiteral("ロゴの表示(&L)")},
        {1, QStringLiteral("画面のセンタリング(&C)")},
        {2, QStringLiteral("手前に表示(&F)")},
        {4, QStringLiteral("メニューバーの表示(&M)")},
        {6, QStringLiteral("最後のアクティブタブ(&A)")},
        {7, QStringLiteral("ボタン構成の保存(&B)")},
    }};
    for (const auto &[index, caption] : boxes) {
        QCheckBox *box = checkBox(QStringLiteral("Check1_%1").arg(index), caption);
        tab.Check1[static_cast<std::size_t>(index)] = box;
        checks->addWidget(box);
    }
    checks->addStretch();
    layout->addLayout(checks);

    auto *right = new QVBoxLayout;
    QGroupBox *colours = frame(QStringLiteral("Frame1_0"), QStringLiteral(" メイン画面の配色 "));
    auto *grid = new QGridLayout(colours);
    const std::array<QString, 2> colourNames{QStringLiteral("文字色"), QStringLiteral("背景色")};
    for (std::size_t i = 0; i < tab.Command2.size(); ++i) {
        auto *label = new QLabel(colourNames[i]);
        label->setObjectName(QStringLiteral("Label2_%1").arg(i));
        auto *button = new QPushButton;
        button->setObjectName(QStringLiteral("Command2_%1").arg(i));
        button->setToolTip(QLatin1Char(' ') + colourNames[i] + QLatin1Char(' '));
        button->setFixedSize(48, 22);
        button->setAutoDefault(true);
        grid->addWidget(label, static_cast<int>(i), 0);
        grid->addWidget(button, static_cast<int>(i), 1);
        tab.Command2[i] = button;
    }
    right->addWidget(colours);

    auto *toolbarRow = new QHBoxLayout;
    toolbarRow->addWidget(new QLabel(QStringLiteral("ツールバー")));
    tab.Command3 = new QPushButton(QStringLiteral("..."));
    tab.Command3->setObjectName(QStringLiteral("Command3"));
    tab.Command3->setToolTip(QStringLiteral(" ツールバーの変更 "));
    tab.Command3->setAutoDefault(true);
    toolbarRow->addWidget(tab.Command3);
    toolbarRow->addStretch();
    right->addLayout(toolbarRow);
    right->addStretch();
    layout->addLayout(right);
    return tab;
}

InitialTab buildInitialTab()
{
    InitialTab tab;
    tab.page = page(QStringLiteral("tab1"));
    auto *outer = new QVBoxLayout(tab.page);
    QGroupBox *candidates = frame(QStringLiteral("Frame2_0"), QStringLiteral(" 住所入力 → 〒＋住所候補 "));
    candidates->setToolTip(QStringLiteral(" 住所入力 → 〒＋住所 "));
    outer->addWidget(candidates);
    auto *layout = new QHBoxLayout(candidates);

    const std::array<std::tuple<int, QString, int, int>, 2> counters{{
        {0, QStringLiteral(" 表示行数 "), 3, 50},
        {2, QStringLiteral(" ﾌｫﾝﾄｻｲｽﾞ "), 9, 11},
    }};
    for (const auto &[index, title, minimum, maximum] : counters) {
        QGroupBox *box = frame(QStringLiteral("Frame3_%1").arg(index), title);
        auto *row = new QHBoxLayout(box);
        auto *value = new QLabel;
        value->setObjectName(QStringLiteral("Label4_%1").arg(index));
        value->setFrameShape(QFrame::Panel);
        value->setFrameShadow(QFrame::Sunken);
        value->setFixedSize(36, 22);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *updown = new UpDown(minimum, maximum);
        updown->setObjectName(QStringLiteral("UpDown1_%1").arg(index));
        row->addWidget(value, 0, Qt::AlignTop);
        row->addWidget(updown, 0, Qt::AlignTop);
        row->addStretch();
        tab.Label4[static_cast<std::size_t>(index)] = value;
        tab.UpDown1[static_cast<std::size_t>(index)] = updown;
        layout->addWidget(box);
    }

    QGroupBox *display = frame(QStringLiteral("Frame2_1"), QStringLiteral(" 表示 "));
    auto *displayLayout = new QVBoxLayout(display);
    const std::array<QString, 3> displayCaptions{QStringLiteral("\"〒\" (&T)"), QStringLiteral("\"－\" (&H)"),
                                                 QStringLiteral("都道府県(&P)")};
    for (std::size_t i = 0; i < tab.Check2.size(); ++i) {
        tab.Check2[i] = checkBox(QStringLiteral("Check2_%1").arg(i), displayCaptions[i], false);
        displayLayout->addWidget(tab.Check2[i]);
    }
    layout->addWidget(display);

    QGroupBox *copy = frame(QStringLiteral("Frame2_2"), QStringLiteral(" ｸﾘｯﾌﾟﾎﾞｰﾄﾞへｺﾋﾟｰ "));
    auto *copyLayout = new QVBoxLayout(copy);
    const std::array<QString, 3> copyCaptions{QStringLiteral("郵便番号(&Y)"), QStringLiteral("住所(&A)"),
                                              QStringLiteral("ダミー")};
    for (std::size_t i = 0; i < tab.Check3.size(); ++i) {
        tab.Check3[i] = checkBox(QStringLiteral("Check3_%1").arg(i), copyCaptions[i], false);
        copyLayout->addWidget(tab.Check3[i]);
    }
    // Keeps the copy options as long as the display options; nothing reads it.
    tab.Check3[2]->setVisible(false);
    layout->addWidget(copy);
    outer->addStretch();
    return tab;
}

SearchTab buildSearchTab()
{
    SearchTab tab;
    tab.page = page(QStringLiteral("tab2"));
    auto *layout = new QHBoxLayout(tab.page);
    const std::array<QString, 4> modes{QStringLiteral("郵便番号検索"), QStringLiteral("住所検索（漢字）"),
                                       QStringLiteral("住所検索（カナ）"), QStringLiteral("住所入力検索")};
    const auto column = [&](const QString &frameName, const QString &title, const QString &boxName,
                            std::array<QCheckBox *, 4> &boxes) {
        QGroupBox *group = frame(frameName, title);
        auto *list = new QVBoxLayout(group);
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            boxes[i] = checkBox(boxName.arg(i), modes[i], false);
            list->addWidget(boxes[i]);
        }
        layout->addWidget(group);
    };
    column(QStringLiteral("Frame1_12"), QStringLiteral(" 連続検索 "), QStringLiteral("Check4_%1"), tab.Check4);
    column(QStringLiteral("Frame1_13"), QStringLiteral(" 最後の検索 "), QStringLiteral("Check5_%1"), tab.Check5);
    return tab;
}

CsvTab buildCsvTab(const QString &downloadPage)
{
    CsvTab tab;
    tab.page = page(QStringLiteral("tab3"));
    auto *layout = new QVBoxLayout(tab.page);
    auto *grid = new QGridLayout;
    const QIcon folder = QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon);
    for (int i = 0; i < 8; ++i) {
        auto *option = new QRadioButton;
        option->setObjectName(QStringLiteral("Option1_%1").arg(i));
        auto *path = new PathLabel;
        path->setObjectName(QStringLiteral("Label3_%1").arg(i));
        path->setFrameShape(QFrame::Panel);
        path->setFrameShadow(QFrame::Sunken);
        path->setMinimumWidth(360);
        auto *browse = new QToolButton;
        browse->setObjectName(QStringLiteral("Command4_%1").arg(i));
        browse->setIcon(folder);
        browse->setIconSize(QSize(16, 16));
        browse->setToolTip(QStringLiteral(" *.CSV 保存先 "));
        grid->addWidget(option, i, 0);
        grid->addWidget(path, i, 1);
        grid->addWidget(browse, i, 2);
        tab.Option1[static_cast<std::size_t>(i)] = option;
        tab.Label3[static_cast<std::size_t>(i)] = path;
        tab.Command4[static_cast<std::size_t>(i)] = browse;
    }
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    // One line, its path giving up its middle when long, as the slots' do:
    // a path cannot wrap, and would widen the window.
    tab.loadedList = new PathLabel;
    tab.loadedList->setObjectName(QStringLiteral("loadedList"));
    layout->addWidget(tab.loadedList);
    tab.loadedOffices = new PathLabel;
    tab.loadedOffices->setObjectName(QStringLiteral("loadedOffices"));
    layout->addWidget(tab.loadedOffices);

    tab.Label1 = new QLabel(QStringLiteral("URL：") + downloadPage);
    tab.Label1->setObjectName(QStringLiteral("Label1"));
    tab.Label1->setToolTip(QLatin1Char(' ') + downloadPage + QLatin1Char(' '));
    tab.Label1->setCursor(Qt::PointingHandCursor);
    tab.Label1->setTextFormat(Qt::PlainText);
    tab.Command5 = new QPushButton(QStringLiteral("最新の一覧をダウンロード(&D)"));
    tab.Command5->setObjectName(QStringLiteral("Command5"));
    tab.Command5->setToolTip(tip(tab.Command5->text()));
    tab.Command5->setAutoDefault(true);
    auto *linkRow = new QHBoxLayout;
    linkRow->addWidget(tab.Label1);
    linkRow->addStretch();
    linkRow->addWidget(tab.Command5);
    layout->addLayout(linkRow);
    tab.downloadStatus = new QLabel;
    tab.downloadStatus->setObjectName(QStringLiteral("downloadStatus"));
    tab.downloadStatus->setTextFormat(Qt::PlainText);
    tab.downloadStatus->setWordWrap(true);
    layout->addWidget(tab.downloadStatus);
    layout->addStretch();
    return tab;
}

} // namespace torumin
