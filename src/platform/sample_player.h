// The sample player: plays one compiled-in voice sample at a time through the default sound
// output. Play() returns at once; a new sample cuts the one still sounding. Without a sound
// device everything is silence: no error, no message, no wait.
//
// The samples are mixed into one continuous stream that a thread of its own feeds to the
// output. Each sample is placed in that stream at the frame that matches the moment Play()
// was called plus a fixed latency, so the samples are heard on the same grid as the calls,
// sample-accurately, however the output chunks its pulls.
#pragma once

#include "speech/fitted_samples.h"
#include "speech/sample_mixer.h"

#include <QObject>
#include <QThread>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <span>
#include <string_view>

namespace yomi6 {

class AudioOutput;
class SampleBank;

class SamplePlayer : public QObject {
    Q_OBJECT
public:
    // Starts opening the sound output in the background; ready() tells when that is done.
    // Needs a Q(Core)Application.
    explicit SamplePlayer(QObject* parent = nullptr);
    ~SamplePlayer() override;
    SamplePlayer(const SamplePlayer&) = delete;
    SamplePlayer& operator=(const SamplePlayer&) = delete;

    // Plays the sample named name ("IDF_KA", ...) as if asked at the moment at (by default:
    // now); a caller that runs late can pass the moment it was due. Returns true when it was
    // handed to the output; false (and silence) for a name the program holds no sample of, or
    // without an open output.
    bool Play(std::string_view name, SampleMixer::Clock::time_point at = SampleMixer::Clock::now());

    // Whether Play() shortens samples longer than the tick of speed to it. Turning it on
    // scales the named samples for that speed now, those not scaled before in this run (it
    // takes a while, so call it before the ticks start, never on a tick); other samples play
    // at their own length. Names the program holds no sample of are passed over.
    void SetFitting(SampleFitting fitting, std::int32_t speed,
                    std::span<const std::string_view> names);

    // Whether opening the output has finished, and whether it gave an output.
    bool isReady() const { return m_ready.load(); }
    bool hasOutput() const { return m_hasOutput.load(); }

    // How long until the samples played so far have finished sounding; zero without output.
    std::chrono::milliseconds timeUntilSilent() const;

    // The placement figures of the stream, for measurements.
    SampleMixer::Stats stats() const { return m_mixer.stats(); }

signals:
    void ready(bool hasOutput);

private:
    void OnOpened(bool hasOutput);

    const SampleBank& m_bank;
    FittedSamples m_fitted;
    SampleFitting m_fitting = SampleFitting::Off;
    SampleMixer m_mixer;
    QThread m_thread;
    AudioOutput* m_output = nullptr; // lives in m_thread, deleted when it ends
    std::atomic<bool> m_ready{false};
    std::atomic<bool> m_hasOutput{false};
};

} // namespace yomi6
