// What the command line checks and reads before a mode runs: outputs that would overwrite the
// input or each other, the input's encoding, and the export's progress line.
#include "cli/cli_common.h"
#include "cli/export_progress.h"
#include "cli/output_checks.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace yomi6::cli {
namespace {

using test::Sjis;
using test::TempDir;
using test::WriteFile;

Options ExportOf(std::string input, std::string audio, std::string subtitles = {},
                 std::string timings = {}) {
    Options o;
    o.mode = Mode::Export;
    o.input = std::move(input);
    o.exportOutput = std::move(audio);
    o.subtitles = std::move(subtitles);
    o.timings = std::move(timings);
    return o;
}

TEST(CliInputsTest, OutputsThatAreTheInputOrEachOtherAreRefused) {
    TempDir dir;
    const test::ScopedCwd cwd(dir.path());
    WriteFile("doc.txt", "text");
    WriteFile("old.wav", "old");
    ASSERT_EQ(::symlink("doc.txt", "link.wav"), 0);
    ASSERT_EQ(::link("doc.txt", "hard.json"), 0);
    ASSERT_EQ(::mkdir("sub", 0700), 0);

    struct Case {
        Options options;
        std::string refused; // the start of the message, "" for none
    };
    Options wav;
    wav.mode = Mode::Wav;
    wav.input = "doc.txt";
    wav.wavOutput = "./doc.txt";
    Options pdf;
    pdf.mode = Mode::Pdf;
    pdf.input = "doc.txt";
    pdf.pdfOutput = dir.path() + "/doc.txt";
    Options fromStdin = ExportOf("-", "o.wav", "o.srt", "o.json");
    const std::vector<Case> cases{
        {ExportOf("doc.txt", "doc.wav", "", "doc.txt"), "FILE and --timings"},
        {ExportOf("doc.txt", "o.wav", "o.srt", "o.srt"), "--subtitles and --timings"},
        {ExportOf("doc.txt", "o2.wav", "", "o2.wav"), "--export and --timings"},
        {ExportOf("old.wav", "old.wav"), "FILE and --export"},
        {ExportOf("doc.txt", "link.wav"), "FILE and --export"},                // a symbolic link
        {ExportOf("doc.txt", "o.wav", "", "hard.json"), "FILE and --timings"}, // a hard link
        {ExportOf("doc.txt", "o.wav", "sub/../o.srt", "./sub/../o.srt"), "--subtitles"},
        {wav, "FILE and OUT.wav"},
        {pdf, "FILE and OUT.pdf"},
        {ExportOf("doc.txt", "o.wav", "o.srt", "o.json"), ""},
        {ExportOf("doc.txt", "sub/o.wav", "o.srt", "sub/o.json"), ""},
        {fromStdin, ""},
        {ExportOf("/dev/null", "/dev/null"), ""}, // a device is written into, never replaced
    };
    for (const Case& c : cases) {
        const std::string error = CheckDistinctFiles(c.options);
        if (c.refused.empty()) {
            EXPECT_EQ(error, "") << c.options.input << " " << c.options.exportOutput;
        } else {
            EXPECT_EQ(error.rfind(c.refused, 0), 0u) << error;
        }
    }
}

TEST(CliInputsTest, TheInputIsReadInItsEncoding) {
    const std::string utf8 = "今日は\n2026年";
    const std::string sjis = Sjis("今日は\r\n2026年");
    Options automatic;
    Options forcedSjis;
    forcedSjis.encoding = InputEncoding::ShiftJis;
    Options forcedUtf8;
    forcedUtf8.encoding = InputEncoding::Utf8;
    TextEncoding e = TextEncoding::Utf8;

    // Shift-JIS bytes stay exactly as they are, LF line ends included.
    const std::string sjisLf = Sjis("今日は\n");
    ASSERT_TRUE(ChooseInputEncoding(automatic, sjisLf, false, e));
    EXPECT_EQ(e, TextEncoding::Cp932);
    EXPECT_EQ(InputSpeechBytes(sjisLf, e, false, 4000), sjisLf);
    EXPECT_EQ(InputSpeechBytes(sjisLf, e, false, 3), sjisLf.substr(0, 3));

    // UTF-8 becomes the code page 932 bytes of its text with CR LF line ends, as the editor
    // speaks it; the byte order mark is not part of the text.
    ASSERT_TRUE(ChooseInputEncoding(automatic, utf8, false, e));
    EXPECT_EQ(e, TextEncoding::Utf8);
    EXPECT_EQ(InputSpeechBytes(utf8, e, false, 4000), sjis);
    EXPECT_EQ(InputSpeechBytes("\xEF\xBB\xBF" + utf8, TextEncoding::Utf8WithBom, false, 4000),
              sjis);

    // A file read only in part may end inside a character: still UTF-8, without that character.
    const std::string cut = utf8 + std::string("\xE5\xB9", 2);
    ASSERT_TRUE(ChooseInputEncoding(automatic, cut, true, e));
    EXPECT_EQ(e, TextEncoding::Utf8);
    EXPECT_EQ(InputSpeechBytes(cut, e, true, 4000), sjis);
    ASSERT_TRUE(ChooseInputEncoding(automatic, cut, false, e));
    EXPECT_EQ(e, TextEncoding::Cp932);

    // Forced: UTF-8 read as Shift-JIS is its bytes; Shift-JIS forced as UTF-8 is an error.
    ASSERT_TRUE(ChooseInputEncoding(forcedSjis, utf8, false, e));
    EXPECT_EQ(e, TextEncoding::Cp932);
    EXPECT_EQ(InputSpeechBytes(utf8, e, false, 4000), utf8);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(ChooseInputEncoding(forcedUtf8, sjis, false, e));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("not UTF-8 (byte 0 "), std::string::npos);
    ASSERT_TRUE(ChooseInputEncoding(forcedUtf8, "plain", false, e));
    EXPECT_EQ(e, TextEncoding::Utf8);
}

// Every byte up to the limit, whatever the size against the buffer's first block and its
// growth, from a file and from a pipe (which has no size to start from).
TEST(CliInputsTest, TheInputIsReadWholeUpToItsLimit) {
    TempDir dir;
    const test::ScopedCwd cwd(dir.path());
    const auto pattern = [](std::size_t n) {
        std::string bytes(n, '\0');
        for (std::size_t i = 0; i < n; ++i) {
            bytes[i] = static_cast<char>('a' + (i * 7 + i / 251) % 26);
        }
        return bytes;
    };
    constexpr std::size_t kLimit = 150001;
    for (const std::size_t size :
         {std::size_t{0}, std::size_t{1}, std::size_t{65535}, std::size_t{65536},
          std::size_t{65537}, kLimit - 1, kLimit, kLimit + 1, std::size_t{400000}}) {
        const std::string bytes = pattern(size);
        WriteFile("in.txt", bytes);
        std::string read = "left over";
        ASSERT_TRUE(ReadInput("in.txt", kLimit, read)) << size;
        EXPECT_TRUE(read == bytes.substr(0, kLimit)) << size << " bytes read as " << read.size();
    }
    ASSERT_EQ(::mkfifo("pipe", 0600), 0);
    const std::string piped = pattern(200000); // all of it read: no write meets a closed pipe
    std::thread writer([&piped] {
        const int fd = ::open("pipe", O_WRONLY);
        for (std::size_t done = 0; fd >= 0 && done < piped.size();) {
            const ssize_t n =
                ::write(fd, piped.data() + done, std::min<std::size_t>(4096, piped.size() - done));
            if (n <= 0) {
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        ::close(fd);
    });
    std::string read;
    EXPECT_TRUE(ReadInput("pipe", 250001, read));
    writer.join();
    EXPECT_TRUE(read == piped) << read.size() << " bytes read from the pipe";
}

TEST(CliInputsTest, ProgressLine) {
    using std::chrono::seconds;
    EXPECT_EQ(ExportProgress::Line(0, 100, seconds(0)), "    0%  0:00 elapsed");
    EXPECT_EQ(ExportProgress::Line(25, 100, seconds(10)), "   25%  0:10 elapsed, about 0:30 left");
    EXPECT_EQ(ExportProgress::Line(1, 3, seconds(3725)),
              "   33%  1:02:05 elapsed, about 2:04:10 left");
    EXPECT_EQ(ExportProgress::Line(100, 100, seconds(61)), "  100%  1:01 elapsed");
    EXPECT_EQ(ExportProgress::Line(0, 0, seconds(1)), "  100%  0:01 elapsed");
}

} // namespace
} // namespace yomi6::cli
