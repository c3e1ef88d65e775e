#include "natural/natural_pass.h"

#include "aozora/aozora_notation.h"
#include "aozora/aozora_reading.h"
#include "io/temporary_registry.h"

#include <algorithm>
#include <memory>

namespace yomi6::natural {

// Four entries an engine run (its folder, input, sound, trace), six an export's own.
static_assert(kMaxWorkers * 4 + 6 <= kMaxNotedTemporaries);

namespace {

// options, with the notation of text when it is read as Aozora notation.
NaturalPassOptions WithNotation(NaturalPassOptions options, std::string_view text) {
    if (options.aozora) {
        options.synthesis.notation = std::make_shared<const AozoraNotation>(
            WithRecurringRubies(ParseAozoraNotation(text), text));
    } else {
        options.synthesis.notation.reset();
    }
    return options;
}

std::vector<ByteRange> ChunksOf(std::string_view text, const NaturalPassOptions& options,
                                std::size_t* particleCut) {
    return TextChunks(text, options.synthesis.notation.get(), options.chunks, particleCut);
}

} // namespace

NaturalPass::NaturalPass(std::string text, std::optional<DictionaryView> dic,
                         NaturalPassOptions options, PassMessage onMessage, PassReady onReady)
    : m_text(std::move(text)), m_dic(dic), m_options(WithNotation(std::move(options), m_text)),
      m_onMessage(std::move(onMessage)), m_onReady(std::move(onReady)),
      m_chunks(ChunksOf(m_text, m_options, &m_particleCut)) {
    const unsigned workers = std::clamp<unsigned>(
        m_options.workers, 1,
        static_cast<unsigned>(std::clamp<std::size_t>(m_chunks.size(), 1, kMaxWorkers)));
    for (unsigned k = 0; k < workers; ++k) {
        m_workers.emplace_back([this] { Work(); });
    }
}

NaturalPass::~NaturalPass() {
    Stop();
    for (std::thread& t : m_workers) {
        t.join();
    }
}

void NaturalPass::Stop() {
    const std::lock_guard lock(m_mutex);
    m_stopping = true;
    m_cancel = true;
    m_changed.notify_all();
}

std::string NaturalPass::Failure() const {
    const std::lock_guard lock(m_mutex);
    return m_failure;
}

void NaturalPass::GiveUp(const std::string& why) {
    const std::lock_guard lock(m_mutex);
    GiveUpLocked(why);
}

void NaturalPass::GiveUpLocked(const std::string& why) {
    if (m_failure.empty()) {
        m_failure = why;
    }
    m_stopping = true;
    m_cancel = true;
    m_changed.notify_all();
}

void NaturalPass::Work() {
    const std::size_t ahead = std::max<std::size_t>(1, m_options.ahead);
    for (;;) {
        std::size_t index = 0;
        {
            std::unique_lock lock(m_mutex);
            // The first chunk is said alone: on a machine with few cores a second engine run
            // beside it would only delay the first sound.
            m_changed.wait(lock, [&] {
                return m_stopping || m_nextToStart >= m_chunks.size() ||
                       (m_nextToStart < m_nextToDeliver + ahead &&
                        (m_nextToStart == 0 || m_firstDone));
            });
            if (m_stopping || m_nextToStart >= m_chunks.size()) {
                return;
            }
            index = m_nextToStart++;
        }
        SynthesisOptions synthesis = m_options.synthesis;
        if (index == 0 && m_options.firstLeadSilenceMs) {
            synthesis.maxLeadSilenceMs = *m_options.firstLeadSilenceMs;
        }
        if (index == 0 && m_particleCut != 0 && m_chunks[0].end == m_particleCut) {
            synthesis.maxTailSilenceMs =
                std::min(synthesis.maxTailSilenceMs, m_options.particleTailSilenceMs);
        }
        ChunkSound sound = SynthesizeChunk(m_text, m_chunks[index], m_dic ? &*m_dic : nullptr,
                                           synthesis, &m_cancel);
        {
            const std::lock_guard lock(m_mutex);
            if (sound.timedOut && ++m_timeOuts >= kMaxTimeOuts) {
                const auto ms = m_options.synthesis.timeLimit.count();
                const std::string limit =
                    ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
                GiveUpLocked("stopped: the engine ran past its time limit of " + limit + " on " +
                             std::to_string(m_timeOuts) + " sentences, the last at bytes " +
                             std::to_string(sound.source.begin) + "-" +
                             std::to_string(sound.source.end));
            }
            m_firstDone = m_firstDone || index == 0;
            m_done.emplace(index, std::move(sound));
            m_changed.notify_all();
        }
        if (m_onReady) {
            m_onReady();
        }
    }
}

std::optional<PassChunk> NaturalPass::Next() {
    return Take(true).chunk;
}

NaturalPass::Taken NaturalPass::TryNext() {
    return Take(false);
}

NaturalPass::Taken NaturalPass::Take(bool wait) {
    for (;;) {
        ChunkSound sound;
        {
            std::unique_lock lock(m_mutex);
            const auto there = [&] {
                return m_stopping || m_nextToDeliver >= m_chunks.size() ||
                       m_done.count(m_nextToDeliver) != 0;
            };
            if (wait) {
                m_changed.wait(lock, there);
            } else if (!there()) {
                return {};
            }
            if (m_stopping) {
                return {std::nullopt, true};
            }
            if (m_nextToDeliver < m_chunks.size()) {
                auto it = m_done.find(m_nextToDeliver);
                sound = std::move(it->second);
                m_done.erase(it);
                ++m_nextToDeliver;
                m_changed.notify_all();
            } else if (m_handedOut == 0 && !m_failed.empty()) {
                GiveUpLocked(FailuresMessage());
                return {std::nullopt, true};
            } else {
                lock.unlock();
                TellFailures(); // the failures at the end of a text that was said
                return {std::nullopt, true};
            }
        }
        if (!sound.error.empty()) {
            m_failed.push_back(std::move(sound));
            if (m_failed.size() >= kMaxFailuresInARow) {
                GiveUp(FailuresMessage());
                return {std::nullopt, true};
            }
            continue;
        }
        if (sound.units.empty()) {
            continue; // nothing to say in it
        }
        TellFailures();
        ++m_handedOut;
        PassChunk chunk;
        chunk.source = sound.source;
        chunk.startFrame = m_clock;
        chunk.units = std::move(sound.units);
        for (NaturalUnit& unit : chunk.units) {
            unit.startFrame += m_clock;
            unit.endFrame += m_clock;
        }
        chunk.pcm = std::move(sound.pcm);
        m_clock += static_cast<std::int64_t>(chunk.pcm.size());
        return {std::move(chunk), false};
    }
}

void NaturalPass::TellFailures() {
    if (m_onMessage) {
        for (const ChunkSound& failed : m_failed) {
            m_onMessage(SkippedChunkMessage(failed));
        }
    }
    m_failed.clear();
}

std::string NaturalPass::FailuresMessage() const {
    const ChunkSound& first = m_failed.front();
    const std::string bytes = "bytes " + std::to_string(first.source.begin) + "-" +
                              std::to_string(m_failed.back().source.end);
    if (m_nextToDeliver >= m_chunks.size() && m_handedOut == 0) {
        return "no sentence could be said (" + bytes + "): " + first.error;
    }
    return "stopped: " + std::to_string(m_failed.size()) +
           " sentences in a row could not be said (" + bytes + "): " + first.error;
}

std::vector<ByteRange> TextChunks(std::string_view text, const AozoraNotation* notation,
                                  const ChunkLimits& limits, std::size_t* particleCut) {
    std::vector<ByteRange> whole;
    if (notation != nullptr) {
        text = text.substr(0, AozoraReadEnd(true, text, text.size()));
        for (const RubyWord& ruby : notation->ruby) {
            whole.push_back({ruby.base.begin, ruby.base.end});
        }
        for (const NotationText& gaiji : notation->gaiji) {
            whole.push_back({gaiji.range.begin, gaiji.range.end});
        }
        std::sort(whole.begin(), whole.end(),
                  [](const ByteRange& a, const ByteRange& b) { return a.begin < b.begin; });
        // A gaiji may lie in a ruby's base: one range for both.
        std::vector<ByteRange> merged;
        for (const ByteRange& r : whole) {
            if (!merged.empty() && r.begin < merged.back().end) {
                merged.back().end = std::max(merged.back().end, r.end);
            } else {
                merged.push_back(r);
            }
        }
        whole = std::move(merged);
    }
    return SplitChunks(text, limits, particleCut, whole);
}

std::string SkippedChunkMessage(const ChunkSound& sound) {
    return "bytes " + std::to_string(sound.source.begin) + "-" + std::to_string(sound.source.end) +
           " were skipped: " + sound.error;
}

} // namespace yomi6::natural
