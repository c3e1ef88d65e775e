// An export cut at its chapters: where the parts start, how they are named, the playlist.
#include "export/chapter_split.h"
#include "text/cp932_codec.h"
#include "text/utf8_codec.h"

#include <gtest/gtest.h>

namespace yomi6 {
namespace {

// Code page 932 bytes of UTF-8 text, each '\n' as CR LF, as the export reads a text.
std::string Sjis(std::string_view utf8) {
    return EncodeCp932(DecodeUtf8(utf8), EncodeOptions{LineEnd::CrLf, OnUnencodable::Replace})
        .bytes;
}

std::size_t At(const std::string& text, std::string_view utf8) {
    return text.find(Sjis(utf8));
}

TEST(ChapterParts, EachChapterIsAPartAndTheTextBeforeTheFirstIsOneOfItsOwn) {
    const std::string text =
        Sjis("序文です。\n第一章　旅立ち\n本文。\n＊＊＊\n場面。\n第二章　帰郷\n終わり。\n");
    const std::vector<ExportPart> parts = ChapterParts(text, 0, text.size());
    ASSERT_EQ(parts.size(), 3u); // the scene break (level 3) does not cut beside chapters
    EXPECT_EQ(parts[0].from, 0u);
    EXPECT_EQ(parts[0].title, "");
    EXPECT_EQ(parts[1].from, At(text, "第一章"));
    EXPECT_EQ(parts[1].title, "第一章　旅立ち");
    EXPECT_EQ(parts[2].from, At(text, "第二章"));
    EXPECT_EQ(parts[2].to, text.size());
    EXPECT_EQ(parts[0].to, parts[1].from);
    EXPECT_EQ(parts[1].to, parts[2].from);
}

TEST(ChapterParts, ARangeKeepsItsBoundsAndTheChapterItStartsIn) {
    const std::string text = Sjis("第一章\n一の本文。\n第二章\n二の本文。\n第三章\n三の本文。\n");
    const std::size_t from = At(text, "一の本文");
    const std::size_t to = At(text, "三の本文");
    const std::vector<ExportPart> parts = ChapterParts(text, from, to);
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0].from, from);
    EXPECT_EQ(parts[0].title, "第一章"); // started inside it
    EXPECT_EQ(parts[2].title, "第三章");
    EXPECT_EQ(parts[2].to, to);
    // A range that starts at a heading has no part before it.
    const std::vector<ExportPart> atHeading = ChapterParts(text, At(text, "第二章"), text.size());
    ASSERT_EQ(atHeading.size(), 2u);
    EXPECT_EQ(atHeading[0].title, "第二章");
}

TEST(ChapterParts, SceneBreaksCutOnlyATextWithoutChaptersAndNoHeadingIsOnePart) {
    const std::string scenes = Sjis("朝。\n＊＊＊\n昼。\n＊＊＊\n夜。\n");
    EXPECT_EQ(ChapterParts(scenes, 0, scenes.size()).size(), 3u);
    const std::string plain = Sjis("吾輩は猫である。名前はまだ無い。\n");
    const std::vector<ExportPart> one = ChapterParts(plain, 0, plain.size());
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].to, plain.size());
    EXPECT_EQ(ChapterParts("", 0, 0).size(), 1u);
}

TEST(ChapterParts, AozoraHeadingsCutAtTheirLines) {
    const std::string text = Sjis("題\n［＃５字下げ］一［＃「一」は中見出し］\n本文《ほんぶん》。\n"
                                  "［＃５字下げ］二［＃「二」は中見出し］\n続き。\n");
    const std::vector<ExportPart> parts = ChapterParts(text, 0, text.size());
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[1].from, At(text, "［＃５字下げ］一"));
    EXPECT_EQ(parts[1].title, "一");
    EXPECT_EQ(parts[2].title, "二");
}

TEST(ChapterFileNames, TitlesAreMadeSafeAndNumbersKeepTheirOrder) {
    EXPECT_EQ(FileNameTitle("第一章　旅立ち"), "第一章　旅立ち");
    EXPECT_EQ(FileNameTitle("A/B\\C:D*E?F\"G<H>I|J"), "A_B_C_D_E_F_G_H_I_J");
    EXPECT_EQ(FileNameTitle("..隠し "), "隠し");
    EXPECT_EQ(FileNameTitle("行\t末\x01"), "行_末_");
    EXPECT_EQ(FileNameTitle("あいうえお", 7), "あい"); // cut at a character, not inside one
    EXPECT_EQ(FileNameTitle("𠮟る", 4), "𠮟");
    EXPECT_EQ(FileNameTitle("　章　"), "章"); // ideographic spaces at the edges
    EXPECT_EQ(FileNameTitle("a\xFF\xE3\x81z"),
              "a___z"); // one for each byte that starts no character
    EXPECT_EQ(PartPath("out/book.mp3", 1, 3, "第一章"), "out/book-01-第一章.mp3");
    EXPECT_EQ(PartPath("book.mp3", 7, 120, ""), "book-007.mp3");
    EXPECT_EQ(PartPath("dir.v2/book", 2, 2, "x"), "dir.v2/book-02-x");
    EXPECT_EQ(PartPath("a.srt", 3, 9, "../../etc"), "a-03-_.._etc.srt");
    EXPECT_EQ(PlaylistPath("out/book.opus"), "out/book.m3u8");
}

TEST(ChapterPlaylist, ListsEachFileByItsNameWithItsLengthAndTitle) {
    const std::string list =
        PlaylistText({{"out/book-00.wav", "", 3.4}, {"out/book-01-第一章.wav", "第一章", 61.6}});
    EXPECT_EQ(list, "#EXTM3U\n#EXTINF:3,book-00\nbook-00.wav\n#EXTINF:62,第一章\n"
                    "book-01-第一章.wav\n");
}

} // namespace
} // namespace yomi6
