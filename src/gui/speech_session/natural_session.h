// A reading with the natural voice: its engine (MakeLiveEngine) says the text sentence by
// sentence on a thread of its own (NaturalSpeech), played back to back through the speech
// player; each mora is told of as it is placed in the output, with the characters and the word
// it was read from, as a tick's unit is.
#pragma once

#include "engine/spoken_unit.h"
#include "natural/engine_setup.h"
#include "reading/source_range.h"
#include "settings/pause_table.h"
#include "speech_session/live_engine.h"
#include "speech_session/sentence_starts.h"
#include "speech_session/session_voice.h"
#include "speech_session/unit_session.h"
#include "text/speech_text.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace yomi6 {

class NaturalSpeech;

class NaturalSession : public UnitSession {
    Q_OBJECT
public:
    explicit NaturalSession(SessionServices& services, QObject* parent = nullptr);
    ~NaturalSession() override;

    // The engine set up for the voice the next reading speaks with, and its pauses.
    // Its styles start loading now, unless they are loaded.
    void SetVoice(const natural::EngineSetup& setup, const PauseTable& pauses);
    // The next reading said by two voices, each a natural voice or a slot's samples: the lines
    // in 「」 and 『』 by lines, the rest by narrator, one after the other.
    void SetVoices(const EngineVoice& narrator, const EngineVoice& lines);
    // Starts loading the styles of setup's voice, unless they are loaded, for a reading to come.
    void PrepareVoice(const natural::EngineSetup& setup);

    SessionStart SpeakFirstPass(const SpeechSource& source, const QString& text) override;
    SessionStart ReadRange(const QString& text, int begin, int end) override;
    bool Stop() override;
    void TogglePause() override;
    void EndQuietly() override;
    bool Deactivated(bool isOwner) override;
    void Abandon() override;
    bool IsPaused() const override { return m_paused; }
    bool IsSpeaking() const override;
    bool IsRunning() const override;

private:
    // Says source, the bytes of the text from character offset on.
    void Start(const SpeechSource& source, int offset);
    void PlayUnit(const SpokenUnit& unit, std::size_t sentenceBegin, std::size_t sentenceEnd,
                  Clock::time_point onset);
    void Finish(Clock::time_point end);
    // The text position of a source byte.
    int PositionOf(std::size_t byte) const;
    // Whether a reading of text (the whole document; its bytes when it is empty) heeds Aozora
    // notation.
    bool ReadsAozora(const QString& text, std::string_view bytes) const;

    // The engine of a saying of one voice, with options as the reading sets them up.
    std::unique_ptr<SpeechEngine> MakeEngine(const EngineVoice& voice,
                                             natural::NaturalPassOptions options,
                                             std::function<void(const std::string&)> onSkipped);

    std::unique_ptr<NaturalSpeech> m_natural;
    natural::EngineSetup m_setup;
    PauseTable m_pauses = DefaultPauses();
    // The voices of a reading of two (SetVoices); none: m_setup's natural voice alone.
    std::optional<std::pair<EngineVoice, EngineVoice>> m_voices;
    NaturalVoiceCache m_voice;       // the voice's styles, loaded once for every reading
    SpeechSource m_source;           // the bytes being said
    SentenceStarts m_sentenceStarts; // of m_source
    int m_passOffset = 0;            // the text position of their first character
    bool m_aozora = false;           // they are read as Aozora notation
    bool m_startsInsideLine = false; // they start inside a line in 「」 or 『』
    bool m_paused = false;
    // The words of the sentence being heard (a reading may be longer than word ranges reach),
    // counted from its first byte.
    std::vector<SourceRange> m_words;
    std::size_t m_wordsBegin = 0;
    std::size_t m_wordsEnd = 0;
    // The last mora's source bytes and where in their reading the next mora of them starts.
    std::size_t m_runBegin = 0;
    std::size_t m_runEnd = 0;
    int m_runOffset = 0;
};

} // namespace yomi6
