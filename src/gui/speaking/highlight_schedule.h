// Shows each speech highlight when its sample starts to sound rather than when its tick ran:
// the sound output plays every sample a fixed latency after its tick, and the highlight keeps
// in step with what is heard. Highlights wait in order; each is handed on at its moment.
#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <deque>

namespace yomi6 {

class SpeechListener;

// What the document of the view that owns a reading is given of each unit when it sounds.
struct SpeechHighlight {
    const QObject* owner = nullptr;     // the view that started the reading
    SpeechListener* listener = nullptr; // its document, or none (a reading of no document)
    int unitBegin = -1;                 // -1: no highlight
    int unitEnd = -1;
    int wordBegin = -1;
    int wordEnd = -1;
    int unitOffset = 0; // the unit's place in the reading of its source range
    int unitLength = 0;
    std::chrono::steady_clock::time_point onset{}; // when its sample starts to sound
};

// The document of the view that owns a reading: it is handed each of its units as it sounds,
// and the highlight with every field -1 when nothing is being heard any more.
class SpeechListener {
public:
    virtual void UnitHeard(const SpeechHighlight& unit) = 0;

protected:
    ~SpeechListener() = default;
};

class HighlightSchedule : public QObject {
    Q_OBJECT
public:
    using Clock = std::chrono::steady_clock;

    explicit HighlightSchedule(QObject* parent = nullptr);

    // Hands highlight on at moment at: at once when that moment has come.
    void Add(const SpeechHighlight& highlight, Clock::time_point at);
    // Forgets the highlights still waiting, or those of one owner (that goes away).
    void Clear();
    void Forget(const QObject* owner);
    // Forgets the highlights due at moment at or later (what is not heard before a pause).
    void DropFrom(Clock::time_point at);
    bool IsEmpty() const { return m_waiting.empty(); }

signals:
    void due(const yomi6::SpeechHighlight& highlight);

private:
    void ShowDue();
    void Arm();

    struct Waiting {
        SpeechHighlight highlight;
        Clock::time_point at;
    };
    std::deque<Waiting> m_waiting;
    QTimer m_timer;
};

} // namespace yomi6
