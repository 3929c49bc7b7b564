// torumin-query answering 10,000 addresses from standard input
// (--candidates --best), as a whole process with the list's load, measured
// beside the iconv command decoding the same list, which is the yardstick:
// the batch should take at most four times as long. Then 10,000 postal codes
// the same way, which go through an index and should take at most one and a
// half times as long. Then, in this process, what building the matcher's
// index and answering one address cost.
//
// The addresses are written from every twelfth row of the list, in turn as
// the list writes them, with full-width block numbers, with a space after
// the city, without the prefecture, and with the block number in kanji. The
// codes are those of the same rows, every other one with its hyphen.
//
// Runs without arguments on the bundled list; a list path may follow the
// usual --benchmark_* options.

#include "ProcessTiming.h"
#include "data/PostalListReader.h"
#include "search/AddressMatcher.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace torumin;
using torumin::bench::median;
using torumin::bench::ratio;

constexpr int kAddresses = 10000;
constexpr int kProcessRuns = 9;

std::string g_listPath = TORUMIN_BUNDLED_CSV;

const PostalTable &nationwideList()
{
    static const PostalTable table = [] {
        ListReadResult result = readPostalListFile(QString::fromStdString(g_listPath));
        if (result.error) {
            std::fprintf(stderr, "%s\n", qPrintable(result.error->message));
            std::exit(1);
        }
        return std::move(result.table);
    }();
    return table;
}

QStringList makeAddresses(const PostalTable &table)
{
    QStringList addresses;
    const int stride = std::max(1, table.recordCount() / kAddresses);
    for (int row = 0; row < table.recordCount() && addresses.size() < kAddresses; row += stride) {
        const QString pref = table.prefName(row).toString();
        const QString city = table.cityName(row).toString();
        const QString town = table.townName(row).toString();
        switch (addresses.size() % 5) {
        case 0:
            addresses.append(pref + city + town + QStringLiteral("1-2-3"));
            break;
        case 1:
            addresses.append(pref + city + town + QStringLiteral("１２番地３"));
            break;
        case 2:
            addresses.append(pref + city + QStringLiteral("　") + town + QStringLiteral(" 4-5"));
            break;
        case 3:
            addresses.append(city + town + QStringLiteral("6-7-8"));
            break;
        default:
            addresses.append(pref + city + town + QStringLiteral("二丁目三番四号"));
            break;
        }
    }
    return addresses;
}

QStringList makeCodes(const PostalTable &table)
{
    QStringList codes;
    const int stride = std::max(1, table.recordCount() / kAddresses);
    for (int row = 0; row < table.recordCount() && codes.size() < kAddresses; row += stride) {
        const QString code = table.zipCode(row).toString();
        codes.append(codes.size() % 2 ? code.left(3) + QLatin1Char('-') + code.mid(3) : code);
    }
    return codes;
}

void buildIndex(benchmark::State &state)
{
    const PostalTable &table = nationwideList();
    for (auto _ : state) {
        const AddressMatcher matcher(table);
        benchmark::DoNotOptimize(&matcher);
    }
}

void answerOneAddress(benchmark::State &state)
{
    const PostalTable &table = nationwideList();
    const AddressMatcher matcher(table);
    const QStringList addresses = makeAddresses(table);
    qsizetype next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(matcher.bestRow(addresses.at(next)));
        next = (next + 1) % addresses.size();
    }
}

struct BatchFigures {
    std::vector<double> batchMs;
    std::vector<double> iconvMs;
    int lines = 0;
    int answered = 0;
};

// Alternate runs of the batch and of iconv, so both medians come from the
// same minutes of a shared machine. A line counts as answered when
// `answered` says so.
std::optional<BatchFigures> measureBatch(const std::vector<std::string> &command, const std::string &inputPath,
                                         bool (*answered)(const QString &line))
{
    BatchFigures figures;
    for (int run = 0; run <= kProcessRuns; ++run) {
        std::string output;
        const std::optional<double> batchMs = bench::timeProcess(command, &output, inputPath);
        const std::optional<double> iconvMs = bench::timeIconv(g_listPath);
        if (!batchMs || !iconvMs)
            return std::nullopt;
        if (run == 0) {
            // A first run of each warms the file cache; it is not counted.
            for (const QString &line : QString::fromStdString(output).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
                ++figures.lines;
                if (answered(line))
                    ++figures.answered;
            }
            continue;
        }
        figures.batchMs.push_back(*batchMs);
        figures.iconvMs.push_back(*iconvMs);
    }
    return figures;
}

bool hasCode(const QString &line)
{
    return line.section(QLatin1Char('\t'), 1, 1).size() == 8;
}

bool isAddress(const QString &line)
{
    return !line.endsWith(QStringLiteral("。　"));
}

std::optional<std::string> writeLines(const QTemporaryDir &folder, const char *name, const QStringList &lines)
{
    const QString path = QDir(folder.path()).filePath(QString::fromLatin1(name));
    QFile file(path);
    if (!folder.isValid() || !file.open(QIODevice::WriteOnly))
        return std::nullopt;
    file.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    return path.toStdString();
}

void printFigures(const char *what, const BatchFigures &figures, double target)
{
    const double batch = median(figures.batchMs);
    const double iconv = median(figures.iconvMs);
    std::printf("%s median of %zu alternating runs: batch %.1f ms, iconv %.1f ms, ratio %.2f", what,
                figures.batchMs.size(), batch, iconv, ratio(batch, iconv));
    if (target > 0)
        std::printf(" (target at most %.1f)", target);
    std::printf("\n");
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (argc > 1)
        g_listPath = argv[1];

    const QTemporaryDir folder;
    const QStringList addresses = makeAddresses(nationwideList());
    const QStringList codes = makeCodes(nationwideList());
    const std::optional<std::string> addressPath = writeLines(folder, "addresses.txt", addresses);
    const std::optional<std::string> codePath = writeLines(folder, "codes.txt", codes);
    if (!addressPath || !codePath) {
        std::fprintf(stderr, "cannot write the addresses and codes\n");
        return 1;
    }

    const std::optional<BatchFigures> best = measureBatch(
        {TORUMIN_QUERY_EXE, "--list", g_listPath, "--candidates", "--best"}, *addressPath, hasCode);
    const std::optional<BatchFigures> coded = measureBatch({TORUMIN_QUERY_EXE, "--list", g_listPath}, *codePath, isAddress);
    // What any run costs before its first answer: the process and the load.
    const std::optional<BatchFigures> one =
        measureBatch({TORUMIN_QUERY_EXE, "--list", g_listPath, "1000005"}, *codePath, isAddress);
    if (!best || !coded || !one) {
        std::fprintf(stderr, "torumin-query or iconv did not run\n");
        return 1;
    }

    benchmark::RegisterBenchmark("matcher_index_of_the_list", buildIndex)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("matcher_one_address", answerOneAddress)->Unit(benchmark::kMicrosecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("\nlist: %s\n", g_listPath.c_str());
    std::printf("iconv: iconv -f CP932 -t UTF-16LE -o /dev/null LIST, whole process\n");
    std::printf("addresses: %s --list LIST --candidates --best < %d addresses, whole process\n", TORUMIN_QUERY_EXE,
                static_cast<int>(addresses.size()));
    std::printf("       %d lines out, %d of them with a code\n", best->lines, best->answered);
    printFigures("addresses:", *best, 4);
    std::printf("codes: %s --list LIST < %d codes, whole process\n", TORUMIN_QUERY_EXE, static_cast<int>(codes.size()));
    std::printf("       %d lines out, %d of them an address\n", coded->lines, coded->answered);
    printFigures("codes:", *coded, 1.5);
    std::printf("one code: %s --list LIST 1000005, whole process: the start and the load alone\n", TORUMIN_QUERY_EXE);
    printFigures("one code:", *one, 0);
    return 0;
}
