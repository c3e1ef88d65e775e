// yomi6_onset_check: what a recording of `yomi6 --speak` says was heard.
//
//   yomi6_onset_check [--max-error-ms N] [--tolerate-late-ticks] [--list] RECORDING.raw ARGS...
//
// RECORDING.raw is the sound output recorded as signed 16-bit little-endian mono at 44100 Hz.
// ARGS are the yomi6 arguments the recorded run was given (--speak FILE --voice --speed
// --dictionary): from them the checker works out the ticks of the pass and their samples, as
// the speech timer produces them. It finds every sample in the recording by normalized
// cross-correlation with its decoded frames (those before the fade of a cut): the first one after
// the silent start, each next one near its place on the grid onset_0 + k x interval. At the place
// found the sample must match (correlation at least 0.9) and match better than every other sample
// of the voice; the last one must sound to its end, and nothing may sound before the first or after
// the last.
//
// A sample that is not near its place is looked for later: its tick was delivered late, later
// than the player could make up for. Then the following samples are looked for on the grid
// that this one starts (the timer starts a new grid after a tick later than a period) and on
// the old one. A late sample fails the check unless --tolerate-late-ticks is given; either way
// the onset errors |onset_k - (onset_0 + k x interval)| count it. The checker prints their
// distribution and drift, and exits 0 when all is as described and no error exceeds
// --max-error-ms (default 8) but those of tolerated late ticks.
#include "cli/cli_common.h"
#include "cli/cli_options.h"
#include "cli/speech_options.h"
#include "speech/playback.h"
#include "speech/sample_handover.h"
#include "speech/sample_pcm.h"
#include "speech/sample_store.h"
#include "speech/speech_state.h"
#include "speech/voice_table.h"
#include "speech/wave_image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace yomi6;
using Pcm = std::vector<std::int16_t>;

constexpr double kFramesPerMs = kOutputSampleRate / 1000.0;
// A sample counts as heard when its frames correlate with the recording at least this well.
// The output path copies frames unchanged, so a faithful recording scores 1.
constexpr double kHeardCorrelation = 0.9;
// Frames of each sample compared: enough to tell the voices' samples apart.
constexpr std::size_t kCompareFrames = 2048;
// Louder than this counts as sound; the server's silence is exact zeros.
constexpr int kQuiet = 64;
// How much later than its place a sample is looked for.
constexpr double kMaxLateMs = 300;
// The frames over which a sample cut by the next one fades out before the next one's tick.
const long kCutFade = static_cast<long>(SampleHandover(kOutputSampleRate).fadeFrames());

struct Event {
    int tick = 0;
    std::string name;
};

struct Finding {
    Event event;
    long expected = 0; // frame on the grid
    long found = 0;    // frame of the best match
    double correlation = 0;
    bool late = false;     // found only later than its place: its tick came late
    std::string bestOther; // the best-matching other sample at the place found
    double otherCorrelation = 0;
};

struct Options {
    double maxErrorMs = 8;
    bool tolerateLate = false;
    bool list = false;
    const char* sameAs = nullptr; // the same pass rendered to a file, to compare sample for sample
    const char* recording = nullptr;
    std::vector<std::string> yomi6Args;
};

std::optional<Pcm> ReadRecording(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    Pcm frames(bytes.size() / 2);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const auto lo = static_cast<unsigned char>(bytes[2 * i]);
        const auto hi = static_cast<unsigned char>(bytes[2 * i + 1]);
        frames[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
    }
    return frames;
}

const Pcm& Decoded(const std::string& name) {
    static std::map<std::string, Pcm> cache;
    auto it = cache.find(name);
    if (it == cache.end()) {
        const SampleImage image = FindSample(name);
        const auto wave = ParseWave(image.data, image.size);
        it = cache.emplace(name, wave ? DecodeSamplePcm(*wave) : Pcm{}).first;
    }
    return it->second;
}

// Normalized correlation of pattern frames [0, n) with the recording at offset; 0 where the
// pattern would leave the recording or either side is silent.
double Correlation(const Pcm& recording, long offset, const Pcm& pattern, std::size_t n) {
    if (offset < 0 || static_cast<std::size_t>(offset) + n > recording.size() || n == 0) {
        return 0;
    }
    double cross = 0;
    double energyA = 0;
    double energyB = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double a = recording[static_cast<std::size_t>(offset) + i];
        const double b = pattern[i];
        cross += a * b;
        energyA += a * a;
        energyB += b * b;
    }
    if (energyA == 0 || energyB == 0) {
        return 0;
    }
    return cross / std::sqrt(energyA * energyB);
}

// The best offset in [from, to] and its correlation.
std::pair<long, double> BestMatch(const Pcm& recording, long from, long to, const Pcm& pattern,
                                  std::size_t n) {
    std::pair<long, double> best{from, -2.0};
    for (long offset = from; offset <= to; ++offset) {
        const double c = Correlation(recording, offset, pattern, n);
        if (c > best.second) {
            best = {offset, c};
        }
    }
    return best;
}

// The ticks of one pass that play a sample, as the speech timer produces them.
std::vector<Event> PassEvents(SpeechState state) {
    std::vector<Event> events;
    for (int tick = 0;; ++tick) {
        const TickResult result = SpeechTick(state);
        if (!result.sample.empty()) {
            events.push_back({tick, std::string(result.sample)});
        }
        if (result.killTimer) {
            return events;
        }
    }
}

class Locator {
public:
    Locator(const Pcm& recording, const std::vector<Event>& events, long interval)
        : m_recording(recording), m_events(events), m_interval(interval) {}

    // Finds event i, after events 0 .. i-1 have been found.
    Finding Locate(std::size_t i) {
        const Event& event = m_events[i];
        const Pcm& pcm = Decoded(event.name);
        // Compare the frames that sound before the next sample cuts this one (which fades it
        // out over the last frames before its tick).
        const long untilNext = i + 1 < m_events.size()
                                   ? (m_events[i + 1].tick - event.tick) * m_interval - kCutFade
                                   : 1L << 30;
        const std::size_t n =
            std::min({pcm.size(), kCompareFrames, static_cast<std::size_t>(untilNext)});
        Finding finding{event, 0, 0, 0, false, {}, 0};
        if (i == 0) {
            // The first sound: where the recording's silent start ends.
            const auto loud = std::find_if(m_recording.begin(), m_recording.end(),
                                           [](std::int16_t v) { return std::abs(v) > kQuiet; });
            const long firstLoud = loud - m_recording.begin();
            std::tie(finding.found, finding.correlation) =
                BestMatch(m_recording, std::max(0L, firstLoud - static_cast<long>(n)),
                          firstLoud + 64, pcm, n);
            m_onset0 = finding.found - event.tick * m_interval;
            finding.expected = finding.found;
            return finding;
        }
        // Near its place on the grid, never as far as a neighbour's place; on the grid before
        // the last late sample, should that one have been late alone.
        const long window = std::min(std::lround(30 * kFramesPerMs), m_interval * 45 / 100);
        for (const long onset0 : {m_onset0, m_previousOnset0}) {
            finding.expected = onset0 + event.tick * m_interval;
            std::tie(finding.found, finding.correlation) = BestMatch(
                m_recording, finding.expected - window, finding.expected + window, pcm, n);
            if (finding.correlation >= kHeardCorrelation) {
                m_onset0 = onset0;
                return finding;
            }
        }
        // Later, but not as late as the next place of the same sample.
        finding.expected = m_onset0 + event.tick * m_interval;
        long until = finding.expected + std::lround(kMaxLateMs * kFramesPerMs);
        for (std::size_t j = i + 1; j < m_events.size(); ++j) {
            if (m_events[j].name == event.name) {
                until = std::min(until, m_onset0 + m_events[j].tick * m_interval - window);
                break;
            }
        }
        const auto later = BestMatch(m_recording, finding.expected + window,
                                     std::max(until, finding.expected + window), pcm, n);
        if (later.second >= kHeardCorrelation) {
            std::tie(finding.found, finding.correlation) = later;
            finding.late = true;
            m_previousOnset0 = m_onset0;
            m_onset0 = later.first - event.tick * m_interval;
        }
        return finding;
    }

private:
    const Pcm& m_recording;
    const std::vector<Event>& m_events;
    long m_interval;
    long m_onset0 = 0;
    long m_previousOnset0 = 0;
};

// The best-matching sample of the voice other than the one found, at the place found.
void CompareWithOthers(const Pcm& recording, const std::vector<std::string>& voiceNames,
                       Finding& finding) {
    const Pcm& pcm = Decoded(finding.event.name);
    const std::size_t n = std::min(pcm.size(), kCompareFrames);
    for (const std::string& other : voiceNames) {
        const Pcm& otherPcm = Decoded(other);
        if (other == finding.event.name || otherPcm == pcm) {
            continue;
        }
        const double c =
            Correlation(recording, finding.found, otherPcm, std::min(n, otherPcm.size()));
        if (c > finding.otherCorrelation) {
            finding.otherCorrelation = c;
            finding.bestOther = other;
        }
    }
}

// Nothing before the first sample; the last one to its end, then nothing.
bool CheckEnds(const Pcm& recording, const std::vector<Finding>& findings) {
    const auto loud = [](std::int16_t v) { return std::abs(v) > kQuiet; };
    const Finding& last = findings.back();
    const Pcm& lastPcm = Decoded(last.event.name);
    const auto lastEnd = static_cast<std::size_t>(last.found) + lastPcm.size();
    bool ok = true;
    if (Correlation(recording, last.found, lastPcm, lastPcm.size()) < kHeardCorrelation) {
        std::printf("the last sample, %s, was not heard to its end\n", last.event.name.c_str());
        ok = false;
    }
    if (std::any_of(recording.begin(), recording.begin() + findings.front().found, loud)) {
        std::puts("sound before the first sample");
        ok = false;
    }
    if (lastEnd > recording.size() ||
        std::any_of(recording.begin() + static_cast<long>(lastEnd), recording.end(), loud)) {
        std::puts("sound after the last sample, or the recording ends before it does");
        ok = false;
    }
    return ok;
}

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(std::ceil(p * static_cast<double>(values.size())));
    return values[std::clamp<std::size_t>(index, 1, values.size()) - 1];
}

// Prints the findings that fail (all with --list) and the summary; true when none fails.
bool Report(const std::vector<Finding>& findings, const Options& options, long interval) {
    bool ok = true;
    std::vector<double> errors;
    double sumK = 0, sumE = 0, sumKK = 0, sumKE = 0;
    int late = 0;
    double lowest = 1;
    for (const Finding& f : findings) {
        const double errorMs = static_cast<double>(f.found - f.expected) / kFramesPerMs;
        errors.push_back(std::abs(errorMs));
        const double k = f.event.tick;
        sumK += k, sumE += errorMs, sumKK += k * k, sumKE += k * errorMs;
        late += f.late ? 1 : 0;
        lowest = std::min(lowest, f.correlation);
        const bool heard = f.correlation >= kHeardCorrelation;
        const bool right = f.correlation > f.otherCorrelation;
        const bool onTime = f.late ? options.tolerateLate : std::abs(errorMs) <= options.maxErrorMs;
        if (options.list || !heard || !right || !onTime) {
            std::printf("tick %d %s: error %+.2f ms, correlation %.3f (best other %s %.3f)%s\n",
                        f.event.tick, f.event.name.c_str(), errorMs, f.correlation,
                        f.bestOther.c_str(), f.otherCorrelation,
                        !heard    ? " NOT HEARD"
                        : !right  ? " WRONG SAMPLE"
                        : f.late  ? " LATE TICK"
                        : !onTime ? " OFF THE GRID"
                                  : "");
        }
        ok = ok && heard && right && onTime;
    }
    const double count = static_cast<double>(findings.size());
    const double denominator = count * sumKK - sumK * sumK;
    const double slope = denominator != 0 ? (count * sumKE - sumK * sumE) / denominator : 0;
    std::printf("samples %zu, interval %.1f ms, onset error p50 %.2f ms, p95 %.2f ms, max %.2f "
                "ms, drift %+.4f ms per tick, late ticks %d, lowest correlation %.3f\n",
                findings.size(), static_cast<double>(interval) / kFramesPerMs,
                Percentile(errors, 0.5), Percentile(errors, 0.95), Percentile(errors, 1.0), slope,
                late, lowest);
    return ok;
}

// Each sample as heard against the same sample in the rendered file, over the frames it sounds
// alone (from its onset to the fade before the next tick). The file holds the samples as stored
// (8-bit), the recording as the player sent them (16-bit, converted to the output rate), so the
// two cannot be equal frame for frame; compared is the error of the recording against the file
// brought to the same rate, relative to the file's level: one mixing rule in both gives an error
// of the order of the 8-bit quantization. Late samples are left out (their neighbour's fade fell
// elsewhere). True when no sample's relative error exceeds maxRelativeError.
bool CompareWithRendering(const Pcm& recording, const std::vector<Finding>& heard,
                          const Pcm& rendered, const std::vector<Finding>& inFile,
                          double maxRelativeError) {
    std::size_t compared = 0;
    double worst = 0;
    std::string where;
    for (std::size_t i = 0; i < heard.size() && i < inFile.size(); ++i) {
        if (heard[i].late || inFile[i].late) {
            continue;
        }
        const Pcm& pcm = Decoded(heard[i].event.name);
        long n = static_cast<long>(pcm.size());
        if (i + 1 < heard.size()) {
            n = std::min(n, inFile[i + 1].found - inFile[i].found - kCutFade);
        }
        double error = 0;
        double level = 0;
        for (long j = 0; j < n; ++j) {
            const auto r = static_cast<std::size_t>(heard[i].found + j);
            const auto f = static_cast<std::size_t>(inFile[i].found + j);
            if (r >= recording.size() || f >= rendered.size()) {
                break;
            }
            const double d = static_cast<double>(recording[r]) - rendered[f];
            error += d * d;
            level += static_cast<double>(rendered[f]) * rendered[f];
            ++compared;
        }
        const double relative = level > 0 ? std::sqrt(error / level) : (error > 0 ? 1.0 : 0.0);
        if (relative > worst) {
            worst = relative;
            where = "tick " + std::to_string(heard[i].event.tick) + " " + heard[i].event.name;
        }
    }
    std::printf("compared with the rendering: %zu frames, largest relative error %.4f%s%s\n",
                compared, worst, where.empty() ? "" : " at ", where.c_str());
    return compared > 0 && worst <= maxRelativeError;
}

int Usage() {
    std::fputs(
        "usage: yomi6_onset_check [--max-error-ms N] [--tolerate-late-ticks] [--list] "
        "[--same-as RENDERED.raw] RECORDING.raw --speak FILE [--voice male|female] [--speed MS] "
        "[--dictionary PATH]\n",
        stderr);
    return 2;
}

std::optional<Options> ParseArguments(int argc, char** argv) {
    Options options;
    int arg = 1;
    for (; arg < argc && std::string_view(argv[arg]).starts_with("--"); ++arg) {
        const std::string_view option = argv[arg];
        if (option == "--max-error-ms" && arg + 1 < argc) {
            options.maxErrorMs = std::stod(argv[++arg]);
        } else if (option == "--tolerate-late-ticks") {
            options.tolerateLate = true;
        } else if (option == "--list") {
            options.list = true;
        } else if (option == "--same-as" && arg + 1 < argc) {
            options.sameAs = argv[++arg];
        } else {
            return std::nullopt;
        }
    }
    if (arg + 1 >= argc) {
        return std::nullopt;
    }
    options.recording = argv[arg++];
    options.yomi6Args.assign(argv + arg, argv + argc);
    return options;
}

} // namespace

int main(int argc, char** argv) {
    const auto options = ParseArguments(argc, argv);
    if (!options) {
        return Usage();
    }
    const cli::ParseResult parsed = cli::ParseCommandLine(options->yomi6Args);
    if (!parsed.error.empty() || parsed.options.mode != cli::Mode::Speak) {
        return Usage();
    }
    if (cli::PrepareSpeech(parsed.options) != cli::kExitOk) {
        return 1;
    }
    cli::ApplySpeechOptions(parsed.options, g_speech);
    g_speech.repeat = kRepeatOff;
    const long interval = std::lround(SpeechTimerInterval(g_speech.speed) * kFramesPerMs);
    const std::string_view prefix = g_speech.voice != 0 ? kMalePrefix : kFemalePrefix;

    const auto recording = ReadRecording(options->recording);
    if (!recording) {
        std::fprintf(stderr, "yomi6_onset_check: cannot read %s\n", options->recording);
        return 1;
    }
    const std::vector<Event> events = PassEvents(g_speech);
    if (events.empty()) {
        std::puts("no samples in the pass");
        return 0;
    }
    std::vector<std::string> voiceNames;
    for (const std::string_view name : SampleNames()) {
        if (name.starts_with(prefix)) {
            voiceNames.emplace_back(name);
        }
    }

    Locator locator(*recording, events, interval);
    std::vector<Finding> findings;
    for (std::size_t i = 0; i < events.size(); ++i) {
        findings.push_back(locator.Locate(i));
        CompareWithOthers(*recording, voiceNames, findings.back());
    }
    const bool endsOk = CheckEnds(*recording, findings);
    bool sameOk = true;
    if (options->sameAs != nullptr) {
        const auto rendered = ReadRecording(options->sameAs);
        if (!rendered) {
            std::fprintf(stderr, "yomi6_onset_check: cannot read %s\n", options->sameAs);
            return 1;
        }
        Locator fileLocator(*rendered, events, interval);
        std::vector<Finding> inFile;
        for (std::size_t i = 0; i < events.size(); ++i) {
            inFile.push_back(fileLocator.Locate(i));
        }
        sameOk = CompareWithRendering(*recording, findings, *rendered, inFile, 0.2);
    }
    const bool ok = Report(findings, *options, interval) && endsOk && sameOk;
    std::puts(ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
