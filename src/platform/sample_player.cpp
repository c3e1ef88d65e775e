#include "platform/sample_player.h"

#include "platform/audio_output.h"
#include "platform/sample_bank.h"
#include "platform/sound_message_filter.h"
#include "speech/sample_pcm.h"
#include "speech/sample_store.h"

#include <QAudioDevice>
#include <QMediaDevices>

#include <algorithm>

namespace yomi6 {

namespace {

using namespace std::chrono_literals;

// Until the output is open the latency is not known; this stands in.
constexpr auto kInitialLatency = 100ms;
// What a device adds after the stream's clock: its own buffer. Waited for at the end, not
// measured.
constexpr auto kDeviceTail = 100ms;

} // namespace

SamplePlayer::SamplePlayer(QObject* parent)
    : QObject(parent), m_bank(SampleBank::Instance()), m_fitted(kOutputSampleRate),
      m_mixer(kOutputSampleRate, kInitialLatency) {
    // The sound backend connects to the sound server when it is first used, and from then on
    // sends its notices to the thread that used it first. That is done here, on the thread
    // that lives as long as the application, so that the backend outlives every output thread.
    InstallSoundMessageFilter();
    QMediaDevices::defaultAudioOutput();

    m_thread.setObjectName(QStringLiteral("yomi6 sound output"));
    m_output = new AudioOutput(m_mixer);
    m_output->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_output, &QObject::deleteLater);
    connect(m_output, &AudioOutput::opened, this, &SamplePlayer::OnOpened);
    connect(m_output, &AudioOutput::lost, this, [this] { m_hasOutput = false; });
    m_thread.start();
    QMetaObject::invokeMethod(m_output, &AudioOutput::Open, Qt::QueuedConnection);
}

SamplePlayer::~SamplePlayer() {
    m_thread.quit();
    m_thread.wait();
}

void SamplePlayer::OnOpened(bool hasOutput) {
    m_hasOutput = hasOutput;
    m_ready = true;
    emit ready(hasOutput);
}

void SamplePlayer::SetFitting(SampleFitting fitting, std::int32_t speed,
                              std::span<const std::string_view> names) {
    m_fitting = fitting;
    if (fitting == SampleFitting::Off) {
        return;
    }
    m_fitted.Prepare(speed);
    for (const std::string_view name : names) {
        // Keyed by the sample store's own name, which lives as long as the program.
        const auto stored = std::lower_bound(SampleNames().begin(), SampleNames().end(), name);
        if (stored == SampleNames().end() || *stored != name) {
            continue;
        }
        if (const auto pcm = m_bank.Find(name); !pcm.empty()) {
            m_fitted.Add(*stored, pcm);
        }
    }
}

bool SamplePlayer::Play(std::string_view name, SampleMixer::Clock::time_point at) {
    auto pcm = m_bank.Find(name);
    if (m_fitting == SampleFitting::On) {
        pcm = m_fitted.Find(name, pcm);
    }
    if (pcm.empty() || !m_hasOutput) {
        return false;
    }
    m_mixer.Schedule(pcm, at);
    return true;
}

std::chrono::milliseconds SamplePlayer::timeUntilSilent() const {
    const auto end = m_mixer.SoundEnd();
    if (!m_hasOutput || !end) {
        return 0ms;
    }
    const auto left = *end + kDeviceTail - SampleMixer::Clock::now();
    return std::max(std::chrono::ceil<std::chrono::milliseconds>(left), 0ms);
}

} // namespace yomi6
