// Chapter marks inside one sound file: the comment list, the FLAC metadata, the Ogg pages (their
// checksum, numbers and paging), the ID3 chapter frames, the cue sheet, and where the marks of an
// export's parts fall. The FLAC and Ogg files are real ones from the sound file writer.
#include "export/audio_file_writer.h"
#include "export/chapter_marks.h"
#include "export/cue_sheet.h"
#include "export/export_paths.h"
#include "export/flac_marks.h"
#include "export/id3_marks.h"
#include "export/m4b_file.h"
#include "export/marked_export.h"
#include "export/ogg_marks.h"
#include "export/sample_engine.h"
#include "support/sjis.h"
#include "support/temp_dir.h"
#include "support/test_reading.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace yomi6 {
namespace {

using test::ReadFile;
using test::TempDir;

const std::vector<ChapterMark> kMarks{
    {0, 1500, "まえがき"}, {1500, 61500, "第一章　旅立ち"}, {61500, 3723004, "Epilogue"}};

// A second of a tone in format, as the export writes it.
std::string SoundFile(const TempDir& dir, AudioFormat format, const std::string& name) {
    const std::string path = dir.File(name);
    std::vector<std::int16_t> samples(48000);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<std::int16_t>(8000 * std::sin(static_cast<double>(i) * 0.05));
    }
    AudioFileWriter writer;
    std::string error;
    EXPECT_TRUE(writer.Open(path, format, 48000, SampleBits::Sixteen, error)) << error;
    EXPECT_TRUE(writer.Write(samples.data(), samples.size(), error)) << error;
    EXPECT_TRUE(writer.Finish(error)) << error;
    return ReadFile(path);
}

std::uint32_t Le32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

std::uint32_t Be32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

// The comments of a list (vendor first).
std::vector<std::string> Comments(std::string_view list) {
    std::vector<std::string> out{std::string(list.substr(4, Le32(list, 0)))};
    std::size_t at = 4 + out[0].size();
    const std::uint32_t count = Le32(list, at);
    at += 4;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t length = Le32(list, at);
        out.emplace_back(list.substr(at + 4, length));
        at += 4 + length;
    }
    return out;
}

TEST(ChapterComments, TimesAndKeysReplaceTheOldChaptersAndKeepTheRest) {
    EXPECT_EQ(ChapterCommentTime(3723004), "01:02:03.004");
    EXPECT_EQ(ChapterCommentTime(0), "00:00:00.000");
    const std::string old = ChapterCommentList("vendor", {{0, 10, "old"}});
    // One comment of another kind beside the old chapters.
    std::string withTitle = old;
    withTitle[10] = 3; // count: the two chapter comments and one more
    withTitle += std::string("\x0a\0\0\0TITLE=Book", 14);
    std::string out;
    std::size_t end = 0;
    std::string error;
    ASSERT_TRUE(AddChapterComments(withTitle, kMarks, out, end, error)) << error;
    EXPECT_EQ(end, withTitle.size());
    const std::vector<std::string> expected{"vendor",
                                            "TITLE=Book",
                                            "CHAPTER001=00:00:00.000",
                                            "CHAPTER001NAME=まえがき",
                                            "CHAPTER002=00:00:01.500",
                                            "CHAPTER002NAME=第一章　旅立ち",
                                            "CHAPTER003=00:01:01.500",
                                            "CHAPTER003NAME=Epilogue"};
    EXPECT_EQ(Comments(out), expected);
    ASSERT_TRUE(AddChapterComments(withTitle, {}, out, end, error));
    EXPECT_EQ(Comments(out), (std::vector<std::string>{"vendor", "TITLE=Book"}));
    EXPECT_FALSE(
        AddChapterComments(withTitle.substr(0, withTitle.size() - 1), kMarks, out, end, error));
    EXPECT_FALSE(error.empty());
}

TEST(FlacChapters, TheCommentBlockCarriesTheMarksAndTheFramesStayAsTheyWere) {
    TempDir dir;
    const std::string flac = SoundFile(dir, AudioFormat::Flac, "a.flac");
    std::string head;
    std::size_t audio = 0;
    std::string error;
    ASSERT_TRUE(FlacWithChapters(flac, kMarks, head, audio, error)) << error;
    // The blocks: STREAMINFO as it was first, the comments last, only the last one flagged.
    ASSERT_EQ(head.substr(0, 4), "fLaC");
    EXPECT_EQ(head.substr(4, 38), flac.substr(4, 38).replace(0, 1, 1, '\0'));
    std::size_t at = 4;
    std::vector<int> types;
    std::string comments;
    while (at < head.size()) {
        const auto flags = static_cast<unsigned char>(head[at]);
        const std::size_t length = Be32(head, at) & 0xFFFFFF;
        types.push_back(flags & 0x7F);
        EXPECT_EQ((flags & 0x80) != 0, at + 4 + length == head.size());
        if ((flags & 0x7F) == 4) {
            comments = head.substr(at + 4, length);
        }
        at += 4 + length;
    }
    EXPECT_EQ(at, head.size());
    EXPECT_EQ(types.front(), 0);
    EXPECT_EQ(types.back(), 4);
    const std::vector<std::string> list = Comments(comments);
    EXPECT_NE(std::find(list.begin(), list.end(), "CHAPTER002NAME=第一章　旅立ち"), list.end());
    EXPECT_NE(std::find(list.begin(), list.end(), "CHAPTER002=00:00:01.500"), list.end());
    EXPECT_GT(flac.size(), audio);
    EXPECT_EQ(flac.substr(audio, 2), "\xff\xf8"); // a frame's sync code

    // Marking a marked file again leaves one set of marks; none leaves none.
    std::string again;
    std::size_t audioAgain = 0;
    ASSERT_TRUE(FlacWithChapters(head + flac.substr(audio), {}, again, audioAgain, error));
    EXPECT_EQ(again.find("CHAPTER"), std::string::npos);
    EXPECT_EQ(audioAgain, head.size());

    EXPECT_FALSE(FlacWithChapters(flac.substr(0, 30), kMarks, head, audio, error));
    EXPECT_NE(error.find("cut short"), std::string::npos);
    EXPECT_FALSE(FlacWithChapters("RIFF....", kMarks, head, audio, error));
    EXPECT_NE(error.find("not a FLAC file"), std::string::npos);
}

struct OggPage {
    unsigned char flags;
    std::uint64_t granule;
    std::uint32_t sequence;
    std::vector<unsigned char> lacing;
    std::string body;
    bool checksumRight;
};

std::vector<OggPage> Pages(std::string_view file) {
    std::vector<OggPage> pages;
    for (std::size_t at = 0; at < file.size();) {
        EXPECT_EQ(file.substr(at, 4), "OggS");
        OggPage page{
            static_cast<unsigned char>(file[at + 5]), 0, Le32(file, at + 18), {}, {}, false};
        page.granule = Le32(file, at + 6) | (std::uint64_t{Le32(file, at + 10)} << 32);
        const std::size_t count = static_cast<unsigned char>(file[at + 26]);
        std::size_t length = 27 + count;
        for (std::size_t i = 0; i < count; ++i) {
            page.lacing.push_back(static_cast<unsigned char>(file[at + 27 + i]));
            length += page.lacing.back();
        }
        page.body = file.substr(at + 27 + count, length - 27 - count);
        page.checksumRight = Le32(file, at + 22) == OggPageCrc(file.substr(at, length));
        pages.push_back(page);
        at += length;
    }
    return pages;
}

std::string Rewritten(const std::string& file, const std::vector<ChapterMark>& marks,
                      std::size_t piece, std::string& error) {
    OggChapterWriter writer(marks);
    std::string out;
    for (std::size_t at = 0; at < file.size(); at += piece) {
        if (!writer.Feed(std::string_view(file).substr(at, piece), out, error)) {
            return {};
        }
    }
    return writer.Finish(error) ? out : std::string();
}

TEST(OggChapters, TheChecksumIsOggsCrc) {
    // CRC-32 with 0x04c11db7, unreflected, from 0, no final inversion, of "123456789".
    EXPECT_EQ(OggPageCrc("123456789"), 0x89A1897Fu);
    TempDir dir;
    const std::string opus = SoundFile(dir, AudioFormat::OggOpus, "a.opus");
    for (const OggPage& page : Pages(opus)) {
        EXPECT_TRUE(page.checksumRight); // as libsndfile's own pages have it
    }
}

TEST(OggChapters, OpusAndVorbisCommentsGetTheMarksAndTheSoundPagesAreRenumbered) {
    TempDir dir;
    for (const auto& [format, name, magic] :
         {std::tuple{AudioFormat::OggOpus, "a.opus", std::string("OpusTags")},
          std::tuple{AudioFormat::OggVorbis, "a.ogg", std::string("\x03vorbis")}}) {
        SCOPED_TRACE(name);
        const std::string file = SoundFile(dir, format, name);
        // Many long titles: the comment packet spans several pages.
        std::vector<ChapterMark> many;
        many.reserve(300);
        for (int i = 0; i < 300; ++i) {
            many.push_back({i * 10, i * 10 + 10, std::string(300, 'x') + "章" + std::to_string(i)});
        }
        std::string error;
        const std::string out = Rewritten(file, many, 777, error);
        ASSERT_FALSE(out.empty()) << error;
        const std::vector<OggPage> before = Pages(file);
        const std::vector<OggPage> after = Pages(out);
        std::string headers;
        std::size_t firstSound = 0;
        for (std::size_t i = 0; i < after.size(); ++i) {
            EXPECT_TRUE(after[i].checksumRight) << i;
            EXPECT_EQ(after[i].sequence, i);
            EXPECT_EQ((after[i].flags & 0x02) != 0, i == 0);
            if (firstSound == 0 && i > 0 && after[i].granule != 0 &&
                after[i].granule != ~std::uint64_t{0}) {
                firstSound = i;
            }
            if (firstSound == 0) {
                headers += after[i].body;
                // A page whose last segment is 255 ends inside a packet: no packet ends there
                // unless another segment closes one, and the next page says it continues.
                if (i + 1 < after.size() && after[i].lacing.back() == 255) {
                    EXPECT_EQ(after[i + 1].flags & 0x01, 0x01);
                }
            }
        }
        ASSERT_GT(firstSound, 2u); // the comments took more than one page
        EXPECT_EQ(after[0].body, before[0].body);
        EXPECT_NE(headers.find(magic), std::string::npos);
        EXPECT_NE(headers.find("CHAPTER300NAME=" + std::string(300, 'x') + "章299"),
                  std::string::npos);
        EXPECT_NE(headers.find("CHAPTER002=00:00:00.010"), std::string::npos);
        // The sound pages: the same bytes, in the same order.
        std::size_t firstBefore = 1;
        while (before[firstBefore].granule == 0) {
            ++firstBefore;
        }
        ASSERT_EQ(after.size() - firstSound, before.size() - firstBefore);
        for (std::size_t i = firstSound; i < after.size(); ++i) {
            EXPECT_EQ(after[i].body, before[i - firstSound + firstBefore].body);
            EXPECT_EQ(after[i].granule, before[i - firstSound + firstBefore].granule);
        }
        // No marks: the same pages as before, the comments without chapters.
        const std::string plain = Rewritten(file, {}, 1 << 20, error);
        EXPECT_EQ(plain, file);
    }
}

TEST(OggChapters, ADamagedOrCutFileIsRefusedWithAReason) {
    TempDir dir;
    const std::string file = SoundFile(dir, AudioFormat::OggOpus, "a.opus");
    std::string error;
    std::string damaged = file;
    damaged[damaged.size() - 10] ^= 0x40;
    EXPECT_TRUE(Rewritten(damaged, kMarks, 4096, error).empty());
    EXPECT_NE(error.find("damaged"), std::string::npos) << error;
    EXPECT_TRUE(Rewritten(file.substr(0, file.size() - 3), kMarks, 4096, error).empty());
    EXPECT_NE(error.find("ends inside a page"), std::string::npos) << error;
    EXPECT_TRUE(Rewritten("RIFF" + file, kMarks, 4096, error).empty());
    EXPECT_NE(error.find("not an Ogg page"), std::string::npos) << error;
}

TEST(Id3Chapters, TheTagHoldsATableOfContentsAndOneChapterFrameEach) {
    EXPECT_EQ(Synchsafe(0x0FFFFFFF), std::string("\x7f\x7f\x7f\x7f"));
    EXPECT_EQ(Synchsafe(300), std::string("\x00\x00\x02\x2c", 4));
    std::string tag;
    std::string error;
    ASSERT_TRUE(ChapterTag(kMarks, tag, error)) << error;
    ASSERT_EQ(tag.substr(0, 6), std::string("ID3\x04\x00\x00", 6));
    std::size_t length = 0;
    ASSERT_TRUE(Id3TagLength(tag, length, error));
    EXPECT_EQ(length, tag.size());
    // The frames, each as long as its size says.
    std::vector<std::string> ids;
    std::vector<std::string> bodies;
    for (std::size_t at = 10; at < tag.size();) {
        ids.push_back(tag.substr(at, 4));
        std::uint32_t size = 0;
        for (std::size_t i = 4; i < 8; ++i) {
            size = (size << 7) | static_cast<unsigned char>(tag[at + i]);
        }
        bodies.push_back(tag.substr(at + 10, size));
        at += 10 + size;
        ASSERT_LE(at, tag.size());
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"CTOC", "CHAP", "CHAP", "CHAP"}));
    EXPECT_EQ(bodies[0], std::string("toc\0\x03\x03"
                                     "chp1\0chp2\0chp3\0",
                                     21));
    const std::string& second = bodies[2];
    EXPECT_EQ(second.substr(0, 5), std::string("chp2\0", 5));
    EXPECT_EQ(Be32(second, 5), 1500u);
    EXPECT_EQ(Be32(second, 9), 61500u);
    EXPECT_EQ(second.substr(21, 4), "TIT2");
    const std::string title = "\x03第一章　旅立ち";
    EXPECT_EQ(second.substr(25, 4), Synchsafe(static_cast<std::uint32_t>(title.size())));
    EXPECT_EQ(second.substr(31), title);

    ASSERT_TRUE(ChapterTag({}, tag, error));
    EXPECT_TRUE(tag.empty());
    EXPECT_FALSE(ChapterTag(std::vector<ChapterMark>(256), tag, error));
    EXPECT_FALSE(Id3TagLength(std::string("ID3\x04\x00\x00\x00\x80\x00\x00", 10), length, error));
    EXPECT_NE(error.find("damaged"), std::string::npos);
    ASSERT_TRUE(Id3TagLength("\xff\xfb\x90\x00", length, error));
    EXPECT_EQ(length, 0u);
}

TEST(ChapterLists, TheCueSheetAndTheFfmpegMetadataNameEveryChapter) {
    EXPECT_EQ(CueSheetPath("dir/book.v1.mp3"), "dir/book.v1.cue");
    EXPECT_EQ(CueSheetText("dir/book.mp3", kMarks),
              "FILE \"book.mp3\" MP3\n"
              "  TRACK 01 AUDIO\n    TITLE \"まえがき\"\n    INDEX 01 00:00:00\n"
              "  TRACK 02 AUDIO\n    TITLE \"第一章　旅立ち\"\n    INDEX 01 00:01:37\n"
              "  TRACK 03 AUDIO\n    TITLE \"Epilogue\"\n    INDEX 01 01:01:37\n");
    EXPECT_NE(CueSheetText("a.flac", {{0, 1, "say \"hi\""}}).find("TITLE \"say 'hi'\""),
              std::string::npos);
    EXPECT_EQ(FfmetadataText({{0, 1500, "a=b;c#d\\e\nf"}}),
              ";FFMETADATA1\n[CHAPTER]\nTIMEBASE=1/1000\nSTART=0\nEND=1500\n"
              "title=a\\=b\\;c\\#d\\\\e\\\nf\n");
}

TEST(MarksOfParts, EachSaidPartStartsAtItsFirstUnitAndEndsAtTheNext) {
    const std::vector<ExportPart> parts{
        {0, 10, ""}, {10, 20, "一"}, {20, 30, "二"}, {30, 40, "三"}};
    const std::vector<ChapterMark> marks =
        MarksOfParts(parts, {120, 2000, std::nullopt, 5000}, 9000, "book");
    ASSERT_EQ(marks.size(), 3u); // 二 said nothing
    EXPECT_EQ(marks[0].startMs, 0);
    EXPECT_EQ(marks[0].title, "book");
    EXPECT_EQ(marks[0].endMs, 2000);
    EXPECT_EQ(marks[1].startMs, 2000);
    EXPECT_EQ(marks[1].endMs, 5000);
    EXPECT_EQ(marks[2].title, "三");
    EXPECT_EQ(marks[2].endMs, 9000);
    EXPECT_TRUE(MarksOfParts({{0, 10, ""}}, {0}, 9000, "book").empty());
    EXPECT_EQ(MarksOfParts({{0, 10, "一"}}, {0}, 9000, "book").size(), 1u);
}

TEST(ExportPaths, TheStemIsTheNameWithoutItsFolderAndItsExtension) {
    EXPECT_EQ(NameStem("/home/a/book.opus"), "book");
    EXPECT_EQ(NameStem("dir.v2/book"), "book"); // a dot in a folder is no extension
    EXPECT_EQ(NameStem("a/b.c.flac"), "b.c");
    EXPECT_EQ(NameStem(".opus"), ".opus"); // a hidden file's name is all name
    EXPECT_EQ(CueSheetPath("dir.v2/book"), "dir.v2/book.cue");
    EXPECT_EQ(CueSheetPath("a/b.c.flac"), "a/b.c.cue");
}

// An .m4b is written by ffmpeg after the sound is said: a cancel then kills ffmpeg and leaves
// nothing, and without one the file and its cue sheet are all that is left.
TEST(MarkedExport, AnM4bCancelledWhileFfmpegRunsLeavesNoFile) {
    const std::string ffmpeg = FindProgramOnPath("ffmpeg");
    if (ffmpeg.empty()) {
        GTEST_SKIP() << "ffmpeg is not installed";
    }
    test::TestReading run;
    test::TempDir dir;
    ExportRequest request(run.Setup());
    const std::string bytes = test::Sjis("第一章\r\nあいうえお。\r\n第二章\r\nかきくけこ。\r\n");
    request.text = bytes;
    SampleEngine engine(request);
    const ExportText text{request.text, 0, request.text.size(), false, {}};
    const ExportOutputs outputs{dir.File("book.m4b"), "", ""};
    const auto names = [&] {
        std::vector<std::string> out;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            out.push_back(entry.path().filename().string());
        }
        std::sort(out.begin(), out.end());
        return out;
    };
    int progressCalls = 0;
    const auto progress = [&](std::size_t, std::size_t) {
        ++progressCalls;
        return true; // the sound is said to its end: only ffmpeg is left to stop
    };
    const std::atomic<bool> cancelled{true};
    const ExportJobResult stopped =
        RunMarkedExport(engine, text, outputs, progress, nullptr, ffmpeg, &cancelled);
    EXPECT_EQ(stopped.status, ExportStatus::Stopped) << stopped.error;
    EXPECT_GT(progressCalls, 0);
    EXPECT_TRUE(names().empty());

    const std::atomic<bool> going{false};
    const ExportJobResult done =
        RunMarkedExport(engine, text, outputs, progress, nullptr, ffmpeg, &going);
    ASSERT_EQ(done.status, ExportStatus::Done) << done.error;
    EXPECT_EQ(names(), (std::vector<std::string>{"book.cue", "book.m4b"}));
    EXPECT_GT(std::filesystem::file_size(dir.File("book.m4b")), 1000u);
}

} // namespace
} // namespace yomi6
