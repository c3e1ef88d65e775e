// The automatic reading when its analyzer cannot be had: one clear message and the dictionary
// reading for that text, never a crash or a hang; and text that comes from a UTF-8 file.
#include "analysis/analyzer_loader.h"
#include "analysis/mecab_analyzer.h"
#include "dictionary/dic_tables.h"
#include "dictionary/dictionary.h"
#include "reading/automatic_reading.h"
#include "reading/text_reader.h"
#include "support/recording_sink.h"
#include "support/sjis.h"
#include "support/temp_dir.h"
#include "text/speech_text.h"
#include "text/utf8_codec.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace yomi6 {
namespace {

using test::Sjis;
using test::TempDir;

constexpr const char* kFiles[] = {"dicrc", "sys.dic", "unk.dic", "matrix.bin", "char.bin"};

// A copy of the system's analyzer dictionary folder made of links, with one file replaced.
std::string LinkedFolder(const TempDir& dir, const std::string& replaced) {
    std::string folder = dir.File("dic");
    ::mkdir(folder.c_str(), 0755);
    for (const char* name : kFiles) {
        if (name != replaced) {
            const std::string target = std::string(kDefaultAnalyzerDictionary) + "/" + name;
            EXPECT_EQ(::symlink(target.c_str(), (folder + "/" + name).c_str()), 0);
        }
    }
    return folder;
}

class FallbackTest : public ::testing::Test {
protected:
    Dictionary dic;

    // Reads text automatically with the analyzer of folder; returns the messages shown.
    std::vector<std::string> ReadWith(const std::string& folder, const std::string& text) {
        AnalyzerLoader loader;
        loader.SetConfiguredDictionary(folder);
        test::RecordingSink sink;
        ReaderSetup setup(dic.View(), loader);
        setup.messages = &sink;
        result = ReadText(reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                          ReadingMode::Automatic, setup, reading, source);
        EXPECT_FALSE(loader.IsLoaded());
        std::vector<std::string> texts;
        for (const auto& m : sink.messages) {
            texts.push_back(m.first);
        }
        return texts;
    }

    // The dictionary reading of text, for comparison.
    std::string DictionaryReading(const std::string& text) {
        unsigned char r[kReadingBufferSize];
        const std::size_t n = ConvertToReading(reinterpret_cast<const unsigned char*>(text.data()),
                                               text.size(), dic.View(), r);
        return std::string(reinterpret_cast<const char*>(r), n);
    }

    std::string Reading() const {
        return std::string(reinterpret_cast<const char*>(reading), result.length);
    }

    unsigned char reading[kReadingBufferSize];
    SourceRange source[kReadingBufferSize];
    ReadingResult result;
};

TEST_F(FallbackTest, AMissingFolderGivesOneMessageAndTheDictionaryReading) {
    if (::getenv(kAnalyzerDictionaryVariable) != nullptr) {
        GTEST_SKIP() << "the environment names the analyzer dictionary";
    }
    TempDir dir;
    const std::string text = Sjis("漢字の人");
    const auto messages = ReadWith(dir.File("none"), text);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(dir.File("none")), std::string::npos) << messages[0];
    EXPECT_EQ(Reading(), DictionaryReading(text));
}

TEST_F(FallbackTest, AFolderThatIsNotOneIsCalledWhatItIs) {
    if (::getenv(kAnalyzerDictionaryVariable) != nullptr) {
        GTEST_SKIP() << "the environment names the analyzer dictionary";
    }
    TempDir dir;
    const std::string text = Sjis("東京");
    const std::string pipe = dir.File("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    auto messages = ReadWith(pipe, text);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(pipe + " is a named pipe (FIFO), not a folder"), std::string::npos)
        << messages[0];
    EXPECT_EQ(messages[0].find("missing"), std::string::npos) << messages[0];
    const std::string file = dir.File("file");
    test::WriteFile(file, "x");
    messages = ReadWith(file, text);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(file + " is a file, not a folder"), std::string::npos)
        << messages[0];
    EXPECT_EQ(Reading(), DictionaryReading(text));
}

TEST_F(FallbackTest, MissingPipedDamagedOrForeignDictionariesNeverLoadNorHang) {
    TempDir dir;
    const std::string text = Sjis("東京");
    {
        const std::string folder = LinkedFolder(dir, "char.bin");
        const auto messages = ReadWith(folder, text);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find("char.bin"), std::string::npos) << messages[0];
        EXPECT_EQ(Reading(), DictionaryReading(text));
        // A pipe where a file should be: opening it would wait for a writer forever.
        ASSERT_EQ(::mkfifo((folder + "/char.bin").c_str(), 0644), 0);
        ASSERT_EQ(ReadWith(folder, text).size(), 1u);
        ::unlink((folder + "/char.bin").c_str());
        // A damaged file: cut short.
        test::WriteFile(folder + "/char.bin", std::string(1000, 'x'));
        const auto damaged = ReadWith(folder, text);
        ASSERT_EQ(damaged.size(), 1u);
        EXPECT_NE(damaged[0].find("cannot be loaded"), std::string::npos) << damaged[0];
        EXPECT_EQ(Reading(), DictionaryReading(text));
    }
    // The same dictionary in another encoding has another field layout: refused.
    const std::string euc = "/var/lib/mecab/dic/ipadic";
    if (::access((euc + "/sys.dic").c_str(), R_OK) == 0) {
        const auto messages = ReadWith(euc, text);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find("UTF-8"), std::string::npos) << messages[0];
    }
}

TEST_F(FallbackTest, EmojiFromAUtf8FileIsOneSilentBlankTiedToIt) {
    std::string error;
    const auto analyzer = OpenMecabAnalyzer(std::string(kDefaultAnalyzerDictionary), error);
    ASSERT_NE(analyzer, nullptr) << error;
    // The editor holds a UTF-8 file as text; speaking takes it as code page 932 bytes.
    const std::u16string text = DecodeUtf8("雨😀です");
    const SpeechSource bytes = SpeechSourceOf(text);
    result = ConvertAutomatic(reinterpret_cast<const unsigned char*>(bytes.bytes.data()),
                              bytes.bytes.size(), dic.View(), *analyzer, reading, source);
    EXPECT_EQ(Reading(), Sjis("ｱﾒ ﾃﾞｽ"));
    // The blank came from byte 2, which is the emoji's two UTF-16 units.
    EXPECT_EQ(source[2], (SourceRange{2, 3}));
    const SpeechSource::Span span = bytes.TextSpan(source[2].begin, source[2].end);
    EXPECT_EQ(span.begin, 1u);
    EXPECT_EQ(span.end, 3u);
}

} // namespace
} // namespace yomi6
