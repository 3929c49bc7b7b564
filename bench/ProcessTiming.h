#pragma once

// Whole-process timings for the benchmarks that compare a run of ours with a
// command such as iconv over the same file: the wall time of one child from
// spawn to exit, and medians of such times.

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace torumin::bench {

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

inline double ratio(double numerator, double denominator)
{
    return denominator > 0 ? numerator / denominator : 0;
}

// Wall time of one child process from spawn to exit, or nothing when it could
// not start or did not exit with status 0. Its stdout goes to `output` when
// given, otherwise to /dev/null; its stdin comes from `inputPath` when given.
inline std::optional<double> timeProcess(const std::vector<std::string> &args, std::string *output = nullptr,
                                         const std::string &inputPath = {})
{
    std::vector<char *> argv;
    for (const std::string &arg : args)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);

    int pipeFds[2] = {-1, -1};
    if (output && ::pipe(pipeFds) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output) {
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    if (!inputPath.empty())
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, inputPath.c_str(), O_RDONLY, 0);
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (output) {
        ::close(pipeFds[1]);
        char chunk[256];
        ssize_t count = 0;
        while (spawned == 0 && (count = ::read(pipeFds[0], chunk, sizeof chunk)) > 0)
            output->append(chunk, static_cast<std::size_t>(count));
        ::close(pipeFds[0]);
    }
    if (spawned != 0)
        return std::nullopt;
    int status = 0;
    ::waitpid(pid, &status, 0);
    const double elapsed = millisecondsSince(start);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return elapsed;
}

// The yardstick: iconv decoding the list to UTF-16, as a whole process.
inline std::optional<double> timeIconv(const std::string &listPath)
{
    return timeProcess({"iconv", "-f", "CP932", "-t", "UTF-16LE", "-o", "/dev/null", listPath});
}

} // namespace torumin::bench
