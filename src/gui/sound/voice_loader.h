// Loads a voice folder on a thread of its own, so that the window never waits for the disk; the
// progress and the result arrive as signals on the loader's thread.
#pragma once

#include "voice/voice_folder.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QThread;

namespace yomi6 {

class VoiceLoader : public QObject {
    Q_OBJECT
public:
    explicit VoiceLoader(QObject* parent = nullptr);
    // Cancels a load that still runs and waits for its thread.
    ~VoiceLoader() override;

    // Starts loading folder; a load still running is cancelled and its result never arrives.
    void Load(const QString& folder);
    void Cancel();
    bool IsLoading() const { return m_thread != nullptr; }

signals:
    void progress(int done, int total);
    void loaded(const QString& folder, std::shared_ptr<const yomi6::FolderVoice> voice);

private:
    void Finish();

    QThread* m_thread = nullptr;
    std::shared_ptr<std::atomic<bool>> m_cancel;
};

} // namespace yomi6
