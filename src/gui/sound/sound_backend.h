// The thread on which the program talks to the sound backend, and its owner.
//
// The backend connects to the sound server when it is first used and waits for the server's
// answer; a server that accepts the connection and never answers (a stopped server, a dead
// socket) holds that first use, and later stream calls, for half a minute. Every call into the
// backend is therefore made on this thread and never on the user-interface thread: a hung server
// stalls sound, never the windows or the command line.
//
// The backend also sends its notices to the thread that used it first, for as long as the
// process lives, so the thread must live as long as anything in the process may use sound. Its
// owner is whoever runs the process's Qt application: the editor's run, a command-line mode, a
// GUI test class. It is created after the application object, handed down to the sound outputs,
// and finished before that object goes: the thread is asked to end and given a moment; a thread
// still held by a hung server is left to end with the process.
#pragma once

#include <atomic>
#include <memory>

class QThread;

namespace yomi6 {

// How many calls into the backend that may wait for the sound server are running on the sound
// thread. It lives with the thread, as a call held by a hung server may end after the owner of
// the thread has gone.
class BackendCalls {
public:
    bool any() const { return m_running.load() > 0; }

private:
    friend class BackendCall;
    std::atomic<int> m_running{0};
};

class SoundBackend {
public:
    // Starts nothing: a run that never plays sound needs no sound server.
    SoundBackend();
    // Finishes the thread, unless Finish() did.
    ~SoundBackend();
    SoundBackend(const SoundBackend&) = delete;
    SoundBackend& operator=(const SoundBackend&) = delete;

    // The thread, started on the first call (and on the first after Finish()), and the count of
    // backend calls on it. Needs a Q(Core)Application; called from the thread that owns this.
    QThread& Thread();
    BackendCalls& Calls();

    // Asks the thread to end and waits a moment for it, unless a backend call is running on it.
    // Returns whether the thread is still held in the backend: the backend's teardown at the
    // process's exit would then wait for it (for as long as the server holds it), so a program
    // in that state ends its process without that teardown, once its own work is finished and
    // flushed. Called again, it finishes a thread started since, and still reports one held.
    bool Finish();

private:
    struct Running;
    std::unique_ptr<Running> m_running; // let go of, on purpose, when it is held
    bool m_held = false;
};

// Marks, while it lives, a call into the backend that may wait for the sound server (opening an
// output). The end of the thread does not wait for a thread that is inside one.
class BackendCall {
public:
    explicit BackendCall(BackendCalls& calls);
    ~BackendCall();
    BackendCall(const BackendCall&) = delete;
    BackendCall& operator=(const BackendCall&) = delete;

private:
    BackendCalls& m_calls;
};

} // namespace yomi6
