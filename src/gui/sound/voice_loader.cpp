#include "sound/voice_loader.h"

#include <QPointer>
#include <QThread>

namespace yomi6 {

VoiceLoader::VoiceLoader(QObject* parent) : QObject(parent) {}

VoiceLoader::~VoiceLoader() {
    Cancel();
}

void VoiceLoader::Cancel() {
    if (m_thread == nullptr) {
        return;
    }
    m_cancel->store(true);
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
}

void VoiceLoader::Load(const QString& folder) {
    Cancel();
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    m_cancel = cancel;
    const std::string path = folder.toStdString();
    QPointer<VoiceLoader> self(this);
    m_thread = QThread::create([self, cancel, path, folder] {
        auto voice = LoadVoiceFolder(path, [&](std::size_t done, std::size_t total) {
            QMetaObject::invokeMethod(
                self,
                [self, cancel, done, total] {
                    if (self && !cancel->load()) {
                        emit self->progress(static_cast<int>(done), static_cast<int>(total));
                    }
                },
                Qt::QueuedConnection);
            return !cancel->load();
        });
        QMetaObject::invokeMethod(
            self,
            [self, cancel, folder, voice] {
                if (self && !cancel->load()) {
                    self->Finish();
                    emit self->loaded(folder, voice);
                }
            },
            Qt::QueuedConnection);
    });
    m_thread->setObjectName(QStringLiteral("yomi6 voice loader"));
    m_thread->start();
}

void VoiceLoader::Finish() {
    if (m_thread != nullptr) {
        m_thread->wait();
        delete m_thread;
        m_thread = nullptr;
    }
}

} // namespace yomi6
