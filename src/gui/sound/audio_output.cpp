#include "sound/audio_output.h"

#include "playback/sample_mixer.h"
#include "sound/sound_backend.h"
#include "wave/sample_pcm.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <QThread>

#include <chrono>
#include <utility>

namespace yomi6 {

namespace {

using namespace std::chrono_literals;

// What the output is asked to keep buffered (the server grants about two thirds of it). Less
// lets a busy machine run it dry; more delays every sample after its tick by as much.
constexpr auto kBufferTarget = 100ms;
// How often the buffer is topped up.
constexpr auto kFeedPeriod = 5ms;
// A request is placed this far beyond the buffer, so that its frame has not been written yet
// when the tick that asks for it is delivered late by up to this much.
constexpr auto kLatencyMargin = 60ms;

// How long the server's answers to closing the stream are given (see ~AudioOutput).
constexpr auto kCloseSettle = 150ms;

constexpr int kBytesPerFrame = 2;

QAudioFormat OutputFormat() {
    QAudioFormat format;
    format.setSampleRate(kOutputSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

qsizetype BytesFor(std::chrono::milliseconds d) {
    return static_cast<qsizetype>(d.count()) * kOutputSampleRate / 1000 * kBytesPerFrame;
}

std::chrono::milliseconds DurationOfBytes(qsizetype bytes) {
    return std::chrono::milliseconds(bytes / kBytesPerFrame * 1000 / kOutputSampleRate);
}

} // namespace

AudioOutput::AudioOutput(std::shared_ptr<SampleMixer> mixer, SoundBackend& backend)
    : m_mixer(std::move(mixer)), m_backendCalls(backend.Calls()), m_feedTimer(this) {
    m_feedTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_feedTimer, &QTimer::timeout, this, &AudioOutput::Feed);
    moveToThread(&backend.Thread());
}

AudioOutput::~AudioOutput() {
    const bool wasOpen = m_sink != nullptr;
    Close();
    if (wasOpen) {
        // The sound backend closes a stream without waiting for the server's answers, and
        // tears its connection down at exit while its own thread may still be handling them,
        // which now and then crashes the program on its way out. The answers come within
        // milliseconds; they are let in before the program can go on to exit.
        QThread::msleep(kCloseSettle.count());
    }
}

void AudioOutput::Open() {
    // Both the first query and the start of the stream wait for the sound server.
    const BackendCall waitsForTheServer(m_backendCalls);
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        emit opened(false);
        return;
    }
    m_sink = std::make_unique<QAudioSink>(device, OutputFormat());
    m_sink->setBufferSize(BytesFor(kBufferTarget));
    m_mixer->Restart();
    m_stream = m_sink->start();
    if (m_stream == nullptr || m_sink->error() != QAudio::NoError ||
        m_sink->state() == QAudio::StoppedState) {
        Close();
        emit opened(false);
        return;
    }
    // The server may grant another buffer than the one asked for; place requests beyond it.
    m_mixer->SetLatency(DurationOfBytes(m_sink->bufferSize()) + kLatencyMargin);
    connect(m_sink.get(), &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        if (state == QAudio::StoppedState && m_sink->error() != QAudio::NoError) {
            // Not while the sink is still inside its own signal.
            QMetaObject::invokeMethod(this, &AudioOutput::Close, Qt::QueuedConnection);
            emit lost();
        }
    });
    m_filled = false;
    m_playing = false;
    Feed();
    m_feedTimer.start(kFeedPeriod);
}

void AudioOutput::Feed() {
    if (!m_sink) {
        return;
    }
    const qsizetype room = m_sink->bytesFree() / kBytesPerFrame;
    if (room <= 0) {
        return;
    }
    const auto now = SampleMixer::Clock::now();
    if (m_filled && !m_playing) {
        // Room after the first fill: the output has begun to play, and has played that much.
        m_playing = true;
        m_mixer->Retime(now - std::chrono::microseconds(room * 1'000'000 / kOutputSampleRate));
        emit opened(true);
    }
    m_filled = true;
    const auto frames = static_cast<std::size_t>(room);
    if (m_frames.size() < frames) {
        m_frames.resize(frames);
    }
    m_mixer->Render(std::span(m_frames.data(), frames), now);
    m_stream->write(reinterpret_cast<const char*>(m_frames.data()),
                    static_cast<qint64>(frames) * kBytesPerFrame);
}

void AudioOutput::Close() {
    m_feedTimer.stop();
    m_stream = nullptr;
    if (m_sink) {
        m_sink->disconnect(this);
        m_sink->stop();
        m_sink.reset();
    }
    m_mixer->Restart();
}

} // namespace yomi6
