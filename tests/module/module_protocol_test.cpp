// The module's side of the server protocol, driven line by line in process. The speaker here
// is a stand-in that records what it is asked (the real one plays sound; the whole module runs
// under the real server in tests/e2e/module_server.sh).
#include "module/module_protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace yomi6::module {
namespace {

class RecordingSpeaker : public ModuleSpeaker {
public:
    explicit RecordingSpeaker(ReplyChannel* events = nullptr) : m_events(events) {}
    ~RecordingSpeaker() override { Join(); }
    void Join() {
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }
    void Speak(SpeakRequest request) override {
        requests.push_back(std::move(request));
        if (m_events != nullptr) {
            // As the speaking loop does: its first event comes from another thread at once.
            m_thread = std::thread([this] { m_events->Send("701 BEGIN\n"); });
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    void Stop() override { calls.push_back("stop"); }
    void Pause() override { calls.push_back("pause"); }
    void Quit() override { calls.push_back("quit"); }
    std::vector<std::string> VoiceNames() const override { return {"female", "natural-happy"}; }
    void UseDevice(const std::string& d) override { calls.push_back("device:" + d); }
    void Prepare(const VoiceParams& params) override {
        prepared.push_back(params.synthesisVoice + "/" + params.voiceType);
    }

    std::vector<SpeakRequest> requests;
    std::vector<std::string> calls;
    std::vector<std::string> prepared; // the voices prepared, "synthesis voice/voice type"

private:
    ReplyChannel* m_events;
    std::thread m_thread;
};

struct Session {
    std::string out;
    std::vector<std::string> log;
    ReplyChannel channel{[this](std::string_view s) { out += s; }};
    RecordingSpeaker speaker;
    ModuleProtocol protocol{speaker, channel, [this](std::string_view s) { log.emplace_back(s); }};

    Session() { EXPECT_TRUE(protocol.Line("INIT\n")); }
    // Feeds the lines and returns what was answered to them.
    std::string Feed(std::initializer_list<std::string_view> lines) {
        out.clear();
        for (std::string_view line : lines) {
            protocol.Line(line);
        }
        return out;
    }
};

TEST(ModuleProtocol, StartsOnlyWithInitAndEndsWithQuit) {
    std::string out;
    ReplyChannel channel([&](std::string_view s) { out += s; });
    RecordingSpeaker speaker;
    ModuleProtocol protocol(speaker, channel, [](std::string_view) {});
    EXPECT_FALSE(protocol.Line("SPEAK\n"));

    Session s;
    EXPECT_EQ(s.out, "299-yomi6 module: Japanese, the sample voices and the natural voice\n"
                     "299 OK LOADED SUCCESSFULLY\n");
    EXPECT_EQ(s.Feed({"BOGUS"}), "300 ERR UNKNOWN COMMAND\n");
    s.out.clear();
    EXPECT_FALSE(s.protocol.Line("QUIT\n"));
    EXPECT_EQ(s.out, "210 OK QUIT\n");
    EXPECT_EQ(s.speaker.calls, std::vector<std::string>{"quit"});
}

TEST(ModuleProtocol, MessagesKeepTheirTextWithDotsUndoubled) {
    Session s;
    EXPECT_EQ(s.Feed({"SPEAK", "<speak>一行目", "..二行目", ""}), "202 OK RECEIVING MESSAGE\n");
    EXPECT_EQ(s.Feed({"</speak>", "."}), "200 OK SPEAKING\n");
    ASSERT_EQ(s.speaker.requests.size(), 1u);
    EXPECT_EQ(s.speaker.requests[0].kind, MessageKind::Text);
    EXPECT_EQ(s.speaker.requests[0].data, "<speak>一行目\n.二行目\n\n</speak>");

    // An empty message cannot be said; a character or key is one line; "space" is a blank.
    EXPECT_EQ(s.Feed({"SPEAK", "."}), "202 OK RECEIVING MESSAGE\n301 ERROR CANT SPEAK\n");
    EXPECT_EQ(s.Feed({"CHAR", "a", "b", "."}),
              "202 OK RECEIVING MESSAGE\n305 DATA MORE THAN ONE LINE\n");
    s.Feed({"CHAR", "space", "."});
    s.Feed({"KEY", "shift_a", "."});
    ASSERT_EQ(s.speaker.requests.size(), 3u);
    EXPECT_EQ(s.speaker.requests[1].kind, MessageKind::Char);
    EXPECT_EQ(s.speaker.requests[1].data, " ");
    EXPECT_EQ(s.speaker.requests[2].kind, MessageKind::Key);
    EXPECT_EQ(s.speaker.requests[2].data, "shift_a");
}

TEST(ModuleProtocol, TheReplyToSpeakGoesOutBeforeTheFirstEvent) {
    std::string out;
    ReplyChannel channel([&](std::string_view s) { out += s; });
    RecordingSpeaker speaker(&channel);
    ModuleProtocol protocol(speaker, channel, [](std::string_view) {});
    protocol.Line("INIT");
    out.clear();
    for (const char* line : {"SPEAK", "こんにちは", "."}) {
        protocol.Line(line);
    }
    speaker.Join();
    EXPECT_EQ(out, "202 OK RECEIVING MESSAGE\n200 OK SPEAKING\n701 BEGIN\n");
}

TEST(ModuleProtocol, SettingsAreCheckedAndKept) {
    Session s;
    EXPECT_EQ(s.Feed({"SET", "rate=-40", "pitch=20", "volume=-10", "punctuation_mode=all",
                      "spelling_mode=on", "voice=MALE1", "synthesis_voice=natural-happy",
                      "language=ja", "pitch_range=0", "cap_let_recogn=none", "."}),
              "203 OK RECEIVING SETTINGS\n203 OK SETTINGS RECEIVED\n");
    VoiceParams expected;
    expected.rate = -40;
    expected.pitch = 20;
    expected.volume = -10;
    expected.punctuation = "all";
    expected.spelling = true;
    expected.voiceType = "MALE1";
    expected.synthesisVoice = "natural-happy";
    expected.language = "ja";
    EXPECT_EQ(s.protocol.Params(), expected);

    // Out of range, unknown or malformed: refused, and the value before stays.
    EXPECT_EQ(s.Feed({"SET", "rate=101", "."}),
              "203 OK RECEIVING SETTINGS\n303 ERROR INVALID PARAMETER OR VALUE\n");
    EXPECT_EQ(s.Feed({"SET", "rate=fast", "voice=ROBOT", "colour=red", "."}),
              "203 OK RECEIVING SETTINGS\n303 ERROR INVALID PARAMETER OR VALUE\n");
    EXPECT_EQ(s.Feed({"SET", "rate", "."}), "203 OK RECEIVING SETTINGS\n302 ERROR BAD SYNTAX\n");
    EXPECT_EQ(s.protocol.Params().rate, -40);
    EXPECT_EQ(s.protocol.Params().voiceType, "MALE1");

    // The server names the voice type in lower case; NULL clears a name; the next message
    // carries the settings in force.
    EXPECT_EQ(s.Feed({"SET", "voice=child_female", "synthesis_voice=NULL", "language=NULL", "."}),
              "203 OK RECEIVING SETTINGS\n203 OK SETTINGS RECEIVED\n");
    s.Feed({"SPEAK", "あ", "."});
    ASSERT_EQ(s.speaker.requests.size(), 1u);
    EXPECT_EQ(s.speaker.requests[0].params.synthesisVoice, "");
    EXPECT_EQ(s.speaker.requests[0].params.voiceType, "CHILD_FEMALE");
    EXPECT_EQ(s.speaker.requests[0].params.rate, -40);
}

TEST(ModuleProtocol, TheVoiceIsPreparedAtInitAndWhenItChanges) {
    Session s;
    s.Feed({"SET", "rate=20", "pitch=-5", "."});
    s.Feed({"SET", "synthesis_voice=natural-happy", "."});
    s.Feed({"SET", "synthesis_voice=natural-happy", "rate=30", "."});
    s.Feed({"SET", "voice=male1", "."});
    s.Feed({"SET", "voice=ROBOT", "."}); // refused: nothing changes
    EXPECT_EQ(s.speaker.prepared,
              (std::vector<std::string>{"/", "natural-happy/", "natural-happy/MALE1"}));
}

TEST(ModuleProtocol, AudioThroughTheServerIsDeclinedAndItsOwnOutputTaken) {
    Session s;
    EXPECT_EQ(s.Feed({"AUDIO", "audio_output_method=server", "."}),
              "207 OK RECEIVING AUDIO SETTINGS\n300-the module plays its sound itself\n"
              "300 MODULE ERROR\n");
    EXPECT_EQ(s.Feed({"AUDIO", "audio_output_method=pulse", "audio_pulse_device=sink2",
                      "audio_pulse_min_length=100", "."}),
              "207 OK RECEIVING AUDIO SETTINGS\n203 OK AUDIO INITIALIZED\n");
    EXPECT_EQ(s.Feed({"LOGLEVEL", "log_level=5", "."}),
              "207 OK RECEIVING LOGLEVEL SETTINGS\n203 OK LOGLEVEL SET\n");
    EXPECT_EQ(s.speaker.calls, std::vector<std::string>{"device:sink2"});
}

TEST(ModuleProtocol, StopPauseAndVoicesWithoutReplyInTheWay) {
    Session s;
    EXPECT_EQ(s.Feed({"STOP", "PAUSE", "STOP"}), "");
    EXPECT_EQ(s.speaker.calls, (std::vector<std::string>{"stop", "pause", "stop"}));
    EXPECT_EQ(s.Feed({"LIST VOICES"}),
              "200-female\tja\tnone\n200-natural-happy\tja\tnone\n200 OK VOICE LIST SENT\n");
    EXPECT_EQ(s.Feed({"DEBUG ON /tmp/x", "DEBUG OFF", "DEBUG"}),
              "200 OK DEBUGGING ON\n200 OK DEBUGGING OFF\n302 ERROR BAD SYNTAX\n");
}

TEST(ModuleProtocol, LongMessagesAndManyMessagesAreServed) {
    Session s;
    // One line of 1 MiB, whole.
    const std::string big(1u << 20, 'a');
    EXPECT_EQ(s.Feed({"SPEAK", big, "."}), "202 OK RECEIVING MESSAGE\n200 OK SPEAKING\n");
    ASSERT_EQ(s.speaker.requests.size(), 1u);
    EXPECT_EQ(s.speaker.requests[0].data, big);
    // Past the limit the rest is dropped, said once, and the module goes on serving.
    s.speaker.requests.clear();
    const std::string line(1u << 20, 'b');
    s.protocol.Line("SPEAK");
    for (std::size_t i = 0; i < (kMaxMessageBytes >> 20) + 2; ++i) {
        s.protocol.Line(line);
    }
    s.protocol.Line(".");
    ASSERT_EQ(s.speaker.requests.size(), 1u);
    EXPECT_LE(s.speaker.requests[0].data.size(), kMaxMessageBytes);
    EXPECT_EQ(s.log.size(), 1u);
    for (int i = 0; i < 1000; ++i) {
        s.Feed({"SPEAK", "短い", "."});
    }
    EXPECT_EQ(s.speaker.requests.size(), 1001u);
    EXPECT_EQ(s.Feed({"LIST VOICES"}).substr(0, 4), "200-");
}

} // namespace
} // namespace yomi6::module
