// The address corpus (address_corpus.tsv, made by make_address_corpus.py) on
// the nationwide list: addresses written every way people write them, each
// with the code of the row it was written from, or none where the list cannot
// tell the rows of the town's name apart.

#include "data/PostalListReader.h"
#include "search/AddressMatcher.h"
#include "search/Candidates.h"
#include "search/PostalLookup.h"

#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace torumin {
namespace {

struct CorpusCase {
    QString form;
    QString address;
    QString code;
};

std::vector<CorpusCase> readCorpus()
{
    std::vector<CorpusCase> cases;
    QFile file(QStringLiteral(TORUMIN_ADDRESS_CORPUS));
    if (!file.open(QIODevice::ReadOnly))
        return cases;
    QTextStream in(&file);
    QString line;
    while (in.readLineInto(&line)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (line.startsWith(QLatin1Char('#')) || fields.size() != 3)
            continue;
        cases.push_back({fields.at(0), fields.at(1), fields.at(2)});
    }
    return cases;
}

struct Tally {
    int right = 0;
    int none = 0;
    int wrong = 0;
};

TEST(AddressCorpus, TheMatcherNamesTheRowItWasWrittenFrom)
{
    ListReadResult list = readPostalListFile(QStringLiteral(TORUMIN_FULL_LIST));
    ASSERT_FALSE(list.error);
    const PostalTable &table = list.table;
    const std::vector<CorpusCase> cases = readCorpus();
    ASSERT_GT(cases.size(), 500U);

    const AddressMatcher matcher(table);
    std::map<QString, Tally> byForm;
    Tally all;
    Tally window;
    int windowWithRightCandidate = 0;
    for (const CorpusCase &c : cases) {
        const int row = matcher.bestRow(c.address);
        const QString found = row < 0 ? QString() : hyphenatedCode(table.zipCode(row));
        Tally &form = byForm[c.form];
        if (found == c.code) {
            ++form.right;
            ++all.right;
        } else if (found.isEmpty()) {
            ++form.none;
            ++all.none;
            ADD_FAILURE() << "nothing for " << c.address.toStdString() << " (" << c.code.toStdString() << ")";
        } else {
            ++form.wrong;
            ++all.wrong;
            ADD_FAILURE() << "wrong row for " << c.address.toStdString() << ": " << found.toStdString() << " "
                          << QString(table.cityName(row).toString() + table.townName(row)).toStdString() << ", not "
                          << (c.code.isEmpty() ? std::string("none") : c.code.toStdString());
        }

        // The candidate window selects the same row, where it lists it, and
        // nothing where no code is meant.
        const SplitAddress split = splitAddress(c.address);
        const std::vector<int> rows = candidateRows(table, split);
        const bool listed = c.code.isEmpty() ? !rows.empty() : std::any_of(rows.cbegin(), rows.cend(), [&](int r) {
            return hyphenatedCode(table.zipCode(r)) == c.code;
        });
        if (!listed)
            continue;
        ++windowWithRightCandidate;
        const int selected = bestCandidateRow(table, rows, split, c.address);
        const QString selectedCode = selected < 0 ? QString() : hyphenatedCode(table.zipCode(selected));
        if (selectedCode == c.code)
            ++window.right;
        else if (selected < 0)
            ++window.none;
        else
            ++window.wrong;
        EXPECT_TRUE(selected < 0 || selected == row) << c.address.toStdString();
    }

    for (const auto &[form, tally] : byForm)
        std::printf("%-14s %4d right, %d none, %d wrong\n", qPrintable(form), tally.right, tally.none, tally.wrong);
    const double share = 100.0 * all.right / static_cast<double>(cases.size());
    std::printf("all            %4d of %zu right (%.2f %%), %d none, %d wrong\n", all.right, cases.size(), share,
                all.none, all.wrong);
    std::printf("window         %4d of %d right, %d none, %d wrong\n", window.right, windowWithRightCandidate,
                window.none, window.wrong);
    EXPECT_GE(share, 99.0);
    EXPECT_EQ(all.wrong, 0);
    EXPECT_EQ(window.wrong, 0);
}

} // namespace
} // namespace torumin
