#include "app/ProgramCommandLine.h"
#include "app/StdioTextSink.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

namespace torumin {
namespace {

TEST(ProgramCommandLine, HelpAndVersionAnswerBeforeAnyWindow)
{
    struct Case {
        QStringList arguments;
        std::optional<int> status;
        const char *firstLine;
    };
    const std::vector<Case> cases{
        {{}, std::nullopt, ""},
        {{QStringLiteral("-platform"), QStringLiteral("offscreen")}, std::nullopt, ""},
        {{QStringLiteral("--"), QStringLiteral("--help")}, std::nullopt, ""},
        {{QStringLiteral("--help")}, 0, "usage: torumin [--help | --version]"},
        {{QStringLiteral("-style"), QStringLiteral("fusion"), QStringLiteral("-h")}, 0,
         "usage: torumin [--help | --version]"},
        {{QStringLiteral("--version")}, 0, "torumin 3.1.0"},
    };
    for (const Case &c : cases) {
        char *text = nullptr;
        std::size_t size = 0;
        std::FILE *memory = open_memstream(&text, &size);
        std::optional<int> status;
        {
            StdioTextSink out(memory);
            StdioTextSink err(stderr);
            status = answerInformationOptions(c.arguments, out, err, MessageLanguage::English);
        }
        std::fclose(memory);
        const QString printed = QString::fromUtf8(text, static_cast<qsizetype>(size));
        std::free(text);
        EXPECT_EQ(status, c.status) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(printed.section(u'\n', 0, 0), QString::fromUtf8(c.firstLine));
    }

    // Standard output that cannot take the text is an error.
    std::FILE *full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    StdioTextSink out(full);
    StdioTextSink err(stderr);
    EXPECT_EQ(answerInformationOptions({QStringLiteral("--help")}, out, err, MessageLanguage::Japanese), 2);
    std::fclose(full);
}

} // namespace
} // namespace torumin
