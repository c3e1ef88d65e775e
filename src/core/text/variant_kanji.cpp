#include "text/variant_kanji.h"

#include <iterator>

namespace yomi6 {

namespace {

struct VariantKanji {
    std::string_view variant; // a kanji of JIS X 0213 that JIS X 0208 and code page 932 lack
    std::string_view common;  // its form in JIS X 0208
};

// The traditional forms that JIS X 0213 added beside the simplified ones of JIS X 0208, where
// the two are one kanji (the same word and reading), as printed in Meiji to Showa books, and 𠮷,
// the form of 吉 that names keep (𠮷野家, 𠮷田).
constexpr VariantKanji kVariants[] = {
    {"俱", "倶"}, {"倂", "併"}, {"剝", "剥"}, {"卽", "即"}, {"吞", "呑"}, {"噓", "嘘"},
    {"囊", "嚢"}, {"屛", "屏"}, {"幷", "并"}, {"戾", "戻"}, {"搔", "掻"}, {"摑", "掴"},
    {"揭", "掲"}, {"晚", "晩"}, {"曆", "暦"}, {"涉", "渉"}, {"淚", "涙"}, {"潑", "溌"},
    {"瀆", "涜"}, {"焰", "焔"}, {"瘦", "痩"}, {"硏", "研"}, {"禱", "祷"}, {"緣", "縁"},
    {"繫", "繋"}, {"蔣", "蒋"}, {"蟬", "蝉"}, {"蠟", "蝋"}, {"軀", "躯"}, {"醬", "醤"},
    {"頰", "頬"}, {"顚", "顛"}, {"鷗", "鴎"}, {"鹼", "鹸"}, {"麴", "麹"}, {"𠮟", "叱"},
    {"𠮷", "吉"},
};

} // namespace

std::string_view CommonKanjiForm(std::string_view utf8) {
    for (const VariantKanji& v : kVariants) {
        if (v.variant == utf8) {
            return v.common;
        }
    }
    return {};
}

} // namespace yomi6
