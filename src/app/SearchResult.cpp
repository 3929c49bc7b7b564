#include "app/SearchResult.h"

#include "app/Module1.h"
#include "app/SettingsKeys.h"
#include "search/OfficeSearch.h"
#include "search/PostalLookup.h"
#include "app/HistoryStore.h"

#include <utility>

namespace torumin {

namespace {

SearchResult codeToAddress(Module1 &state, SettingsStore &store)
{
    Options &options = state.options;
    const QString code = options.value(QStringLiteral("YubinB"));
    SearchResult result{addressResultText(state.table, state.offices, code),
                        options.isOn(arrayKey(QStringLiteral("OptRen"), kModeCodeToAddress))};
    options.store(store, QStringLiteral("YubinB"), code);
    const QString entry = QStringLiteral("〒") + hyphenatedCode(code) + QStringLiteral("　") + result.text;
    addHistoryEntry(options, store, entry, result.text);
    return result;
}

SearchResult addressToCode(Module1 &state, SettingsStore &store, int mode)
{
    Options &options = state.options;
    const QString family = mode == kModeAddressToCode ? QStringLiteral("Jusho") : QStringLiteral("Jusho2");
    const AddressScript script = mode == kModeAddressToCode ? AddressScript::Kanji : AddressScript::Kana;
    const QString pref = options.value(arrayKey(family, 0));
    const QString city = options.value(arrayKey(family, 1));
    const QString town = options.value(arrayKey(family, 2));
    const int picked = std::exchange(state.pickedTownRow, -1);

    SearchResult result{codeResultText(state.table, pref, city, town, script, picked),
                        options.isOn(arrayKey(QStringLiteral("OptRen"), mode))};
    if (options.isOn(arrayKey(QStringLiteral("OptLak"), mode))) {
        for (int i = 0; i < 3; ++i)
            options.store(store, arrayKey(family, i), options.value(arrayKey(family, i)));
    }
    const QString entry = QStringLiteral("〒") + result.text + QStringLiteral("　") + pref + city + town;
    addHistoryEntry(options, store, entry, result.text);
    return result;
}

// The office picked from the office-name search: its code and name in the
// result box, and in the history as a code search of that code records it.
SearchResult officeByName(Module1 &state, SettingsStore &store)
{
    const int row = std::exchange(state.pickedOffice, -1);
    if (row < 0 || row >= state.offices.recordCount())
        return {};
    const QString code = hyphenatedCode(state.offices.code(row));
    SearchResult result{code + u'\u3000' + state.offices.name(row)};
    addHistoryEntry(state.options, store, u'〒' + code + u'\u3000' + officeResultText(state.offices, row), result.text);
    return result;
}

} // namespace

SearchResult ShowSearchResult(Module1 &state, SettingsStore &store)
{
    switch (state.SearchMode) {
    case kModeCodeToAddress:
        return codeToAddress(state, store);
    case kModeAddressToCode:
    case kModeKanaToCode:
        return addressToCode(state, store, state.SearchMode);
    case kModeOfficeName:
        return officeByName(state, store);
    default:
        return {};
    }
}

} // namespace torumin
