#include "natural/chunk_synthesis.h"

#include "natural/temp_folder.h"
#include "voice/sample_edit.h"
#include "wave/pcm_convert.h"
#include "wave/wave_decoder.h"

#include <algorithm>
#include <fstream>
#include <span>
#include <sstream>
#include <utility>

namespace yomi6::natural {

namespace {

bool ReadWhole(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream s;
    s << in.rdbuf();
    out = s.str();
    return static_cast<bool>(in) || in.eof();
}

// The engine's sound as mono floats, with its rate; false when it is not a sound file. Read by
// the decoder the voice folders use, which checks the header against the file.
bool ReadSound(const std::string& path, std::vector<float>& mono, int& rate) {
    std::string bytes;
    if (!ReadWhole(path, bytes)) {
        return false;
    }
    WaveDecodeResult decoded =
        DecodeWave(std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
    if (!decoded) {
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
    // 10^7 label units a second; rounded to the nearest frame.
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
                         const SynthesisOptions& options) {
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
    const ProcessResult run =
        RunProcess(EngineArguments(options.setup, input, wav, traceFile), limits);
    if (!run.Succeeded()) {
        // Signs the engine has no sound for (★★) end its run with this complaint: the chunk
        // has nothing to say, which is no failure.
        if (run.exitCode == 1 && run.err.find("No phoneme") != std::string::npos) {
            return result;
        }
        result.error = "the engine " + DescribeFailure(run);
        return result;
    }
    std::string traceText;
    if (!ReadWhole(traceFile, traceText)) {
        result.error = "the engine wrote no trace";
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
    if (!ReadSound(wav, mono, rate)) {
        result.error = "the engine wrote no readable sound";
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
                           const SynthesisOptions& options) {
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
        ChunkSound said = SayEngineText(parts[k], SpanOf(parts[k], chunk), partOptions);
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
