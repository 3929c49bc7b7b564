#include "app/Module1.h"

#include "app/OfficeList.h"
#include "app/SettingsKeys.h"
#include "app/WindowGeometry.h"
#include "app/platform/MessageBoxes.h"
#include "app/settings/NumericValue.h"
#include "app/settings/SettingsStore.h"
#include "data/ListDataDate.h"
#include "data/PostalListReader.h"

#include <QDir>
#include <QLocale>

#include <cmath>
#include <utility>
#include <vector>

namespace torumin {

namespace {

class StartUpReader {
public:
    StartUpReader(Options &options, SettingsStore &store, const QString &programFolder)
        : m_options(options), m_store(store), m_programFolder(programFolder)
    {
    }

    // An empty key gets its default, in memory at once and in the store with
    // the others at writeDefaults().
    QString read(const QString &key)
    {
        const SettingKey *entry = findSettingKey(key);
        Q_ASSERT(entry);
        if (!entry)
            return {};
        QString value = m_store.ReadSetting(entry->section, key);
        if (value.isEmpty()) {
            const QString fallback = defaultValue(*entry, m_programFolder);
            if (!fallback.isEmpty()) {
                m_defaults.push_back({entry->section, key, fallback});
                value = fallback;
            }
        }
        m_options.set(key, value);
        return value;
    }

    // One save for them all: a first start has forty-odd of them, and a save
    // each would cost as many flushes to the disk. Should the program end
    // before this, nothing is lost: the next start finds the same keys empty.
    void writeDefaults()
    {
        if (!m_defaults.empty())
            m_store.WriteSettings(std::exchange(m_defaults, {}));
    }

    void readArray(const QString &name, int count)
    {
        for (int i = 0; i < count; ++i)
            read(arrayKey(name, i));
    }

    // A stored position is used when it is not empty and not negative; otherwise
    // the centred one, in memory only.
    void readPosition(const QString &key, double centred)
    {
        const QString stored = read(key);
        if (stored.isEmpty() || NumericValue(stored) < 0)
            m_options.set(key, twipsText(centred));
    }

private:
    Options &m_options;
    SettingsStore &m_store;
    const QString &m_programFolder;
    std::vector<SettingWrite> m_defaults;
};

} // namespace

int selectedSlot(const Options &options)
{
    const double slot = std::nearbyint(options.number(QStringLiteral("OptSen")));
    if (!(slot >= 0 && slot < kListSlotCount))
        return 0;
    return static_cast<int>(slot);
}

QString selectedListPath(const Options &options)
{
    return options.value(arrayKey(QStringLiteral("Yubin_File"), selectedSlot(options)));
}

QString missingListMessage()
{
    return QStringLiteral("指定された 「郵便番号一覧 *.CSV」 が存在しません。　") + QStringLiteral("\r\r")
        + QStringLiteral("各種設定画面 「*.csv 保存先」 タブから、郵便番号一覧 *.CSV を設定して下さい。  ");
}

QString listMessageTitle()
{
    return QStringLiteral("*.CSV 確認");
}

namespace {

void rememberSource(Module1 &state, const QString &path)
{
    state.tablePath = path;
    state.tableDataDate = listDataDate(path);
    // Made of the table that was there before.
    state.officePlaces.reset();
}

} // namespace

QString loadedListSummary(const Module1 &state)
{
    if (state.tablePath.isEmpty())
        return {};
    QString summary = QLocale(QLocale::English).toString(state.table.recordCount()) + QStringLiteral(" 件");
    if (state.tableDataDate.isValid())
        summary += QStringLiteral("（") + state.tableDataDate.toString(QStringLiteral("yyyy/MM/dd")) + QStringLiteral(" 更新）");
    return summary;
}

bool LoadPostalTable(Module1 &state, MessageBoxes &boxes)
{
    const QString path = selectedListPath(state.options);
    ListReadResult result = readPostalListFile(path);
    state.table = std::move(result.table);
    rememberSource(state, path);
    if (result.error) {
        boxes.MsgBox(result.error->message, kStyleExclamationOk, listMessageTitle());
        return false;
    }
    return true;
}

bool ReloadPostalTable(Module1 &state, MessageBoxes &boxes)
{
    const QString path = selectedListPath(state.options);
    if (!postalListExists(path)) {
        boxes.MsgBox(missingListMessage(), kStyleExclamationOk, listMessageTitle());
        return false;
    }
    ListReadResult result = readPostalListFile(path);
    if (result.error) {
        boxes.MsgBox(result.error->message, kStyleExclamationOk, listMessageTitle());
        return false;
    }
    state.table = std::move(result.table);
    rememberSource(state, path);
    LoadOfficeTable(state, boxes);
    return true;
}

void StartUp(Module1 &state, SettingsStore &store, MessageBoxes &boxes, const StartUpEnvironment &env)
{
    state.programFolder = env.programFolder;
    QDir::setCurrent(state.programFolder);
    state.AppName = QStringLiteral("TORUMIN");
    state.HelpFilePath = state.programFolder + QDir::separator() + QStringLiteral("TORUMIN.HLP");

    StartUpReader reader(state.options, store, state.programFolder);
    if (reader.read(QStringLiteral("OptLogo")) == QLatin1String("1") && env.showSplash)
        env.showSplash();

    for (int i = 0; i < kListSlotCount; ++i) {
        reader.read(arrayKey(QStringLiteral("Yubin_File"), i));
        reader.read(arrayKey(QStringLiteral("FolderName"), i));
    }
    reader.read(QStringLiteral("OptSen"));

    if (postalListExists(selectedListPath(state.options)))
        LoadPostalTable(state, boxes);
    else
        boxes.MsgBox(missingListMessage(), kStyleExclamationOk, listMessageTitle());
    LoadOfficeTable(state, boxes);
    if (env.closeSplash)
        env.closeSplash();

    reader.read(QStringLiteral("OptCent"));
    const QPointF mainCentre = centredMainPositionTwips(env.screenTwips);
    reader.readPosition(QStringLiteral("O_Left"), mainCentre.x());
    reader.readPosition(QStringLiteral("O_Top"), mainCentre.y());

    const double candidateHeight = NumericValue(reader.read(QStringLiteral("YB_Height")));
    const double candidateWidth = NumericValue(reader.read(QStringLiteral("YB_Width")));
    const QPointF candidateCentre = centredCandidatePositionTwips(env.screenTwips, candidateHeight, candidateWidth);
    reader.readPosition(QStringLiteral("YB_Left"), candidateCentre.x());
    reader.readPosition(QStringLiteral("YB_Top"), candidateCentre.y());

    reader.read(QStringLiteral("OptTemae"));
    reader.read(QStringLiteral("OptMBar"));
    reader.read(QStringLiteral("OptTBar2"));
    for (int i = 0; i < 4; ++i) {
        reader.read(arrayKey(QStringLiteral("OptRen"), i));
        reader.read(arrayKey(QStringLiteral("OptLak"), i));
    }
    reader.read(QStringLiteral("OptLAct"));
    reader.read(QStringLiteral("OptLATab"));
    reader.readArray(QStringLiteral("OptColor"), 2);
    reader.read(QStringLiteral("YubinB"));
    for (int i = 0; i < 3; ++i) {
        reader.read(arrayKey(QStringLiteral("Jusho"), i));
        reader.read(arrayKey(QStringLiteral("Jusho2"), i));
    }
    for (int i = 0; i < 3; ++i) {
        reader.read(arrayKey(QStringLiteral("YJ_Disp"), i));
        reader.read(arrayKey(QStringLiteral("YJ_Copy"), i));
    }
    reader.read(QStringLiteral("J_Input"));
    reader.read(QStringLiteral("Jigyosyo"));
    reader.readArray(QStringLiteral("K_Rireki"), kHistorySize);
    reader.read(QStringLiteral("OptYBketa"));
    reader.read(QStringLiteral("OptYBsize"));
    reader.read(QStringLiteral("ListUrl"));
    reader.read(QStringLiteral("JigyosyoUrl"));
    reader.writeDefaults();
}

} // namespace torumin
