// The recorder: a guided session over the units of a voice. It shows the unit's kana large with
// a word that holds it; Space starts and ends a take from the default input; the take is cut to
// the voice, levelled to the built-in voices, written to the voice folder at once and played
// back. Space again records the unit anew; Enter or the right arrow goes on to the next unit,
// the left arrow back. A session over a folder that already holds takes starts at the first
// unit it lacks.
#pragma once

#include "voice/recording_session.h"

#include <QDialog>
#include <QTimer>

#include <cstdint>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;

namespace yomi6 {

class AudioCapture;
class TakePlayer;

class RecorderDialog : public QDialog {
    Q_OBJECT
public:
    RecorderDialog(const QString& folder, QWidget* parent = nullptr);
    ~RecorderDialog() override;

    // Makes the folder ready; shows why in a message box and returns false when it cannot be.
    bool OpenSession();

    std::size_t CurrentUnit() const { return m_index; }
    const RecordingSession& Session() const { return m_session; }
    bool IsRecording() const;
    // Bytes the input has delivered in the running take.
    qsizetype BytesReceived() const;
    QLabel* KanaLabel() const { return m_kana; }
    QLabel* StatusLabel() const { return m_status; }
    const std::vector<std::int16_t>& LastTake() const { return m_take; }

    // Closing, however it is done, ends the sound first: a running take is dropped (only a
    // finished take is kept) and the playback stops, so that no audio object outlives the
    // window's visible life or is torn down while the window is.
    void done(int result) override;

signals:
    // A take was handled: kept (true) or found empty (false).
    void takeDone(bool kept);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ToggleRecording();
    void StartTake();
    void EndTake();
    void Show(std::size_t index);
    void StopSound();

    RecordingSession m_session;
    std::size_t m_index = 0;
    AudioCapture* m_capture;
    TakePlayer* m_player;
    QTimer m_limit;
    std::vector<std::int16_t> m_take;
    QLabel* m_kana;
    QLabel* m_example;
    QLabel* m_position;
    QLabel* m_status;
    QProgressBar* m_level;
    QPushButton* m_recordButton;
    QPushButton* m_playButton;
    QPushButton* m_prevButton;
    QPushButton* m_nextButton;
};

} // namespace yomi6
