// Finding the place where reading stopped in a book-length text (1 MB of UTF-8, about 350,000
// characters) as a file opens again: the same text (its hash matches) and a changed one (the
// place is found by the text around it).
#include "places/place_book.h"

#include <benchmark/benchmark.h>

#include <string>

namespace yomi6 {
namespace {

std::u16string Book() {
    std::u16string text;
    for (int i = 0; text.size() < 350000; ++i) {
        for (const char c : std::to_string(i)) {
            text += static_cast<char16_t>(c);
        }
        text += u"番目の文は、本の中ほどにある文です。\n";
    }
    return text;
}

void BM_PlaceInTheSameBook(benchmark::State& state) {
    const std::u16string text = Book();
    PlaceBook book;
    book.KeepLast("/book.txt", text, text.size() * 3 / 4);
    for (auto _ : state) {
        benchmark::DoNotOptimize(book.PlacesIn("/book.txt", text));
    }
}
BENCHMARK(BM_PlaceInTheSameBook)->Unit(benchmark::kMillisecond);

void BM_PlaceInAChangedBook(benchmark::State& state) {
    const std::u16string text = Book();
    PlaceBook book;
    book.KeepLast("/book.txt", text, text.size() * 3 / 4);
    const std::u16string changed = u"まえがき。\n" + text;
    for (auto _ : state) {
        benchmark::DoNotOptimize(book.PlacesIn("/book.txt", changed));
    }
}
BENCHMARK(BM_PlaceInAChangedBook)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace yomi6
