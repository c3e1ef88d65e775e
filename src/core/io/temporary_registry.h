// The temporary files this process has made and not yet renamed or removed, kept where a
// signal handler can reach them: a process ended by a signal (Ctrl+C, a kill, a closed
// terminal or pipe) removes them first, so that it leaves no file that was not there before.
//
// The table is the one piece of process-wide state of the file writers, and it must be: a
// signal handler can reach nothing else. It is a fixed array of fixed-size entries, so that
// reading it needs no lock and no allocation.
#pragma once

#include <csignal>
#include <cstddef>
#include <string>

namespace yomi6 {

// How many temporary files and folders can be noted at once: an export's three files and the
// three links to the files they replace, and the folder and three files of each engine run of
// the natural voice, for as many workers as it may run (the natural pass checks its limit
// against this).
inline constexpr std::size_t kMaxNotedTemporaries = 320;

// Notes a temporary file before it is created. A path too long for an entry, or a table that
// is full, is simply not noted: the file is still removed on every ordinary path.
void NoteTemporary(const std::string& path);

// Notes a temporary folder as soon as it is made; it is removed after the noted files, which
// must then be all it holds.
void NoteTemporaryFolder(const std::string& path);

// Forgets a temporary file or folder once it is renamed or removed.
void ForgetTemporary(const std::string& path);

// Removes every noted temporary file, then every noted folder. Async-signal-safe: calls only
// unlink and rmdir.
void RemoveNotedTemporaries() noexcept;

// Held by a thread from the moment it starts to make temporaries that it notes only as it goes
// (a folder, the files in it, a child process that writes there) until all of them are noted:
// a signal handler's clean-up waits until no gate is held, and no gate opens after it began, so
// that nothing is made behind it while the other threads run on until the process ends. The
// handled signals are blocked in the thread while it holds one, so that the handler never waits
// for the thread it runs on.
class TemporaryGate {
public:
    TemporaryGate();
    ~TemporaryGate() { Release(); }
    TemporaryGate(const TemporaryGate&) = delete;
    TemporaryGate& operator=(const TemporaryGate&) = delete;

    // False once a clean-up has begun: make nothing, the process is ending.
    bool IsOpen() const { return m_open; }
    // Lets the gate go (once); the signals blocked are unblocked.
    void Release();

private:
    bool m_open = false;
    bool m_held = false;
    sigset_t m_oldMask{};
};

// For the signal handler, before its clean-up: no gate opens from now on, and it returns once
// none is held (or after two seconds). Async-signal-safe: atomics and nanosleep.
void CloseTemporaryGates() noexcept;

} // namespace yomi6
