#include "sound/sound_thread.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <chrono>

namespace yomi6 {

namespace {

using namespace std::chrono_literals;

// How long the end of the application waits for the thread to finish. Its work is done by then
// (the players close their outputs themselves), unless a hung server holds it.
constexpr auto kFinishWait = 500ms;

// The thread and what its end needs to know. Process-wide, and the one piece of the sound
// output that is: the backend sends its notices to this thread for as long as the process
// lives, beyond any one player or run of the editor (a test runs many in one process); it is
// finished by a routine the application object calls at its end with no context to hand
// (qAddPostRoutine), and asked whether it is held after that object has gone.
struct SoundThreadState {
    QThread* thread = nullptr;
    bool held = false;                // it was left running, held in the backend
    std::atomic<int> backendCalls{0}; // calls into the backend running on it now
};

SoundThreadState g_sound; // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)

void FinishSoundThread() {
    if (g_sound.thread == nullptr) {
        return;
    }
    g_sound.thread->quit();
    if (g_sound.backendCalls.load() == 0 && g_sound.thread->wait(QDeadlineTimer(kFinishWait))) {
        delete g_sound.thread;
    } else {
        // Held in the backend. The thread object stays with it, as a running thread's object
        // may not be destroyed.
        g_sound.held = true;
    }
    g_sound.thread = nullptr;
}

} // namespace

BackendCall::BackendCall() {
    ++g_sound.backendCalls;
}

BackendCall::~BackendCall() {
    --g_sound.backendCalls;
}

bool SoundThreadHeld() {
    return g_sound.held;
}

QThread& SoundThread() {
    if (g_sound.thread == nullptr) {
        g_sound.thread = new QThread;
        g_sound.thread->setObjectName(QStringLiteral("yomi6 sound"));
        g_sound.thread->start();
        qAddPostRoutine(FinishSoundThread);
    }
    return *g_sound.thread;
}

} // namespace yomi6
