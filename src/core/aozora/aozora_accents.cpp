#include "aozora/aozora_accents.h"

namespace yomi6 {

namespace {

// A mark after a letter: the letters it may follow and, one for one, what they show.
struct MarkRow {
    char mark;
    std::string_view letters;
    std::u32string_view shown;
};

constexpr MarkRow kMarks[] = {
    {'`', "aeiouAEIOU", U"àèìòùÀÈÌÒÙ"},      // grave
    {'\'', "aeiouyAEIOUY", U"áéíóúýÁÉÍÓÚÝ"}, // acute
    {'^', "aeiouAEIOU", U"âêîôûÂÊÎÔÛ"},      // circumflex
    {':', "aeiouyAEIOUY", U"äëïöüÿÄËÏÖÜŸ"},  // diaeresis
    {'~', "anoANO", U"ãñõÃÑÕ"},              // tilde
    {'&', "aAuU", U"åÅůŮ"},                  // ring
    {',', "cCsS", U"çÇşŞ"},                  // cedilla
    {'/', "oOlL", U"øØłŁ"},                  // stroke
    {'_', "aeiouAEIOU", U"āēīōūĀĒĪŌŪ"},      // macron
};

// Letters joined, and the inverted signs: the whole notation at once.
struct WholeRow {
    std::string_view notation;
    std::size_t kept;
    char32_t shown;
};

constexpr WholeRow kWholes[] = {
    {"ae&", 2, U'æ'}, {"AE&", 2, U'Æ'}, {"oe&", 2, U'œ'}, {"OE&", 2, U'Œ'},
    {"s&", 1, U'ß'},  {"!@", 0, U'¡'},  {"?@", 0, U'¿'},
};

} // namespace

AccentMatch MatchAccent(std::string_view ascii) {
    for (const WholeRow& row : kWholes) {
        if (ascii.substr(0, row.notation.size()) == row.notation) {
            return {row.notation.size(), row.kept, row.shown};
        }
    }
    if (ascii.size() < 2) {
        return {};
    }
    for (const MarkRow& row : kMarks) {
        if (ascii[1] != row.mark) {
            continue;
        }
        const std::size_t at = row.letters.find(ascii[0]);
        if (at != std::string_view::npos) {
            return {2, 1, row.shown[at]};
        }
    }
    return {};
}

} // namespace yomi6
