#include "sound/speech_player.h"

#include "sound/audio_output.h"
#include "sound/sample_bank.h"
#include "sound/sound_message_filter.h"
#include "voice/sample_store.h"
#include "voice/voice_selection.h"
#include "wave/sample_pcm.h"

#include <QSemaphore>
#include <QTimer>

#include <algorithm>

namespace yomi6 {

namespace {

using namespace std::chrono_literals;

// Until the output is open the latency is not known; this stands in.
constexpr auto kInitialLatency = 100ms;
// What a device adds after the stream's clock: its own buffer. Waited for at the end, not
// measured.
constexpr auto kDeviceTail = 100ms;
// A sound server normally takes the stream within milliseconds, but may hold a new stream back
// for up to two seconds; an output that has not begun to play by then is reported unavailable.
constexpr auto kOpenPatience = 3s;
// How many of the sounds given to PlaySound are kept: a sound is played whole or cut by a later
// one, and the mixer holds at most the one sounding and the one it fades out.
constexpr std::size_t kKeptSounds = 4;
// A ready sound is placed this far after the first frame the output has not pulled, so that
// a pull between asking and placing (the output tops up every few milliseconds) does not make
// it late.
constexpr auto kSoonestMargin = 10ms;
// How long the destructor waits for an open output to close (it takes about 150 ms).
constexpr std::chrono::milliseconds kCloseWait = 1s;

} // namespace

SpeechPlayer::SpeechPlayer(const SampleBank& bank, const VoiceSelection& voices,
                           SoundBackend& backend, QObject* parent)
    : QObject(parent), m_voices(voices), m_bank(bank),
      m_fitted(std::make_shared<FittedSamples>(kOutputSampleRate)),
      m_mixer(std::make_shared<SampleMixer>(kOutputSampleRate, kInitialLatency)) {
    InstallSoundMessageFilter();
    m_output = new AudioOutput(m_mixer, backend);
    connect(m_output, &AudioOutput::opened, this, &SpeechPlayer::OutputOpened);
    connect(m_output, &AudioOutput::lost, this, [this] {
        m_hasOutput = false;
        ReportUnavailable();
    });
    QMetaObject::invokeMethod(m_output, &AudioOutput::Open, Qt::QueuedConnection);
    QTimer::singleShot(kOpenPatience, this, [this] {
        if (!m_hasOutput) {
            ReportUnavailable();
        }
    });
}

SpeechPlayer::~SpeechPlayer() {
    // The output closes in its own thread; the program may exit next, so an open stream is
    // given a moment to end first. An output still opening is not waited for (a hung server
    // may hold it for half a minute): it goes when the server lets it, and the mixer it draws
    // from goes with it. The fitted samples the mixer may still hold frames of stay until then.
    m_output->disconnect(this);
    auto closed = std::make_shared<QSemaphore>();
    connect(m_output, &QObject::destroyed,
            [closed, fitted = m_fitted, sounds = m_sounds] { closed->release(); });
    m_output->deleteLater();
    if (m_ready) {
        closed->tryAcquire(1, static_cast<int>(kCloseWait.count()));
    }
}

void SpeechPlayer::OutputOpened(bool hasOutput) {
    m_hasOutput = hasOutput;
    m_ready = true;
    emit ready(hasOutput);
    if (!hasOutput) {
        ReportUnavailable();
    }
}

void SpeechPlayer::ReportUnavailable() {
    if (!m_reportedUnavailable) {
        m_reportedUnavailable = true;
        emit outputUnavailable();
    }
}

void SpeechPlayer::SetFitting(SampleFitting fitting, std::int32_t speed,
                              std::span<const std::string_view> names) {
    m_fitting = fitting;
    if (fitting == SampleFitting::Off) {
        return;
    }
    // Keyed by the voices too: after a slot changes voice, a name scales that voice's frames.
    m_fitted->Prepare(speed, m_voices.Generation());
    for (const std::string_view name : names) {
        // Keyed by the sample store's own name, which lives as long as the program.
        const auto stored = std::lower_bound(SampleNames().begin(), SampleNames().end(), name);
        if (stored == SampleNames().end() || *stored != name) {
            continue;
        }
        if (const auto pcm = m_bank.Find(m_voices, name); !pcm.empty()) {
            m_fitted->Add(*stored, pcm);
        }
    }
}

bool SpeechPlayer::Play(std::string_view name, SampleMixer::Clock::time_point at) {
    auto pcm = m_bank.Find(m_voices, name);
    // Frames scaled for other voices than the slots have now are never played.
    if (m_fitting == SampleFitting::On && m_fitted->voices() == m_voices.Generation()) {
        pcm = m_fitted->Find(name, pcm);
    }
    if (pcm.empty() || !m_hasOutput) {
        return false;
    }
    m_mixer->Schedule(pcm, at);
    return true;
}

bool SpeechPlayer::PlaySound(std::shared_ptr<const std::vector<std::int16_t>> sound,
                             std::size_t from, SampleMixer::Clock::time_point at) {
    if (!m_hasOutput || !sound || from >= sound->size()) {
        return false;
    }
    const std::span<const std::int16_t> frames(sound->data() + from, sound->size() - from);
    if (std::find(m_sounds->begin(), m_sounds->end(), sound) == m_sounds->end()) {
        m_sounds->push_back(std::move(sound));
        if (m_sounds->size() > kKeptSounds) {
            m_sounds->erase(m_sounds->begin());
        }
    }
    m_mixer->Schedule(frames, at);
    return true;
}

void SpeechPlayer::Silence(SampleMixer::Clock::time_point at) {
    m_mixer->Silence(at);
}

void SpeechPlayer::FadeOut(SampleMixer::Clock::time_point at, SampleMixer::Clock::duration length,
                           std::int32_t floor) {
    m_mixer->FadeOut(at, length, floor);
}

void SpeechPlayer::EndFade() {
    m_mixer->EndFade();
}

std::optional<SampleMixer::Clock::time_point> SpeechPlayer::SoonestOnTime() const {
    if (!m_hasOutput) {
        return std::nullopt;
    }
    return m_mixer->EarliestOnTime(kSoonestMargin);
}

std::chrono::milliseconds SpeechPlayer::TimeUntilSilent() const {
    const auto end = m_mixer->SoundEnd();
    if (!m_hasOutput || !end) {
        return 0ms;
    }
    const auto left = *end + kDeviceTail - SampleMixer::Clock::now();
    return std::max(std::chrono::ceil<std::chrono::milliseconds>(left), 0ms);
}

} // namespace yomi6
