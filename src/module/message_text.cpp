#include "module/message_text.h"

#include "text/utf8_codec.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace yomi6::module {

namespace {

constexpr double kMinScale = 0.25;
constexpr double kMaxScale = 4.0;
constexpr int kMaxBreakMs = 10000;

double Clamp(double v) {
    return std::clamp(v, kMinScale, kMaxScale);
}

std::optional<double> Number(std::string_view s) {
    std::string copy(s);
    char* end = nullptr;
    const double v = std::strtod(copy.c_str(), &end);
    if (copy.empty() || end != copy.c_str() + copy.size() || !std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

bool EndsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// The bytes of data with each byte that is no part of well-formed UTF-8 as a blank.
std::string WellFormed(std::string_view data, std::size_t& invalid) {
    std::string out;
    out.reserve(data.size());
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
    std::size_t i = 0;
    while (i < data.size()) {
        const std::size_t n = Utf8SequenceLength(bytes + i, data.size() - i);
        if (n == 0) {
            out.push_back(' ');
            ++invalid;
            ++i;
            continue;
        }
        out.append(data.substr(i, n));
        i += n;
    }
    return out;
}

// text with its character and entity references replaced; an unknown reference stays as it is.
std::string Unescape(std::string_view text) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t amp = text.find('&', i);
        if (amp == std::string_view::npos) {
            out.append(text.substr(i));
            break;
        }
        out.append(text.substr(i, amp - i));
        const std::size_t semi = text.find(';', amp);
        const std::string_view name = semi == std::string_view::npos || semi - amp > 10
                                          ? std::string_view()
                                          : text.substr(amp + 1, semi - amp - 1);
        std::optional<char32_t> cp;
        if (name == "lt") {
            cp = U'<';
        } else if (name == "gt") {
            cp = U'>';
        } else if (name == "amp") {
            cp = U'&';
        } else if (name == "quot") {
            cp = U'"';
        } else if (name == "apos") {
            cp = U'\'';
        } else if (name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            const std::string digits(name.substr(hex ? 2 : 1));
            char* end = nullptr;
            const unsigned long v = std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
            if (!digits.empty() && end == digits.c_str() + digits.size() && v > 0 &&
                v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF)) {
                cp = static_cast<char32_t>(v);
            }
        }
        if (!cp) {
            out.push_back('&');
            i = amp + 1;
            continue;
        }
        AppendUtf8(out, *cp);
        i = semi + 1;
    }
    return out;
}

// The value of attribute name in a tag's text (after its name), unescaped; "" when absent.
std::string Attribute(std::string_view tag, std::string_view name) {
    std::size_t at = 0;
    while ((at = tag.find(name, at)) != std::string_view::npos) {
        const bool startsWord = at == 0 || tag[at - 1] == ' ' || tag[at - 1] == '\t' ||
                                tag[at - 1] == '\n' || tag[at - 1] == '\r';
        std::size_t p = at + name.size();
        while (p < tag.size() && (tag[p] == ' ' || tag[p] == '\t')) {
            ++p;
        }
        if (startsWord && p < tag.size() && tag[p] == '=') {
            ++p;
            while (p < tag.size() && (tag[p] == ' ' || tag[p] == '\t')) {
                ++p;
            }
            if (p < tag.size() && (tag[p] == '"' || tag[p] == '\'')) {
                const std::size_t close = tag.find(tag[p], p + 1);
                if (close != std::string_view::npos) {
                    return Unescape(tag.substr(p + 1, close - p - 1));
                }
            }
            return {};
        }
        at += name.size();
    }
    return {};
}

struct Prosody {
    double rate = 1;
    double pitch = 1;
};

class Builder {
public:
    void Text(std::string text, const Prosody& prosody) {
        if (text.empty() ||
            (text == "\n" && !m_pieces.empty() && m_pieces.back().kind == PieceKind::Text &&
             m_pieces.back().text.ends_with('\n'))) {
            return;
        }
        if (!m_pieces.empty() && m_pieces.back().kind == PieceKind::Text &&
            m_pieces.back().rateScale == prosody.rate &&
            m_pieces.back().pitchScale == prosody.pitch) {
            m_pieces.back().text += text;
            return;
        }
        m_pieces.push_back({PieceKind::Text, std::move(text), 0, prosody.rate, prosody.pitch});
    }
    void Mark(std::string name) { m_pieces.push_back({PieceKind::Mark, std::move(name), 0, 1, 1}); }
    void Break(int ms) {
        if (ms > 0) {
            m_pieces.push_back({PieceKind::Break, {}, ms, 1, 1});
        }
    }
    std::vector<MessagePiece> Take() {
        // A text of blanks alone says nothing.
        std::erase_if(m_pieces, [](const MessagePiece& p) {
            return p.kind == PieceKind::Text &&
                   p.text.find_first_not_of(" \t\r\n") == std::string::npos;
        });
        return std::move(m_pieces);
    }

private:
    std::vector<MessagePiece> m_pieces;
};

void ParseMarkup(std::string_view data, Builder& out) {
    std::vector<Prosody> stack{Prosody{}};
    std::size_t i = 0;
    while (i < data.size()) {
        const std::size_t lt = data.find('<', i);
        out.Text(Unescape(data.substr(i, lt == std::string_view::npos ? lt : lt - i)),
                 stack.back());
        if (lt == std::string_view::npos) {
            return;
        }
        if (data.substr(lt, 4) == "<!--") {
            const std::size_t end = data.find("-->", lt + 4);
            i = end == std::string_view::npos ? data.size() : end + 3;
            continue;
        }
        const std::size_t gt = data.find('>', lt);
        if (gt == std::string_view::npos) {
            return; // a tag cut short: nothing of it is said
        }
        std::string_view tag = data.substr(lt + 1, gt - lt - 1);
        i = gt + 1;
        const bool closing = !tag.empty() && tag[0] == '/';
        if (closing) {
            tag.remove_prefix(1);
        }
        const bool empty = !tag.empty() && tag.back() == '/';
        if (empty) {
            tag.remove_suffix(1);
        }
        const std::size_t nameEnd = tag.find_first_of(" \t\r\n");
        const std::string_view name = tag.substr(0, nameEnd);
        const std::string_view attributes =
            nameEnd == std::string_view::npos ? std::string_view() : tag.substr(nameEnd);
        if (name == "mark" && !closing) {
            out.Mark(Attribute(attributes, "name"));
        } else if (name == "break" && !closing) {
            out.Break(BreakMs(Attribute(attributes, "time"), Attribute(attributes, "strength")));
        } else if (name == "prosody") {
            if (closing) {
                if (stack.size() > 1) {
                    stack.pop_back();
                }
            } else if (!empty) {
                Prosody next = stack.back();
                if (const std::string rate = Attribute(attributes, "rate"); !rate.empty()) {
                    next.rate = Clamp(next.rate * ProsodyRate(rate));
                }
                if (const std::string pitch = Attribute(attributes, "pitch"); !pitch.empty()) {
                    next.pitch = Clamp(next.pitch * ProsodyPitch(pitch));
                }
                stack.push_back(next);
            }
        } else if ((name == "p" || name == "s") && closing) {
            out.Text("\n", stack.back()); // a paragraph or sentence ends: a sentence's end
        }
    }
}

// The factor of a relative value "+20%", "-10%", "150%" against 1, or nullopt.
std::optional<double> Percent(std::string_view value) {
    if (!EndsWith(value, "%")) {
        return std::nullopt;
    }
    value.remove_suffix(1);
    const bool relative = !value.empty() && (value[0] == '+' || value[0] == '-');
    const std::optional<double> n = Number(value);
    if (!n) {
        return std::nullopt;
    }
    return relative ? 1 + *n / 100 : *n / 100;
}

} // namespace

double ProsodyRate(std::string_view value) {
    if (value == "x-slow") {
        return 0.5;
    }
    if (value == "slow") {
        return 0.75;
    }
    if (value == "medium" || value == "default") {
        return 1;
    }
    if (value == "fast") {
        return 1.5;
    }
    if (value == "x-fast") {
        return 2;
    }
    if (const std::optional<double> p = Percent(value)) {
        return *p > 0 ? Clamp(*p) : 1;
    }
    const std::optional<double> n = Number(value);
    return n && *n > 0 ? Clamp(*n) : 1;
}

double ProsodyPitch(std::string_view value) {
    if (value == "x-low") {
        return 0.7;
    }
    if (value == "low") {
        return 0.85;
    }
    if (value == "medium" || value == "default") {
        return 1;
    }
    if (value == "high") {
        return 1.15;
    }
    if (value == "x-high") {
        return 1.3;
    }
    if (const std::optional<double> p = Percent(value)) {
        return *p > 0 ? Clamp(*p) : 1;
    }
    if (EndsWith(value, "st")) {
        if (const std::optional<double> st = Number(value.substr(0, value.size() - 2))) {
            return Clamp(std::pow(2.0, *st / 12));
        }
    }
    return 1;
}

int BreakMs(std::string_view time, std::string_view strength) {
    if (!time.empty()) {
        double scale = 1;
        if (EndsWith(time, "ms")) {
            time.remove_suffix(2);
        } else if (EndsWith(time, "s")) {
            time.remove_suffix(1);
            scale = 1000;
        }
        const std::optional<double> n = Number(time);
        if (!n || *n < 0) {
            return 0;
        }
        return static_cast<int>(std::min<double>(*n * scale, kMaxBreakMs));
    }
    if (strength == "none") {
        return 0;
    }
    if (strength == "x-weak") {
        return 100;
    }
    if (strength == "weak") {
        return 200;
    }
    if (strength == "strong") {
        return 750;
    }
    if (strength == "x-strong") {
        return 1200;
    }
    return 400; // medium, or a break without attributes
}

ParsedMessage ParseMessage(std::string_view data) {
    ParsedMessage parsed;
    const std::string text = WellFormed(data, parsed.invalidBytes);
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    const std::string_view rest =
        start == std::string::npos ? std::string_view() : std::string_view(text).substr(start);
    Builder out;
    if (rest.starts_with("<speak") || rest.starts_with("<?xml")) {
        ParseMarkup(rest, out);
    } else {
        out.Text(std::string(rest), Prosody{});
    }
    parsed.pieces = out.Take();
    return parsed;
}

} // namespace yomi6::module
