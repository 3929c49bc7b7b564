// The searches' scans over the nationwide list: each of them reads the whole
// table at worst, so these are the figures a user waits for.
//
// Runs without arguments on the bundled list. Google Benchmark prints the
// mean, median and spread of 15 repetitions of each.

#include "data/PostalListReader.h"
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

BENCHMARK(codeNotFound)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(addressOfLastRow)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(prefectures)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(citiesOfHokkaido)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(townsOfToyama)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK_MAIN();
