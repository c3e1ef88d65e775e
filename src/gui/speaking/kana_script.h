// The kana a reading is written in for the eye: the half-width katakana the engine reads, or
// the same reading in hiragana or full-width katakana, easier to proof-read.
#pragma once

#include <QString>
#include <QStringView>

#include <span>

namespace yomi6 {

// The values are the settings file's.
enum class KanaScript { HalfWidth = 0, Hiragana = 1, Katakana = 2 };

struct KanaScriptChoice {
    KanaScript script;
    const char* label; // the reading pane's context menu entry (UTF-8)
};
// The choices in the order the reading pane offers them.
std::span<const KanaScriptChoice> KanaScriptChoices();

// A settings value as a script; anything unknown is half-width.
KanaScript KanaScriptOf(int value);

// Whether the half-width text is one character in the full-width scripts: a half-width katakana
// or sign, or a kana followed by the voicing mark that combines with it (ｶﾞ, ﾊﾟ, ｳﾞ).
bool IsOneKana(QStringView halfWidth);

// halfWidth (half-width katakana, their signs and anything else) written in script: every
// half-width katakana and sign as its full-width form (ｶﾞ → ガ, ｰ → ー, ｡ → 。), katakana as
// hiragana for Hiragana (ヷ to ヺ, which have none, stay katakana); a voicing mark that
// combines with nothing as the spacing mark ゛ or ゜. Every other character is left as it is.
QString InKanaScript(QStringView halfWidth, KanaScript script);

} // namespace yomi6
