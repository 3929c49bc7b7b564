// Opening the candidate window for the largest result on the nationwide list:
// 北海道 alone gives 8,191 lines. Timed from the search to the window shown and
// painted once, on Qt's offscreen platform.
//
// The office-name search's keystrokes over the whole list of large offices:
// each typed character narrows the list, timed from the key to the list
// painted, the worst case being the way back to every office.
//
// Runs without arguments on the bundled lists.

#include "app/Module1.h"
#include "app/platform/Clipboard.h"
#include "app/platform/HelpViewer.h"
#include "app/platform/MessageBoxes.h"
#include "app/platform/WebOpener.h"
#include "app/settings/SettingsStore.h"
#include "data/OfficeTable.h"
#include "data/PostalListReader.h"
#include "ui/dialogs/JIGYOSYO_KEN.h"
#include "ui/dialogs/YB_KOUHO.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListView>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

using namespace torumin;

class NullStore final : public SettingsStore {
public:
    [[nodiscard]] QString ReadSetting(const QString &, const QString &) const override { return {}; }
    void WriteSettings(const std::vector<SettingWrite> &) override {}
    void UpdateSection(const QString &, const SectionChange &) override {}
};

class NoBoxes final : public MessageBoxes {
public:
    MsgResult MsgBox(const QString &, int, const QString &) override { return MsgResult::Ok; }
};

class NoClipboard final : public Clipboard {
public:
    bool setText(const QString &) override { return true; }
    [[nodiscard]] std::optional<QString> text() const override { return QString(); }
};

class NoHelp final : public HelpViewer {
public:
    void showContents() override {}
    void showIndex() override {}
    void showTopic(int) override {}
};

class NoWeb final : public WebOpener {
public:
    bool openUrl(const QString &) override { return true; }
};

struct Fixture {
    Module1 state;
    NullStore store;
    NoBoxes boxes;
    NoClipboard clipboard;
    NoHelp help;
    NoWeb web;

    Fixture()
    {
        ListReadResult list = readPostalListFile(QStringLiteral(TORUMIN_BUNDLED_CSV));
        if (list.error) {
            std::fprintf(stderr, "%s\n", qPrintable(list.error->message));
            std::exit(1);
        }
        state.table = std::move(list.table);
        OfficeReadResult offices = readOfficeListFile(QStringLiteral(TORUMIN_BUNDLED_OFFICES));
        if (offices.error) {
            std::fprintf(stderr, "%s\n", qPrintable(offices.error->message));
            std::exit(1);
        }
        state.offices = std::move(offices.table);
        for (const char *key : {"YJ_Disp(0)", "YJ_Disp(1)", "YJ_Disp(2)", "YJ_Copy(0)", "YJ_Copy(1)"})
            state.options.set(QString::fromLatin1(key), QStringLiteral("1"));
        state.options.set(QStringLiteral("OptYBsize"), QStringLiteral("9"));
        state.options.set(QStringLiteral("OptYBketa"), QStringLiteral("3"));
    }
};

Fixture &fixture()
{
    static Fixture instance;
    return instance;
}

void openHokkaido(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        YB_KOUHO window(UiContext{f.state, f.store, f.boxes, f.clipboard, f.help, f.web}, QStringLiteral("北海道"));
        window.show();
        window.List1->viewport()->repaint();
        QCoreApplication::processEvents();
        if (window.List1->model()->rowCount() != 8191)
            state.SkipWithError("北海道 did not give 8,191 lines");
        state.PauseTiming();
        window.hide();
        state.ResumeTiming();
    }
}

// Types the text key by key, then takes it back key by key to nothing.
void officeKeystrokes(benchmark::State &state)
{
    static const QString typed[] = {QStringLiteral("東京中央郵便局"), QStringLiteral("トヨタ"), QStringLiteral("会")};
    const QString &text = typed[state.range(0)];
    Fixture &f = fixture();
    JIGYOSYO_KEN dialog(UiContext{f.state, f.store, f.boxes, f.clipboard, f.help, f.web});
    dialog.show();
    QCoreApplication::processEvents();
    int keys = 0;
    for (auto _ : state) {
        for (const QChar c : text) {
            // As an input method hands over each character.
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QCoreApplication::sendEvent(dialog.Text1, &commit);
            dialog.List1->viewport()->repaint();
            ++keys;
        }
        for (qsizetype i = 0; i < text.size(); ++i) {
            QTest::keyClick(dialog.Text1, Qt::Key_Backspace);
            dialog.List1->viewport()->repaint();
            ++keys;
        }
    }
    // Keys over the process's CPU time, inverted: CPU milliseconds a key
    // (printed with an "s", being a time). The wall time a key is the Time
    // column over the keys of one iteration: the text's length, twice.
    state.counters["cpu_ms_per_key"] =
        benchmark::Counter(static_cast<double>(keys) / 1000.0, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["keys_per_iteration"] = static_cast<double>(2 * text.size());
}

} // namespace

BENCHMARK(officeKeystrokes)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(openHokkaido)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
