#pragma once

#include <QString>

#include <cstdio>
#include <cstdlib>

namespace torumin::fuzz {

// A broken invariant must stop the run like a sanitizer report does, so
// libFuzzer saves the input; assert() would vanish in a release build.
[[noreturn]] inline void fail(const char *file, int line, const char *condition, const QString &detail)
{
    std::fprintf(stderr, "\n==FUZZ CHECK FAILED== %s:%d: %s\n", file, line, condition);
    if (!detail.isEmpty())
        std::fprintf(stderr, "  %s\n", detail.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

} // namespace torumin::fuzz

#define FUZZ_CHECK(condition) FUZZ_CHECK_SAYING(condition, QString())
#define FUZZ_CHECK_SAYING(condition, detail)                                          \
    do {                                                                              \
        if (!(condition))                                                             \
            ::torumin::fuzz::fail(__FILE__, __LINE__, #condition, (detail));          \
    } while (false)
