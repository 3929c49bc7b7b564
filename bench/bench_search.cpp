// The searches' scans over the nationwide list: each of them reads the whole
// table at worst, so these are the figures a user waits for.
//
// Runs without arguments on the bundled lists. Google Benchmark prints the
// mean, median and spread of 15 repetitions of each. The office-name search
// is timed keystroke by keystroke, as the list narrows while a name is typed.

#include "data/OfficeTable.h"
#include "data/PostalListReader.h"
#include "search/OfficeSearch.h"
#include "search/PickLists.h"
#include "search/PostalLookup.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <cstdio>
#include <cstdlib>

namespace {

using namespace torumin;

const PostalTable &nationwideList()
{
    static const PostalTable table = [] {
        ListReadResult result = readPostalListFile(QStringLiteral(TORUMIN_BUNDLED_CSV));
        if (result.error) {
            std::fprintf(stderr, "%s\n", qPrintable(result.error->message));
            std::exit(1);
        }
        return std::move(result.table);
    }();
    return table;
}

// A code that is not in the list: the scan runs to the end.
void codeNotFound(benchmark::State &state)
{
    const PostalTable &table = nationwideList();
    const QString code = QStringLiteral("0000000");
    for (auto _ : state)
        benchmark::DoNotOptimize(findCode(table, code));
}

// The last row's city and town: the longest address search that finds something.
void addressOfLastRow(benchmark::State &state)
{
    const PostalTable &table = nationwideList();
    const int last = table.recordCount() - 1;
    const QString pref = table.prefName(last).toString();
    const QString city = table.cityName(last).toString();
    const QString town = table.townName(last).toString();
    for (auto _ : state)
        benchmark::DoNotOptimize(findAddress(table, pref, city, town, AddressScript::Kanji));
    if (findAddress(table, pref, city, town, AddressScript::Kanji) < 0)
        state.SkipWithError("the last row was not found");
}

void prefectures(benchmark::State &state)
{
    const PostalTable &table = nationwideList();
    for (auto _ : state)
        benchmark::DoNotOptimize(prefectureList(table, AddressScript::Kanji));
    state.counters["items"] = static_cast<double>(prefectureList(table, AddressScript::Kanji).size());
}

void citiesOfHokkaido(benchmark::State &state)
{
    const PostalTable &table = nationwideList();
    const QString prefecture = QStringLiteral("北海道");
    for (auto _ : state)
        benchmark::DoNotOptimize(cityList(table, AddressScript::Kanji, prefecture));
    state.counters["items"] = static_cast<double>(cityList(table, AddressScript::Kanji, prefecture).size());
}

void townsOfToyama(benchmark::State &state)
{
    const PostalTable &table = nationwideList();
    const QString pref = QStringLiteral("富山県");
    const QString city = QStringLiteral("富山市");
    for (auto _ : state)
        benchmark::DoNotOptimize(townList(table, AddressScript::Kanji, pref, city));
    state.counters["items"] = static_cast<double>(townList(table, AddressScript::Kanji, pref, city).names.size());
}

} // namespace

const OfficeNameIndex &officeIndex()
{
    static const OfficeTable offices = [] {
        OfficeReadResult result = readOfficeListFile(QStringLiteral(TORUMIN_BUNDLED_OFFICES));
        if (result.error) {
            std::fprintf(stderr, "%s\n", qPrintable(result.error->message));
            std::exit(1);
        }
        return std::move(result.table);
    }();
    static const OfficeNameIndex index(offices);
    return index;
}

// Every keystroke of the typed text, one find() each; the argument picks the text.
void officeNameKeystrokes(benchmark::State &state)
{
    static const QString typed[] = {QStringLiteral("東京中央郵便局"), QStringLiteral("株式会社トヨタ"),
                                    QStringLiteral("ﾐｽﾞﾎ"), QStringLiteral("会")};
    const QString &text = typed[state.range(0)];
    const OfficeNameIndex &index = officeIndex();
    std::size_t found = 0;
    for (auto _ : state) {
        for (qsizetype length = 1; length <= text.size(); ++length)
            found = index.find(QStringView(text).first(length)).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["keystrokes"] = static_cast<double>(text.size());
    state.counters["rows_at_the_end"] = static_cast<double>(found);
}

// The list before the first keystroke: every office.
void officeNameEmpty(benchmark::State &state)
{
    const OfficeNameIndex &index = officeIndex();
    for (auto _ : state)
        benchmark::DoNotOptimize(index.find(QStringView()).size());
}

void officeIndexBuild(benchmark::State &state)
{
    OfficeReadResult result = readOfficeListFile(QStringLiteral(TORUMIN_BUNDLED_OFFICES));
    for (auto _ : state)
        benchmark::DoNotOptimize(OfficeNameIndex(result.table).size());
}

BENCHMARK(officeNameKeystrokes)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(officeNameEmpty)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(officeIndexBuild)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(codeNotFound)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(addressOfLastRow)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(prefectures)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(citiesOfHokkaido)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(townsOfToyama)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK_MAIN();
