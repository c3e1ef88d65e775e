// The process runner: exit statuses, signals, captured output and the time limit, with real
// programs.
#include "io/atomic_output_file.h"
#include "io/temporary_registry.h"
#include "natural/natural_pass.h"
#include "natural/process_runner.h"
#include "natural/temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace yomi6::natural {
namespace {

TEST(NaturalProcess, ReportsExitStatusAndOutput) {
    const ProcessResult ok = RunProcess({"/bin/echo", "かな", "two words"});
    EXPECT_TRUE(ok.Succeeded());
    EXPECT_EQ(ok.out, "かな two words\n"); // each argument passed as it is, no shell between
    EXPECT_EQ(DescribeFailure(ok), "");

    const ProcessResult failed = RunProcess({"/bin/sh", "-c", "echo broken >&2; exit 3"});
    EXPECT_TRUE(failed.started);
    EXPECT_FALSE(failed.Succeeded());
    EXPECT_EQ(failed.exitCode, 3);
    EXPECT_EQ(failed.err, "broken\n");
    EXPECT_EQ(DescribeFailure(failed), "exited with status 3: broken");

    const ProcessResult missing = RunProcess({"/nonexistent/program"});
    EXPECT_FALSE(missing.started);
    EXPECT_NE(DescribeFailure(missing).find("/nonexistent/program"), std::string::npos);

    // No search of PATH: a bare name is not found.
    EXPECT_FALSE(RunProcess({"echo", "x"}).started);
}

TEST(NaturalProcess, ReportsTheSignalOfACrash) {
    const ProcessResult crashed = RunProcess({"/bin/sh", "-c", "kill -ABRT $$"});
    EXPECT_EQ(crashed.signal, SIGABRT);
    EXPECT_FALSE(crashed.Succeeded());
    EXPECT_NE(DescribeFailure(crashed).find("signal 6"), std::string::npos);
}

TEST(NaturalProcess, KillsAProgramPastItsTimeLimit) {
    ProcessLimits limits;
    limits.timeLimit = std::chrono::milliseconds(300);
    // A child that hangs while holding its output open, and one that closes its output first:
    // both are stopped at the limit instead of waited for.
    for (const char* script : {"sleep 60", "exec >/dev/null 2>&1; sleep 60"}) {
        const auto started = std::chrono::steady_clock::now();
        const ProcessResult hung = RunProcess({"/bin/sh", "-c", script}, limits);
        const auto took = std::chrono::steady_clock::now() - started;
        EXPECT_TRUE(hung.timedOut) << script;
        EXPECT_FALSE(hung.Succeeded()) << script;
        // Far below the child's own 60 s, with room for a loaded machine.
        EXPECT_LT(took, std::chrono::seconds(20)) << script;
    }
}

TEST(NaturalProcess, KeepsOnlyTheCaptureLimitOfALargeOutput) {
    ProcessLimits limits;
    limits.captureLimit = 1000;
    const ProcessResult big = RunProcess({"/usr/bin/head", "-c", "3000000", "/dev/zero"}, limits);
    EXPECT_TRUE(big.Succeeded()); // read to the end, so the child never blocks on a full pipe
    EXPECT_EQ(big.out.size(), 1000u);
}

// A signal in the middle of an export with the most workers: every engine run's three files and
// the export's own temporaries are noted, so the clean-up removes them all.
TEST(NaturalProcess, EveryWorkersFilesAreRemovedAfterASignal) {
    std::vector<std::unique_ptr<TempFolder>> runs;
    std::vector<std::string> files;
    for (unsigned k = 0; k < kMaxWorkers; ++k) {
        runs.push_back(std::make_unique<TempFolder>());
        for (const char* name : {"chunk.txt", "chunk.wav", "chunk.trace"}) {
            files.push_back(runs.back()->NotedFile(name));
            std::ofstream(files.back()) << "x";
        }
    }
    const TempFolder targets;
    std::vector<std::unique_ptr<AtomicOutputFile>> exported;
    std::string error;
    for (const char* name : {"a.flac", "a.srt", "a.json"}) {
        exported.push_back(std::make_unique<AtomicOutputFile>());
        ASSERT_TRUE(exported.back()->Open(targets.File(name), error)) << error;
    }
    RemoveNotedTemporaries(); // what the signal handler does
    for (const std::string& file : files) {
        EXPECT_NE(::access(file.c_str(), F_OK), 0) << file;
    }
    EXPECT_TRUE(std::filesystem::is_empty(targets.Path())); // the export's temporaries too
}

TEST(NaturalProcess, TempFolderIsPrivateAndRemovedWithItsFiles) {
    std::string path;
    {
        const TempFolder folder;
        ASSERT_FALSE(folder.Path().empty()) << folder.Error();
        path = folder.Path();
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        std::ofstream(folder.File("a.txt")) << "x";
        std::ofstream(folder.File("b.wav")) << "y";
    }
    struct stat st {};
    EXPECT_NE(::stat(path.c_str(), &st), 0);
}

} // namespace
} // namespace yomi6::natural
