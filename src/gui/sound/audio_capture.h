// Records from the default sound input through QAudioSource, in whatever format the device
// gives, and hands the take over as 16-bit mono frames at the player's rate.
#pragma once

#include <QByteArray>
#include <QObject>

#include <cstdint>
#include <memory>
#include <vector>

class QAudioSource;
class QIODevice;

namespace yomi6 {

class AudioCapture : public QObject {
    Q_OBJECT
public:
    explicit AudioCapture(QObject* parent = nullptr);
    ~AudioCapture() override;

    // Starts a take from the default input. false, with the reason, when there is no input or
    // it cannot be opened.
    bool Start(QString* error);
    // Ends the take and returns it, converted; empty when nothing was recorded.
    std::vector<std::int16_t> Stop();
    bool IsRecording() const { return m_source != nullptr; }
    // Bytes received so far in this take.
    qsizetype BytesReceived() const { return m_bytes.size(); }

signals:
    // The loudness of the latest block, 0 to 1, for a level meter.
    void level(double peak);

private:
    void ReadAvailable();

    std::unique_ptr<QAudioSource> m_source;
    QIODevice* m_device = nullptr;
    QByteArray m_bytes;
};

} // namespace yomi6
