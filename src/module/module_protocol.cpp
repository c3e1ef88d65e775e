#include "module/module_protocol.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace yomi6::module {

namespace {

constexpr std::string_view kBadSyntax = "302 ERROR BAD SYNTAX\n";
constexpr std::string_view kBadParam = "303 ERROR INVALID PARAMETER OR VALUE\n";

constexpr std::array kVoiceTypes{"MALE1",   "MALE2",   "MALE3",      "FEMALE1",
                                 "FEMALE2", "FEMALE3", "CHILD_MALE", "CHILD_FEMALE"};

std::string_view WithoutNewline(std::string_view line) {
    if (!line.empty() && line.back() == '\n') {
        line.remove_suffix(1);
    }
    return line;
}

bool OneOf(std::string_view value, std::initializer_list<std::string_view> values) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

} // namespace

void ReplyChannel::Send(std::string_view text) {
    std::lock_guard lock(m_mutex);
    m_write(text);
}

ModuleProtocol::ModuleProtocol(ModuleSpeaker& speaker, ReplyChannel& replies,
                               std::function<void(std::string_view)> log)
    : m_speaker(speaker), m_replies(replies), m_log(std::move(log)) {}

bool ModuleProtocol::Line(std::string_view raw) {
    const std::string_view line = WithoutNewline(raw);
    switch (m_state) {
    case State::BeforeInit:
        if (line != "INIT") {
            m_log("the server did not start with INIT");
            return false;
        }
        m_replies.Send("299-yomi6 module: Japanese, the sample voices and the natural voice\n"
                       "299 OK LOADED SUCCESSFULLY\n");
        m_state = State::Commands;
        m_speaker.Prepare(m_params);
        return true;
    case State::Message:
        if (line == ".") {
            EndMessage();
            return true;
        }
        if (!m_cut && m_message.size() + line.size() + 1 > kMaxMessageBytes) {
            m_cut = true;
            m_log("a message longer than " + std::to_string(kMaxMessageBytes >> 20) +
                  " MiB: the rest of it is not said");
        }
        if (!m_cut) {
            m_message.append(line.starts_with('.') ? line.substr(1) : line).push_back('\n');
        }
        ++m_lines;
        return true;
    case State::Settings:
        if (line == ".") {
            EndSettings();
            return true;
        }
        if (const std::size_t eq = line.find('=');
            eq == std::string_view::npos || eq == 0 || eq + 1 == line.size()) {
            m_badSyntax = true;
        } else {
            m_pairs.emplace_back(line.substr(0, eq), line.substr(eq + 1));
        }
        return true;
    case State::Commands:
        break;
    }
    if (line == "QUIT") {
        m_speaker.Quit();
        m_replies.Send("210 OK QUIT\n");
        return false;
    }
    Command(line);
    return true;
}

void ModuleProtocol::Command(std::string_view line) {
    const auto message = [this](MessageKind kind) {
        m_kind = kind;
        m_message.clear();
        m_lines = 0;
        m_cut = false;
        m_state = State::Message;
        m_replies.Send("202 OK RECEIVING MESSAGE\n");
    };
    const auto settings = [this](Block block, std::string_view reply) {
        m_block = block;
        m_pairs.clear();
        m_badSyntax = false;
        m_state = State::Settings;
        m_replies.Send(reply);
    };
    if (line == "SPEAK") {
        message(MessageKind::Text);
    } else if (line == "CHAR") {
        message(MessageKind::Char);
    } else if (line == "KEY") {
        message(MessageKind::Key);
    } else if (line == "SOUND_ICON") {
        message(MessageKind::SoundIcon);
    } else if (line == "STOP") {
        m_speaker.Stop();
    } else if (line == "PAUSE") {
        m_speaker.Pause();
    } else if (line == "SET") {
        settings(Block::Set, "203 OK RECEIVING SETTINGS\n");
    } else if (line == "AUDIO") {
        settings(Block::Audio, "207 OK RECEIVING AUDIO SETTINGS\n");
    } else if (line == "LOGLEVEL") {
        settings(Block::LogLevel, "207 OK RECEIVING LOGLEVEL SETTINGS\n");
    } else if (line == "LIST VOICES") {
        std::string reply;
        for (const std::string& name : m_speaker.VoiceNames()) {
            reply += "200-" + name + "\tja\tnone\n";
        }
        reply += "200 OK VOICE LIST SENT\n";
        m_replies.Send(reply);
    } else if (line == "DEBUG OFF" || line.starts_with("DEBUG ON ")) {
        m_replies.Send(line == "DEBUG OFF" ? "200 OK DEBUGGING OFF\n" : "200 OK DEBUGGING ON\n");
    } else if (line.starts_with("DEBUG")) {
        m_replies.Send(kBadSyntax);
    } else {
        m_replies.Send("300 ERR UNKNOWN COMMAND\n");
    }
}

void ModuleProtocol::EndMessage() {
    m_state = State::Commands;
    if (!m_message.empty()) {
        m_message.pop_back(); // the line end before "."
    }
    if (m_message.empty()) {
        m_replies.Send("301 ERROR CANT SPEAK\n");
        return;
    }
    if (m_kind != MessageKind::Text && m_lines > 1) {
        m_replies.Send("305 DATA MORE THAN ONE LINE\n");
        return;
    }
    SpeakRequest request{m_kind, std::move(m_message), m_params};
    m_message = {};
    if (request.kind == MessageKind::Char && request.data == "space") {
        request.data = " ";
    }
    // The reply goes out before the message's first event.
    m_replies.Holding([&](const auto& send) {
        m_speaker.Speak(std::move(request));
        send("200 OK SPEAKING\n");
    });
}

void ModuleProtocol::EndSettings() {
    m_state = State::Commands;
    if (m_block == Block::Audio) {
        std::string device;
        for (const auto& [key, value] : m_pairs) {
            if (key == "audio_output_method" && value == "server") {
                // This module plays its own sound, so that a stop silences it at once: the
                // server then sends the settings of its own output, which we take.
                m_replies.Send("300-the module plays its sound itself\n300 MODULE ERROR\n");
                return;
            }
            if (key == "audio_pulse_device" && value != "NULL" && value != "default") {
                device = value;
            }
        }
        m_speaker.UseDevice(device);
        m_replies.Send(m_badSyntax ? kBadSyntax : "203 OK AUDIO INITIALIZED\n");
        return;
    }
    if (m_block == Block::LogLevel) {
        m_replies.Send(m_badSyntax ? kBadSyntax : "203 OK LOGLEVEL SET\n");
        return;
    }
    bool bad = false;
    const VoiceParams before = m_params;
    for (const auto& [key, value] : m_pairs) {
        bad = !SetParam(key, value) || bad;
    }
    m_replies.Send(m_badSyntax ? kBadSyntax : bad ? kBadParam : "203 OK SETTINGS RECEIVED\n");
    if (m_params.synthesisVoice != before.synthesisVoice ||
        m_params.voiceType != before.voiceType) {
        m_speaker.Prepare(m_params);
    }
}

bool ModuleProtocol::SetParam(std::string_view key, std::string_view value) {
    const auto number = [&](int& field) {
        int n = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
        if (error != std::errc() || end != value.data() + value.size() || n < -100 || n > 100) {
            return false;
        }
        field = n;
        return true;
    };
    int ignored = 0;
    if (key == "rate") {
        return number(m_params.rate);
    }
    if (key == "pitch") {
        return number(m_params.pitch);
    }
    if (key == "volume") {
        return number(m_params.volume);
    }
    if (key == "pitch_range") {
        return number(ignored);
    }
    if (key == "punctuation_mode") {
        if (!OneOf(value, {"none", "some", "most", "all"})) {
            return false;
        }
        m_params.punctuation = value;
        return true;
    }
    if (key == "spelling_mode") {
        if (!OneOf(value, {"on", "off"})) {
            return false;
        }
        m_params.spelling = value == "on";
        return true;
    }
    if (key == "cap_let_recogn") {
        if (!OneOf(value, {"none", "spell", "icon"})) {
            return false;
        }
        m_params.capitals = value;
        return true;
    }
    if (key == "voice") {
        // The server sends the type in lower case ("male1"), its clients in either.
        std::string upper(value);
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        if (std::find(kVoiceTypes.begin(), kVoiceTypes.end(), upper) == kVoiceTypes.end()) {
            return false;
        }
        m_params.voiceType = upper;
        return true;
    }
    if (key == "synthesis_voice") {
        m_params.synthesisVoice = value == "NULL" ? std::string() : std::string(value);
        return true;
    }
    if (key == "language") {
        m_params.language = value == "NULL" ? std::string() : std::string(value);
        return true;
    }
    return false;
}

} // namespace yomi6::module
