#include "aozora/aozora_gaiji.h"

#include "text/utf8_codec.h"

#include <iconv.h>

#include <array>
#include <optional>

namespace yomi6 {

namespace {

constexpr int kCells = 94;

// A digit at s[i], ASCII or full-width (UTF-8), advancing i; -1 when none.
int DigitAt(std::string_view s, std::size_t& i) {
    if (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        return s[i++] - '0';
    }
    // ０-９ are EF BC 90 to EF BC 99.
    if (i + 2 < s.size() && s.substr(i, 2) == "\xEF\xBC" &&
        static_cast<unsigned char>(s[i + 2]) >= 0x90 &&
        static_cast<unsigned char>(s[i + 2]) <= 0x99) {
        const int d = static_cast<unsigned char>(s[i + 2]) - 0x90;
        i += 3;
        return d;
    }
    return -1;
}

std::optional<int> NumberAt(std::string_view s, std::size_t& i) {
    int value = 0;
    int digits = 0;
    for (int d = DigitAt(s, i); d >= 0; d = DigitAt(s, i)) {
        if (++digits > 3) {
            return std::nullopt;
        }
        value = value * 10 + d;
    }
    if (digits == 0) {
        return std::nullopt;
    }
    return value;
}

// '-' or '－' (EF BC 8D) at s[i], advancing i.
bool DashAt(std::string_view s, std::size_t& i) {
    if (i < s.size() && s[i] == '-') {
        ++i;
        return true;
    }
    if (s.substr(i, 3) == "\xEF\xBC\x8D") {
        i += 3;
        return true;
    }
    return false;
}

// "P-R-C" at s[i].
std::optional<std::array<int, 3>> CellAt(std::string_view s, std::size_t i) {
    std::array<int, 3> parts{};
    for (std::size_t k = 0; k < parts.size(); ++k) {
        if (k > 0 && !DashAt(s, i)) {
            return std::nullopt;
        }
        const std::optional<int> n = NumberAt(s, i);
        if (!n) {
            return std::nullopt;
        }
        parts[k] = *n;
    }
    return parts;
}

std::string CodePointAfter(std::string_view note) {
    for (std::size_t at = note.find("U+"); at != std::string_view::npos;
         at = note.find("U+", at + 2)) {
        char32_t c = 0;
        std::size_t i = at + 2;
        std::size_t digits = 0;
        for (; i < note.size() && digits < 6; ++i, ++digits) {
            const char h = note[i];
            const int v = h >= '0' && h <= '9'   ? h - '0'
                          : h >= 'A' && h <= 'F' ? h - 'A' + 10
                          : h >= 'a' && h <= 'f' ? h - 'a' + 10
                                                 : -1;
            if (v < 0) {
                break;
            }
            c = c * 16 + static_cast<char32_t>(v);
        }
        // A character, never a surrogate, a control or past the last plane.
        if (digits >= 4 && c >= 0x20 && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF)) {
            std::string out;
            AppendUtf8(out, c);
            return out;
        }
    }
    return {};
}

} // namespace

std::string JisX0213Character(int plane, int row, int cell) {
    if (plane < 1 || plane > 2 || row < 1 || row > kCells || cell < 1 || cell > kCells) {
        return {};
    }
    // EUC-JISX0213: plane 1 as two bytes 0xA0 + row, 0xA0 + cell; plane 2 behind SS3 (0x8F).
    std::string euc;
    if (plane == 2) {
        euc.push_back(static_cast<char>(0x8F));
    }
    euc.push_back(static_cast<char>(0xA0 + row));
    euc.push_back(static_cast<char>(0xA0 + cell));
    const iconv_t cd = iconv_open("UTF-8", "EUC-JISX0213");
    // NOLINTNEXTLINE(performance-no-int-to-ptr): (iconv_t)-1 is how iconv_open says it failed
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return {};
    }
    std::array<char, 16> out{};
    char* in = euc.data();
    std::size_t inLeft = euc.size();
    char* to = out.data();
    std::size_t outLeft = out.size();
    const std::size_t done = iconv(cd, &in, &inLeft, &to, &outLeft);
    // A base with a combining mark comes out only when the converter is flushed.
    const std::size_t flushed =
        done == static_cast<std::size_t>(-1) ? done : iconv(cd, nullptr, nullptr, &to, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1) || flushed == static_cast<std::size_t>(-1) ||
        inLeft != 0) {
        return {};
    }
    return std::string(out.data(), static_cast<std::size_t>(to - out.data()));
}

std::string GaijiCharacter(std::string_view note) {
    // "水準" is E6 B0 B4 E6 BA 96 in UTF-8.
    constexpr std::string_view kLevel = "\xE6\xB0\xB4\xE6\xBA\x96";
    // The first number after a level is its code or none. Every level before that number has
    // the same one, so the search goes on after it: each byte of the note is looked at once.
    for (std::size_t at = note.find(kLevel); at != std::string_view::npos;) {
        std::size_t i = at + kLevel.size();
        while (i < note.size()) {
            std::size_t k = i;
            if (DigitAt(note, k) >= 0) {
                break;
            }
            ++i;
        }
        if (i >= note.size()) {
            break; // no number after this level, nor after any later one
        }
        if (const auto cell = CellAt(note, i)) {
            std::string c = JisX0213Character((*cell)[0], (*cell)[1], (*cell)[2]);
            if (!c.empty()) {
                return c;
            }
        }
        at = note.find(kLevel, i);
    }
    return CodePointAfter(note);
}

} // namespace yomi6
