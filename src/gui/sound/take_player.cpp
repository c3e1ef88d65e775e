#include "sound/take_player.h"

#include "sound/sound_message_filter.h"
#include "wave/sample_pcm.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

namespace yomi6 {

TakePlayer::TakePlayer(QObject* parent) : QObject(parent) {
    InstallSoundMessageFilter();
}

TakePlayer::~TakePlayer() {
    Stop();
}

void TakePlayer::Stop() {
    if (m_sink) {
        m_sink->stop();
        m_sink.reset();
    }
    m_buffer.close();
}

void TakePlayer::Play(std::span<const std::int16_t> pcm) {
    Stop();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull() || pcm.empty()) {
        return;
    }
    QAudioFormat format;
    format.setSampleRate(kOutputSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    m_buffer.setData(QByteArray(reinterpret_cast<const char*>(pcm.data()),
                                static_cast<qsizetype>(pcm.size_bytes())));
    m_buffer.open(QIODevice::ReadOnly);
    m_sink = std::make_unique<QAudioSink>(device, format);
    m_sink->start(&m_buffer);
}

} // namespace yomi6
