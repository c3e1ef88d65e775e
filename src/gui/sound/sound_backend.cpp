#include "sound/sound_backend.h"

#include <QThread>

#include <chrono>
#include <memory>

namespace yomi6 {

namespace {

using namespace std::chrono_literals;

// How long the end waits for the thread to finish. Its work is done by then (the players close
// their outputs themselves), unless a hung server holds it.
constexpr auto kFinishWait = 500ms;

} // namespace

// The thread with its count, in one object that outlives the owner when the thread is held: a
// running thread's object may not be destroyed, and the call that holds it counts itself out
// when the server lets it go.
struct SoundBackend::Running {
    QThread thread;
    BackendCalls calls;
};

SoundBackend::SoundBackend() = default;

SoundBackend::~SoundBackend() {
    Finish();
}

QThread& SoundBackend::Thread() {
    if (!m_running) {
        m_running = std::make_unique<Running>();
        m_running->thread.setObjectName(QStringLiteral("yomi6 sound"));
        m_running->thread.start();
    }
    return m_running->thread;
}

BackendCalls& SoundBackend::Calls() {
    Thread();
    return m_running->calls;
}

bool SoundBackend::Finish() {
    if (!m_running) {
        return m_held;
    }
    m_running->thread.quit();
    if (!m_running->calls.any() && m_running->thread.wait(QDeadlineTimer(kFinishWait))) {
        m_running.reset();
        return m_held;
    }
    // Held in the backend: the thread and its count stay with the call that holds them.
    m_held = true;
    static_cast<void>(m_running.release());
    return true;
}

BackendCall::BackendCall(BackendCalls& calls) : m_calls(calls) {
    ++m_calls.m_running;
}

BackendCall::~BackendCall() {
    --m_calls.m_running;
}

} // namespace yomi6
