// Runs a piece of test code in a child process, so that a crash, a sanitizer report or a
// broken game invariant (which aborts on purpose) comes back as a result the test can shrink
// and print instead of ending the whole test program.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include <sys/wait.h>
#include <unistd.h>

namespace vorbix::testing {

// Exit statuses of the child's body.
inline constexpr int child_passed = 0;
inline constexpr int child_failed = 3;   // a check failed; the report says which
inline constexpr int child_invalid = 4;  // the input could not be run at all

struct IsolatedResult {
    enum class Kind { passed, failed, invalid, crashed };
    Kind kind = Kind::crashed;
    std::string report;  // what the body wrote to its report channel
    std::string errors;  // what the child wrote to standard error
    std::string how;     // how the child ended, for a crash

    bool crashed() const { return kind == Kind::crashed; }
};

inline void write_report(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written <= 0) return;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

// The body gets the report channel and gives one of the child_ statuses.
inline IsolatedResult run_isolated(const std::function<int(int report_fd)>& body)
{
    IsolatedResult result;
    int channel[2];
    std::FILE* error_file = std::tmpfile();
    if (error_file == nullptr || ::pipe(channel) != 0) {
        result.how = "could not set up the child";
        return result;
    }
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        ::dup2(::fileno(error_file), STDERR_FILENO);
        int status = child_invalid;
        try {
            status = body(channel[1]);
        } catch (...) {
            status = child_invalid;
        }
        ::close(channel[1]);
        ::_exit(status);
    }
    ::close(channel[1]);
    char buffer[65536];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;) result.report.append(buffer, got);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);

    std::rewind(error_file);
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, error_file)) > 0;) {
        result.errors.append(buffer, got);
    }
    std::fclose(error_file);

    if (WIFEXITED(status) && WEXITSTATUS(status) == child_passed) {
        result.kind = IsolatedResult::Kind::passed;
    } else if (WIFEXITED(status) && WEXITSTATUS(status) == child_failed) {
        result.kind = IsolatedResult::Kind::failed;
    } else if (WIFEXITED(status) && WEXITSTATUS(status) == child_invalid) {
        result.kind = IsolatedResult::Kind::invalid;
    } else {
        result.kind = IsolatedResult::Kind::crashed;
        result.how = WIFSIGNALED(status) ? "killed by signal " + std::to_string(WTERMSIG(status))
                                         : "exit status " + std::to_string(WEXITSTATUS(status));
    }
    return result;
}

}  // namespace vorbix::testing
