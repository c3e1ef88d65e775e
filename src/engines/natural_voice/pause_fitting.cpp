#include "natural_voice/pause_fitting.h"

#include <algorithm>

namespace yomi6::natural_voice {

namespace {

// The code page 932 character at text[i], as its one or two bytes in one number.
unsigned CharAt(std::string_view text, std::size_t i) {
    const unsigned lead = static_cast<unsigned char>(text[i]);
    if (natural::Cp932CharLength(text, i) == 1) {
        return lead;
    }
    return (lead << 8U) | static_cast<unsigned char>(text[i + 1]);
}

// A closing bracket or quote, or a blank: passed over to find the mark of a pause.
bool PassedOver(unsigned c) {
    switch (c) {
    case ' ':
    case '\t':
    case ')':
    case ']':
    case '}':
    case '"':
    case '\'':
    case 0xA3:
    case 0x8140:
    case 0x8166:
    case 0x8168:
    case 0x816A:
    case 0x816C:
    case 0x816E:
    case 0x8170:
    case 0x8172:
    case 0x8174:
    case 0x8176:
    case 0x8178:
    case 0x817A:
        return true;
    default:
        return false;
    }
}

std::optional<PauseMark> MarkOf(unsigned c) {
    switch (c) {
    case ',':
    case 0xA4:
    case 0x8141:
    case 0x8143:
        return PauseMark::Comma;
    case '.':
    case 0xA1:
    case 0x8142:
    case 0x8144:
        return PauseMark::Period;
    case '!':
    case '?':
    case 0x8148:
    case 0x8149:
        return PauseMark::Question;
    case 0x8163:
    case 0x8164:
        return PauseMark::Ellipsis;
    case 0x815C:
        return PauseMark::Dash;
    default:
        return std::nullopt;
    }
}

std::int64_t FramesOf(std::int64_t ms, int rate) {
    return ms * rate / 1000;
}

} // namespace

std::optional<PauseMark> PauseMarkAt(std::string_view text, std::size_t at, std::size_t end) {
    end = std::min(end, text.size());
    while (at < end) {
        const unsigned c = CharAt(text, at);
        if (!PassedOver(c)) {
            return MarkOf(c);
        }
        at += natural::Cp932CharLength(text, at);
    }
    return std::nullopt;
}

std::int32_t PauseAfterPiece(std::string_view text, ByteRange piece, std::size_t next,
                             const PauseTable& pauses) {
    const std::size_t end = std::min(piece.end, text.size());
    std::optional<PauseMark> last;
    for (std::size_t i = std::min(piece.begin, end); i < end;
         i += natural::Cp932CharLength(text, i)) {
        if (const unsigned c = CharAt(text, i); !PassedOver(c)) {
            last = MarkOf(c);
        }
    }
    std::int32_t ms = pauses.At(last.value_or(PauseMark::Comma));
    int lines = 0;
    next = std::min(next, text.size());
    for (std::size_t i = end; i < next; ++i) {
        // A CR LF, a lone LF and a lone CR each end one line.
        lines += text[i] == '\n' || (text[i] == '\r' && (i + 1 >= next || text[i + 1] != '\n'));
    }
    if (lines == 1) {
        ms = std::max(ms, pauses.At(PauseMark::LineEnd));
    } else if (lines > 1) {
        ms = std::max(ms, pauses.At(PauseMark::BlankLine));
    }
    return ms;
}

std::vector<SoundEdit> FitSilences(std::vector<PieceUnit>& units,
                                   std::span<const std::int64_t> targets) {
    std::vector<SoundEdit> edits;
    std::int64_t shift = 0;
    for (std::size_t i = 0; i < units.size(); ++i) {
        PieceUnit& unit = units[i];
        const std::int64_t start = unit.startFrame;
        const std::int64_t length = std::max<std::int64_t>(unit.endFrame - start, 0);
        unit.startFrame = start + shift;
        std::int64_t delta = 0;
        if (i < targets.size() && targets[i] >= 0 && unit.mora.empty()) {
            delta = targets[i] - length;
            if (delta > 0) {
                edits.push_back({start + length / 2, 0, delta});
            } else if (delta < 0) {
                edits.push_back({start + targets[i] / 2, -delta, 0});
            }
        }
        unit.endFrame = unit.startFrame + length + delta;
        shift += delta;
    }
    return edits;
}

std::vector<std::int64_t> SilenceTargets(std::span<const PieceUnit> units, std::string_view text,
                                         ByteRange piece, const PauseTable& pauses, int rate,
                                         std::int64_t leadMs, std::int64_t trailMs) {
    std::vector<std::int64_t> targets(units.size(), -1);
    const auto spoken = [](const PieceUnit& u) { return !u.mora.empty(); };
    const auto first = std::find_if(units.begin(), units.end(), spoken);
    if (first == units.end()) {
        return targets; // silence alone: nothing to fit
    }
    const auto firstIndex = static_cast<std::size_t>(first - units.begin());
    const auto lastIndex = static_cast<std::size_t>(
        units.rend() - std::find_if(units.rbegin(), units.rend(), spoken) - 1);
    for (std::size_t i = 0; i < units.size(); ++i) {
        const PieceUnit& unit = units[i];
        if (spoken(unit)) {
            continue;
        }
        const std::int64_t length = unit.endFrame - unit.startFrame;
        if (i < firstIndex) {
            // The engine's lead is mostly longer than what is kept; a shorter one is made up.
            if (leadMs >= 0 && length < FramesOf(leadMs, rate)) {
                targets[i] = FramesOf(leadMs, rate);
            }
        } else if (i > lastIndex) {
            if (trailMs >= 0) {
                targets[i] = i == lastIndex + 1 ? FramesOf(trailMs, rate) : 0;
            }
        } else if (const auto mark = PauseMarkAt(text, unit.source.begin, piece.end)) {
            targets[i] = FramesOf(pauses.At(*mark), rate);
        }
    }
    return targets;
}

void SoundEditor::Edit(std::span<const std::int16_t> block, std::vector<std::int16_t>& out) {
    std::size_t i = 0;
    const std::size_t n = block.size();
    while (i < n) {
        if (m_cutLeft > 0) {
            const auto take = static_cast<std::size_t>(
                std::min<std::int64_t>(m_cutLeft, static_cast<std::int64_t>(n - i)));
            i += take;
            m_done += static_cast<std::int64_t>(take);
            m_cutLeft -= static_cast<std::int64_t>(take);
            if (m_cutLeft == 0) {
                ++m_next;
            }
            continue;
        }
        if (m_next < m_edits.size() && m_edits[m_next].at <= m_done) {
            const SoundEdit& edit = m_edits[m_next];
            out.insert(out.end(), static_cast<std::size_t>(edit.insert), std::int16_t{0});
            if (edit.cut > 0) {
                m_cutLeft = edit.cut;
            } else {
                ++m_next;
            }
            continue;
        }
        std::size_t until = n;
        if (m_next < m_edits.size()) {
            until =
                std::min<std::size_t>(n, i + static_cast<std::size_t>(m_edits[m_next].at - m_done));
        }
        out.insert(out.end(), block.begin() + static_cast<std::ptrdiff_t>(i),
                   block.begin() + static_cast<std::ptrdiff_t>(until));
        m_done += static_cast<std::int64_t>(until - i);
        i = until;
    }
}

void SoundEditor::Finish(std::vector<std::int16_t>& out) {
    if (m_cutLeft > 0) {
        m_cutLeft = 0;
        ++m_next;
    }
    for (; m_next < m_edits.size(); ++m_next) {
        out.insert(out.end(), static_cast<std::size_t>(m_edits[m_next].insert), std::int16_t{0});
    }
}

} // namespace yomi6::natural_voice
