// Plays one take (16-bit mono frames at the player's rate) through the default sound output, so
// that the person recording hears what was kept. Without an output it stays silent.
#pragma once

#include <QBuffer>
#include <QObject>

#include <cstdint>
#include <memory>
#include <span>

class QAudioSink;

namespace yomi6 {

class TakePlayer : public QObject {
    Q_OBJECT
public:
    explicit TakePlayer(QObject* parent = nullptr);
    ~TakePlayer() override;

    void Play(std::span<const std::int16_t> pcm);
    void Stop();

private:
    std::unique_ptr<QAudioSink> m_sink;
    QBuffer m_buffer;
};

} // namespace yomi6
