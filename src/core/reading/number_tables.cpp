#include "reading/number_tables.h"

namespace yomi6::numbers {

namespace {

using enum Tail;

// The gemination before a voiceless counter: ｲﾁ ﾛｸ ﾊﾁ ﾋｬｸ ｼﾞｭｳ lose their last kana and a
// small ﾂ takes its place (ｲｯｺ, ﾋｬｯｺ, ｼﾞｭｯｺ). 10 is said ｼﾞｭｯ, as speakers say it and as
// broadcasters accept it beside the older ｼﾞｯ.
constexpr TailRule kKo[] = {
    {D1, 1, "ｯｺ"}, {D6, 1, "ｯｺ"}, {D8, 1, "ｯｺ"}, {Ten, 1, "ｯｺ"}, {Hundred, 1, "ｯｺ"}};
constexpr TailRule kKai[] = {
    {D1, 1, "ｯｶｲ"}, {D6, 1, "ｯｶｲ"}, {D8, 1, "ｯｶｲ"}, {Ten, 1, "ｯｶｲ"}, {Hundred, 1, "ｯｶｲ"}};
constexpr TailRule kFloor[] = {{D1, 1, "ｯｶｲ"},      {D3, 0, "ｶﾞｲ"},  {D6, 1, "ｯｶｲ"},
                               {D8, 1, "ｯｶｲ"},      {Ten, 1, "ｯｶｲ"}, {Hundred, 1, "ｯｶｲ"},
                               {Thousand, 0, "ｶﾞｲ"}};
constexpr TailRule kKen[] = {
    {D1, 1, "ｯｹﾝ"}, {D6, 1, "ｯｹﾝ"}, {D8, 1, "ｯｹﾝ"}, {Ten, 1, "ｯｹﾝ"}, {Hundred, 1, "ｯｹﾝ"}};
constexpr TailRule kKeta[] = {
    {D1, 1, "ｯｹﾀ"}, {D6, 1, "ｯｹﾀ"}, {D8, 1, "ｯｹﾀ"}, {Ten, 1, "ｯｹﾀ"}, {Hundred, 1, "ｯｹﾀ"}};
constexpr TailRule kKagetsu[] = {
    {D1, 1, "ｯｶｹﾞﾂ"}, {D6, 1, "ｯｶｹﾞﾂ"}, {D8, 1, "ｯｶｹﾞﾂ"}, {Ten, 1, "ｯｶｹﾞﾂ"}, {Hundred, 1, "ｯｶｹﾞﾂ"}};
constexpr TailRule kKasho[] = {
    {D1, 1, "ｯｶｼｮ"}, {D6, 1, "ｯｶｼｮ"}, {D8, 1, "ｯｶｼｮ"}, {Ten, 1, "ｯｶｼｮ"}, {Hundred, 1, "ｯｶｼｮ"}};
// The h-row counters: ﾎﾟﾝ after a small ﾂ, ﾎﾞﾝ after ｻﾝ, ｾﾝ, ﾏﾝ.
constexpr TailRule kHon[] = {{D1, 1, "ｯﾎﾟﾝ"},      {D3, 0, "ﾎﾞﾝ"},   {D6, 1, "ｯﾎﾟﾝ"},
                             {D8, 1, "ｯﾎﾟﾝ"},      {Ten, 1, "ｯﾎﾟﾝ"}, {Hundred, 1, "ｯﾎﾟﾝ"},
                             {Thousand, 0, "ﾎﾞﾝ"}, {Man, 0, "ﾎﾞﾝ"}};
// 歩: 1歩 ｲｯﾎﾟ, 3歩 ｻﾝﾎﾟ, 5歩 ｺﾞﾎ, 10歩 ｼﾞｭｯﾎﾟ.
constexpr TailRule kHo[] = {{D1, 1, "ｯﾎﾟ"},      {D3, 0, "ﾎﾟ"},   {D6, 1, "ｯﾎﾟ"},
                            {D8, 1, "ｯﾎﾟ"},      {Ten, 1, "ｯﾎﾟ"}, {Hundred, 1, "ｯﾎﾟ"},
                            {Thousand, 0, "ﾎﾟ"}, {Man, 0, "ﾎﾟ"}};
constexpr TailRule kHiki[] = {{D1, 1, "ｯﾋﾟｷ"},      {D3, 0, "ﾋﾞｷ"},   {D6, 1, "ｯﾋﾟｷ"},
                              {D8, 1, "ｯﾋﾟｷ"},      {Ten, 1, "ｯﾋﾟｷ"}, {Hundred, 1, "ｯﾋﾟｷ"},
                              {Thousand, 0, "ﾋﾞｷ"}, {Man, 0, "ﾋﾞｷ"}};
constexpr TailRule kHai[] = {{D1, 1, "ｯﾊﾟｲ"},      {D3, 0, "ﾊﾞｲ"},   {D6, 1, "ｯﾊﾟｲ"},
                             {D8, 1, "ｯﾊﾟｲ"},      {Ten, 1, "ｯﾊﾟｲ"}, {Hundred, 1, "ｯﾊﾟｲ"},
                             {Thousand, 0, "ﾊﾞｲ"}, {Man, 0, "ﾊﾞｲ"}};
// 分 is ﾌﾟﾝ after a small ﾂ and after ｻﾝ and ﾖﾝ.
constexpr TailRule kFun[] = {{D1, 1, "ｯﾌﾟﾝ"},      {D3, 0, "ﾌﾟﾝ"},       {D4, 0, "ﾌﾟﾝ"},
                             {D6, 1, "ｯﾌﾟﾝ"},      {D8, 1, "ｯﾌﾟﾝ"},      {Ten, 1, "ｯﾌﾟﾝ"},
                             {Hundred, 1, "ｯﾌﾟﾝ"}, {Thousand, 0, "ﾌﾟﾝ"}, {Man, 0, "ﾌﾟﾝ"}};
constexpr TailRule kFunKan[] = {{D1, 1, "ｯﾌﾟﾝｶﾝ"},      {D3, 0, "ﾌﾟﾝｶﾝ"},       {D4, 0, "ﾌﾟﾝｶﾝ"},
                                {D6, 1, "ｯﾌﾟﾝｶﾝ"},      {D8, 1, "ｯﾌﾟﾝｶﾝ"},      {Ten, 1, "ｯﾌﾟﾝｶﾝ"},
                                {Hundred, 1, "ｯﾌﾟﾝｶﾝ"}, {Thousand, 0, "ﾌﾟﾝｶﾝ"}, {Man, 0, "ﾌﾟﾝｶﾝ"}};
constexpr TailRule kKyaku[] = {
    {D1, 1, "ｯｷｬｸ"}, {D6, 1, "ｯｷｬｸ"}, {D8, 1, "ｯｷｬｸ"}, {Ten, 1, "ｯｷｬｸ"}, {Hundred, 1, "ｯｷｬｸ"}};
// s-, t- and p-row words geminate after 1, 8 and 10 only (ﾛｸｻﾂ, ﾋｬｸｻﾂ).
constexpr TailRule kSatsu[] = {{D1, 1, "ｯｻﾂ"}, {D8, 1, "ｯｻﾂ"}, {Ten, 1, "ｯｻﾂ"}};
constexpr TailRule kShou[] = {{D1, 1, "ｯｼｮｳ"}, {D8, 1, "ｯｼｮｳ"}, {Ten, 1, "ｯｼｮｳ"}};
constexpr TailRule kShuu[] = {{D1, 1, "ｯｼｭｳ"}, {D8, 1, "ｯｼｭｳ"}, {Ten, 1, "ｯｼｭｳ"}};
constexpr TailRule kShuuKan[] = {{D1, 1, "ｯｼｭｳｶﾝ"}, {D8, 1, "ｯｼｭｳｶﾝ"}, {Ten, 1, "ｯｼｭｳｶﾝ"}};
constexpr TailRule kShurui[] = {{D1, 1, "ｯｼｭﾙｲ"}, {D8, 1, "ｯｼｭﾙｲ"}, {Ten, 1, "ｯｼｭﾙｲ"}};
constexpr TailRule kSun[] = {{D1, 1, "ｯｽﾝ"}, {D8, 1, "ｯｽﾝ"}, {Ten, 1, "ｯｽﾝ"}};
constexpr TailRule kShaku[] = {{D1, 1, "ｯｼｬｸ"}, {D8, 1, "ｯｼｬｸ"}, {Ten, 1, "ｯｼｬｸ"}};
constexpr TailRule kSen[] = {{D1, 1, "ｯｾﾝ"}, {D8, 1, "ｯｾﾝ"}, {Ten, 1, "ｯｾﾝ"}};
constexpr TailRule kSha[] = {{D1, 1, "ｯｼｬ"}, {D8, 1, "ｯｼｬ"}, {Ten, 1, "ｯｼｬ"}};
constexpr TailRule kShu[] = {{D1, 1, "ｯｼｭ"}, {D8, 1, "ｯｼｭ"}, {Ten, 1, "ｯｼｭ"}};
constexpr TailRule kSeiki[] = {{D1, 1, "ｯｾｲｷ"}, {D8, 1, "ｯｾｲｷ"}, {Ten, 1, "ｯｾｲｷ"}};
constexpr TailRule kSai[] = {{D1, 1, "ｯｻｲ"}, {D8, 1, "ｯｻｲ"}, {Ten, 1, "ｯｻｲ"}};
constexpr TailRule kTen[] = {{D1, 1, "ｯﾃﾝ"}, {D8, 1, "ｯﾃﾝ"}, {Ten, 1, "ｯﾃﾝ"}};
// A rank or class: 1等 ｲｯﾄｳ, 8等 ﾊｯﾄｳ, 10等 ｼﾞｭｯﾄｳ.
constexpr TailRule kTou[] = {{D1, 1, "ｯﾄｳ"}, {D8, 1, "ｯﾄｳ"}, {Ten, 1, "ｯﾄｳ"}};
constexpr TailRule kShin[] = {{D1, 1, "ｯｼﾝ"}, {D8, 1, "ｯｼﾝ"}, {Ten, 1, "ｯｼﾝ"}};
constexpr TailRule kShinsuu[] = {{D1, 1, "ｯｼﾝｽｳ"}, {D8, 1, "ｯｼﾝｽｳ"}, {Ten, 1, "ｯｼﾝｽｳ"}};
constexpr TailRule kCho[] = {{D1, 1, "ｯﾁｮｳ"}, {D8, 1, "ｯﾁｮｳ"}, {Ten, 1, "ｯﾁｮｳ"}};
constexpr TailRule kPercent[] = {{D1, 1, "ｯﾊﾟｰｾﾝﾄ"}, {D8, 1, "ｯﾊﾟｰｾﾝﾄ"}, {Ten, 1, "ｯﾊﾟｰｾﾝﾄ"}};
// Units and counters written in katakana change as the kanji ones do: 1センチ ｲｯｾﾝﾁ, 6キロ
// ﾛｯｷﾛ, 10トン ｼﾞｭｯﾄﾝ, 20チーム ﾆｼﾞｭｯﾁｰﾑ.
constexpr TailRule kSenchi[] = {{D1, 1, "ｯｾﾝﾁ"}, {D8, 1, "ｯｾﾝﾁ"}, {Ten, 1, "ｯｾﾝﾁ"}};
constexpr TailRule kKiro[] = {
    {D1, 1, "ｯｷﾛ"}, {D6, 1, "ｯｷﾛ"}, {D8, 1, "ｯｷﾛ"}, {Ten, 1, "ｯｷﾛ"}, {Hundred, 1, "ｯｷﾛ"}};
constexpr TailRule kTon[] = {{D1, 1, "ｯﾄﾝ"}, {D8, 1, "ｯﾄﾝ"}, {Ten, 1, "ｯﾄﾝ"}};
constexpr TailRule kChiimu[] = {{D1, 1, "ｯﾁｰﾑ"}, {D8, 1, "ｯﾁｰﾑ"}, {Ten, 1, "ｯﾁｰﾑ"}};
constexpr TailRule kSetto[] = {{D1, 1, "ｯｾｯﾄ"}, {D8, 1, "ｯｾｯﾄ"}, {Ten, 1, "ｯｾｯﾄ"}};
constexpr TailRule kPointo[] = {{D1, 1, "ｯﾎﾟｲﾝﾄ"},
                                {D6, 1, "ｯﾎﾟｲﾝﾄ"},
                                {D8, 1, "ｯﾎﾟｲﾝﾄ"},
                                {Ten, 1, "ｯﾎﾟｲﾝﾄ"},
                                {Hundred, 1, "ｯﾎﾟｲﾝﾄ"}};
// 4 is ﾖ before 時, 年, 円, 人 and 7 and 9 are ｼﾁ and ｸ before 月 and 時; 0時 is ﾚｲｼﾞ.
constexpr TailRule kGatsu[] = {{D4, 2, "ｼｶﾞﾂ"}, {D7, 2, "ｼﾁｶﾞﾂ"}, {D9, 3, "ｸｶﾞﾂ"}};
constexpr TailRule kJi[] = {{Zero, 3, "ﾚｲｼﾞ"}, {D4, 2, "ﾖｼﾞ"}, {D7, 2, "ｼﾁｼﾞ"}, {D9, 3, "ｸｼﾞ"}};
constexpr TailRule kJikan[] = {{D4, 2, "ﾖｼﾞｶﾝ"}, {D9, 3, "ｸｼﾞｶﾝ"}};
constexpr TailRule kNen[] = {{D4, 2, "ﾖﾈﾝ"}};
constexpr TailRule kNenKan[] = {{D4, 2, "ﾖﾈﾝｶﾝ"}};
constexpr TailRule kEn[] = {{D4, 2, "ﾖｴﾝ"}};
constexpr TailRule kNin[] = {{D4, 2, "ﾖﾆﾝ"}};
// A day's 7 keeps ﾅﾅ (17日 ｼﾞｭｳﾅﾅﾆﾁ), as it is said today; 7日 alone is ﾅﾉｶ.
constexpr TailRule kNichi[] = {{D4, 2, "ﾖｯｶ"}, {D9, 3, "ｸﾆﾁ"}};
constexpr TailRule kNichiKan[] = {{D4, 2, "ﾖｯｶｶﾝ"}, {D9, 3, "ｸﾆﾁｶﾝ"}};

constexpr ExactRule kDays[] = {{1, "ﾂｲﾀﾁ"}, {2, "ﾌﾂｶ"},  {3, "ﾐｯｶ"}, {4, "ﾖｯｶ"},
                               {5, "ｲﾂｶ"},  {6, "ﾑｲｶ"},  {7, "ﾅﾉｶ"}, {8, "ﾖｳｶ"},
                               {9, "ｺｺﾉｶ"}, {10, "ﾄｵｶ"}, {20, "ﾊﾂｶ"}};
constexpr ExactRule kDaysSpan[] = {{2, "ﾌﾂｶｶﾝ"},  {3, "ﾐｯｶｶﾝ"}, {4, "ﾖｯｶｶﾝ"}, {5, "ｲﾂｶｶﾝ"},
                                   {6, "ﾑｲｶｶﾝ"},  {7, "ﾅﾉｶｶﾝ"}, {8, "ﾖｳｶｶﾝ"}, {9, "ｺｺﾉｶｶﾝ"},
                                   {10, "ﾄｵｶｶﾝ"}, {20, "ﾊﾂｶｶﾝ"}};
constexpr ExactRule kPeople[] = {{1, "ﾋﾄﾘ"}, {2, "ﾌﾀﾘ"}};
constexpr ExactRule kThings[] = {{1, "ﾋﾄﾂ"}, {2, "ﾌﾀﾂ"}, {3, "ﾐｯﾂ"}, {4, "ﾖｯﾂ"},  {5, "ｲﾂﾂ"},
                                 {6, "ﾑｯﾂ"}, {7, "ﾅﾅﾂ"}, {8, "ﾔｯﾂ"}, {9, "ｺｺﾉﾂ"}, {10, "ﾄｵ"}};
constexpr ExactRule kWays[] = {{1, "ﾋﾄﾄｵﾘ"}, {2, "ﾌﾀﾄｵﾘ"}};
constexpr ExactRule kAge[] = {{20, "ﾊﾀﾁ"}};
// One kanji digit and 分 before の and a word is a tenth of a whole, ぶ (五分の魂, 六分の恐怖と
// 四分の好奇心), as prose writes it; in digits 分 is minutes (5分の休憩).
constexpr ExactRule kTenths[] = {{1, "ｲﾁﾌﾞ"}, {2, "ﾆﾌﾞ"},  {3, "ｻﾝﾌﾞ"}, {4, "ｼﾌﾞ"}, {5, "ｺﾞﾌﾞ"},
                                 {6, "ﾛｸﾌﾞ"}, {7, "ｼﾁﾌﾞ"}, {8, "ﾊﾁﾌﾞ"}, {9, "ｸﾌﾞ"}};

// 分 as a share (3分の1 ｻﾝﾌﾞﾝﾉｲﾁ) or in a word that follows (3分割 ｻﾝﾌﾞﾝｶﾂ) keeps ﾌﾞﾝ; 分の
// is a share only before the number it divides (50分の授業 is fifty minutes, ﾌﾟﾝ).
constexpr std::string_view kShareFollowers = "割類析散布岐解配";
constexpr std::string_view kNumberStarts =
    "0123456789０１２３４５６７８９〇一二三四五六七八九十百千何";

constexpr Counter kCounterTable[] = {
    {"時間", "", "ｼﾞｶﾝ", kJikan, {}},
    {"日間", "", "ﾆﾁｶﾝ", kNichiKan, kDaysSpan},
    {"年間", "", "ﾈﾝｶﾝ", kNenKan, {}},
    {"分間", "", "ﾌﾝｶﾝ", kFunKan, {}},
    {"秒間", "", "ﾋﾞｮｳｶﾝ", {}, {}},
    {"週間", "", "ｼｭｳｶﾝ", kShuuKan, {}},
    {"ヶ月", "", "ｶｹﾞﾂ", kKagetsu, {}},
    {"ケ月", "", "ｶｹﾞﾂ", kKagetsu, {}},
    {"ヵ月", "", "ｶｹﾞﾂ", kKagetsu, {}},
    {"カ月", "", "ｶｹﾞﾂ", kKagetsu, {}},
    {"か月", "", "ｶｹﾞﾂ", kKagetsu, {}},
    {"箇所", "", "ｶｼｮ", kKasho, {}},
    {"か所", "", "ｶｼｮ", kKasho, {}},
    {"ヶ所", "", "ｶｼｮ", kKasho, {}},
    {"種類", "", "ｼｭﾙｲ", kShurui, {}},
    {"世紀", "", "ｾｲｷ", kSeiki, {}},
    {"通り", "", "ﾄｵﾘ", {}, kWays},
    {"文字", "", "ﾓｼﾞ", {}, {}},
    {"進数", "", "ｼﾝｽｳ", kShinsuu, {}},
    {"番目", "", "ﾊﾞﾝﾒ", {}, {}},
    {"月", "", "ｶﾞﾂ", kGatsu, {}},
    {"日", "", "ﾆﾁ", kNichi, kDays},
    {"時", "", "ｼﾞ", kJi, {}},
    {"分", "の", "ﾌﾞﾝ", {}, {}, false, kNumberStarts},
    {"分", "の", "", {}, kTenths, true, {}, true},
    {"分", kShareFollowers, "ﾌﾞﾝ", {}, {}},
    {"分", "", "ﾌﾝ", kFun, {}},
    {"秒", "", "ﾋﾞｮｳ", {}, {}},
    {"年", "", "ﾈﾝ", kNen, {}},
    {"人", "", "ﾆﾝ", kNin, kPeople},
    {"名", "", "ﾒｲ", {}, {}},
    {"社", "", "ｼｬ", kSha, {}},
    {"種", "", "ｼｭ", kShu, {}},
    {"頭", "", "ﾄｳ", kTou, {}},
    {"脚", "", "ｷｬｸ", kKyaku, {}},
    {"つ", "", "", {}, kThings, true},
    {"個", "", "ｺ", kKo, {}},
    {"回", "", "ｶｲ", kKai, {}},
    {"階", "", "ｶｲ", kFloor, {}},
    {"等", "", "ﾄｳ", kTou, {}},
    {"円", "", "ｴﾝ", kEn, {}},
    {"歳", "", "ｻｲ", kSai, kAge},
    {"才", "", "ｻｲ", kSai, kAge},
    {"匹", "", "ﾋｷ", kHiki, {}},
    {"疋", "", "ﾋｷ", kHiki, {}}, // the older way of writing 匹
    {"寸", "", "ｽﾝ", kSun, {}},
    {"尺", "", "ｼｬｸ", kShaku, {}},
    {"里", "", "ﾘ", {}, {}},
    {"銭", "", "ｾﾝ", kSen, {}},
    {"歩", "", "ﾎ", kHo, {}},
    {"杯", "", "ﾊｲ", kHai, {}},
    {"本", "", "ﾎﾝ", kHon, {}},
    {"冊", "", "ｻﾂ", kSatsu, {}},
    {"台", "", "ﾀﾞｲ", {}, {}},
    {"件", "", "ｹﾝ", kKen, {}},
    {"章", "", "ｼｮｳ", kShou, {}},
    {"番", "", "ﾊﾞﾝ", {}, {}},
    {"進", "", "ｼﾝ", kShin, {}},
    {"重", "", "ｼﾞｭｳ", {}, {}},
    {"段", "", "ﾀﾞﾝ", {}, {}},
    {"週", "", "ｼｭｳ", kShuu, {}},
    {"点", "", "ﾃﾝ", kTen, {}},
    {"桁", "", "ｹﾀ", kKeta, {}},
    {"枚", "", "ﾏｲ", {}, {}},
    {"度", "", "ﾄﾞ", {}, {}},
    {"℃", "", "ﾄﾞ", {}, {}},
    {"倍", "", "ﾊﾞｲ", {}, {}},
    {"行", "", "ｷﾞｮｳ", {}, {}},
    {"パーセント", "", "ﾊﾟｰｾﾝﾄ", kPercent, {}},
    {"センチ", "", "ｾﾝﾁ", kSenchi, {}},
    {"キロ", "", "ｷﾛ", kKiro, {}},
    {"トン", "", "ﾄﾝ", kTon, {}},
    {"チーム", "", "ﾁｰﾑ", kChiimu, {}},
    {"セット", "", "ｾｯﾄ", kSetto, {}},
    {"ポイント", "", "ﾎﾟｲﾝﾄ", kPointo, {}},
    {"%", "", "ﾊﾟｰｾﾝﾄ", kPercent, {}},
    {"％", "", "ﾊﾟｰｾﾝﾄ", kPercent, {}},
};

constexpr WordValue kKanjiDigitTable[] = {{"〇", 0}, {"零", 0}, {"一", 1}, {"二", 2},
                                          {"三", 3}, {"四", 4}, {"五", 5}, {"六", 6},
                                          {"七", 7}, {"八", 8}, {"九", 9}};
constexpr WordValue kKanjiPlaceTable[] = {{"十", 1}, {"百", 2}, {"千", 3}};
constexpr WordValue kKanjiGroupTable[] = {{"万", 4}, {"億", 8}, {"兆", 12}};
constexpr std::string_view kBlankTable[] = {" ", "　"};
constexpr std::string_view kPointTable[] = {".", "．"};
constexpr std::string_view kSeparatorTable[] = {",", "，"};
constexpr std::string_view kHyphenTable[] = {"-", "－", "ー", "‐"};
constexpr SignWord kSignTable[] = {
    {"-", "ﾏｲﾅｽ"}, {"−", "ﾏｲﾅｽ"}, {"－", "ﾏｲﾅｽ"}, {"+", "ﾌﾟﾗｽ"}, {"＋", "ﾌﾟﾗｽ"}};

} // namespace

const std::string_view kDigitWords[10] = {"ｾﾞﾛ", "ｲﾁ", "ﾆ",  "ｻﾝ", "ﾖﾝ",
                                          "ｺﾞ",  "ﾛｸ", "ﾅﾅ", "ﾊﾁ", "ｷｭｳ"};
const std::string_view kTensWords[10] = {"",       "ｼﾞｭｳ",   "ﾆｼﾞｭｳ",  "ｻﾝｼﾞｭｳ", "ﾖﾝｼﾞｭｳ",
                                         "ｺﾞｼﾞｭｳ", "ﾛｸｼﾞｭｳ", "ﾅﾅｼﾞｭｳ", "ﾊﾁｼﾞｭｳ", "ｷｭｳｼﾞｭｳ"};
const std::string_view kHundredsWords[10] = {"",      "ﾋｬｸ",    "ﾆﾋｬｸ",  "ｻﾝﾋﾞｬｸ", "ﾖﾝﾋｬｸ",
                                             "ｺﾞﾋｬｸ", "ﾛｯﾋﾟｬｸ", "ﾅﾅﾋｬｸ", "ﾊｯﾋﾟｬｸ", "ｷｭｳﾋｬｸ"};
const std::string_view kThousandsWords[10] = {"",     "ｾﾝ",   "ﾆｾﾝ",  "ｻﾝｾﾞﾝ", "ﾖﾝｾﾝ",
                                              "ｺﾞｾﾝ", "ﾛｸｾﾝ", "ﾅﾅｾﾝ", "ﾊｯｾﾝ",  "ｷｭｳｾﾝ"};

const std::string_view kApproximateFirst[10] = {"",   "ｲﾁ", "ﾆ",  "ｻﾝ", "ｼ",
                                                "ｺﾞ", "ﾛｸ", "ｼﾁ", "ﾊｯ", ""};
const std::string_view kApproximateSecond[10] = {"",   "",   "ﾆ",  "ｻﾝ", "ﾖﾝ",
                                                 "ｺﾞ", "ﾛｸ", "ｼﾁ", "ﾊﾁ", "ｸ"};

const Counter kGroupWords[3] = {
    {"万", "", "ﾏﾝ", {}, {}},
    {"億", "", "ｵｸ", {}, {}},
    {"兆", "", "ﾁｮｳ", kCho, {}},
};
const int kGroupPowers[3] = {4, 8, 12};
const Counter kPointWord = {".", "", "ﾃﾝ", kTen, {}};

const std::span<const WordValue> kKanjiDigits = kKanjiDigitTable;
const std::span<const WordValue> kKanjiPlaces = kKanjiPlaceTable;
const std::span<const WordValue> kKanjiGroups = kKanjiGroupTable;
const std::span<const std::string_view> kDecimalPoints = kPointTable;
const std::span<const std::string_view> kBlanksBeforeCounter = kBlankTable;
const std::span<const std::string_view> kThousandsSeparators = kSeparatorTable;
const std::span<const SignWord> kSigns = kSignTable;
const std::span<const std::string_view> kTelephoneHyphens = kHyphenTable;
const std::string_view kTelephoneDigitWords[10] = {"ｾﾞﾛ", "ｲﾁ", "ﾆｰ", "ｻﾝ", "ﾖﾝ",
                                                   "ｺﾞｰ", "ﾛｸ", "ﾅﾅ", "ﾊﾁ", "ｷｭｳ"};
const std::span<const Counter> kCounters = kCounterTable;

} // namespace yomi6::numbers
