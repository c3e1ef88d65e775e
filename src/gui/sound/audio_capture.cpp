#include "sound/audio_capture.h"

#include "sound/sound_message_filter.h"
#include "wave/pcm_convert.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QMediaDevices>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace yomi6 {

namespace {

// One frame's samples of the device format as floats in [-1, 1], mixed to one channel.
std::vector<float> ToMono(const QByteArray& bytes, const QAudioFormat& format) {
    const int channels = std::max(1, format.channelCount());
    const int sampleBytes = format.bytesPerSample();
    const qsizetype frameBytes = static_cast<qsizetype>(channels) * sampleBytes;
    std::vector<float> mono;
    if (sampleBytes <= 0) {
        return mono;
    }
    const qsizetype frames = bytes.size() / frameBytes;
    mono.reserve(static_cast<std::size_t>(frames));
    const char* p = bytes.constData();
    for (qsizetype i = 0; i < frames; ++i) {
        float sum = 0;
        for (int c = 0; c < channels; ++c, p += sampleBytes) {
            switch (format.sampleFormat()) {
            case QAudioFormat::UInt8:
                sum += (static_cast<float>(static_cast<unsigned char>(*p)) - 128.0F) / 128.0F;
                break;
            case QAudioFormat::Int16: {
                std::int16_t v = 0;
                std::memcpy(&v, p, sizeof v);
                sum += static_cast<float>(v) / 32768.0F;
                break;
            }
            case QAudioFormat::Int32: {
                std::int32_t v = 0;
                std::memcpy(&v, p, sizeof v);
                sum += static_cast<float>(static_cast<double>(v) / 2147483648.0);
                break;
            }
            case QAudioFormat::Float: {
                float v = 0;
                std::memcpy(&v, p, sizeof v);
                sum += std::isfinite(v) ? std::clamp(v, -1.0F, 1.0F) : 0.0F;
                break;
            }
            default:
                break;
            }
        }
        mono.push_back(sum / static_cast<float>(channels));
    }
    return mono;
}

} // namespace

AudioCapture::AudioCapture(QObject* parent) : QObject(parent) {
    InstallSoundMessageFilter();
}

AudioCapture::~AudioCapture() {
    Stop();
}

bool AudioCapture::Start(QString* error) {
    Stop();
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull()) {
        *error = QString::fromUtf8("録音できる入力がありません。");
        return false;
    }
    QAudioFormat format;
    format.setSampleRate(kOutputSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) {
        format = device.preferredFormat();
    }
    m_bytes.clear();
    m_source = std::make_unique<QAudioSource>(device, format);
    m_device = m_source->start();
    if (m_device == nullptr || m_source->error() != QAudio::NoError) {
        m_source.reset();
        m_device = nullptr;
        *error = QString::fromUtf8("録音を始められません。");
        return false;
    }
    connect(m_device, &QIODevice::readyRead, this, &AudioCapture::ReadAvailable);
    return true;
}

void AudioCapture::ReadAvailable() {
    if (m_device == nullptr) {
        return;
    }
    const QByteArray block = m_device->readAll();
    m_bytes += block;
    const std::vector<float> mono = ToMono(block, m_source->format());
    float peak = 0;
    for (const float v : mono) {
        peak = std::max(peak, std::abs(v));
    }
    emit level(peak);
}

std::vector<std::int16_t> AudioCapture::Stop() {
    if (!m_source) {
        return {};
    }
    ReadAvailable();
    const QAudioFormat format = m_source->format();
    m_source->stop();
    m_source.reset();
    m_device = nullptr;
    const std::vector<float> mono = ToMono(m_bytes, format);
    m_bytes.clear();
    return ToPlayerPcm(mono, format.sampleRate());
}

} // namespace yomi6
