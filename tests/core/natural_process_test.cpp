// The process runner: exit statuses, signals, captured output, the time limit and the end of a
// child's whole process group, with real programs; the engine's folder and files.
#include "io/atomic_output_file.h"
#include "io/temporary_registry.h"
#include "natural/child_registry.h"
#include "natural/natural_pass.h"
#include "natural/process_runner.h"
#include "natural/temp_folder.h"
#include "natural_engine_support.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace yomi6::natural {
namespace {

using namespace std::chrono_literals;

// Whether the process pid has ended (gone, or a zombie nobody has reaped yet).
bool Ended(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) {
        return true;
    }
    const std::size_t paren = line.rfind(')');
    return paren != std::string::npos && paren + 2 < line.size() && line[paren + 2] == 'Z';
}

// Waits up to limit for the process to end.
bool EndsWithin(pid_t pid, std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!Ended(pid)) {
        if (std::chrono::steady_clock::now() > until) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// The process ID a script wrote to path, once it is there (0 after 20 s without it).
pid_t WaitForPid(const std::string& path) {
    for (int k = 0; k < 1000; ++k) {
        std::ifstream in(path);
        pid_t pid = 0;
        if (in >> pid && pid > 0) {
            return pid;
        }
        std::this_thread::sleep_for(20ms);
    }
    return 0;
}

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

TEST(NaturalProcess, EndsTheChildsWholeGroupPastItsLimitOrWhenCancelled) {
    // An engine that started a helper of its own and hangs: the helper is ended with it, at the
    // time limit and when the caller cancels.
    const TempFolder folder;
    const std::string helper = folder.File("helper.pid");
    const std::string script = "sleep 60 & echo $! >" + helper + "; exec sleep 60";
    ProcessLimits limits;
    limits.timeLimit = 300ms;
    const ProcessResult hung = RunProcess({"/bin/sh", "-c", script}, limits);
    EXPECT_TRUE(hung.timedOut);
    const pid_t first = WaitForPid(helper);
    ASSERT_GT(first, 0);
    EXPECT_TRUE(EndsWithin(first, 5s));

    ::unlink(helper.c_str());
    std::atomic<bool> cancel{false};
    limits.timeLimit = 60s;
    limits.cancel = &cancel;
    std::thread canceller([&] {
        WaitForPid(helper);
        cancel = true;
    });
    const auto started = std::chrono::steady_clock::now();
    const ProcessResult cancelled = RunProcess({"/bin/sh", "-c", script}, limits);
    canceller.join();
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_FALSE(cancelled.Succeeded());
    EXPECT_LT(std::chrono::steady_clock::now() - started, 20s); // not the 60 s limit
    const pid_t second = WaitForPid(helper);
    ASSERT_GT(second, 0);
    EXPECT_TRUE(EndsWithin(second, 5s));
}

TEST(NaturalProcess, AChildNeverOutlivesTheProgram) {
    const TempFolder folder;
    const std::string childPid = folder.File("child.pid");
    const std::string script = "echo $$ >" + childPid + "; exec sleep 60";
    // A program killed outright (no handler runs): the system ends its child.
    const pid_t program = ::fork();
    ASSERT_GE(program, 0);
    if (program == 0) {
        RunProcess({"/bin/sh", "-c", script});
        ::_exit(0);
    }
    const pid_t orphan = WaitForPid(childPid);
    ::kill(program, SIGKILL);
    ::waitpid(program, nullptr, 0);
    ASSERT_GT(orphan, 0);
    EXPECT_TRUE(EndsWithin(orphan, 10s));

    // A program ended by a signal it handles: the handler ends every running child, and their
    // helpers, before the files are removed; the thread that waited for the child returns.
    ::unlink(childPid.c_str());
    const std::string helper = folder.File("helper.pid");
    ProcessResult result;
    ProcessLimits patient;
    patient.timeLimit = 60s;
    std::thread worker([&] {
        result = RunProcess(
            {"/bin/sh", "-c",
             "sleep 60 & echo $! >" + helper + "; echo $$ >" + childPid + "; exec sleep 60"},
            patient);
    });
    const pid_t child = WaitForPid(childPid);
    const pid_t helped = WaitForPid(helper);
    EndNotedChildren();        // what the signal handler does first
    EXPECT_TRUE(Ended(child)); // waited for before it returned
    worker.join();
    EXPECT_FALSE(result.Succeeded());
    ASSERT_GT(helped, 0);
    EXPECT_TRUE(EndsWithin(helped, 5s));
}

TEST(NaturalProcess, TheEnginesMessageKeepsNoControlCharacter) {
    // A terminal would act on these: a title change, a colour, a C1 introducer, a stray byte.
    const ProcessResult run = RunProcess(
        {"/bin/sh", "-c",
         "printf 'bad \\033]0;owned\\007 \\033[31mred \\302\\233 \\377 かな\\n' >&2; exit 1"});
    const std::string what = DescribeFailure(run);
    for (const char c : what) {
        EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20 || c == 0x7F) << what;
    }
    EXPECT_EQ(what.find("\xC2\x9B"), std::string::npos) << what;
    EXPECT_NE(what.find("bad \\x1B]0;owned\\x07 \\x1B[31mred \\u009B \\xFF かな"),
              std::string::npos)
        << what;
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
    const yomi6::test::TempDir targets; // a folder of the user's, kept
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
    for (const auto& run : runs) {
        EXPECT_NE(::access(run->Path().c_str(), F_OK), 0) << run->Path(); // the folders too
    }
    EXPECT_TRUE(std::filesystem::is_empty(targets.path())); // the export's temporaries too
}

TEST(NaturalProcess, ARelativeTmpdirGivesTheEngineAbsolutePaths) {
    // TMPDIR=-x made the folder "-x/yomi6-natural-..." and the engine took its input file for
    // an option.
    const yomi6::test::TempDir work;
    ASSERT_EQ(::mkdir(work.File("-x").c_str(), 0700), 0);
    std::string path;
    ChunkSound sound;
    {
        const yomi6::test::ScopedCwd cwd(work.path());
        const yomi6::test::ScopedEnv tmpdir("TMPDIR", "-x");
        path = TempFolder().Path();
        sound = test::Say(test::Sjis(u"雨が降る。"));
    }
    EXPECT_EQ(path.rfind(work.File("-x/yomi6-natural-"), 0), 0u) << path;
    EXPECT_EQ(sound.error, "");
    EXPECT_FALSE(sound.units.empty());
}

TEST(NaturalProcess, TheEnginesFilesAreReadOnlyWhenTheyAreRegularAndBounded) {
    const TempFolder folder;
    SynthesisOptions options;
    options.setup = test::TestSetup();
    const std::string text = test::Sjis(u"雨が降る。");
    const auto sayWith = [&](const std::string& name, const std::string& body) {
        options.setup.engine = test::StandInEngine(folder.Path(), name, body);
        return SynthesizeChunk(text, {0, text.size()}, nullptr, options);
    };
    const std::string engine = "/usr/bin/open_jtalk \"$@\" || exit\n";
    // A sound linked to an endless device was read until memory ran out.
    const auto started = std::chrono::steady_clock::now();
    const ChunkSound zero = sayWith("zero", engine + "rm \"$wav\"; ln -s /dev/zero \"$wav\"");
    EXPECT_NE(zero.error.find("sound is a link"), std::string::npos) << zero.error;
    EXPECT_LT(std::chrono::steady_clock::now() - started, 20s);
    const ChunkSound folderTrace = sayWith("folder", engine + "rm \"$trace\"; mkdir \"$trace\"");
    EXPECT_NE(folderTrace.error.find("trace is not a regular file"), std::string::npos)
        << folderTrace.error;
    const ChunkSound huge = sayWith("huge", engine + "truncate -s 200M \"$wav\"");
    EXPECT_NE(huge.error.find("sound is larger than 64 MB"), std::string::npos) << huge.error;
    // Labels timed past the sound (twice as long as it) belong to no sound.
    const ChunkSound late =
        sayWith("late", engine + "awk '/^\\[Output label\\]/ { l = 1 } /^\\[Global/ { l = 0 }"
                                 " l && NF == 3 && $1 ~ /^[0-9]+$/ { $1 *= 2; $2 *= 2 } { print }'"
                                 " \"$trace\" >\"$trace.new\" && mv \"$trace.new\" \"$trace\"");
    EXPECT_NE(late.error.find("past the end of its sound"), std::string::npos) << late.error;
    EXPECT_TRUE(late.units.empty());
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
