#include "speech_session/engine_feed.h"

#include <algorithm>

namespace yomi6 {

std::size_t KeptBlock::SourceBegin() const {
    std::size_t begin = units.empty() ? 0 : units.front().sourceBegin;
    for (const SpokenUnit& u : units) {
        begin = std::min(begin, u.sourceBegin);
    }
    return begin;
}

std::size_t KeptBlock::SourceEnd() const {
    std::size_t end = 0;
    for (const SpokenUnit& u : units) {
        end = std::max(end, u.sourceEnd);
    }
    return end;
}

EngineFeed::EngineFeed(std::unique_ptr<SpeechEngine> engine,
                       std::shared_ptr<const std::string> text, std::size_t from, std::size_t ahead,
                       std::function<void()> onReady)
    : m_engine(std::move(engine)), m_text(std::move(text)),
      m_ahead(std::max<std::size_t>(ahead, 1)), m_onReady(std::move(onReady)) {
    m_thread = std::thread([this, from] {
        EngineSink sink;
        sink.onBlock = [this](const SoundBlock& block) { return Keep(block); };
        EngineResult result = m_engine->Say(EngineText{*m_text, from}, sink);
        {
            const std::lock_guard lock(m_mutex);
            m_result = std::move(result);
            m_ended = true;
        }
        if (m_onReady) {
            m_onReady();
        }
    });
}

EngineFeed::~EngineFeed() {
    Stop(StopAt::Now);
    m_thread.join();
}

bool EngineFeed::Keep(const SoundBlock& block) {
    auto kept = std::make_shared<KeptBlock>();
    auto pcm = std::make_shared<std::vector<std::int16_t>>();
    if (block.sixteen != nullptr) {
        pcm->assign(block.sixteen, block.sixteen + block.count);
    } else if (block.eight != nullptr) {
        pcm->reserve(block.count);
        for (std::size_t i = 0; i < block.count; ++i) {
            pcm->push_back(static_cast<std::int16_t>((block.eight[i] - 128) * 256));
        }
    }
    kept->pcm = std::move(pcm);
    kept->startFrame = block.startFrame;
    kept->says.reserve(block.units.size()); // no reallocation: the units point into it
    for (const SpokenUnit& unit : block.units) {
        SpokenUnit& copy = kept->units.emplace_back(unit);
        copy.says = kept->says.emplace_back(unit.says);
    }
    {
        std::unique_lock lock(m_mutex);
        m_room.wait(lock, [this] { return m_stopNow || m_draining || m_blocks.size() < m_ahead; });
        if (m_stopNow) {
            return false;
        }
        m_blocks.push_back(std::move(kept));
    }
    if (m_onReady) {
        m_onReady();
    }
    return true;
}

EngineFeed::Taken EngineFeed::TryNext() {
    const std::lock_guard lock(m_mutex);
    if (m_blocks.empty()) {
        return {nullptr, m_ended};
    }
    Taken taken{std::move(m_blocks.front()), false};
    m_blocks.pop_front();
    m_room.notify_all();
    return taken;
}

void EngineFeed::Stop(StopAt at) {
    m_engine->Stop(at);
    const std::lock_guard lock(m_mutex);
    (at == StopAt::Now ? m_stopNow : m_draining) = true;
    m_room.notify_all();
}

EngineResult EngineFeed::Result() const {
    const std::lock_guard lock(m_mutex);
    return m_result;
}

bool EngineFeed::IsDone() const {
    const std::lock_guard lock(m_mutex);
    return m_ended;
}

} // namespace yomi6
