#include "speaking/kana_script.h"

namespace yomi6 {

namespace {

constexpr KanaScriptChoice kChoices[] = {
    {KanaScript::Hiragana, "ひらがなで表示"},
    {KanaScript::Katakana, "カタカナで表示"},
    {KanaScript::HalfWidth, "半角ｶﾀｶﾅで表示"},
};

constexpr char16_t kHalfWidthFirst = u'｡'; // U+FF61: the half-width signs and katakana
constexpr char16_t kHalfWidthLast = u'ﾟ';  // U+FF9F
constexpr char16_t kCombiningVoiced = 0x3099;
constexpr char16_t kCombiningSemiVoiced = 0x309A;
constexpr char16_t kKatakanaFirst = u'ァ'; // U+30A1, 0x60 above its hiragana
constexpr char16_t kKatakanaLast = u'ヶ';  // U+30F6: the last one with a hiragana

bool IsHalfWidth(QChar c) {
    return c.unicode() >= kHalfWidthFirst && c.unicode() <= kHalfWidthLast;
}

} // namespace

std::span<const KanaScriptChoice> KanaScriptChoices() {
    return kChoices;
}

KanaScript KanaScriptOf(int value) {
    switch (value) {
    case static_cast<int>(KanaScript::Hiragana):
        return KanaScript::Hiragana;
    case static_cast<int>(KanaScript::Katakana):
        return KanaScript::Katakana;
    default:
        return KanaScript::HalfWidth;
    }
}

bool IsOneKana(QStringView halfWidth) {
    if (halfWidth.size() == 1) {
        return IsHalfWidth(halfWidth.front());
    }
    // The compatibility form of a half-width kana and its mark composes into one character
    // exactly where the pair is one kana.
    return halfWidth.size() == 2 && IsHalfWidth(halfWidth[0]) && IsHalfWidth(halfWidth[1]) &&
           halfWidth.toString().normalized(QString::NormalizationForm_KC).size() == 1;
}

QString InKanaScript(QStringView halfWidth, KanaScript script) {
    if (script == KanaScript::HalfWidth) {
        return halfWidth.toString();
    }
    QString out;
    out.reserve(halfWidth.size());
    for (qsizetype i = 0; i < halfWidth.size(); ++i) {
        const QChar c = halfWidth[i];
        if (!IsHalfWidth(c)) {
            out += c;
            continue;
        }
        // A kana and its mark become one character where they compose.
        const qsizetype length = i + 1 < halfWidth.size() && IsOneKana(halfWidth.mid(i, 2)) ? 2 : 1;
        QString full =
            halfWidth.mid(i, length).toString().normalized(QString::NormalizationForm_KC);
        i += length - 1;
        for (QChar& f : full) {
            if (f.unicode() == kCombiningVoiced) {
                f = QChar(u'゛');
            } else if (f.unicode() == kCombiningSemiVoiced) {
                f = QChar(u'゜');
            } else if (script == KanaScript::Hiragana && f.unicode() >= kKatakanaFirst &&
                       f.unicode() <= kKatakanaLast) {
                f = QChar(static_cast<char16_t>(f.unicode() - (kKatakanaFirst - u'ぁ')));
            }
        }
        out += full;
    }
    return out;
}

} // namespace yomi6
