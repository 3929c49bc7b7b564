#include "app/OfficeList.h"

#include "app/Module1.h"
#include "app/platform/MessageBoxes.h"
#include "data/ListDataDate.h"
#include "data/OfficeTable.h"
#include "search/OfficeAddressMatcher.h"
#include "search/OfficeSearch.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace torumin {

namespace {

// CSV first: a folder holding both is one where the zip was unpacked.
QString officeListIn(const QString &folder)
{
    if (folder.isEmpty())
        return {};
    const QDir dir(folder);
    for (const QString &name : {QStringLiteral("jigyosyo.csv"), QStringLiteral("jigyosyo.zip")}) {
        // Name filters ignore the letter case: JIGYOSYO.CSV, Jigyosyo.zip.
        const QStringList found = dir.entryList({name}, QDir::Files | QDir::Readable);
        if (!found.isEmpty())
            return QDir::toNativeSeparators(dir.filePath(found.first()));
    }
    return {};
}

} // namespace

QString officeListPathFor(const QString &postalListPath, const QString &programFolder)
{
    const QString beside = postalListPath.isEmpty()
        ? QString()
        : officeListIn(QFileInfo(QDir::fromNativeSeparators(postalListPath)).absolutePath());
    return beside.isEmpty() ? officeListIn(QDir::fromNativeSeparators(programFolder)) : beside;
}

QString missingOfficeListMessage()
{
    return QStringLiteral("「事業所の個別郵便番号一覧 *.CSV」 が見つかりません。　") + QStringLiteral("\r\r")
        + QStringLiteral("大口事業所の個別郵便番号は検索できません。郵便番号一覧と同じフォルダーに "
                         "JIGYOSYO.CSV か jigyosyo.zip を置いてください。");
}

bool LoadOfficeTable(Module1 &state, MessageBoxes &boxes)
{
    state.officeNames.reset();
    state.officePlaces.reset();
    state.pickedOffice = -1;
    const QString path = officeListPathFor(selectedListPath(state.options), state.programFolder);
    if (path.isEmpty()) {
        state.offices = OfficeTable();
        state.officesPath.clear();
        state.officesDataDate = {};
        boxes.MsgBox(missingOfficeListMessage(), kStyleExclamationOk, listMessageTitle());
        return false;
    }
    OfficeReadResult read = readOfficeListFile(path);
    state.offices = std::move(read.table);
    state.officesPath = path;
    state.officesDataDate = listDataDate(path);
    if (read.error) {
        boxes.MsgBox(read.error->message, kStyleExclamationOk, listMessageTitle());
        return false;
    }
    return true;
}

const OfficeNameIndex &officeNameIndex(Module1 &state)
{
    if (!state.officeNames)
        state.officeNames = std::make_shared<const OfficeNameIndex>(state.offices);
    return *state.officeNames;
}

const OfficePlaces &officePlaces(Module1 &state)
{
    if (!state.officePlaces)
        state.officePlaces = std::make_shared<const OfficePlaces>(state.table, state.offices);
    return *state.officePlaces;
}

QString loadedOfficeSummary(const Module1 &state)
{
    if (state.officesPath.isEmpty())
        return {};
    QString summary = QLocale(QLocale::English).toString(state.offices.recordCount()) + QStringLiteral(" 件");
    if (state.officesDataDate.isValid())
        summary += QStringLiteral("（") + state.officesDataDate.toString(QStringLiteral("yyyy/MM/dd"))
            + QStringLiteral(" 更新）");
    return summary;
}

} // namespace torumin
