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

QThread* g_thread = nullptr;
bool g_held = false;
std::atomic<int> g_backendCalls{0};

void FinishSoundThread() {
    if (g_thread == nullptr) {
        return;
    }
    g_thread->quit();
    if (g_backendCalls.load() == 0 && g_thread->wait(QDeadlineTimer(kFinishWait))) {
        delete g_thread;
    } else {
        // Held in the backend. The thread object stays with it, as a running thread's object
        // may not be destroyed.
        g_held = true;
    }
    g_thread = nullptr;
}

} // namespace

BackendCall::BackendCall() {
    ++g_backendCalls;
}

BackendCall::~BackendCall() {
    --g_backendCalls;
}

bool SoundThreadHeld() {
    return g_held;
}

QThread& SoundThread() {
    if (g_thread == nullptr) {
        g_thread = new QThread;
        g_thread->setObjectName(QStringLiteral("yomi6 sound"));
        g_thread->start();
        qAddPostRoutine(FinishSoundThread);
    }
    return *g_thread;
}

} // namespace yomi6
