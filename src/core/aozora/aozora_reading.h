// The source text of an automatic reading with Aozora notation applied: the silent notation
// taken out, each gaiji one character of its own, and the characters of each ruby's base
// known, so that the reader says the ruby for them.
#pragma once

#include "analysis/source_text.h"
#include "aozora/aozora_notation.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6 {

struct RubyBases {
    std::vector<int> rubyOf;          // per character: the ruby of its base, -1 for none
    std::vector<std::string> reading; // per ruby: what is said for its base (UTF-8 kana)

    bool InBase(std::size_t i) const { return i < rubyOf.size() && rubyOf[i] >= 0; }
    // Whether character i begins a base.
    bool StartsBase(std::size_t i) const {
        return InBase(i) && (i == 0 || rubyOf[i - 1] != rubyOf[i]);
    }
    // The character after the base that character i belongs to.
    std::size_t BaseEnd(std::size_t i) const;
};

// The words a text has given a ruby, as it is read: a base of two or more kanji with the
// reading its last ruby gave it. The owner of a reading keeps one across its passes.
class RubyGlossary {
public:
    void Learn(std::string_view base, std::string_view reading);
    // The reading base was given, nullptr when none.
    const std::string* Find(std::string_view base) const;

private:
    std::map<std::string, std::string, std::less<>> m_readings; // UTF-8 base to its ruby
};

// Applies notation (parsed from the same text) to source: characters in silent ranges are
// removed, each gaiji note becomes one Japanese character (its UTF-8 the gaiji's, its source
// bytes the whole note; a note longer than a character can span is silent), the UTF-8 copy is
// rebuilt and the characters of each ruby's base are named in the result.
RubyBases ApplyNotation(const AozoraNotation& notation, SourceText& source);

// A word given a ruby is read by it where it recurs without one (内供 after 内供《ないぐ》): each
// run of kanji in source (with notation applied) that no kanji touches on either side and that
// glossary holds becomes a base of that ruby in bases, and each base of kanji only, two or more
// of them, is learned where it stands, so that only what comes after a ruby is read by it.
// A single kanji is not: its ruby is the reading of one word with its kana (嗤《わら》った).
void ReadRecurringBases(const SourceText& source, RubyBases& bases, RubyGlossary& glossary);

// The notation of a whole text (code page 932) with a ruby added wherever a word given one
// recurs without it (ReadRecurringBases, from the text's start on), so that a reader of any
// part of the text reads such a word as a reader of the whole does.
AozoraNotation WithRecurringRubies(AozoraNotation notation, std::string_view text);

} // namespace yomi6
