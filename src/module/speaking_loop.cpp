#include "module/speaking_loop.h"

#include "module/message_text.h"
#include "module/spoken_chars.h"
#include "playback/speech_state.h"
#include "text/speech_text.h"
#include "text/utf8_codec.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace yomi6::module {

namespace {

constexpr std::int32_t kFastestSpeedMs = 30;
constexpr double kMinPitchFactor = 0.5;
constexpr double kMaxPitchFactor = 2.0;

// Keys said by name: those whose own name would be read as Latin letters.
constexpr std::pair<std::string_view, std::string_view> kKeyNames[] = {
    {"space", "スペース"},
    {"enter", "エンター"},
    {"tab", "タブ"},
    {"backspace", "バックスペース"},
    {"escape", "エスケープ"},
    {"delete", "デリート"},
    {"shift", "シフト"},
    {"control", "コントロール"},
    {"alt", "オルト"},
    {"underscore", "アンダースコア"},
    {"double-quote", "ダブルクォート"},
    {"apostrophe", "アポストロフィ"},
    {"up", "上"},
    {"down", "下"},
    {"left", "左"},
    {"right", "右"},
    {"home", "ホーム"},
    {"end", "エンド"},
    {"page-up", "ページアップ"},
    {"page-down", "ページダウン"},
    {"insert", "インサート"},
};

// A sample below this level (of 32768) is quiet: -54 dB, far below speech.
constexpr int kQuietLevel = 64;
constexpr int kKeptLeadMs = 5;
constexpr int kMostLeftOutMs = 300;

// The engine the voice settings ask for, at speed.
EngineWish WishOf(const VoiceParams& params, std::int32_t speedMs) {
    const std::vector<std::string> names = ModuleVoiceNames();
    EngineWish wish;
    if (std::find(names.begin(), names.end(), params.synthesisVoice) != names.end()) {
        wish.voice = params.synthesisVoice;
    }
    wish.male = params.voiceType.starts_with("MALE") || params.voiceType == "CHILD_MALE";
    wish.speedMs = speedMs;
    return wish;
}

} // namespace

SoundShape ShapeOf(const VoiceParams& params, double rateScale, double pitchScale,
                   std::int32_t userSpeedMs) {
    SoundShape shape;
    // rate 100 is four times as fast as the user's speed, -100 a quarter of it; pitch 100 is
    // half an octave up, -100 half an octave down.
    const double speed = userSpeedMs * std::pow(2.0, -params.rate / 50.0) / rateScale;
    shape.pitchFactor = std::clamp(std::pow(2.0, params.pitch / 200.0) * pitchScale,
                                   kMinPitchFactor, kMaxPitchFactor);
    shape.speedMs = static_cast<std::int32_t>(std::lround(
        std::clamp(speed * shape.pitchFactor, double{kFastestSpeedMs}, double{kMaxSpeed})));
    shape.halfTones = 12.0 * std::log2(shape.pitchFactor);
    shape.naturalSpeedMs = static_cast<std::int32_t>(
        std::lround(std::clamp(speed, double{kFastestSpeedMs}, double{kMaxSpeed})));
    shape.gain = std::clamp((params.volume + 100) / 100.0, 0.0, 1.0);
    return shape;
}

LeadTrim::LeadTrim(int rate)
    : m_keep(static_cast<std::size_t>(rate / 1000 * kKeptLeadMs)),
      m_left(static_cast<std::size_t>(rate / 1000 * kMostLeftOutMs)) {}

std::size_t LeadTrim::Skip(std::span<const std::int16_t> block) {
    if (m_done) {
        return 0;
    }
    const auto loud = std::find_if(block.begin(), block.end(), [](std::int16_t s) {
        return s >= kQuietLevel || s <= -kQuietLevel;
    });
    const auto quiet = static_cast<std::size_t>(loud - block.begin());
    std::size_t skip = quiet;
    if (loud != block.end()) {
        m_done = true;
        skip = quiet > m_keep ? quiet - m_keep : 0;
    }
    skip = std::min(skip, m_left);
    m_left -= skip;
    m_done = m_done || m_left == 0;
    return skip;
}

std::string SpokenKey(std::string_view key) {
    std::string out;
    std::size_t at = 0;
    while (at <= key.size()) {
        const std::size_t plus = std::min(key.find('_', at), key.size());
        const std::string_view part = key.substr(at, plus - at);
        const auto* name = std::find_if(std::begin(kKeyNames), std::end(kKeyNames),
                                        [&](const auto& k) { return k.first == part; });
        if (!out.empty()) {
            out += ' ';
        }
        out += name != std::end(kKeyNames) ? name->second : part;
        at = plus + 1;
    }
    return out;
}

SpeakingLoop::SpeakingLoop(ModuleEngines& engines, ReplyChannel& events,
                           std::function<void(const std::string&)> log)
    : m_engines(engines), m_events(events), m_log(std::move(log)), m_worker([this] { Run(); }) {}

SpeakingLoop::~SpeakingLoop() {
    Quit();
    m_worker.join();
}

void SpeakingLoop::Quit() {
    // Under the channel, so that an event is either out before this or never.
    m_events.Holding([this](const auto&) { m_quiet = true; });
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
        m_queue.clear();
        m_stop = true;
        if (m_engine != nullptr) {
            m_engine->Stop(StopAt::Now);
        }
    }
    m_wake.notify_all();
}

void SpeakingLoop::Event(std::string_view line) {
    m_events.Holding([&](const auto& send) {
        if (!m_quiet) {
            send(line);
        }
    });
}

void SpeakingLoop::Speak(SpeakRequest request) {
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(request));
    }
    m_wake.notify_all();
}

void SpeakingLoop::Stop() {
    std::lock_guard lock(m_mutex);
    if (!m_busy && !m_queue.empty()) {
        m_queue.erase(m_queue.begin() + 1, m_queue.end());
        m_stopBeforeBegin = true;
        return;
    }
    m_queue.clear();
    if (m_busy) {
        m_stop = true;
        if (m_engine != nullptr) {
            m_engine->Stop(StopAt::Now);
        }
    }
}

void SpeakingLoop::Pause() {
    std::lock_guard lock(m_mutex);
    m_queue.clear();
    if (m_busy) {
        m_pause = true;
    }
}

void SpeakingLoop::UseDevice(const std::string& device) {
    std::lock_guard lock(m_mutex);
    m_device = device;
}

void SpeakingLoop::Prepare(const VoiceParams& params) {
    m_engines.Prepare(WishOf(params, m_engines.UserSpeed()));
}

void SpeakingLoop::Run() {
    while (true) {
        SpeakRequest request;
        {
            std::unique_lock lock(m_mutex);
            m_busy = false;
            m_wake.wait(lock, [this] { return m_quit || !m_queue.empty(); });
            if (m_quit) {
                return;
            }
            request = std::move(m_queue.front());
            m_queue.pop_front();
            m_busy = true;
            m_stop = m_stopBeforeBegin;
            m_stopBeforeBegin = false;
            m_pause = false;
        }
        Say(request);
    }
}

void SpeakingLoop::Say(const SpeakRequest& request) {
    ParsedMessage message;
    if (request.kind == MessageKind::Text) {
        message = ParseMessage(request.data);
    } else {
        ParsedMessage key = ParseMessage(request.data);
        message.invalidBytes = key.invalidBytes;
        std::string text;
        for (const MessagePiece& piece : key.pieces) {
            text += piece.kind == PieceKind::Text ? piece.text : "";
        }
        message.pieces.push_back({PieceKind::Text,
                                  request.kind == MessageKind::Key ? SpokenKey(text)
                                  : request.kind == MessageKind::Char
                                      ? CharName(text, m_engines.WordAnalyzer())
                                      : text,
                                  0, 1, 1});
    }
    if (message.invalidBytes > 0) {
        m_log("a message had " + std::to_string(message.invalidBytes) +
              " bytes of invalid UTF-8; each is said as a blank");
    }
    Event("701 BEGIN\n");
    Outcome outcome = Outcome::Done;
    bool atStart = true; // nothing of the message played yet
    for (const MessagePiece& piece : message.pieces) {
        if (m_stop) {
            outcome = Outcome::Stopped;
            break;
        }
        if (piece.kind == PieceKind::Text && request.kind == MessageKind::Text) {
            MessagePiece said = piece;
            said.text =
                request.params.spelling
                    ? SpelledText(piece.text, m_engines.WordAnalyzer())
                    : NamedPunctuation(piece.text, PunctuationModeOf(request.params.punctuation));
            outcome = SayText(said, request.params, atStart);
            atStart = false;
        } else if (piece.kind == PieceKind::Text) {
            outcome = SayText(piece, request.params, atStart);
            atStart = false;
        } else if (piece.kind == PieceKind::Break) {
            atStart = false;
            const int rate = m_audio.Rate() > 0 ? m_audio.Rate() : kRenderRate;
            const std::vector<std::int16_t> silence(
                static_cast<std::size_t>(std::int64_t{rate} * piece.breakMs / 1000));
            outcome = Play(silence.data(), silence.size(), rate) ? Outcome::Done
                      : m_stop                                   ? Outcome::Stopped
                                                                 : Outcome::Done;
        } else {
            // The mark is reported when what comes before it has been heard.
            m_audio.Drain(m_stop);
            if (m_stop) {
                outcome = Outcome::Stopped;
                break;
            }
            std::string name = piece.text;
            std::erase(name, '\n');
            Event("700-" + name + "\n700 INDEX MARK\n");
            if (m_pause) {
                outcome = Outcome::Paused;
            }
        }
        if (outcome != Outcome::Done) {
            break;
        }
    }
    if (outcome == Outcome::Done) {
        m_audio.Drain(m_stop);
        if (m_stop) {
            outcome = Outcome::Stopped;
        }
    }
    if (outcome == Outcome::Stopped) {
        m_audio.Flush();
    }
    Event(outcome == Outcome::Stopped  ? "703 STOP\n"
          : outcome == Outcome::Paused ? "704 PAUSE\n"
                                       : "702 END\n");
}

SpeakingLoop::Outcome SpeakingLoop::SayText(const MessagePiece& piece, const VoiceParams& params,
                                            bool atStart) {
    const SoundShape shape =
        ShapeOf(params, piece.rateScale, piece.pitchScale, m_engines.UserSpeed());
    EngineWish wish = WishOf(params, shape.speedMs);
    wish.halfTones = shape.halfTones;
    wish.naturalSpeedMs = shape.naturalSpeedMs;
    bool ownPitch = false;
    std::unique_ptr<SpeechEngine> engine = m_engines.Make(wish, &ownPitch);
    {
        std::lock_guard lock(m_mutex);
        if (m_stop) {
            return Outcome::Stopped;
        }
        m_engine = engine.get();
    }
    const std::string text = SpeechBytes(DecodeUtf8(piece.text));
    // The natural voice said its pitch itself; the samples' is made by playing them faster.
    const int rate =
        static_cast<int>(std::lround(engine->SampleRate() * (ownPitch ? 1.0 : shape.pitchFactor)));
    std::vector<std::int16_t> pcm;
    LeadTrim trim(engine->SampleRate());
    EngineSink sink;
    sink.onBlock = [&](const SoundBlock& block) {
        pcm.resize(block.count);
        for (std::size_t i = 0; i < block.count; ++i) {
            pcm[i] = block.sixteen != nullptr
                         ? block.sixteen[i]
                         : static_cast<std::int16_t>((block.eight[i] - 128) * 256);
        }
        const std::size_t skip = atStart ? trim.Skip(pcm) : 0;
        for (std::int16_t& sample : pcm) {
            sample = static_cast<std::int16_t>(std::clamp(sample * shape.gain, -32768.0, 32767.0));
        }
        if (skip == pcm.size()) {
            return !m_stop.load();
        }
        return Play(pcm.data() + skip, pcm.size() - skip, rate);
    };
    const EngineResult said = engine->Say(EngineText{text}, sink);
    {
        std::lock_guard lock(m_mutex);
        m_engine = nullptr;
    }
    if (said.status == SpeechStatus::Failed) {
        m_log("the text could not be said: " + said.error);
    }
    return m_stop ? Outcome::Stopped : Outcome::Done;
}

bool SpeakingLoop::Play(const std::int16_t* samples, std::size_t count, int rate) {
    std::string device;
    {
        std::lock_guard lock(m_mutex);
        device = m_device;
    }
    std::string error;
    if (!m_audio.Open(rate, device, error) || !m_audio.Write(samples, count, m_stop, error)) {
        if (!error.empty() && error != m_audioError) {
            m_log(error); // said once until it changes, not for every block
        }
        m_audioError = error;
        return false;
    }
    m_audioError.clear();
    return true;
}

} // namespace yomi6::module
