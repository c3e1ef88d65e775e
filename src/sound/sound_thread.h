// The one thread on which the program talks to the sound backend.
//
// The backend connects to the sound server when it is first used and waits for the server's
// answer; a server that accepts the connection and never answers (a stopped server, a dead
// socket) holds that first use, and later stream calls, for half a minute. Every call into the
// backend is therefore made on this thread and never on the user-interface thread: a hung server
// stalls sound, never the windows or the command line.
//
// The backend also sends its notices to the thread that used it first, for as long as it
// exists, so the thread lives as long as the process. At the end of the application it is
// asked to finish and given a moment; a thread still held by a hung server is left to end with
// the process.
#pragma once

class QThread;

namespace yomi6 {

// The thread, started on the first call. Needs a Q(Core)Application.
QThread& SoundThread();

// Marks, while it lives, a call into the backend that may wait for the sound server (opening an
// output). The end of the application does not wait for a thread that is inside one.
class BackendCall {
public:
    BackendCall();
    ~BackendCall();
    BackendCall(const BackendCall&) = delete;
    BackendCall& operator=(const BackendCall&) = delete;
};

// After the application object has gone: whether the sound thread is still held in the backend.
// The backend's teardown at the process's exit would then wait for it (for as long as the server
// holds it), so a program in that state ends its process without that teardown, once its own work
// is finished and flushed.
bool SoundThreadHeld();

} // namespace yomi6
