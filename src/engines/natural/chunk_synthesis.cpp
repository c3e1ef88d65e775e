#include "natural/chunk_synthesis.h"

#include "io/temporary_registry.h"
#include "natural/temp_folder.h"
#include "voice/sample_edit.h"
#include "wave/pcm_convert.h"
#include "wave/wave_decoder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <span>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace yomi6::natural {

namespace {

// How far the last label may end past the sound: one frame of the engine's analysis (5 ms),
// twice over.
constexpr std::int64_t kLabelSlack = 100'000;

// The engine's file at path into out: a regular file (not a link, a device or a pipe) of at
// most limit bytes, read no further than that; else false with the reason in why.
bool ReadEngineFile(const std::string& path, std::size_t limit, std::string& out,
                    std::string& why) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        why = errno == ELOOP ? "is a link" : std::strerror(errno);
        return false;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0;
    if (!ok || !S_ISREG(st.st_mode)) {
        why = ok ? "is not a regular file" : std::strerror(errno);
        ::close(fd);
        return false;
    }
    const std::string tooLarge = "is larger than " + std::to_string(limit >> 20) + " MB";
    if (static_cast<std::uint64_t>(st.st_size) > limit) {
        why = tooLarge;
        ::close(fd);
        return false;
    }
    out.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t got = 0;
    // One byte more than the file had, to see whether it grew past the limit meanwhile.
    while (ok && got < out.size()) {
        const ssize_t n = ::read(fd, out.data() + got, std::min(out.size(), limit + 1) - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        ok = n >= 0;
        if (n <= 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (!ok) {
        why = std::strerror(errno);
        return false;
    }
    if (got > limit) {
        why = tooLarge;
        return false;
    }
    out.resize(got);
    return true;
}

// The engine's sound as mono floats, with its rate; false with the reason in why when it is
// not a sound file. Read by the decoder the voice folders use, which checks the header against
// the file.
bool ReadSound(const std::string& path, std::vector<float>& mono, int& rate, std::string& why) {
    std::string bytes;
    if (!ReadEngineFile(path, kMaxEngineSoundBytes, bytes, why)) {
        return false;
    }
    WaveDecodeResult decoded =
        DecodeWave(std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
    if (!decoded || decoded.wave.sampleRate <= 0) {
        why = "is no sound file";
        return false;
    }
    mono = std::move(decoded.wave.mono);
    rate = decoded.wave.sampleRate;
    return true;
}

// Shortens the silence the engine puts before and after every chunk to what a pause between
// sentences needs, so that chunks follow each other as sentences do and the first sound comes
// soon.
void TrimSilence(ChunkSound& sound, const SynthesisOptions& options) {
    if (sound.units.empty()) {
        return;
    }
    const std::int64_t keepLead = options.maxLeadSilenceMs * options.outputRate / 1000;
    const std::int64_t keepTail = options.maxTailSilenceMs * options.outputRate / 1000;
    auto total = static_cast<std::int64_t>(sound.pcm.size());
    NaturalUnit& last = sound.units.back();
    if (last.silent && sound.units.size() > 1 && last.endFrame - last.startFrame > keepTail) {
        last.endFrame = last.startFrame + keepTail;
        total = std::min(total, last.endFrame);
        sound.pcm.resize(static_cast<std::size_t>(total));
    }
    const NaturalUnit& first = sound.units.front();
    const std::int64_t cut = first.silent && sound.units.size() > 1
                                 ? std::max<std::int64_t>(0, first.endFrame - keepLead)
                                 : 0;
    if (cut > 0) {
        sound.pcm.erase(sound.pcm.begin(), sound.pcm.begin() + static_cast<std::ptrdiff_t>(cut));
        for (NaturalUnit& unit : sound.units) {
            unit.startFrame = std::max<std::int64_t>(0, unit.startFrame - cut);
            unit.endFrame = std::max<std::int64_t>(0, unit.endFrame - cut);
        }
    }
}

} // namespace

std::int64_t LabelTimeToFrame(std::int64_t time, int outputRate) {
    // 10^7 label units a second; rounded to the nearest frame. The trace's times are at most
    // kMaxLabelTime, which any rate scales within 64 bits.
    return (time * outputRate + 5'000'000) / 10'000'000;
}

namespace {

// The source bytes the characters of an engine text came from, first to last.
ByteRange SpanOf(const EngineText& text, ByteRange chunk) {
    if (text.sources.empty()) {
        return {chunk.begin, chunk.begin};
    }
    ByteRange span = text.sources.front();
    for (const ByteRange& r : text.sources) {
        span.begin = std::min(span.begin, r.begin);
        span.end = std::max(span.end, r.end);
    }
    return span;
}

// Says one engine run's text of the chunk, as SynthesizeChunk says a chunk.
ChunkSound SayEngineText(const EngineText& engineText, ByteRange chunk,
                         const SynthesisOptions& options, const std::atomic<bool>* cancel) {
    ChunkSound result;
    result.source = chunk;
    if (engineText.folded.empty() || std::all_of(engineText.folded.begin(), engineText.folded.end(),
                                                 [](char32_t c) { return c == U' '; })) {
        return result; // nothing the engine could say: no units, no error
    }
    if (engineText.utf8.size() > kMaxEngineBytes) {
        result.error = "the engine's text is longer than it reads";
        return result;
    }
    // From the folder to the engine's start, everything is made before a signal's clean-up
    // looks for it, or not at all.
    TemporaryGate gate;
    if (!gate.IsOpen()) {
        result.error = "the program is ending";
        return result;
    }
    TempFolder folder;
    if (folder.Path().empty()) {
        result.error = folder.Error();
        return result;
    }
    const std::string input = folder.NotedFile("chunk.txt");
    const std::string wav = folder.NotedFile("chunk.wav");
    const std::string traceFile = folder.NotedFile("chunk.trace");
    {
        // A scratch file in a private folder: nobody else reads it, so it needs no atomic write.
        std::ofstream out(input, std::ios::binary);
        out << engineText.utf8 << '\n';
        if (!out.flush()) {
            result.error = input + ": cannot be written";
            return result;
        }
    }
    ProcessLimits limits;
    limits.timeLimit = options.timeLimit;
    limits.captureLimit = 64 * 1024;
    limits.cancel = cancel;
    limits.onStarted = [&gate] { gate.Release(); };
    const ProcessResult run =
        RunProcess(EngineArguments(options.setup, input, wav, traceFile), limits);
    if (!run.Succeeded()) {
        // Signs the engine has no sound for (★★) end its run with this complaint: the chunk
        // has nothing to say, which is no failure.
        if (run.exitCode == 1 && run.err.find("No phoneme") != std::string::npos) {
            return result;
        }
        result.error = "the engine " + DescribeFailure(run);
        result.timedOut = run.timedOut;
        return result;
    }
    std::string traceText;
    std::string why;
    if (!ReadEngineFile(traceFile, kMaxEngineTraceBytes, traceText, why)) {
        result.error = "the engine's trace " + why;
        return result;
    }
    std::string parseError;
    const auto trace = ParseTrace(traceText, &parseError);
    if (!trace) {
        result.error = parseError;
        return result;
    }
    std::vector<float> mono;
    int rate = 0;
    if (!ReadSound(wav, mono, rate, why)) {
        result.error = "the engine's sound " + why;
        return result;
    }
    // The labels end where the sound ends (both count the engine's frames); one that ends later
    // belongs to no sound.
    const std::int64_t soundTime =
        static_cast<std::int64_t>(mono.size()) * 10'000'000 / rate + kLabelSlack;
    if (trace->morae.back().end > soundTime) {
        result.error = "the engine's trace has times past the end of its sound";
        return result;
    }
    result.pcm = ToPlayerPcm(mono, rate, options.outputRate);
    if (options.level > 0) {
        LevelTo(result.pcm, options.outputRate, options.level);
    }
    const auto placed = PlaceMorphemes(engineText, trace->morphemes, chunk);
    const auto frames = static_cast<std::int64_t>(result.pcm.size());
    for (const AlignedMora& mora : AlignMorae(*trace, placed, chunk)) {
        NaturalUnit unit;
        unit.mora = mora.kana;
        unit.source = mora.source;
        unit.silent = mora.silent;
        unit.startFrame = std::min(LabelTimeToFrame(mora.start, options.outputRate), frames);
        unit.endFrame = std::min(LabelTimeToFrame(mora.end, options.outputRate), frames);
        if (mora.silent) {
            unit.mora.clear();
        }
        result.units.push_back(std::move(unit));
    }
    TrimSilence(result, options);
    return result;
}

} // namespace

ChunkSound SynthesizeChunk(std::string_view text, ByteRange chunk, const DictionaryView* dic,
                           const SynthesisOptions& options, const std::atomic<bool>* cancel) {
    const EngineText whole =
        BuildEngineText(text, chunk, dic, options.analyzerFolder, options.notation.get());
    const std::vector<EngineText> parts = SplitEngineText(whole);
    ChunkSound result;
    result.source = chunk;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        // Each part is one engine run; between two of them a pause as at a comma.
        SynthesisOptions partOptions = options;
        if (k > 0) {
            partOptions.maxLeadSilenceMs = std::min(options.maxLeadSilenceMs, kPartLeadMs);
        }
        if (k + 1 < parts.size()) {
            partOptions.maxTailSilenceMs = std::min(options.maxTailSilenceMs, kPartTailMs);
        }
        ChunkSound said = SayEngineText(parts[k], SpanOf(parts[k], chunk), partOptions, cancel);
        if (!said.error.empty()) {
            said.source = chunk;
            return said;
        }
        const auto offset = static_cast<std::int64_t>(result.pcm.size());
        for (NaturalUnit& unit : said.units) {
            unit.startFrame += offset;
            unit.endFrame += offset;
            result.units.push_back(std::move(unit));
        }
        result.pcm.insert(result.pcm.end(), said.pcm.begin(), said.pcm.end());
    }
    return result;
}

} // namespace yomi6::natural
