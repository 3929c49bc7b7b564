// Load time and memory of the nationwide list, measured beside the iconv
// command decoding the same file, which is the yardstick for the load time;
// the load of the same list from its zip archive, measured beside the bare
// list's; and the start-up's load of both lists, the nationwide one and the
// large offices', beside iconv decoding both files.
//
// Runs without arguments on the bundled list and its archive; a list path,
// and an archive path after it, may follow the usual --benchmark_* options.

#include "ProcessTiming.h"
#include "data/OfficeTable.h"
#include "data/PostalListReader.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using torumin::bench::Clock;
using torumin::bench::median;
using torumin::bench::millisecondsSince;
using torumin::bench::ratio;
using torumin::bench::timeProcess;

constexpr int kRepeatedLoads = 25;
constexpr int kFreshProcesses = 9;
constexpr const char *kFirstLoadFlag = "--first-load-only";

std::string g_listPath = TORUMIN_BUNDLED_CSV;
std::string g_zipPath = TORUMIN_BUNDLED_ZIP;
std::string g_officePath = TORUMIN_BUNDLED_OFFICES;
std::vector<double> g_bothLoadMs;
std::vector<double> g_bothIconvMs;
std::vector<double> g_loadMs;
std::vector<double> g_iconvMs;
std::vector<double> g_zipLoadMs;
std::vector<double> g_csvBesideZipMs;

std::size_t residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    std::size_t total = 0;
    std::size_t resident = 0;
    statm >> total >> resident;
    return resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

std::optional<double> timeIconvCommand()
{
    return torumin::bench::timeIconv(g_listPath);
}

std::string selfPath()
{
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

// Each repetition also runs the iconv command, outside the timed part, so
// that both medians come from the same minutes of a shared machine.
void loadFullList(benchmark::State &state)
{
    const QString path = QString::fromStdString(g_listPath);
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        torumin::ListReadResult result = torumin::readPostalListFile(path);
        const double elapsed = millisecondsSince(start);
        state.SetIterationTime(elapsed / 1000);
        if (result.error) {
            state.SkipWithError("the list did not load");
            break;
        }
        g_loadMs.push_back(elapsed);
        benchmark::DoNotOptimize(result.table.recordCount());
        result = {}; // freed outside the timed part
        if (const auto iconvMs = timeIconvCommand())
            g_iconvMs.push_back(*iconvMs);
    }
}

std::optional<double> timeLoad(const QString &path)
{
    const Clock::time_point start = Clock::now();
    torumin::ListReadResult result = torumin::readPostalListFile(path);
    const double elapsed = millisecondsSince(start);
    if (result.error)
        return std::nullopt;
    benchmark::DoNotOptimize(result.table.recordCount());
    return elapsed;
}

// Each repetition also loads the bare list, so that the ratio compares loads
// made in the same minutes of a shared machine.
void loadZippedList(benchmark::State &state)
{
    const QString zip = QString::fromStdString(g_zipPath);
    const QString csv = QString::fromStdString(g_listPath);
    for (auto _ : state) {
        const std::optional<double> zipMs = timeLoad(zip);
        if (!zipMs) {
            state.SkipWithError("the archive did not load");
            break;
        }
        state.SetIterationTime(*zipMs / 1000);
        g_zipLoadMs.push_back(*zipMs);
        if (const auto csvMs = timeLoad(csv))
            g_csvBesideZipMs.push_back(*csvMs);
    }
}

// Both lists, as start-up reads them; iconv decodes both files in one process.
void loadBothLists(benchmark::State &state)
{
    const QString postal = QString::fromStdString(g_listPath);
    const QString offices = QString::fromStdString(g_officePath);
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        torumin::ListReadResult list = torumin::readPostalListFile(postal);
        torumin::OfficeReadResult office = torumin::readOfficeListFile(offices);
        const double elapsed = millisecondsSince(start);
        state.SetIterationTime(elapsed / 1000);
        if (list.error || office.error) {
            state.SkipWithError("a list did not load");
            break;
        }
        g_bothLoadMs.push_back(elapsed);
        benchmark::DoNotOptimize(list.table.recordCount() + office.table.recordCount());
        list = {};
        office = {};
        if (const auto iconvMs = torumin::bench::timeProcess(
                {"iconv", "-f", "CP932", "-t", "UTF-16LE", "-o", "/dev/null", g_listPath, g_officePath}))
            g_bothIconvMs.push_back(*iconvMs);
    }
}

// The child side of the fresh-process measurement: one load, nothing warmed.
int firstLoadOnly(const char *path)
{
    const std::size_t before = residentBytes();
    const Clock::time_point start = Clock::now();
    const torumin::ListReadResult result = torumin::readPostalListFile(QString::fromUtf8(path));
    const double elapsed = millisecondsSince(start);
    if (result.error)
        return 1;
    std::printf("%.3f %zu\n", elapsed, residentBytes() - before);
    return 0;
}

struct FreshProcessFigures {
    std::vector<double> loadMs;
    std::vector<double> rssBytes;
    std::vector<double> iconvMs;
};

FreshProcessFigures measureFreshProcesses()
{
    FreshProcessFigures figures;
    const std::string self = selfPath();
    for (int run = 0; run < kFreshProcesses; ++run) {
        std::string output;
        double ms = 0;
        std::size_t rss = 0;
        if (timeProcess({self, kFirstLoadFlag, g_listPath}, &output)
            && std::sscanf(output.c_str(), "%lf %zu", &ms, &rss) == 2) {
            figures.loadMs.push_back(ms);
            figures.rssBytes.push_back(static_cast<double>(rss));
        }
        if (const auto iconvMs = timeIconvCommand())
            figures.iconvMs.push_back(*iconvMs);
    }
    return figures;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], kFirstLoadFlag) == 0)
        return firstLoadOnly(argv[2]);

    benchmark::Initialize(&argc, argv);
    if (argc > 1)
        g_listPath = argv[1];
    if (argc > 2)
        g_zipPath = argv[2];

    // A first load in this process, before anything is warmed up.
    const std::size_t rssBefore = residentBytes();
    const Clock::time_point firstStart = Clock::now();
    const torumin::ListReadResult first = torumin::readPostalListFile(QString::fromStdString(g_listPath));
    const double firstMs = millisecondsSince(firstStart);
    const std::size_t rssGrowth = residentBytes() - rssBefore;
    if (first.error) {
        std::fprintf(stderr, "%s\n", first.error->message.toStdString().c_str());
        return 1;
    }

    benchmark::RegisterBenchmark("load_full_list", loadFullList)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(kRepeatedLoads)
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("load_zipped_list", loadZippedList)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(kRepeatedLoads)
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("load_both_lists", loadBothLists)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(kRepeatedLoads)
        ->ReportAggregatesOnly(true);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const FreshProcessFigures fresh = measureFreshProcesses();

    constexpr double kMiB = 1024.0 * 1024.0;
    const std::size_t tableBytes = first.table.memoryBytes();
    const double loadMedian = median(g_loadMs);
    const double iconvMedian = median(g_iconvMs);
    const double freshMedian = median(fresh.loadMs);
    const double freshIconvMedian = median(fresh.iconvMs);
    std::printf("\nlist: %s (%d records)\n", g_listPath.c_str(), first.table.recordCount());
    std::printf("table memoryBytes(): %.2f MiB (%zu bytes)\n", tableBytes / kMiB, tableBytes);
    std::printf("RSS growth of a first load: %.2f MiB in this process, %.2f MiB in a fresh one (median)\n",
                rssGrowth / kMiB, median(fresh.rssBytes) / kMiB);
    std::printf("first load in this process: %.2f ms\n", firstMs);
    std::printf("iconv command: iconv -f CP932 -t UTF-16LE -o /dev/null LIST, whole process\n");
    std::printf("repeated loads: median %.2f ms of %zu; iconv between them: median %.2f ms of %zu; "
                "ratio %.2f\n",
                loadMedian, g_loadMs.size(), iconvMedian, g_iconvMs.size(), ratio(loadMedian, iconvMedian));
    std::printf("first load in a fresh process: median %.2f ms of %zu; iconv between them: median %.2f ms "
                "of %zu; ratio %.2f\n",
                freshMedian, fresh.loadMs.size(), freshIconvMedian, fresh.iconvMs.size(),
                ratio(freshMedian, freshIconvMedian));
    const double zipMedian = median(g_zipLoadMs);
    const double csvBesideZipMedian = median(g_csvBesideZipMs);
    std::printf("zip archive: %s\n", g_zipPath.c_str());
    std::printf("repeated loads of the archive: median %.2f ms of %zu; the bare list between them: median "
                "%.2f ms of %zu; ratio %.2f\n",
                zipMedian, g_zipLoadMs.size(), csvBesideZipMedian, g_csvBesideZipMs.size(),
                ratio(zipMedian, csvBesideZipMedian));

    const std::size_t officeRssBefore = residentBytes();
    const torumin::OfficeReadResult offices = torumin::readOfficeListFile(QString::fromStdString(g_officePath));
    const std::size_t officeRss = residentBytes() - officeRssBefore;
    const double bothMedian = median(g_bothLoadMs);
    const double bothIconvMedian = median(g_bothIconvMs);
    std::printf("office list: %s (%d records); table memoryBytes(): %.2f MiB; RSS growth %.2f MiB\n",
                g_officePath.c_str(), offices.table.recordCount(), offices.table.memoryBytes() / kMiB,
                officeRss / kMiB);
    std::printf("both lists: median %.2f ms of %zu; iconv -f CP932 -t UTF-16LE of both files between them: "
                "median %.2f ms of %zu; ratio %.2f\n",
                bothMedian, g_bothLoadMs.size(), bothIconvMedian, g_bothIconvMs.size(),
                ratio(bothMedian, bothIconvMedian));
    return 0;
}
