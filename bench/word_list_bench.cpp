// Importing a word list of 9999 rows: parsing the CSV (UTF-8, hiragana readings made
// half-width) and planning where its rows go in a dictionary image; and writing it back out.
#include "bench_data.h"

#include "dictionary/dic_records.h"
#include "dictionary/dic_tables.h"
#include "dictionary/word_list.h"
#include "dictionary/word_list_import.h"
#include "text/cp932_codec.h"
#include "text/utf8_codec.h"

#include <benchmark/benchmark.h>

#include <string>

namespace yomi6::bench {
namespace {

// The rows of the full benchmark dictionary as a UTF-8 CSV with a byte order mark, the
// readings turned back into hiragana so that the import has to convert every one.
std::string FullWordListCsv() {
    const std::string image = FullDictionaryImage();
    const auto entries = UsedEntries(reinterpret_cast<const unsigned char*>(image.data()));
    std::string csv = "\xEF\xBB\xBF";
    for (const WordEntry& e : entries) {
        std::u16string yomi = DecodeCp932(e.yomi);
        // Half-width katakana back to full-width hiragana where a plain mapping exists.
        std::u16string hira;
        static const std::u16string kHalf = u"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜｦﾝ";
        static const std::u16string kHira = u"あいうえおかきくけこさしすせそたちつてとなにぬねのは"
                                            u"ひふへほまみむめもやゆよらりるれろわをん";
        for (char16_t c : yomi) {
            const auto at = kHalf.find(c);
            hira += at == std::u16string::npos ? c : kHira[at];
        }
        csv +=
            EncodeUtf8(DecodeCp932(e.word), {}).bytes + "," + EncodeUtf8(hira, {}).bytes + "\r\n";
    }
    return csv;
}

void BM_ImportWordList9999(benchmark::State& state) {
    const std::string csv = FullWordListCsv();
    const std::string empty(kDicImageSize, '\0');
    std::size_t rows = 0;
    for (auto _ : state) {
        const ParsedWordList list = ParseWordList(csv, WordListSeparator::Comma);
        const ImportOutcome outcome = PlanImport(
            reinterpret_cast<const unsigned char*>(empty.data()), list.rows, DuplicateChoice::Keep);
        rows = list.rows.size();
        benchmark::DoNotOptimize(outcome.added);
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["bytes"] = static_cast<double>(csv.size());
}
BENCHMARK(BM_ImportWordList9999)->Unit(benchmark::kMillisecond);

void BM_ExportWordList9999(benchmark::State& state) {
    const std::string image = FullDictionaryImage();
    const auto entries = UsedEntries(reinterpret_cast<const unsigned char*>(image.data()));
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            WriteWordList(entries, WordListSeparator::Comma, WordListEncoding::Utf8).size());
    }
}
BENCHMARK(BM_ExportWordList9999)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace yomi6::bench
