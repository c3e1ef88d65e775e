// Drives speech in the editor: the speak command starts the speech timer, each tick asks the core
// what to play and hands it to the sample player. One for the whole program, as there is one
// speech at a time, whichever view started it.
#pragma once

#include <QByteArray>
#include <QObject>

#include <memory>

namespace yomi6 {

class SamplePlayer;
class SpeechTimer;

class SpeechController : public QObject {
    Q_OBJECT
public:
    static SpeechController& Instance();
    ~SpeechController() override;

    // The speak command of owner with its text as code page 932 bytes (CR LF line ends).
    void Speak(const QObject* owner, const QByteArray& text);
    // The stop command.
    void Stop();
    // A view lost activation: speech stops after one more unit.
    void ViewDeactivated(const QObject* view);
    // A view is going away: if its timer runs, the timer goes with it.
    void ViewDestroyed(const QObject* view);

    // Stops the timer and closes the sound output while the application still exists (the
    // controller itself lives until the end of the process).
    void Shutdown();

    bool IsTimerRunning() const;
    // The player, created when first needed (its output opens in the background); exposed for
    // tests.
    SamplePlayer& Player();

signals:
    // The speaking flag may have changed: enabling of the speak command is to be refreshed.
    void stateChanged();
    // A tick handed this sample to the player (empty: the tick played nothing).
    void ticked(const QString& sample);
    // The player has no sound output (none, a server that does not answer, or one that went
    // away): speech goes on in silence. Once per player.
    void soundUnavailable();

private:
    SpeechController();
    void OnTick();

    std::unique_ptr<SpeechTimer> m_timer;
    std::unique_ptr<SamplePlayer> m_player;
    const QObject* m_owner = nullptr;
};

} // namespace yomi6
