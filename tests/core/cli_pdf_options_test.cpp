// The --pdf mode on the command line: its output and input, and its usage errors.
#include "cli/cli_options.h"

#include <gtest/gtest.h>

namespace yomi6::cli {
namespace {

TEST(CliPdfOptionsTest, OutputThenInput) {
    const ParseResult r = ParseCommandLine({"--pdf", "out.pdf", "in.txt"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.mode, Mode::Pdf);
    EXPECT_EQ(r.options.pdfOutput, "out.pdf");
    EXPECT_EQ(r.options.input, "in.txt");
    EXPECT_NE(UsageText().find("--pdf OUT.pdf FILE"), std::string::npos);
}

TEST(CliPdfOptionsTest, UsageErrors) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--pdf"},
             {"--pdf", "out.pdf"},
             {"--pdf", "", "a.txt"},
             {"--pdf", "out.pdf", "a.txt", "--wav", "o.wav", "b.txt"},
             {"--pdf", "out.pdf", "a.txt", "--pdf", "o.pdf", "b.txt"},
             {"--pdf", "out.pdf", "a.txt", "extra"},
         }) {
        EXPECT_NE(ParseCommandLine(args).error, "") << args.size();
    }
}

} // namespace
} // namespace yomi6::cli
