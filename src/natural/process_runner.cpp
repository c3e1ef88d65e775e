#include "natural/process_runner.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace yomi6::natural {

namespace {

// Closes a descriptor once, on every path out of RunProcess.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : m_fd(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { Close(); }
    int Get() const { return m_fd; }
    void Reset(int fd) {
        Close();
        m_fd = fd;
    }
    void Close() {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }

private:
    int m_fd = -1;
};

bool MakePipe(Fd& readEnd, Fd& writeEnd) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return false;
    }
    readEnd.Reset(fds[0]);
    writeEnd.Reset(fds[1]);
    return true;
}

// Reads what is available on fd into out (up to limit kept); false at end of file or error.
bool Drain(int fd, std::string& out, std::size_t limit) {
    char buffer[8192];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
        return errno == EINTR || errno == EAGAIN;
    }
    if (n == 0) {
        return false;
    }
    const std::size_t keep = std::min<std::size_t>(static_cast<std::size_t>(n),
                                                   limit > out.size() ? limit - out.size() : 0);
    out.append(buffer, keep);
    return true;
}

} // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessLimits& limits) {
    ProcessResult result;
    if (argv.empty()) {
        result.error = "no program given";
        return result;
    }
    Fd outRead, outWrite, errRead, errWrite;
    if (!MakePipe(outRead, outWrite) || !MakePipe(errRead, errWrite)) {
        result.error = std::string("pipe: ") + std::strerror(errno);
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outWrite.Get(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errWrite.Get(), STDERR_FILENO);
    // The child starts with default signal handling and no blocked signals, whatever the
    // thread that spawns it has set up.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    pid_t pid = 0;
    const int rc = ::posix_spawn(&pid, args[0], &actions, &attr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    outWrite.Close();
    errWrite.Close();
    if (rc != 0) {
        result.error = argv[0] + ": " + std::strerror(rc);
        return result;
    }
    result.started = true;

    const auto deadline = std::chrono::steady_clock::now() + limits.timeLimit;
    bool outOpen = true, errOpen = true;
    while (outOpen || errOpen) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            result.timedOut = true;
            break;
        }
        pollfd fds[2] = {{outOpen ? outRead.Get() : -1, POLLIN, 0},
                         {errOpen ? errRead.Get() : -1, POLLIN, 0}};
        const int ready = ::poll(fds, 2, static_cast<int>(std::min<long long>(left.count(), 1000)));
        if (ready < 0 && errno != EINTR) {
            result.error = std::string("poll: ") + std::strerror(errno);
            result.timedOut = true; // treat as lost: kill it below
            break;
        }
        if (ready > 0) {
            if (outOpen && (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
                outOpen = Drain(outRead.Get(), result.out, limits.captureLimit);
            }
            if (errOpen && (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
                errOpen = Drain(errRead.Get(), result.err, limits.captureLimit);
            }
        }
    }
    // Both streams are closed: the child has exited or is about to. It may still have closed
    // them and hung, so the wait keeps to the deadline too.
    int status = 0;
    for (;;) {
        if (result.timedOut) {
            ::kill(pid, SIGKILL);
        }
        const pid_t done = ::waitpid(pid, &status, result.timedOut ? 0 : WNOHANG);
        if (done == pid) {
            break;
        }
        if (done < 0 && errno != EINTR) {
            result.error = std::string("waitpid: ") + std::strerror(errno);
            return result;
        }
        if (done == 0) {
            if (std::chrono::steady_clock::now() >= deadline) {
                result.timedOut = true;
            } else {
                ::usleep(1000);
            }
        }
    }
    if (WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    return result;
}

std::string DescribeFailure(const ProcessResult& result) {
    if (result.Succeeded()) {
        return "";
    }
    std::string what;
    if (!result.started) {
        what = result.error;
    } else if (result.timedOut) {
        what = "ran past its time limit and was stopped";
    } else if (result.signal != 0) {
        what = "was killed by signal " + std::to_string(result.signal) + " (" +
               ::strsignal(result.signal) + ")";
    } else {
        what = "exited with status " + std::to_string(result.exitCode);
    }
    // The last non-empty line of its standard error says what went wrong, when it says anything.
    std::string_view err = result.err;
    while (!err.empty() && (err.back() == '\n' || err.back() == '\r')) {
        err.remove_suffix(1);
    }
    const std::size_t nl = err.find_last_of('\n');
    const std::string_view last = nl == std::string_view::npos ? err : err.substr(nl + 1);
    if (!last.empty()) {
        what += ": ";
        what += last.substr(0, 200);
    }
    return what;
}

} // namespace yomi6::natural
