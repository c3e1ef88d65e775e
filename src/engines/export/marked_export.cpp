#include "export/marked_export.h"

#include "export/cue_sheet.h"
#include "export/export_paths.h"
#include "export/flac_marks.h"
#include "export/id3_marks.h"
#include "export/m4b_file.h"
#include "export/ogg_marks.h"
#include "io/atomic_output_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <utility>

namespace yomi6 {

namespace {

constexpr std::size_t kChunk = 1 << 20;

// Says the text part by part, each part as its own pass of the engine it wraps (as the files
// of an export cut at its chapters are said), on one clock: each part's sound and units follow
// the previous part's, so that each part starts exactly where its file would.
class PartByPart : public SpeechEngine {
public:
    PartByPart(SpeechEngine& engine, const std::vector<ExportPart>& parts)
        : m_engine(engine), m_parts(parts), m_starts(parts.size()) {}
    int SampleRate() const override { return m_engine.SampleRate(); }
    SampleBits Bits() const override { return m_engine.Bits(); }
    EngineCapabilities Capabilities() const override { return m_engine.Capabilities(); }
    EngineSettings Settings() const override { return m_engine.Settings(); }
    // The millisecond each part starts at, for the parts that made sound.
    const std::vector<std::optional<std::int64_t>>& Starts() const { return m_starts; }

protected:
    EngineResult Run(const EngineText& text, const EngineSink& sink) override {
        EngineResult total;
        std::int64_t frames = 0; // the sound of the parts before
        std::int64_t units = 0;
        const std::size_t from = m_parts.empty() ? 0 : m_parts.front().from;
        const std::size_t to = m_parts.empty() ? 0 : m_parts.back().to;
        for (std::size_t i = 0; i < m_parts.size(); ++i) {
            const ExportPart& part = m_parts[i];
            const std::int64_t offsetMs = FrameToMs(frames, m_engine.SampleRate());
            std::vector<SpokenUnit> moved;
            bool handed = true;
            EngineSink partSink;
            partSink.onBlock = [&](const SoundBlock& block) {
                moved.assign(block.units.begin(), block.units.end());
                for (SpokenUnit& unit : moved) {
                    unit.index += units;
                    unit.startFrame += frames;
                    unit.endFrame += frames;
                    unit.startMs += offsetMs;
                    unit.endMs += offsetMs;
                }
                SoundBlock shifted = block;
                shifted.startFrame += frames;
                shifted.units = moved;
                bool stopped = false;
                handed = Hand(shifted, sink, stopped);
                return handed;
            };
            if (sink.onProgress) {
                partSink.onProgress = [&](std::size_t done, std::size_t) {
                    return sink.onProgress(part.from - from + done, to - from);
                };
            }
            const EngineResult run =
                m_engine.Say(EngineText{text.text, part.from, part.to}, partSink);
            if (run.frames > 0) {
                m_starts[i] = offsetMs;
            }
            frames += run.frames;
            units += run.units;
            total.units = units;
            if (run.status != SpeechStatus::Done || !handed) {
                total.status =
                    run.status == SpeechStatus::Done ? SpeechStatus::Stopped : run.status;
                total.error = run.error;
                return total;
            }
        }
        return total;
    }

private:
    SpeechEngine& m_engine;
    const std::vector<ExportPart>& m_parts;
    std::vector<std::optional<std::int64_t>> m_starts;
};

// Reads a file chunk by chunk.
class Reader {
public:
    explicit Reader(const std::string& path) : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;
    ~Reader() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    // The next bytes into chunk (empty at the end); false with the reason in error.
    bool Next(std::string& chunk, std::string& error) {
        chunk.resize(kChunk);
        ssize_t n = -1;
        do {
            n = m_fd < 0 ? -1 : ::read(m_fd, chunk.data(), chunk.size());
        } while (n < 0 && errno == EINTR);
        if (n < 0) {
            error = std::string("cannot read the finished sound back: ") + std::strerror(errno);
            return false;
        }
        chunk.resize(static_cast<std::size_t>(n));
        return true;
    }
    // At least want bytes from the start (fewer only at the end of the file) into head.
    bool Head(std::string& head, std::size_t want, std::string& error) {
        std::string chunk;
        while (head.size() < want) {
            if (!Next(chunk, error)) {
                return false;
            }
            if (chunk.empty()) {
                break;
            }
            head += chunk;
        }
        return true;
    }

private:
    int m_fd;
};

// Copies the rest of in to out.
bool CopyRest(Reader& in, AtomicOutputFile& out, std::string& error) {
    std::string chunk;
    while (true) {
        if (!in.Next(chunk, error)) {
            return false;
        }
        if (chunk.empty() || !out.Write(chunk, error)) {
            return chunk.empty();
        }
    }
}

// Writes the sound file at source into out with marks inside it.
bool WriteMarked(AudioFormat format, const std::string& source,
                 const std::vector<ChapterMark>& marks, AtomicOutputFile& out, std::string& error) {
    Reader in(source);
    std::string head;
    if (format == AudioFormat::Flac || format == AudioFormat::Mp3) {
        if (!in.Head(head, kChunk, error)) {
            return false;
        }
        std::string front;
        std::size_t skip = 0;
        if (format == AudioFormat::Flac) {
            if (!FlacWithChapters(head, marks, front, skip, error)) {
                return false;
            }
        } else if (!Id3TagLength(head, skip, error) || !ChapterTag(marks, front, error)) {
            return false;
        }
        if (skip > head.size()) {
            error = "the finished sound's tags are cut short";
            return false;
        }
        return out.Write(front, error) && out.Write(std::string_view(head).substr(skip), error) &&
               CopyRest(in, out, error);
    }
    OggChapterWriter ogg(marks);
    std::string chunk;
    std::string pages;
    do {
        if (!in.Next(chunk, error)) {
            return false;
        }
        pages.clear();
        if (!ogg.Feed(chunk, pages, error) || !out.Write(pages, error)) {
            return false;
        }
    } while (!chunk.empty());
    return ogg.Finish(error);
}

// Flushes the file at path to the disk, as written by another program.
bool SyncFile(const std::string& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (!synced) {
        error = std::string("cannot flush the file: ") + std::strerror(errno);
    }
    if (fd >= 0) {
        ::close(fd);
    }
    return synced;
}

// Makes the .m4b out from the finished sound at source with ffmpeg.
bool WriteM4b(const std::string& ffmpeg, const std::string& source,
              const std::vector<ChapterMark>& marks, M4bRun& run, AtomicOutputFile& out,
              std::string& error) {
    AtomicOutputFile metadata;
    if (!metadata.Open(out.Target() + ".ffmeta", error) ||
        !metadata.Write(FfmetadataText(marks), error) || !metadata.Complete(error)) {
        return false;
    }
    // ffmpeg writes the output's temporary file in place; it is flushed to the disk here and
    // completed by the caller like every other output.
    return EncodeM4b(ffmpeg, source, metadata.TempPath(), out.TempPath(), run, error) &&
           SyncFile(out.TempPath(), error);
}

} // namespace

std::vector<ChapterMark> MarksOfParts(const std::vector<ExportPart>& parts,
                                      const std::vector<std::optional<std::int64_t>>& starts,
                                      std::int64_t totalMs, const std::string& untitled) {
    std::vector<ChapterMark> marks;
    if (parts.size() == 1 && parts.front().title.empty()) {
        return marks;
    }
    for (std::size_t i = 0; i < parts.size() && i < starts.size(); ++i) {
        if (!starts[i] || *starts[i] >= totalMs) {
            continue;
        }
        const std::int64_t start = marks.empty() ? 0 : *starts[i];
        if (!marks.empty()) {
            if (start <= marks.back().startMs) {
                continue;
            }
            marks.back().endMs = start;
        }
        marks.push_back({start, totalMs, parts[i].title.empty() ? untitled : parts[i].title});
    }
    return marks;
}

bool IsM4bPath(std::string_view path) {
    return EndsWithNoCase(path, ".m4b");
}

ExportJobResult RunMarkedExport(SpeechEngine& engine, const ExportText& text,
                                const ExportOutputs& outputs,
                                const ExportProgressCallback& progress,
                                std::vector<std::string>* paths, const std::string& ffmpeg,
                                const std::atomic<bool>* cancel) {
    ExportJobResult result;
    const bool m4b = IsM4bPath(outputs.audio);
    const std::string encoder = !m4b || !ffmpeg.empty() ? ffmpeg : FindProgramOnPath("ffmpeg");
    if (m4b && encoder.empty()) {
        return Failed(result, outputs.audio,
                      "an .m4b file is made by ffmpeg, which is not installed (not "
                      "found on PATH); choose .flac, .opus, .ogg or .mp3 instead");
    }
    ExportOutputs inner = outputs;
    if (m4b) {
        inner.audio += ".flac"; // the sound ffmpeg encodes: only ever a temporary file
    } else if (const std::string problem = CheckExportNames(outputs); !problem.empty()) {
        return Failed(
            result, outputs.audio,
            "the sound file's name must end in .wav, .flac, .ogg, .opus, .mp3 or .m4b: '" +
                outputs.audio + "'");
    }
    const std::size_t to = std::min(text.to, text.text.size());
    const std::size_t from = std::min(text.from, to);
    const std::vector<ExportPart> parts = ChapterParts(text.text, from, to);
    PartByPart watch(engine, parts);
    PendingExportFiles pending;
    result = RunExportJob(watch, text, inner, progress, &pending);
    if (result.status != ExportStatus::Done) {
        return result;
    }
    const std::int64_t totalMs = FrameToMs(result.samples, engine.SampleRate());
    const std::vector<ChapterMark> marks =
        MarksOfParts(parts, watch.Starts(), totalMs, std::string(NameStem(outputs.audio)));
    std::string error;
    std::vector<std::string> written;
    for (const std::string* path : {&outputs.subtitles, &outputs.timings}) {
        if (!path->empty()) {
            written.push_back(*path);
        }
    }
    if (!marks.empty()) {
        auto cue = std::make_unique<AtomicOutputFile>();
        const std::string cuePath = CueSheetPath(outputs.audio);
        if (!cue->Open(cuePath, error) || !cue->Write(CueSheetText(outputs.audio, marks), error) ||
            !cue->Complete(error)) {
            return Failed(result, cuePath, error);
        }
        pending.sides.push_back(std::move(cue));
        written.push_back(cuePath);
    }
    const std::optional<AudioFormat> format = AudioFormatForPath(inner.audio);
    if (m4b || (!marks.empty() && format != AudioFormat::Wav)) {
        std::unique_ptr<AudioFileWriter> sound = std::move(pending.sounds.back());
        pending.sounds.pop_back();
        auto marked = std::make_unique<AtomicOutputFile>();
        // AAC encodes far faster than the sound plays; the limit leaves room for a loaded
        // machine.
        M4bRun m4bRun;
        m4bRun.limit = std::chrono::milliseconds{120000 + totalMs / 4};
        m4bRun.cancel = cancel;
        const std::string& source = sound->File().TempPath();
        if (!marked->Open(outputs.audio, error) ||
            !(m4b ? WriteM4b(encoder, source, marks, m4bRun, *marked, error)
                  : WriteMarked(*format, source, marks, *marked, error)) ||
            !marked->Complete(error)) {
            if (m4bRun.cancelled) {
                result.status = ExportStatus::Stopped;
                return result;
            }
            return Failed(result, outputs.audio, error);
        }
        pending.sides.push_back(std::move(marked));
    }
    written.push_back(outputs.audio);
    if (!CommitPendingExport(pending, error)) {
        return Failed(result, outputs.audio, error);
    }
    if (paths != nullptr) {
        *paths = std::move(written);
    }
    return result;
}

} // namespace yomi6
