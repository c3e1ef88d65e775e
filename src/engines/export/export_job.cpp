#include "export/export_job.h"

#include "export/sample_engine.h"
#include "export/unit_timings.h"
#include "io/atomic_output_file.h"
#include "voice/voice_table.h"
#include "voice/voice_units.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <utility>
#include <vector>

namespace yomi6 {

namespace {

// Whether a unit says anything that sounds: a mora, or a sample other than the pause, which is
// near-silence.
bool Sounds(std::string_view says) {
    for (const std::string_view prefix : {kMalePrefix, kFemalePrefix}) {
        if (says.starts_with(prefix)) {
            return says.substr(prefix.size()) != kPauseSuffix;
        }
    }
    return !says.empty();
}

std::string NothingToExport(std::size_t from, std::size_t to) {
    return "nothing to export: there is no text to read between byte " + std::to_string(from) +
           " and byte " + std::to_string(to);
}

// The three files are one result: each is completed (flushed to the disk, where a full disk
// shows) before any of them is renamed, and then they are renamed all or none, the side files
// first, so that once the sound file appears everything is there. False with the file it
// concerns in where.
// With pending, the completed files are handed to it instead, to be renamed with others later.
bool CommitExport(std::unique_ptr<AudioFileWriter> audio,
                  std::unique_ptr<AtomicOutputFile> subtitles,
                  std::unique_ptr<AtomicOutputFile> timings, const ExportOutputs& outputs,
                  PendingExportFiles* pending, std::string& where, std::string& error) {
    PendingExportFiles own;
    PendingExportFiles& files = pending != nullptr ? *pending : own;
    for (auto [side, name] :
         {std::pair{&subtitles, &outputs.subtitles}, std::pair{&timings, &outputs.timings}}) {
        if ((*side)->IsOpen()) {
            if (!(*side)->Complete(error)) {
                where = *name;
                return false;
            }
            files.sides.push_back(std::move(*side));
        }
    }
    where = outputs.audio;
    if (!audio->Complete(error)) {
        return false;
    }
    files.sounds.push_back(std::move(audio));
    return pending != nullptr || CommitPendingExport(own, error);
}

// Writes the sound of block, as the engine made it.
bool WriteSound(AudioFileWriter& audio, const SoundBlock& block, std::string& error) {
    if (block.count == 0) {
        return true;
    }
    return block.sixteen != nullptr ? audio.Write(block.sixteen, block.count, error)
                                    : audio.Write(block.eight, block.count, error);
}

} // namespace

bool EndsWithNoCase(std::string_view name, std::string_view suffix) {
    if (name.size() <= suffix.size()) {
        return false;
    }
    const std::string_view tail = name.substr(name.size() - suffix.size());
    return std::equal(tail.begin(), tail.end(), suffix.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

PendingExportFiles::PendingExportFiles() = default;
PendingExportFiles::~PendingExportFiles() = default;
PendingExportFiles::PendingExportFiles(PendingExportFiles&&) noexcept = default;

bool CommitPendingExport(PendingExportFiles& files, std::string& error) {
    std::vector<AtomicOutputFile*> together;
    for (const auto& side : files.sides) {
        together.push_back(side.get());
    }
    for (const auto& sound : files.sounds) {
        together.push_back(&sound->File());
    }
    const bool done = CommitTogether(together, error);
    files = PendingExportFiles();
    return done;
}

std::optional<SubtitleFormat> SubtitleFormatForPath(std::string_view path) {
    if (EndsWithNoCase(path, ".srt")) {
        return SubtitleFormat::Srt;
    }
    if (EndsWithNoCase(path, ".vtt")) {
        return SubtitleFormat::WebVtt;
    }
    return std::nullopt;
}

std::string CheckExportNames(const ExportOutputs& outputs) {
    if (!AudioFormatForPath(outputs.audio)) {
        return "the sound file's name must end in .wav, .flac, .ogg, .opus or .mp3: '" +
               outputs.audio + "'";
    }
    if (!outputs.subtitles.empty() && !SubtitleFormatForPath(outputs.subtitles)) {
        return "the subtitle file's name must end in .srt or .vtt: '" + outputs.subtitles + "'";
    }
    if (!outputs.timings.empty() && !EndsWithNoCase(outputs.timings, ".json")) {
        return "the timings file's name must end in .json: '" + outputs.timings + "'";
    }
    return {};
}

ExportJobResult Failed(ExportJobResult result, std::string where, std::string error) {
    result.status = ExportStatus::Failed;
    result.where = std::move(where);
    result.error = std::move(error);
    return result;
}

ExportJobResult RunExportJob(const ExportRequest& request, const ExportOutputs& outputs,
                             const ExportProgressCallback& progress) {
    SampleEngine engine(request);
    return RunExportJob(
        engine,
        ExportText{request.text, request.from, request.to, request.setup.aozora, request.standIns},
        outputs, progress);
}

ExportJobResult RunExportJob(SpeechEngine& engine, const ExportText& text,
                             const ExportOutputs& outputs, const ExportProgressCallback& progress,
                             PendingExportFiles* pending) {
    ExportJobResult result;
    if (const std::string problem = CheckExportNames(outputs); !problem.empty()) {
        return Failed(result, outputs.audio, problem);
    }
    const std::size_t to = std::min(text.to, text.text.size());
    const std::size_t from = std::min(text.from, to);
    if (from == to) {
        result.nothingToExport = true;
        return Failed(result, {}, NothingToExport(from, to));
    }
    std::string error;
    auto audioFile = std::make_unique<AudioFileWriter>();
    if (!audioFile->Open(outputs.audio, *AudioFormatForPath(outputs.audio), engine.SampleRate(),
                         engine.Bits(), error)) {
        return Failed(result, outputs.audio, error);
    }
    auto subtitlesFile = std::make_unique<AtomicOutputFile>();
    auto timingsFile = std::make_unique<AtomicOutputFile>();
    AtomicOutputFile& subtitles = *subtitlesFile;
    AtomicOutputFile& timings = *timingsFile;
    const std::optional<SubtitleFormat> subtitleFormat = SubtitleFormatForPath(outputs.subtitles);
    if (!outputs.subtitles.empty() && (!subtitles.Open(outputs.subtitles, error) ||
                                       !subtitles.Write(SubtitleHeader(*subtitleFormat), error))) {
        return Failed(result, outputs.subtitles, error);
    }
    const TimingsLayout layout = TimingsLayoutOf(engine.SampleRate(), engine.Capabilities());
    if (!outputs.timings.empty() &&
        (!timings.Open(outputs.timings, error) || !timings.Write(TimingsHead(layout), error))) {
        return Failed(result, outputs.timings, error);
    }

    std::string failedFile;
    std::int64_t cueNumber = 0;
    // The cue builder's tick length serves only ticks; units bring their own ends.
    SubtitleCueBuilder cues(text.text, text.from, text.to, 0, [&](const SubtitleCue& cue) {
        if (subtitles.Write(FormatCue(cue, ++cueNumber, *subtitleFormat), error)) {
            return true;
        }
        failedFile = outputs.subtitles;
        return false;
    });
    cues.ShowWithoutNotation(text.withoutNotation);
    cues.ShowStandIns(text.standIns);
    bool firstUnit = true;
    bool anythingSaid = false;
    EngineSink sink;
    // Asked every few hundred units as well as when the engine reports, so that a cancel takes
    // effect within a fraction of a second even where one pass takes seconds to encode.
    constexpr std::int64_t kProgressUnits = 256;
    auto addUnit = [&](const SpokenUnit& unit) {
        if (progress && unit.index % kProgressUnits == 0 &&
            !progress(std::clamp(unit.sourceBegin, from, to) - from, to - from)) {
            return false;
        }
        anythingSaid = anythingSaid || Sounds(unit.says);
        if (subtitles.IsOpen() && !cues.Add(unit)) {
            return false;
        }
        if (timings.IsOpen()) {
            if (!timings.Write(TimingsEntry(layout, unit, firstUnit), error)) {
                failedFile = outputs.timings;
                return false;
            }
            firstUnit = false;
        }
        return true;
    };
    sink.onBlock = [&](const SoundBlock& block) {
        for (const SpokenUnit& unit : block.units) {
            if (!addUnit(unit)) {
                return false;
            }
        }
        if (WriteSound(*audioFile, block, error)) {
            return true;
        }
        failedFile = outputs.audio;
        return false;
    };
    sink.onProgress = progress;

    const EngineResult run = engine.Say(EngineText{text.text, text.from, text.to}, sink);
    result.ticks = run.units;
    result.samples = run.frames;
    if (run.status == ExportStatus::Failed) {
        return Failed(result, {}, run.error); // the speech failed: no file is to blame
    }
    if (run.status == ExportStatus::Stopped) {
        if (!failedFile.empty()) {
            return Failed(result, failedFile, error);
        }
        result.status = ExportStatus::Stopped;
        return result;
    }
    // Nothing that sounds was said: the sample voices read only the ending tick, or only bytes
    // that are silent (blanks, an unknown kanji in the dictionary reading) or pauses (the
    // indent of Aozora notes), the natural voice only pauses. The sound would be silence.
    if (run.frames == 0 || !anythingSaid) {
        result.nothingToExport = true;
        return Failed(result, {}, NothingToExport(from, to));
    }
    if (subtitles.IsOpen() && !cues.Finish()) {
        return Failed(result, outputs.subtitles, error);
    }
    if (timings.IsOpen() && !timings.Write(TimingsTail(), error)) {
        return Failed(result, outputs.timings, error);
    }
    if (std::string where; !CommitExport(std::move(audioFile), std::move(subtitlesFile),
                                         std::move(timingsFile), outputs, pending, where, error)) {
        return Failed(result, where, error);
    }
    return result;
}

} // namespace yomi6
