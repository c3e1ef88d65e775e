// The speech player: plays what either engine says through the default sound output, a voice
// sample per tick (Play) or a sentence of the natural voice (PlaySound). Play() returns at once; a
// new sample cuts the one still sounding. Without a sound device everything is silence: no error
// and no wait; the player tells once that there is no output, and its owner says so to the user.
//
// The samples are mixed into one continuous stream that the sound thread (sound_backend.h) feeds
// to the output; every call into the sound backend is made there, so a sound server that never
// answers holds neither the constructor, nor Play(), nor the destructor. Each sample is placed in
// that stream at the frame that matches the moment Play() was called plus a fixed latency, so the
// samples are heard on the same grid as the calls, sample-accurately, however the output chunks its
// pulls.
#pragma once

#include "playback/fitted_samples.h"
#include "playback/sample_mixer.h"

#include <QObject>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace yomi6 {

class AudioOutput;
class SampleBank;
class SoundBackend;
class VoiceSelection;

class SpeechPlayer : public QObject {
    Q_OBJECT
public:
    // Starts opening the sound output on backend's thread and returns at once; ready() tells
    // when that is done. Needs a Q(Core)Application. Plays each sample with the voice voices
    // gives its slot, a built-in one from bank; all three belong to the caller and outlive the
    // player.
    SpeechPlayer(const SampleBank& bank, const VoiceSelection& voices, SoundBackend& backend,
                 QObject* parent = nullptr);
    ~SpeechPlayer() override;
    SpeechPlayer(const SpeechPlayer&) = delete;
    SpeechPlayer& operator=(const SpeechPlayer&) = delete;

    // Plays the sample named name ("IDF_KA", ...) as if asked at the moment at (by default:
    // now); a caller that runs late can pass the moment it was due. Returns true when it was
    // handed to the output; false (and silence) for a name the program holds no sample of, or
    // without an open output.
    bool Play(std::string_view name, SampleMixer::Clock::time_point at = SampleMixer::Clock::now());

    // Plays frames [from, end) of sound (mono at kOutputSampleRate, a sentence of the natural
    // voice) as asked at the moment at, as Play() plays a sample. The player keeps the sound
    // while the output may still play it. false (and silence) without an open output.
    bool PlaySound(std::shared_ptr<const std::vector<std::int16_t>> sound, std::size_t from,
                   SampleMixer::Clock::time_point at);
    // Ends what sounds from the moment at on (as soon as the output can, when that has gone)
    // and drops whatever was asked for after it (SampleMixer::Silence).
    void Silence(SampleMixer::Clock::time_point at);
    // Lowers the volume from the moment at on, over length, down to floor (in 1/32768), until
    // the next Silence or EndFade (SampleMixer::FadeOut); EndFade: full volume again at once.
    void FadeOut(SampleMixer::Clock::time_point at, SampleMixer::Clock::duration length,
                 std::int32_t floor);
    void EndFade();

    // Whether Play() shortens samples longer than the tick of speed to it. Turning it on
    // scales the named samples for that speed now, those not scaled before in this run (it
    // takes a while, so call it before the ticks start, never on a tick); other samples play
    // at their own length. Names the program holds no sample of are passed over.
    void SetFitting(SampleFitting fitting, std::int32_t speed,
                    std::span<const std::string_view> names);

    // Whether opening the output has finished, and whether it gave an output.
    bool IsReady() const { return m_ready.load(); }
    bool HasOutput() const { return m_hasOutput.load(); }

    // When a sample played as asked at `at` starts sounding: at plus the output's latency, or at
    // itself without an output.
    SampleMixer::Clock::time_point OnsetOf(SampleMixer::Clock::time_point at) const {
        return m_hasOutput.load() ? at + m_mixer->Latency() : at;
    }

    // The soonest moment a sound that is ready (a sentence of the natural voice) can be asked
    // for and be placed exactly: it is heard at OnsetOf() of it, right after the frames the
    // output holds already. Nothing without a running output.
    std::optional<SampleMixer::Clock::time_point> SoonestOnTime() const;

    // The moment the sound placed so far ends on the output's clock (what the device adds after
    // it not counted), or nothing without a running output.
    std::optional<SampleMixer::Clock::time_point> SoundEnd() const { return m_mixer->SoundEnd(); }

    // How long until the samples played so far have finished sounding; zero without output.
    std::chrono::milliseconds TimeUntilSilent() const;

    // The placement figures of the stream, for measurements.
    SampleMixer::Stats stats() const { return m_mixer->stats(); }

signals:
    void ready(bool hasOutput);
    // Once per player, at the first of: the output could not be opened, it has not begun to
    // play within a few seconds of the construction (a server that does not answer), or it
    // was lost. Should it open later all the same, samples are heard from then on.
    void outputUnavailable();

private:
    void OutputOpened(bool hasOutput);
    void ReportUnavailable();

    const VoiceSelection& m_voices;
    const SampleBank& m_bank;
    // Shared like the mixer: the frames it hands out are played by the output, which may
    // outlive this (see the destructor).
    std::shared_ptr<FittedSamples> m_fitted;
    SampleFitting m_fitting = SampleFitting::Off;
    std::shared_ptr<SampleMixer> m_mixer; // shared with the output, which may outlive this
    // The sounds given to PlaySound last, which the mixer may still play from (kept, like the
    // fitted samples, until the output is gone).
    using Sounds = std::vector<std::shared_ptr<const std::vector<std::int16_t>>>;
    std::shared_ptr<Sounds> m_sounds = std::make_shared<Sounds>();
    AudioOutput* m_output = nullptr; // lives in the sound thread
    std::atomic<bool> m_ready{false};
    std::atomic<bool> m_hasOutput{false};
    bool m_reportedUnavailable = false;
};

} // namespace yomi6
