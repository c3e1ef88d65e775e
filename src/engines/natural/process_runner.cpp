#include "natural/process_runner.h"

#include "natural/child_registry.h"
#include "text/utf8_codec.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Kills the child's process group, or the child alone when it had no time to make its group.
void KillGroup(pid_t pid) {
    if (::kill(-pid, SIGKILL) != 0) {
        ::kill(pid, SIGKILL);
    }
}

struct ChildFds {
    int out;
    int err;
    int report; // where errno goes when the exec fails
};

// Puts descriptor from at the child's standard descriptor target, open across the exec (which
// dup2 onto itself would not leave it).
void MoveTo(int from, int target) {
    if (from == target) {
        ::fcntl(target, F_SETFD, 0);
    } else {
        ::dup2(from, target);
    }
}

// In the child, between fork and exec: only async-signal-safe calls. Default signal handling
// and no blocked signals, whatever the parent has set up; a process group of its own; killed by
// the system when the thread that started it ends (the whole process ending included).
[[noreturn]] void StartChild(char* const* args, ChildFds fds, pid_t parent) {
    for (int sig = 1; sig < NSIG; ++sig) {
        if (sig != SIGKILL && sig != SIGSTOP) {
            struct sigaction action {};
            action.sa_handler = SIG_DFL;
            ::sigaction(sig, &action, nullptr);
        }
    }
    ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) {
        ::_exit(127); // the parent died before the request above: nobody waits for this run
    }
    const int in = ::open("/dev/null", O_RDONLY);
    if (in >= 0) {
        MoveTo(in, STDIN_FILENO);
    }
    MoveTo(fds.out, STDOUT_FILENO);
    MoveTo(fds.err, STDERR_FILENO);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::execv(args[0], args); // with this process's environment
    const int error = errno;
    [[maybe_unused]] const ssize_t written = ::write(fds.report, &error, sizeof error);
    ::_exit(127);
}

// Waits for the child to end without reaping it (so that its ID stays its own), forgets it,
// kills what is left of its group, then reaps it: its wait status, or std::nullopt when it was
// reaped elsewhere (a signal handler's EndNotedChildren).
std::optional<int> Reap(pid_t pid) {
    for (;;) {
        siginfo_t info{};
        if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) == 0 ||
            errno != EINTR) {
            break;
        }
    }
    ForgetChild(pid);
    KillGroup(pid);
    int status = 0;
    for (;;) {
        if (::waitpid(pid, &status, 0) == pid) {
            return status;
        }
        if (errno != EINTR) {
            return std::nullopt;
        }
    }
}

// Reads the child's output until it closes both streams, the time limit passes or the cancel
// flag is set; in the latter two cases kills its group. Then waits, within the time limit too,
// until it has ended (it may close its output and hang).
void Watch(pid_t pid, int outFd, int errFd, const ProcessLimits& limits, ProcessResult& result) {
    constexpr int kSliceMs = 100; // how often the cancel flag is looked at
    const auto deadline = std::chrono::steady_clock::now() + limits.timeLimit;
    const auto stopping = [&] {
        if (limits.cancel != nullptr && limits.cancel->load()) {
            result.cancelled = true;
        } else if (std::chrono::steady_clock::now() >= deadline) {
            result.timedOut = true;
        }
        return result.cancelled || result.timedOut;
    };
    bool outOpen = true, errOpen = true;
    while ((outOpen || errOpen) && !stopping()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd fds[2] = {{outOpen ? outFd : -1, POLLIN, 0}, {errOpen ? errFd : -1, POLLIN, 0}};
        const int ready =
            ::poll(fds, 2, static_cast<int>(std::clamp<long long>(left.count(), 0, kSliceMs)));
        if (ready < 0 && errno != EINTR) {
            result.error = std::string("poll: ") + std::strerror(errno);
            result.timedOut = true; // treat as lost: kill it below
            break;
        }
        if (ready > 0) {
            if (outOpen && (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
                outOpen = Drain(outFd, result.out, limits.captureLimit);
            }
            if (errOpen && (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
                errOpen = Drain(errFd, result.err, limits.captureLimit);
            }
        }
    }
    while (!result.timedOut && !result.cancelled) {
        siginfo_t info{};
        const int rc = ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT);
        if ((rc == 0 && info.si_pid == pid) || (rc < 0 && errno != EINTR)) {
            return;
        }
        if (!stopping()) {
            ::usleep(1000);
        }
    }
    KillGroup(pid);
}

// bytes as they may be shown on a terminal: well-formed UTF-8 characters as they are, control
// characters (C0, DEL, C1) and bytes of no character as escapes ("\x1B", "\u009B").
void AppendPrintable(std::string& out, std::string_view bytes) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    char escape[8];
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = Utf8SequenceLength(p + i, bytes.size() - i);
        if (n == 0 || (n == 1 && (p[i] < 0x20 || p[i] == 0x7F))) {
            std::snprintf(escape, sizeof escape, "\\x%02X", p[i]);
            out += escape;
            i += 1;
        } else if (n == 2 && p[i] == 0xC2 && p[i + 1] < 0xA0) {
            std::snprintf(escape, sizeof escape, "\\u00%02X", p[i + 1]);
            out += escape;
            i += 2;
        } else {
            out.append(bytes.substr(i, n));
            i += n;
        }
    }
}

} // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessLimits& limits) {
    ProcessResult result;
    if (argv.empty()) {
        result.error = "no program given";
        return result;
    }
    Fd outRead, outWrite, errRead, errWrite, execRead, execWrite;
    if (!MakePipe(outRead, outWrite) || !MakePipe(errRead, errWrite) ||
        !MakePipe(execRead, execWrite)) {
        result.error = std::string("pipe: ") + std::strerror(errno);
        return result;
    }
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    const pid_t parent = ::getpid();
    // No handler of ours may run in the child before its exec; the parent notes the child
    // before a signal can reach this thread.
    sigset_t all, old;
    sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &old);
    const pid_t pid = ::fork();
    if (pid == 0) {
        StartChild(args.data(), {outWrite.Get(), errWrite.Get(), execWrite.Get()}, parent);
    }
    const int forkError = errno;
    if (pid > 0) {
        NoteChild(pid);
    }
    ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
    outWrite.Close();
    errWrite.Close();
    execWrite.Close();
    if (pid < 0) {
        result.error = std::string("fork: ") + std::strerror(forkError);
        return result;
    }
    if (limits.onStarted) {
        limits.onStarted();
    }
    // The child writes errno here when its exec fails; a successful exec closes the pipe.
    int execError = 0;
    ssize_t n = 0;
    do {
        n = ::read(execRead.Get(), &execError, sizeof execError);
    } while (n < 0 && errno == EINTR);
    if (n == static_cast<ssize_t>(sizeof execError)) {
        Reap(pid);
        result.error = argv[0] + ": " + std::strerror(execError);
        return result;
    }
    result.started = true;
    Watch(pid, outRead.Get(), errRead.Get(), limits, result);
    const std::optional<int> status = Reap(pid);
    if (!status) {
        result.signal = SIGKILL; // ended from elsewhere, and waited for there
    } else if (WIFEXITED(*status)) {
        result.exitCode = WEXITSTATUS(*status);
    } else if (WIFSIGNALED(*status)) {
        result.signal = WTERMSIG(*status);
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
    } else if (result.cancelled) {
        what = "was stopped";
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
        // At most 200 bytes, cut before a character.
        std::size_t cut = std::min<std::size_t>(last.size(), 200);
        while (cut > 0 && cut < last.size() &&
               (static_cast<unsigned char>(last[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        what += ": ";
        AppendPrintable(what, last.substr(0, cut));
    }
    return what;
}

} // namespace yomi6::natural
