#include "places/place_book.h"
#include "places/places_file.h"
#include "places/reading_place.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace yomi6 {
namespace {

std::u16string Repeat(std::u16string_view piece, int times) {
    std::u16string out;
    for (int i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

// A book of numbered sentences, so that every place has a context of its own.
std::u16string Numbered(int from, int to) {
    std::u16string out;
    for (int i = from; i < to; ++i) {
        for (const char c : std::to_string(i)) {
            out += static_cast<char16_t>(c);
        }
        out += u"番目の文です。\n";
    }
    return out;
}

TEST(ReadingPlaceTest, APlaceIsFoundInItsOwnTextAndWhereItsContextStandsInAChangedOne) {
    const std::u16string text = Numbered(0, 50);
    const std::size_t at = text.find(u"20番目");
    const ReadingPlace place = PlaceIn(text, at);
    EXPECT_EQ(FindPlace(place, text, true), at);

    // Text added before it and after it: the place moves with its words.
    const std::u16string grown = u"まえがき。\n" + text + u"あとがき。\n";
    EXPECT_EQ(FindPlace(place, grown, false), grown.find(u"20番目"));
    // Its words gone: dropped, never put somewhere else.
    std::u16string cut = text;
    cut.replace(at - 3, 10, u"書き換えた");
    EXPECT_EQ(FindPlace(place, cut, false), std::nullopt);
    // A context that stands twice: the nearer one to where the place was.
    const std::u16string twice = text + text;
    EXPECT_EQ(FindPlace(place, twice, false), at);
    EXPECT_EQ(FindPlace(PlaceIn(twice, text.size() + at), twice, false), text.size() + at);
}

TEST(ReadingPlaceTest, APlaceAtAnEdgeStaysAtItAndNeverSplitsASurrogatePair) {
    const std::u16string text = u"𠮷野家で𠮷を食べた。" + Repeat(u"あ", 40);
    // Between the halves of 𠮷: the place is the start of the character, its context whole.
    const ReadingPlace inPair = PlaceIn(text, 6);
    EXPECT_EQ(inPair.position, 5U);
    EXPECT_EQ(inPair.before, u"𠮷野家で");
    EXPECT_EQ(FindPlace(inPair, text, false), 5U);
    // A stored position inside a pair in the same text is refused.
    EXPECT_EQ(FindPlace(ReadingPlace{1, u"", u""}, text, true), std::nullopt);
    EXPECT_EQ(FindPlace(ReadingPlace{text.size() + 1, u"", u""}, text, true), std::nullopt);

    // Near the start: its context was cut by the start, so it must still be at the start.
    const ReadingPlace nearStart = PlaceIn(text, 2);
    EXPECT_EQ(FindPlace(nearStart, text, false), 2U);
    EXPECT_EQ(FindPlace(nearStart, u"前に" + text, false), std::nullopt);
    // The end likewise.
    const ReadingPlace atEnd = PlaceIn(text, text.size());
    EXPECT_EQ(FindPlace(atEnd, text, false), text.size());
    EXPECT_EQ(FindPlace(atEnd, text + u"続き", false), std::nullopt);
}

TEST(PlaceBookTest, TheLastPlaceAndBookmarksFollowTheTextAndThoseThatNoLongerFitGo) {
    PlaceBook book;
    const std::u16string text = Numbered(0, 40);
    book.KeepLast("/b/book.txt", text, text.find(u"30番目"));
    book.AddBookmark("/b/book.txt", text, u"十番", text.find(u"10番目"));
    book.AddBookmark("/b/book.txt", text, u"五番", text.find(u"5番目"));

    std::u16string changed = u"序文。\n" + text;
    changed.replace(changed.find(u"5番目"), 7, u"五番目の文");
    const auto places = book.PlacesIn("/b/book.txt", changed);
    ASSERT_TRUE(places.has_value());
    ASSERT_TRUE(places->last.has_value());
    EXPECT_EQ(places->last->position, changed.find(u"30番目"));
    ASSERT_EQ(places->bookmarks.size(), 1U);
    EXPECT_EQ(places->bookmarks[0].name, u"十番");
    EXPECT_EQ(places->bookmarks[0].place.position, changed.find(u"10番目"));
    EXPECT_EQ(book.PlacesIn("/b/other.txt", changed), std::nullopt);

    // Keeping a place in the changed text carries the bookmarks that fit over to it.
    book.KeepLast("/b/book.txt", changed, 0);
    EXPECT_EQ(book.Find("/b/book.txt")->hash, ContentHash(changed));
    EXPECT_EQ(book.Find("/b/book.txt")->bookmarks.size(), 1U);
    book.RemoveBookmark("/b/book.txt", changed, 0);
    book.RemoveBookmark("/b/book.txt", changed, 5);
    EXPECT_TRUE(book.Find("/b/book.txt")->bookmarks.empty());
}

TEST(PlaceBookTest, TheBookKeepsTheFilesUsedLastAndAFewBookmarksEach) {
    PlaceBook book;
    const std::u16string text = Numbered(0, 5);
    for (std::size_t i = 0; i <= PlaceBook::kMaxFiles; ++i) {
        book.KeepLast("/f/" + std::to_string(i), text, 0);
    }
    EXPECT_EQ(book.Files().size(), PlaceBook::kMaxFiles);
    EXPECT_EQ(book.Find("/f/0"), nullptr);
    book.KeepLast("/f/1", text, 3);
    EXPECT_EQ(book.Files().front().path, "/f/1");
    for (std::size_t i = 0; i <= PlaceBook::kMaxBookmarks; ++i) {
        book.AddBookmark("/f/1", text, std::u16string(1, static_cast<char16_t>(u'A' + i)), i);
    }
    ASSERT_EQ(book.Find("/f/1")->bookmarks.size(), PlaceBook::kMaxBookmarks);
    EXPECT_EQ(book.Find("/f/1")->bookmarks.front().name, u"B");
}

class PlacesFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("places_test_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::string Path() const { return (m_dir / "yomi6" / "places.txt").string(); }
    std::filesystem::path m_dir;
};

TEST_F(PlacesFileTest, TheBookComesBackWholeWhateverItsPathsNamesAndTextsHold) {
    PlaceBook book;
    const std::u16string text = u"a\tb\\n\r\n𠮷\n" + Numbered(0, 10);
    book.KeepLast("/odd\tpath\nwith\\n", text, 4);
    book.AddBookmark("/odd\tpath\nwith\\n", text, u"名前\tと\\改行\n", 9);
    book.KeepLast("/plain.txt", text, text.size());
    std::string error;
    ASSERT_TRUE(SavePlaces(Path(), book, error)) << error; // the folder is made
    const PlacesLoad load = LoadPlaces(Path());
    EXPECT_FALSE(load.broken) << load.reason;
    EXPECT_EQ(load.book.Files(), book.Files());
}

TEST_F(PlacesFileTest, ABrokenFileIsSetAsideAndTheBookStartsAfresh) {
    const PlacesLoad none = LoadPlaces(Path());
    EXPECT_FALSE(none.broken);
    EXPECT_TRUE(none.book.Files().empty());

    const std::string good = "yomi6 places 1\nfile\t/a.txt\t00000000000000ff\nlast\t3\tab\tcd\n";
    for (const std::string& bytes :
         {std::string(), std::string("not a place book\n"), good + "last\t4\tx\ty\n",
          good + "mark\tname\t3\tab\n", good + "last\t-1\tab\tcd\n", good + "file\t/b\tzz\n",
          good + "mark\tbad\\q\t1\ta\tb\n", std::string("yomi6 places 1\nlast\t1\ta\tb\n"),
          good.substr(0, good.size() - 4)}) {
        std::filesystem::create_directories(std::filesystem::path(Path()).parent_path());
        std::ofstream(Path(), std::ios::binary) << bytes;
        const PlacesLoad load = LoadPlaces(Path());
        EXPECT_TRUE(load.broken) << bytes;
        EXPECT_TRUE(load.book.Files().empty()) << bytes;
        EXPECT_EQ(load.keptAs, Path() + ".bad");
        std::ifstream aside(load.keptAs, std::ios::binary);
        std::stringstream kept;
        kept << aside.rdbuf();
        EXPECT_EQ(kept.str(), bytes) << "the broken file is kept as it was";
        EXPECT_FALSE(std::filesystem::exists(Path()));
    }
    std::ofstream(Path(), std::ios::binary) << good;
    const PlacesLoad load = LoadPlaces(Path());
    ASSERT_FALSE(load.broken) << load.reason;
    ASSERT_NE(load.book.Find("/a.txt"), nullptr);
    EXPECT_EQ(load.book.Find("/a.txt")->hash, 0xffU);
    EXPECT_EQ(load.book.Find("/a.txt")->last, (ReadingPlace{3, u"ab", u"cd"}));
}

TEST(PlacesPathTest, TheFileLiesInTheUsersDataFolder) {
    const char* old = std::getenv("XDG_DATA_HOME");
    const std::string saved = old != nullptr ? old : "";
    ::setenv("XDG_DATA_HOME", "/data/home", 1);
    EXPECT_EQ(PlacesPath(), "/data/home/yomi6/places.txt");
    if (old != nullptr) {
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    } else {
        ::unsetenv("XDG_DATA_HOME");
    }
}

} // namespace
} // namespace yomi6
