// Runs an external program as a child process: no shell, an argument vector, its standard
// output and error captured, and a time limit after which it is killed. Whatever the program
// does (crash, hang, garbage), the caller gets a result value back. The child leads a process
// group of its own, which is killed with it; it is noted for a signal handler to end
// (child_registry.h), and the system kills it when the thread that started it ends (above all
// when the whole process dies), so that it never outlives us.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace yomi6::natural {

struct ProcessResult {
    bool started = false;   // false: the program could not be run at all (see error)
    bool timedOut = false;  // killed because it ran past the time limit
    bool cancelled = false; // killed because the caller's cancel flag was set
    int exitCode = -1;      // its exit status when it exited, else -1
    int signal = 0;         // the signal that ended it, else 0
    std::string out;        // what it wrote to standard output (at most the capture limit)
    std::string err;        // what it wrote to standard error (at most the capture limit)
    std::string error;      // why it could not be started or waited for

    bool Succeeded() const {
        return started && !timedOut && !cancelled && signal == 0 && exitCode == 0;
    }
};

struct ProcessLimits {
    std::chrono::milliseconds timeLimit{30000};
    std::size_t captureLimit = 1 << 20; // bytes kept of each stream; the rest is read and dropped
    // When set, the child is killed within a tenth of a second of the flag turning true.
    const std::atomic<bool>* cancel = nullptr;
    // Called once the child exists and is noted for a signal handler to end, before it is waited
    // for (the caller lets its TemporaryGate go there).
    std::function<void()> onStarted;
};

// Runs argv[0] (a path: no search of PATH) with argv, standard input from /dev/null. Blocks
// the calling thread until the child ends or is killed at the time limit.
ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessLimits& limits = {});

// One line describing how a run failed ("killed by signal 6 (Aborted)", "ran past 30 s", ...),
// with the last line of its standard error when it wrote one, its control characters written as
// escapes (\x1B) so that they cannot act on a terminal; "" for a run that succeeded.
std::string DescribeFailure(const ProcessResult& result);

} // namespace yomi6::natural
