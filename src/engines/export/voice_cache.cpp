#include "export/voice_cache.h"

#include "export/engine_factory.h"

#include <filesystem>

namespace yomi6 {

VoiceLoad::VoiceLoad(std::function<synthesis::HtsVoice::Loaded()> load)
    : m_thread([this, load = std::move(load)] {
          synthesis::HtsVoice::Loaded loaded = load();
          {
              const std::lock_guard lock(m_mutex);
              m_loaded = std::move(loaded);
          }
          m_changed.notify_all();
      }) {}

VoiceLoad::~VoiceLoad() {
    m_thread.join();
}

const synthesis::HtsVoice::Loaded* VoiceLoad::Wait(const std::function<bool()>& stopped) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_loaded.has_value() || stopped(); });
    return m_loaded.has_value() ? &*m_loaded : nullptr;
}

void VoiceLoad::Wake() {
    // Under the lock, so that a Wait between asking stopped and sleeping cannot miss it.
    { const std::lock_guard lock(m_mutex); }
    m_changed.notify_all();
}

bool VoiceLoad::Ready() const {
    const std::lock_guard lock(m_mutex);
    return m_loaded.has_value();
}

void NaturalVoiceCache::Prepare(const natural::NaturalPassOptions& options) {
    Voice(options);
}

std::shared_ptr<VoiceLoad> NaturalVoiceCache::Voice(const natural::NaturalPassOptions& options) {
    // The four styles lie in one folder and are loaded together: a style of the same folder
    // needs no loading.
    const std::string folder =
        std::filesystem::path(options.synthesis.setup.voiceFile).parent_path().string();
    const std::lock_guard lock(m_mutex);
    if (m_load == nullptr || m_folder != folder) {
        m_folder = folder;
        m_load = std::make_shared<VoiceLoad>([options] { return LoadNaturalVoice(options); });
    }
    return m_load;
}

} // namespace yomi6
