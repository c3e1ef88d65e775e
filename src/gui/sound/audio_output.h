// The default sound output, kept fed from a mixer by the sound thread (sound_backend.h), so that
// a busy user-interface thread never lets it run dry and a hung sound server never holds the
// user-interface thread.
//
// The output is written to rather than left to pull: every few milliseconds the thread tops
// the output's buffer up with exactly as many frames as it has room for. (Left to pull, the
// output takes whole 20 ms periods only, and stalls for hundreds of milliseconds at the start
// whenever the buffer the server grants is not a whole number of periods.) Either way the
// stream is one and continuous; where a sample lands in it is the mixer's business.
#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <vector>

class QAudioSink;
class QIODevice;

namespace yomi6 {

class BackendCalls;
class SampleMixer;
class SoundBackend;

class AudioOutput : public QObject {
    Q_OBJECT
public:
    // Moves to backend's sound thread, where it lives from then on. The mixer is shared: an
    // output held by a hung sound server may outlive its player (and backend's owner).
    AudioOutput(std::shared_ptr<SampleMixer> mixer, SoundBackend& backend);
    ~AudioOutput() override;

    // In the output's thread: opens the default output and reports with opened(): true once
    // the output has begun to play (a server may hold a new stream back for a while), false at
    // once without a device or when the sound server refuses the stream.
    void Open();

signals:
    void opened(bool hasOutput);
    // The open output failed later (the sound server went away): from now on, silence.
    void lost();

private:
    void Close();
    // Tops the output's buffer up with the mixer's next frames.
    void Feed();

    std::shared_ptr<SampleMixer> m_mixer;
    BackendCalls& m_backendCalls; // lives as long as the thread, which outlives this
    std::unique_ptr<QAudioSink> m_sink;
    QIODevice* m_stream = nullptr; // the sink's, valid while it runs
    QTimer m_feedTimer;
    bool m_filled = false;              // the output's buffer has been filled once
    bool m_playing = false;             // the output has begun to take frames
    std::vector<std::int16_t> m_frames; // reused between feeds
};

} // namespace yomi6
