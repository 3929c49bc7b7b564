#include "ui/settings/SETTEI.h"

#include "app/DownloadedList.h"
#include "app/OfficeList.h"
#include "app/ListUpdateMessages.h"
#include "app/Module1.h"
#include "app/SettingsKeys.h"
#include "app/ToolbarLayout.h"
#include "app/platform/CommonDialogs.h"
#include "app/platform/HelpViewer.h"
#include "app/platform/MessageBoxes.h"
#include "app/platform/WebOpener.h"
#include "app/settings/NumericValue.h"
#include "app/settings/SettingsStore.h"
#include "data/PostalListReader.h"
#include "ui/UiFonts.h"
#include "ui/main/TORUMIN.h"
#include "ui/settings/ListDownloadDialog.h"
#include "ui/settings/PathLabel.h"
#include "ui/settings/ToolbarCustomizeDialog.h"
#include "ui/settings/UpDown.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace torumin {

namespace {

constexpr std::array<int, 4> kTabHelp{HelpTopic::SettingsEnvironmentTab, HelpTopic::SettingsInitialTab,
                                      HelpTopic::SettingsSearchTab, HelpTopic::SettingsListTab};

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// A stored number as a whole number, 0 for what is not one.
int wholeNumber(const QString &text)
{
    const double value = std::trunc(NumericValue(text));
    return value >= -1e9 && value <= 1e9 ? static_cast<int>(value) : 0;
}

} // namespace

SETTEI::SETTEI(UiContext context, TORUMIN &mainWindow, CommonDialogs &dialogs, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_main(mainWindow)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("SETTEI"));
    setWindowTitle(QStringLiteral("各種設定"));
    setFont(UiFonts::uiGothic(9));

    environment = buildEnvironmentTab();
    initial = buildInitialTab();
    search = buildSearchTab();
    csv = buildCsvTab(kPostalCodeDownloadPage);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(environment.page, QStringLiteral("環境設定"));
    SSTab1->addTab(initial.page, QStringLiteral("初期設定"));
    SSTab1->addTab(search.page, QStringLiteral("検索設定"));
    SSTab1->addTab(csv.page, QStringLiteral("*.CSV 保存先"));
    SSTab1->setMouseTracking(true);
    SSTab1->installEventFilter(this);
    csv.page->setMouseTracking(true);
    csv.page->installEventFilter(this);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    const std::array<QString, 4> captions{QStringLiteral("OK"), QStringLiteral("キャンセル"), QStringLiteral("適用(&A)"),
                                          QStringLiteral("ヘルプ")};
    const std::array<QString, 4> tips{QStringLiteral(" OK "), QStringLiteral(" キャンセル "), QStringLiteral(" 適用 "),
                                      QStringLiteral(" ヘルプ ")};
    for (std::size_t i = 0; i < Command1.size(); ++i) {
        auto *button = new QPushButton(captions[i], this);
        button->setObjectName(QStringLiteral("Command1_%1").arg(i));
        button->setToolTip(tips[i]);
        button->setAutoDefault(true);
        connect(button, &QPushButton::clicked, this, [this, i] { Command1_Click(static_cast<int>(i)); });
        buttons->addWidget(button);
        Command1[i] = button;
    }
    Command1[0]->setDefault(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    layout->addLayout(buttons);

    connect(environment.Check1[4], &QCheckBox::toggled, this, [this] { Check1_Click(4); });
    for (int i = 0; i < 2; ++i)
        connect(environment.Command2[static_cast<std::size_t>(i)], &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
    connect(environment.Command3, &QPushButton::clicked, this, &SETTEI::Command3_Click);
    for (std::size_t i : {std::size_t(0), std::size_t(2)}) {
        connect(initial.UpDown1[i], &UpDown::valueChanged, this,
                [this, i](int value) { initial.Label4[i]->setText(QString::number(value)); });
    }
    for (int i = 0; i < 8; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        connect(csv.Option1[slot], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
        connect(csv.Command4[slot], &QToolButton::clicked, this, [this, i] { Command4_Click(i); });
        csv.Label3[slot]->installEventFilter(this);
    }
    connect(csv.Command5, &QPushButton::clicked, this, &SETTEI::Command5_Click);
    csv.Label1->setMouseTracking(true);
    csv.Label1->installEventFilter(this);
    setLinkHover(false);

    Form_Load();
}

void SETTEI::Form_Load()
{
    const Options &options = m_context.state.options;
    for (const auto &[index, key] : std::array<std::pair<int, const char *>, 6>{
             {{0, "OptLogo"}, {1, "OptCent"}, {2, "OptTemae"}, {4, "OptMBar"}, {6, "OptLAct"}, {7, "OptTBar2"}}}) {
        environment.Check1[static_cast<std::size_t>(index)]->setChecked(options.isOn(QString::fromLatin1(key)));
    }
    // Remembered or not, the dialog opens on the tab it was last applied on.
    SSTab1->setCurrentIndex(std::clamp(wholeNumber(options.value(QStringLiteral("OptLATab"))), 0, 3));
    showColour(0);
    showColour(1);

    for (std::size_t i = 0; i < 3; ++i) {
        initial.Check2[i]->setChecked(wholeNumber(options.value(arrayKey(QStringLiteral("YJ_Disp"), static_cast<int>(i)))) != 0);
        initial.Check3[i]->setChecked(wholeNumber(options.value(arrayKey(QStringLiteral("YJ_Copy"), static_cast<int>(i)))) != 0);
    }
    const std::array<std::pair<std::size_t, const char *>, 2> counters{{{0, "OptYBketa"}, {2, "OptYBsize"}}};
    for (const auto &[index, key] : counters) {
        initial.UpDown1[index]->setValue(wholeNumber(options.value(QString::fromLatin1(key))));
        initial.Label4[index]->setText(QString::number(initial.UpDown1[index]->value()));
    }

    for (int i = 0; i < 4; ++i) {
        search.Check4[static_cast<std::size_t>(i)]->setChecked(options.isOn(arrayKey(QStringLiteral("OptRen"), i)));
        search.Check5[static_cast<std::size_t>(i)]->setChecked(options.isOn(arrayKey(QStringLiteral("OptLak"), i)));
    }

    for (int i = 0; i < kListSlotCount; ++i) {
        const QString key = arrayKey(QStringLiteral("Yubin_File"), i);
        const QString path = options.value(key);
        QLabel *label = csv.Label3[static_cast<std::size_t>(i)];
        label->setText(path);
        label->setToolTip(QStringLiteral("　") + path + QStringLiteral("　"));
        if (!postalListExists(path)) {
            m_context.boxes.MsgBox(missingListMessage(), kStyleExclamationOk, listMessageTitle());
            m_context.state.options.set(key, QString());
        }
    }
    const QString summary = loadedListSummary(m_context.state);
    if (summary.isEmpty())
        csv.loadedList->setText(QStringLiteral("郵便番号一覧は読み込まれていません。"));
    else
        csv.loadedList->setPathLine(QStringLiteral("読み込み中の郵便番号一覧："), m_context.state.tablePath,
                                    QStringLiteral("　") + summary);
    csv.loadedList->setToolTip(csv.loadedList->text());
    const QString offices = loadedOfficeSummary(m_context.state);
    if (offices.isEmpty())
        csv.loadedOffices->setText(QStringLiteral("事業所の個別郵便番号一覧は読み込まれていません。"));
    else
        csv.loadedOffices->setPathLine(QStringLiteral("事業所の個別郵便番号一覧："), m_context.state.officesPath,
                                       QStringLiteral("　") + offices);
    csv.loadedOffices->setToolTip(csv.loadedOffices->text());
    m_openedSlot = selectedSlot(options);
    m_openedPath = selectedListPath(options);
    csv.Option1[static_cast<std::size_t>(m_openedSlot)]->setChecked(true);
}

void SETTEI::showColour(int index)
{
    const QColor colour = colourFromSetting(m_context.state.options.value(arrayKey(QStringLiteral("OptColor"), index)));
    environment.Command2[static_cast<std::size_t>(index)]->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; border: 1px solid #808080; }").arg(colour.name()));
}

void SETTEI::storeFlag(const QString &key, bool on)
{
    m_context.state.options.store(m_context.store, key, flag(on));
}

void SETTEI::Command1_Click(int index)
{
    switch (index) {
    case 0:
        ApplyEnvironmentTab();
        ApplyInitialTab();
        ApplySearchTab();
        ApplyCsvTab();
        // Another slot, or another list in the same slot (browsed or downloaded).
        if (selectedSlot(m_context.state.options) != m_openedSlot
            || selectedListPath(m_context.state.options) != m_openedPath)
            ReloadPostalTable(m_context.state, m_context.boxes);
        accept();
        break;
    case 1:
        reject();
        break;
    case 2:
        switch (SSTab1->currentIndex()) {
        case 0:
            ApplyEnvironmentTab();
            break;
        case 1:
            ApplyInitialTab();
            break;
        case 2:
            ApplySearchTab();
            break;
        default:
            ApplyCsvTab();
            break;
        }
        break;
    case 3:
        m_context.help.showTopic(kTabHelp[static_cast<std::size_t>(std::clamp(SSTab1->currentIndex(), 0, 3))]);
        break;
    default:
        break;
    }
}

void SETTEI::Check1_Click(int index)
{
    if (index == 4)
        m_context.state.options.set(QStringLiteral("OptMBar"), flag(environment.Check1[4]->isChecked()));
}

void SETTEI::ApplyEnvironmentTab()
{
    Options &options = m_context.state.options;
    storeFlag(QStringLiteral("OptLogo"), environment.Check1[0]->isChecked());

    m_main.setMenusVisible(options.isOn(QStringLiteral("OptMBar")));
    m_main.applyWindowSize();
    storeFlag(QStringLiteral("OptMBar"), environment.Check1[4]->isChecked());

    const bool centre = environment.Check1[1]->isChecked();
    const QPointF position = m_main.positionTwips();
    if (centre || (position.x() == 0 && position.y() == 0))
        m_main.centreOnScreen();
    options.store(m_context.store, QStringLiteral("OptCent"), flag(centre));

    storeFlag(QStringLiteral("OptTemae"), environment.Check1[2]->isChecked());
    storeFlag(QStringLiteral("OptTBar2"), environment.Check1[7]->isChecked());
    if (options.isOn(QStringLiteral("OptTBar2")))
        m_context.store.WriteSetting(Section::Config, QStringLiteral("Toolbar"), formatToolbarLayout(m_main.toolbarLayout()));
    storeFlag(QStringLiteral("OptLAct"), environment.Check1[6]->isChecked());
    if (options.isOn(QStringLiteral("OptLAct")))
        options.store(m_context.store, QStringLiteral("OptLATab"), QString::number(SSTab1->currentIndex()));
    for (int i = 0; i < 2; ++i) {
        const QString key = arrayKey(QStringLiteral("OptColor"), i);
        options.store(m_context.store, key, options.value(key));
    }
    m_main.applyColours();
}

void SETTEI::ApplyInitialTab()
{
    Options &options = m_context.state.options;
    options.store(m_context.store, QStringLiteral("OptYBketa"), initial.Label4[0]->text());
    options.store(m_context.store, QStringLiteral("OptYBsize"), initial.Label4[2]->text());
    for (int i = 0; i < 3; ++i) {
        storeFlag(arrayKey(QStringLiteral("YJ_Disp"), i), initial.Check2[static_cast<std::size_t>(i)]->isChecked());
        storeFlag(arrayKey(QStringLiteral("YJ_Copy"), i), initial.Check3[static_cast<std::size_t>(i)]->isChecked());
    }
}

void SETTEI::ApplySearchTab()
{
    for (int i = 0; i < 4; ++i) {
        storeFlag(arrayKey(QStringLiteral("OptRen"), i), search.Check4[static_cast<std::size_t>(i)]->isChecked());
        storeFlag(arrayKey(QStringLiteral("OptLak"), i), search.Check5[static_cast<std::size_t>(i)]->isChecked());
    }
}

void SETTEI::ApplyCsvTab()
{
    m_beforeDownloads.clear();
    Options &options = m_context.state.options;
    options.store(m_context.store, QStringLiteral("OptSen"), options.value(QStringLiteral("OptSen")));
    for (int i = 0; i < kListSlotCount; ++i) {
        for (const QString &family : {QStringLiteral("Yubin_File"), QStringLiteral("FolderName")}) {
            const QString key = arrayKey(family, i);
            options.store(m_context.store, key, options.value(key));
        }
    }
}

void SETTEI::Command2_Click(int index)
{
    const QString key = arrayKey(QStringLiteral("OptColor"), index);
    const double current = m_context.state.options.number(key);
    const auto initialColour = current >= 0 && current <= 4294967295.0 ? static_cast<std::uint32_t>(current) : 0u;
    if (const auto chosen = m_dialogs.chooseColour(this, initialColour)) {
        m_context.state.options.set(key, QString::number(*chosen));
        showColour(index);
    }
    raise();
    activateWindow();
}

void SETTEI::Command3_Click()
{
    ToolbarCustomizeDialog dialog(m_main.menus(), this);
    dialog.exec();
}

void SETTEI::Command4_Click(int index)
{
    const Options &options = m_context.state.options;
    const QString path = m_dialogs.chooseListFile(this, QStringLiteral("郵便番号一覧の選択"),
                                                  options.value(arrayKey(QStringLiteral("FolderName"), index)));
    if (path.isEmpty())
        return;
    pointSlotAt(index, path);
}

void SETTEI::pointSlotAt(int index, const QString &path)
{
    Options &options = m_context.state.options;
    const qsizetype separator = path.lastIndexOf(QDir::separator());
    QString folder = separator < 0 ? QString() : path.left(separator);
    // A file at the root of a Unix file system: its folder is "/" itself.
    if (folder.isEmpty() && separator == 0)
        folder = QDir::separator();
    options.set(arrayKey(QStringLiteral("FolderName"), index), folder);
    options.set(arrayKey(QStringLiteral("Yubin_File"), index), path);
    QLabel *label = csv.Label3[static_cast<std::size_t>(index)];
    label->setText(path);
    label->setToolTip(QStringLiteral("　") + path + QStringLiteral("　"));
}

void SETTEI::Command5_Click()
{
    const Module1 &state = m_context.state;
    ListDownloadRequest request;
    request.url = latestListUrl(state.options);
    request.folder = downloadedListsFolder();
    if (!state.tablePath.isEmpty())
        request.loadedDataDate = state.tableDataDate.date();
    // Stored or only in memory, a list a slot names is kept.
    for (int i = 0; i < kListSlotCount; ++i) {
        const QString key = arrayKey(QStringLiteral("Yubin_File"), i);
        request.inUsePaths << state.options.value(key) << m_context.store.ReadSetting(Section::Config, key);
    }
    request.inUsePaths << state.tablePath;
    ListDownloadRequest offices;
    offices.url = latestOfficeListUrl(state.options);
    offices.limits = kOfficeListCheckLimits;

    ListDownloadDialog progress(std::move(request), std::move(offices), this);
    progress.exec();
    const ListDownloadResult &result = progress.result();
    switch (result.outcome) {
    case ListDownloadResult::Outcome::Installed: {
        const int slot = selectedSlot(state.options);
        const Options &options = state.options;
        m_beforeDownloads.push_back({slot, options.value(arrayKey(QStringLiteral("Yubin_File"), slot)),
                                     options.value(arrayKey(QStringLiteral("FolderName"), slot)), result.path});
        pointSlotAt(slot, result.path);
        const std::optional<ListDownloadResult> &offices = progress.officeResult();
        const bool officesCame = offices && offices->outcome == ListDownloadResult::Outcome::Installed;
        csv.downloadStatus->setText(
            QStringLiteral("ダウンロードしました：%1（%2 のデータ、%3 件）%4。［OK］を押すと読み込みます。")
                .arg(result.path, result.dataDate.toString(QStringLiteral("yyyy/MM/dd")),
                     QLocale(QLocale::English).toString(result.recordCount),
                     officesCame ? QStringLiteral("と事業所の個別郵便番号一覧（%1 件）")
                                       .arg(QLocale(QLocale::English).toString(offices->recordCount))
                                 : QString()));
        // The postal list stays whatever became of the office list; a failure is told.
        if (offices && offices->outcome == ListDownloadResult::Outcome::Failed && offices->error)
            m_context.boxes.MsgBox(listUpdateFailedMessage(*offices->error, ListKind::Office), kStyleExclamationOk,
                                   listUpdateTitle());
        break;
    }
    case ListDownloadResult::Outcome::UpToDate:
        m_context.boxes.MsgBox(listUpToDateMessage(result.dataDate), kStyleExclamationOk, listUpdateTitle());
        break;
    case ListDownloadResult::Outcome::Failed:
        if (result.error)
            m_context.boxes.MsgBox(listUpdateFailedMessage(*result.error), kStyleExclamationOk, listUpdateTitle());
        break;
    case ListDownloadResult::Outcome::Cancelled:
        break;
    }
}

void SETTEI::reject()
{
    Options &options = m_context.state.options;
    for (auto it = m_beforeDownloads.rbegin(); it != m_beforeDownloads.rend(); ++it) {
        const QString fileKey = arrayKey(QStringLiteral("Yubin_File"), it->index);
        if (options.value(fileKey) != it->downloaded)
            continue;  // chosen again since, by hand
        options.set(fileKey, it->file);
        options.set(arrayKey(QStringLiteral("FolderName"), it->index), it->folder);
    }
    m_beforeDownloads.clear();
    QDialog::reject();
}

void SETTEI::Option1_Click(int index)
{
    m_context.state.options.set(QStringLiteral("OptSen"), QString::number(index));
}

void SETTEI::Label3_Click(int index)
{
    Option1_Click(index);
    csv.Option1[static_cast<std::size_t>(index)]->setChecked(true);
}

void SETTEI::setLinkHover(bool hover)
{
    QPalette palette = csv.Label1->palette();
    palette.setColor(QPalette::WindowText, hover ? QColor(0, 0, 255) : QColor(0, 0, 0));
    csv.Label1->setPalette(palette);
}

bool SETTEI::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == csv.Label1) {
        if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
            setLinkHover(true);
            // Not passed on to the page below, which would turn the link black again.
            return event->type() == QEvent::MouseMove;
        }
        if (event->type() == QEvent::MouseButtonRelease)
            OpenWebPage(m_context.web, m_context.boxes, kPostalCodeDownloadPage, kBrowserMissingSettings);
    } else if ((watched == SSTab1 || watched == csv.page) && event->type() == QEvent::MouseMove) {
        setLinkHover(false);
    } else if (event->type() == QEvent::MouseButtonRelease) {
        for (int i = 0; i < kListSlotCount; ++i) {
            if (watched == csv.Label3[static_cast<std::size_t>(i)])
                Label3_Click(i);
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace torumin
