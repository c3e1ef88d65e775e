// The profile (INI) file: reading rules, edits that keep every other byte, damaged input and
// crash-safe replacement on disk.
#include "io/atomic_file.h"
#include "io/profile_file.h"
#include "io/profile_text.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace yomi6 {
namespace {

using test::Hex;
using test::ReadFile;
using test::Sjis;
using test::TempDir;
using test::WriteFile;

std::string Golden(const char* name) {
    return ReadFile(std::string(YOMI6_SOURCE_DIR) + "/tests/golden/settings/" + name);
}

std::vector<std::string> FilesIn(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ProfileTextTest, IntegersReadLikeProfileReadersWithNonNumbersLeftToTheDefault) {
    EXPECT_EQ(profile::ParseProfileInt("180"), 180);
    EXPECT_EQ(profile::ParseProfileInt(" \t-42"), -42);
    EXPECT_EQ(profile::ParseProfileInt("+7"), 7);
    EXPECT_EQ(profile::ParseProfileInt("12px"), 12);
    EXPECT_EQ(profile::ParseProfileInt("0x10"), 0);
    EXPECT_EQ(profile::ParseProfileInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(profile::ParseProfileInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(profile::ParseProfileInt("-99999999999"), -2147483647 - 1);
    EXPECT_EQ(profile::ParseProfileInt(""), std::nullopt);
    EXPECT_EQ(profile::ParseProfileInt("-"), std::nullopt);
    EXPECT_EQ(profile::ParseProfileInt("fast"), std::nullopt);
    EXPECT_EQ(profile::ParseProfileInt("- 5"), std::nullopt);
}

TEST(ProfileTextTest, CaseFoldsOnlySingleByteLetters) {
    EXPECT_TRUE(profile::EqualsIgnoreCase("PreviewPages", "previewpages"));
    // "セ" is 83 5A and "ズ" is 83 7A: lowering the trail byte would make them equal.
    EXPECT_FALSE(profile::EqualsIgnoreCase(Hex("83 5A"), Hex("83 7A")));
    EXPECT_FALSE(profile::EqualsIgnoreCase(Sjis("セッティング"), Sjis("ズッティング")));
    // Letters after a double-byte character and after half-width kana still fold.
    EXPECT_TRUE(profile::EqualsIgnoreCase(Sjis("声ABC"), Sjis("声abc")));
    EXPECT_TRUE(profile::EqualsIgnoreCase(Sjis("ｱX"), Sjis("ｱx")));
    EXPECT_FALSE(profile::EqualsIgnoreCase("abc", "abcd"));
}

TEST(ProfileTextTest, LinesAreClassifiedWithDoubleByteCharactersKeptWhole) {
    // "ゾ" is 83 5D: its second byte is ']' and must not close the section name.
    const std::string zoLine = "[" + Sjis("ゾ") + "]";
    const auto zo = profile::ParseLine(zoLine);
    EXPECT_EQ(zo.kind, profile::LineKind::Section);
    EXPECT_EQ(zo.name, Sjis("ゾ"));
    EXPECT_EQ(profile::ParseLine("[" + Hex("83") + "]").kind, profile::LineKind::Other);
    EXPECT_EQ(profile::ParseLine("[open").kind, profile::LineKind::Other);
    EXPECT_EQ(profile::ParseLine(" [ Name ] trailing").name, "Name");
    EXPECT_EQ(profile::ParseLine("  ; k=v").kind, profile::LineKind::Comment);
    EXPECT_EQ(profile::ParseLine("\t ").kind, profile::LineKind::Blank);
    EXPECT_EQ(profile::ParseLine("no equals sign").kind, profile::LineKind::Other);
    EXPECT_EQ(profile::ParseLine(std::string("k=v\0w", 5)).kind, profile::LineKind::Other);
    EXPECT_EQ(profile::ParseLine("\xEF\xBB\xBF[A]", true).kind, profile::LineKind::Section);
    EXPECT_EQ(profile::ParseLine("\xEF\xBB\xBF[A]", false).kind, profile::LineKind::Other);

    const auto key = profile::ParseLine("  Key \t=  a value  ");
    EXPECT_EQ(key.kind, profile::LineKind::Key);
    EXPECT_EQ(key.name, "Key");
    EXPECT_EQ(key.value, "a value");
    EXPECT_EQ(key.valueStart, 10u);
}

TEST(ProfileFileReadTest, MissingFileReadsDefaultsAndSavingNothingCreatesNothing) {
    TempDir dir;
    ProfileFile file = ProfileFile::Open(dir.File("none.ini"));
    EXPECT_EQ(file.LoadState(), ProfileLoad::Missing);
    EXPECT_EQ(file.GetInt("A", "b", 17), 17);
    EXPECT_EQ(file.GetString("A", "b", "dflt"), "dflt");
    EXPECT_TRUE(file.Save());
    EXPECT_FALSE(std::filesystem::exists(dir.File("none.ini")));
}

TEST(ProfileFileReadTest, SectionsAndKeysMatchWithoutCaseAndTheFirstOneCounts) {
    const ProfileFile file = ProfileFile::FromBytes("top=1\r\n"
                                                    "[SETTINGS]\r\n"
                                                    "previewpages=2\r\n"
                                                    "PreviewPages=3\r\n"
                                                    "[settings]\r\n"
                                                    "Late=4\r\n"
                                                    "[Other]\r\n"
                                                    "top=5\r\n");
    EXPECT_EQ(file.GetInt("Settings", "PreviewPages", 0), 2);
    EXPECT_EQ(file.GetInt("Settings", "Late", 0), 0) << "a repeated section is not merged";
    EXPECT_EQ(file.GetInt("other", "TOP", 0), 5);
    EXPECT_EQ(file.Find("", "top"), std::nullopt) << "keys before any section belong to none";
    EXPECT_EQ(file.Find("Other", "top="), std::nullopt);
}

TEST(ProfileFileReadTest, JapaneseNamesMatchOnlyTheirOwnBytes) {
    const ProfileFile file = ProfileFile::FromBytes(Sjis("[セッティング]\n"
                                                         "スピード=250\n"
                                                         "[ズッティング]\n"
                                                         "スピード=99\n"));
    EXPECT_EQ(file.GetInt(Sjis("セッティング"), Sjis("スピード"), 0), 250);
    EXPECT_EQ(file.GetInt(Sjis("ズッティング"), Sjis("スピード"), 0), 99);
}

TEST(ProfileFileReadTest, ValuesAreTrimmedAndUnquotedAndNonNumbersGiveTheDefault) {
    const ProfileFile file = ProfileFile::FromBytes("[S]\n"
                                                    "Face =  MS Gothic  \n"
                                                    "Quoted=\"  padded \"\n"
                                                    "Single='x'\n"
                                                    "Half=\"x\n"
                                                    "Empty=\n"
                                                    "Word=fast\n"
                                                    "Spaced=  -12 \n");
    EXPECT_EQ(file.GetString("S", "Face", ""), "MS Gothic");
    EXPECT_EQ(file.GetString("S", "Quoted", ""), "  padded ");
    EXPECT_EQ(file.GetString("S", "Single", ""), "x");
    EXPECT_EQ(file.GetString("S", "Half", ""), "\"x");
    EXPECT_EQ(file.GetString("S", "Empty", "dflt"), "") << "present but empty is not absent";
    EXPECT_EQ(file.GetInt("S", "Empty", 9), 9);
    EXPECT_EQ(file.GetInt("S", "Word", 9), 9);
    EXPECT_EQ(file.GetInt("S", "Spaced", 9), -12);
}

TEST(ProfileFileWriteTest, EditsChangeOnlyTheirLinesAsInTheGoldenFile) {
    ProfileFile file = ProfileFile::FromBytes(Golden("profile_edit.in.ini"));
    EXPECT_EQ(file.Bytes(), Golden("profile_edit.in.ini")) << "unchanged file round-trips";
    ASSERT_TRUE(file.WriteInt("Settings", "PreviewPages", 1));
    ASSERT_TRUE(file.WriteInt(Sjis("よみあげPadのセッティング"), Sjis("しゃべるスピード"), 300));
    ASSERT_TRUE(file.WriteInt(Sjis("よみあげPadのセッティング"), Sjis("右端で折り返す"), 1));
    ASSERT_TRUE(file.WriteString("settings", "NewKey", "x"));
    ASSERT_TRUE(file.WriteString("Recent File List", "File1", Sjis("/home/user/文書.txt")));
    EXPECT_EQ(test::ToHex(file.Bytes()), test::ToHex(Golden("profile_edit.expected.ini")));
}

TEST(ProfileFileWriteTest, NewLinesFollowTheFilesLineEndsAndEndAnUnendedLastLine) {
    ProfileFile lf = ProfileFile::FromBytes("[A]\nx=1\n");
    lf.WriteInt("A", "y", 2);
    lf.WriteInt("B", "z", 3);
    EXPECT_EQ(lf.Bytes(), "[A]\nx=1\ny=2\n[B]\nz=3\n");

    ProfileFile unended = ProfileFile::FromBytes("[A]\r\nx=1");
    unended.WriteInt("A", "y", 2);
    EXPECT_EQ(unended.Bytes(), "[A]\r\nx=1\r\ny=2\r\n");

    ProfileFile empty = ProfileFile::FromBytes("");
    empty.WriteInt("A", "y", -2);
    EXPECT_EQ(empty.Bytes(), "[A]\r\ny=-2\r\n");

    ProfileFile headerOnly = ProfileFile::FromBytes("; c\n[A]\n\n; next\n[B]\n");
    headerOnly.WriteInt("A", "k", 1);
    EXPECT_EQ(headerOnly.Bytes(), "; c\n[A]\nk=1\n\n; next\n[B]\n");
}

TEST(ProfileFileWriteTest, WritingTheCurrentValueChangesNothing) {
    ProfileFile file = ProfileFile::FromBytes("[A]\r\nk = \"7\"  \r\n");
    EXPECT_TRUE(file.WriteInt("a", "K", 7));
    EXPECT_FALSE(file.IsModified());
    EXPECT_EQ(file.Bytes(), "[A]\r\nk = \"7\"  \r\n");
    EXPECT_TRUE(file.WriteInt("a", "K", 8));
    EXPECT_TRUE(file.IsModified());
    EXPECT_EQ(file.Bytes(), "[A]\r\nk = 8\r\n");
}

TEST(ProfileFileWriteTest, AnyStorableValueReadsBackAsWritten) {
    ProfileFile file = ProfileFile::FromBytes("");
    const std::vector<std::string> values = {"",   " lead", "trail\t", "\"quoted\"",  "'q'",
                                             "\"", "a=b;c", "[x]",     Sjis("ゾ表示")};
    for (const std::string& value : values) {
        ASSERT_TRUE(file.WriteString("S", "k", value)) << value;
        const ProfileFile reread = ProfileFile::FromBytes(file.Bytes());
        EXPECT_EQ(reread.Find("S", "k"), value);
    }
}

TEST(ProfileFileWriteTest, NamesAndValuesThatCannotBeStoredAreRefusedAndChangeNothing) {
    ProfileFile file = ProfileFile::FromBytes("[A]\nk=1\n");
    EXPECT_FALSE(file.WriteString("A", "k", "two\nlines"));
    EXPECT_FALSE(file.WriteString("A", "k", std::string("nul\0", 4)));
    EXPECT_FALSE(file.WriteString("A", "k=v", "1"));
    EXPECT_FALSE(file.WriteString("A", ";k", "1"));
    EXPECT_FALSE(file.WriteString("A", " k", "1"));
    EXPECT_FALSE(file.WriteString("A", "", "1"));
    EXPECT_FALSE(file.WriteString("A]", "k", "1"));
    EXPECT_FALSE(file.WriteString("", "k", "1"));
    // A name ending in a lone lead byte would swallow the ']' after it.
    EXPECT_FALSE(file.WriteString("A" + Hex("83"), "k", "1"));
    EXPECT_FALSE(file.IsModified());
    EXPECT_EQ(file.Bytes(), "[A]\nk=1\n");
    // A ']' that is the second byte of a double-byte character is fine in a section name.
    EXPECT_TRUE(file.WriteString(Sjis("ゾ"), "k", "1"));
    EXPECT_EQ(ProfileFile::FromBytes(file.Bytes()).Find(Sjis("ゾ"), "k"), "1");
}

TEST(ProfileFileWriteTest, DeleteRemovesOnlyTheFirstMatchingLine) {
    ProfileFile file = ProfileFile::FromBytes("[A]\nk=1\n; keep\nK=2\n[B]\nk=3\n");
    EXPECT_TRUE(file.DeleteKey("a", "k"));
    EXPECT_EQ(file.Bytes(), "[A]\n; keep\nK=2\n[B]\nk=3\n");
    EXPECT_EQ(file.GetInt("A", "k", 0), 2);
    EXPECT_FALSE(file.DeleteKey("C", "k"));
    EXPECT_TRUE(file.DeleteKey("A", "k"));
    // Section starts moved up with the deleted lines: B is still found and extended.
    file.WriteInt("B", "new", 4);
    EXPECT_EQ(file.Bytes(), "[A]\n; keep\n[B]\nk=3\nnew=4\n");
}

TEST(ProfileFileDamageTest, UnreadableLinesAreKeptAndTheRestStillReads) {
    using namespace std::string_literals;
    const std::string damaged = "\x81\xFF garbage\r\n"s + "[A]\r\nbad=\0\0\r\n"s +
                                "no equals sign\r\n" + Hex("FD FE FF") + "=9\r\n" +
                                "[A\x81]\r\nbroken=1\r\n" + "good=5\r\n";
    ProfileFile file = ProfileFile::FromBytes(damaged);
    EXPECT_EQ(file.Find("A", "bad"), std::nullopt) << "a line with NUL bytes is not understood";
    EXPECT_EQ(file.GetInt("A", Hex("FD FE FF"), 0), 9) << "undecodable names are still bytes";
    // "[A\x81]" holds no closing bracket (81 5D is one character), so its keys stay in [A].
    EXPECT_EQ(file.GetInt("A", "broken", 0), 1);
    EXPECT_EQ(file.GetInt("A", "good", 0), 5);
    file.WriteInt("A", "good", 6);
    file.WriteInt("A", "added", 7);
    std::string expected = damaged;
    expected.replace(expected.find("good=5"), 6, "good=6");
    expected += "added=7\r\n";
    EXPECT_EQ(file.Bytes(), expected);
}

TEST(ProfileFileDamageTest, HugeLineIsCarriedAlongAndLaterSectionsStillRead) {
    // Two lines of 1.5 MiB: large, but within what is parsed.
    const std::string huge(3 * 512 * 1024, '\x82');
    const std::string bytes = "[A]\nk=" + huge + "\n" + huge + "\n[B]\nk=1\n";
    ProfileFile file = ProfileFile::FromBytes(bytes);
    ASSERT_EQ(file.LoadState(), ProfileLoad::Loaded);
    EXPECT_EQ(file.GetInt("B", "k", 0), 1);
    EXPECT_TRUE(file.Find("A", "k") == huge);
    file.WriteInt("B", "k", 2);
    std::string expected = bytes;
    expected.replace(expected.size() - 2, 1, "2");
    EXPECT_TRUE(file.Bytes() == expected);
}

TEST(ProfileFileDamageTest, FilesThatCannotBeFullyReadAreNeverReplaced) {
    TempDir dir;
    const std::string big = dir.File("big.ini");
    WriteFile(big, "[A]\nk=1\n" + std::string(kMaxProfileBytes, ';'));
    ProfileFile tooLarge = ProfileFile::Open(big);
    EXPECT_EQ(tooLarge.LoadState(), ProfileLoad::TooLarge);
    EXPECT_EQ(tooLarge.GetInt("A", "k", 9), 9);
    tooLarge.WriteInt("A", "k", 2);
    EXPECT_FALSE(tooLarge.Save());
    EXPECT_FALSE(tooLarge.SaveError().empty());
    EXPECT_EQ(std::filesystem::file_size(big), kMaxProfileBytes + 8);

    const std::string directory = dir.File("dir.ini");
    std::filesystem::create_directory(directory);
    WriteFile(directory + "/inside", "x");
    ProfileFile unreadable = ProfileFile::Open(directory);
    EXPECT_EQ(unreadable.LoadState(), ProfileLoad::Unreadable);
    unreadable.WriteInt("A", "k", 2);
    EXPECT_FALSE(unreadable.Save());
    EXPECT_EQ(ReadFile(directory + "/inside"), "x");

    // A FIFO would block a plain open until someone writes to it.
    const std::string fifo = dir.File("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ProfileFile::Open(fifo).LoadState(), ProfileLoad::Unreadable);
}

TEST(ProfileFileSaveTest, SaveWritesTheChangesAndCreatesMissingDirectories) {
    TempDir dir;
    const std::string path = dir.File("a/b/yomi6.ini");
    ProfileFile file = ProfileFile::Open(path);
    file.WriteInt("A", "k", 1);
    ASSERT_TRUE(file.Save()) << file.SaveError();
    EXPECT_EQ(ReadFile(path), "[A]\r\nk=1\r\n");
    EXPECT_FALSE(file.IsModified());
    struct stat st {};
    ASSERT_EQ(::stat(dir.File("a").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(FilesIn(dir.File("a/b")), std::vector<std::string>{"yomi6.ini"});

    file.WriteInt("A", "k", 2);
    ASSERT_TRUE(file.Save());
    EXPECT_EQ(ProfileFile::Open(path).GetInt("A", "k", 0), 2);
}

TEST(ProfileFileSaveTest, ExistingFileKeepsItsPermissionsAndALinkStaysALink) {
    TempDir dir;
    const std::string real = dir.File("real.ini");
    const std::string link = dir.File("link.ini");
    WriteFile(real, "; mine\n");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    std::filesystem::create_symlink(real, link);

    ProfileFile file = ProfileFile::Open(link);
    file.WriteInt("A", "k", 1);
    ASSERT_TRUE(file.Save()) << file.SaveError();
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFile(real), "; mine\n[A]\nk=1\n");
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(ProfileFileSaveTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.File("yomi6.ini");
    const std::string old = "[A]\r\nk=1\r\n; a comment the user wrote\r\n";
    WriteFile(path, old);
    ProfileFile file = ProfileFile::Open(path);
    file.WriteString("A", "k", std::string(4096, 'v'));

    // A file size limit below the new content: the write fails part way (EFBIG). The signal
    // that would end the process is ignored here so that the failure comes back as an error.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved_ok = file.Save();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved_ok);
    EXPECT_NE(file.SaveError().find("yomi6.ini"), std::string::npos) << file.SaveError();
    EXPECT_EQ(ReadFile(path), old);
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"yomi6.ini"});
    EXPECT_TRUE(file.IsModified()) << "the changes are still pending";

    ASSERT_TRUE(file.Save()) << "retrying once the limit is gone succeeds";
    EXPECT_EQ(ProfileFile::Open(path).Find("A", "k")->size(), 4096u);
}

TEST(ProfileFileSaveTest, ADirectoryThatCannotBeCreatedIsAFailure) {
    TempDir dir;
    WriteFile(dir.File("plain"), "not a directory");
    ProfileFile file = ProfileFile::Open(dir.File("plain/yomi6.ini"));
    EXPECT_EQ(file.LoadState(), ProfileLoad::Missing);
    file.WriteInt("A", "k", 1);
    EXPECT_FALSE(file.Save());
    EXPECT_EQ(ReadFile(dir.File("plain")), "not a directory");

    ProfileFile memoryOnly = ProfileFile::FromBytes("");
    memoryOnly.WriteInt("A", "k", 1);
    EXPECT_FALSE(memoryOnly.Save());
}

} // namespace
} // namespace yomi6
