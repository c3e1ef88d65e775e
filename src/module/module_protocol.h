// The sound server's side of the output-module protocol on standard input and output: INIT,
// then commands, each answered with numbered lines ("2xx" done, "3xx" refused); SPEAK, CHAR,
// KEY and SOUND_ICON take a message ending in a line "." (a leading dot doubled), SET, AUDIO
// and LOGLEVEL lines "key=value" ending the same way. What is to be said goes to a speaker;
// its events (7xx) go out through the same channel, never inside a reply.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6::module {

enum class MessageKind { Text, Char, Key, SoundIcon };

// The voice settings of a message, as the server last set them.
struct VoiceParams {
    int rate = 0;               // -100 to 100; 0 the user's speed
    int pitch = 0;              // -100 to 100
    int volume = 0;             // -100 to 100; 0 full level
    std::string voiceType;      // MALE1 ... CHILD_FEMALE, or ""
    std::string synthesisVoice; // a name of LIST VOICES, or ""
    std::string language;       // or "" (NULL)
    std::string punctuation = "some";
    bool spelling = false;
    std::string capitals = "none";

    bool operator==(const VoiceParams&) const = default;
};

struct SpeakRequest {
    MessageKind kind = MessageKind::Text;
    std::string data; // UTF-8, as received (bad bytes included)
    VoiceParams params;
};

// What says the messages: it queues them and reports their events itself.
class ModuleSpeaker {
public:
    virtual ~ModuleSpeaker() = default;
    virtual void Speak(SpeakRequest request) = 0;
    virtual void Stop() = 0;
    virtual void Pause() = 0;
    // Stops at once, for good, without another event: the module is ending.
    virtual void Quit() = 0;
    virtual std::vector<std::string> VoiceNames() const = 0;
    // The sound server's device to play on ("" for the default).
    virtual void UseDevice(const std::string& device) = 0;
    // The voice the next messages speak with, told at INIT and whenever the server changes it:
    // a voice that takes long to load starts loading now rather than at the next message.
    virtual void Prepare(const VoiceParams& params) = 0;
};

// Where the lines for the server go, whole replies and events alike, one at a time.
class ReplyChannel {
public:
    explicit ReplyChannel(std::function<void(std::string_view)> write)
        : m_write(std::move(write)) {}
    // Writes text (one or more lines, each ending in '\n') as one piece.
    void Send(std::string_view text);
    // Runs f with the channel held: nothing else is sent meanwhile (f may not Send).
    template <typename F> void Holding(F f) {
        std::lock_guard lock(m_mutex);
        f([this](std::string_view text) { m_write(text); });
    }

private:
    std::mutex m_mutex;
    std::function<void(std::string_view)> m_write;
};

// The largest message kept: beyond it the rest of the message is dropped (and said so).
inline constexpr std::size_t kMaxMessageBytes = 16u << 20;

class ModuleProtocol {
public:
    ModuleProtocol(ModuleSpeaker& speaker, ReplyChannel& replies,
                   std::function<void(std::string_view)> log);

    // Handles one line of input ('\n' at its end or not). False once the module is to end:
    // after QUIT, or a first line other than INIT.
    bool Line(std::string_view line);

    const VoiceParams& Params() const { return m_params; }

private:
    enum class State { BeforeInit, Commands, Message, Settings };
    enum class Block { Set, Audio, LogLevel };

    void Command(std::string_view line);
    void EndMessage();
    void EndSettings();
    bool SetParam(std::string_view key, std::string_view value);

    ModuleSpeaker& m_speaker;
    ReplyChannel& m_replies;
    std::function<void(std::string_view)> m_log;
    State m_state = State::BeforeInit;
    MessageKind m_kind = MessageKind::Text;
    Block m_block = Block::Set;
    std::string m_message;
    int m_lines = 0;
    bool m_cut = false;
    std::vector<std::pair<std::string, std::string>> m_pairs;
    bool m_badSyntax = false;
    VoiceParams m_params;
};

} // namespace yomi6::module
