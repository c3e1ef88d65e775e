// Readings that a word takes from the words beside it, where the analyzer's dictionary reads it
// as if it stood alone. Each rule is one a reader of Meiji to Showa prose keeps:
// - 間 after の, a demonstrative (この その), an adjective or a verb is the span あいだ (長い間,
//   友の間に, 食う間中 あいだじゅう), not the pause ま; a room after a count of mats (八畳の間)
//   is ま;
// - 上る right after a verb's stem is the compound verb あがる (飛び上る, 立ち上る), not のぼる;
// - 外 right after a verb is "other than", ほか (休息する外に);
// - 都 as a word by itself, not after a noun, is みやこ; と in compounds and after a name (東京都);
// - 金 by itself, not after a number, before a particle other than の is money, かね; 銭 not
//   after a number is ぜに;
// - 行っ is the verb 行く (いっ) unless it follows を: 行う takes an object (処理を行って);
// - 一寸 after a measure of size (長さ一寸, 幅一寸) is a length, いっすん, not ちょっと;
// - 御 before a verb's stem (御待ち, 御歩き) is お;
// - words standing alone take their plain reading where a dictionary gives a compound's or an
//   old one: 光 ひかり, 行 ぎょう, 値 あたい, 子 し after a verbal noun (拡張子), 他 ほか, 雄 おす,
//   身体 からだ, 米 こめ before a particle, 一月 ひとつき before ほど, 居 お before り, 何 なん
//   before と で だ の (何の用), 他の and 他ならない ほか;
// - the word before decides: 後 after a counter ご, before に at a clause's start or after a
//   counter and の のち; the formal noun 上 after a verb うえ; 方 after a verb かた (a person, a
//   way of doing) unless it compares before が; 川 after a name がわ; 家 after a name け
//   (織田家); the second part of a compound voiced after a noun (仕掛け じかけ, 小屋 ごや, 喧嘩
//   げんか, 部屋 べや, 太鼓 だいこ, 好き ずき); 館 alone before a particle やかた; 人 after a
//   verbal noun にん (案内人); 日本 にほん; 時 not after a noun とき; 形 after a Sino-Japanese
//   compound けい (円錐形); 描く with a picture かく (絵を描く); the prefix 大 before a word
//   written with kana おお (大違い); 抱く with a thought いだく (疑念を抱く); 社 after お or a
//   describing word やしろ; 額 alone before a particle ひたい (額に手を当てる); 供 alone とも; 語
//   alone ご; 命 an order めい (命により); 基 after katakana き; 鬼 after a compound き (殺人鬼);
//   the prefix 今 いま except before a season or a meeting (今シーズン); 垂れる たれる, 宿す
//   やどす, 数える after a number かぞえる, 妃 alone きさき, 時 alone before a particle とき; 仏
//   alone ほとけ; 我を われ; 所為 せい; 逆だった ぎゃく; 目 after a katakana name もく
//   (ゼニゴケ目);
// - 間 in 間もない, 間もなく is ま.
#pragma once

#include "analysis/analyzer.h"

#include <string_view>
#include <vector>

namespace yomi6 {

// Rewrites the pronunciations of words (of utf8, in order) where the words beside them decide.
void ApplyWordContext(std::string_view utf8, std::vector<AnalyzedWord>& words);

} // namespace yomi6
