// The voices the program knows and which one each slot speaks with: the two built-in voices, the
// natural voice (as recorded and lowered, in a style), the voice folders installed with the
// program, the folders under the user's voices directory and the folders the user added. Keeps the
// choice in the settings file and loads the chosen folders in the background into the voice
// selection that the speech player plays from (the run's, AppContext::Voices).
#pragma once

#include "natural/voice_choice.h"
#include "settings/dialogue_voice.h"
#include "settings/voice_settings.h"
#include "sound/voice_loader.h"
#include "voice/voice_selection.h"
#include "voice_manager/natural_voice.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

namespace yomi6 {

class VoiceLibrary : public QObject {
    Q_OBJECT
public:
    // Assigns the slots of voices, which belongs to the caller and outlives the library.
    explicit VoiceLibrary(VoiceSelection& voices);

    // A voice as the settings name it: kBuiltInMale, kBuiltInFemale, a natural voice
    // (natural::VoiceChoiceValue) or a folder path.
    static const QString kBuiltInMale;
    static const QString kBuiltInFemale;

    struct Entry {
        QString value; // as stored
        QString label; // as shown
        bool isFolder = false;
        bool isNatural = false; // value names the natural voice in its neutral style
    };
    // The built-in voices, the natural voice in its two variants, the installed folders, the
    // folders under VoicesDirectory() and the added folders.
    QList<Entry> Entries() const;
    static QString VoicesDirectory();

    QString SlotValue(VoiceSlot slot) const { return m_slots[Index(slot)]; }
    // The natural voice the slot speaks with, or none when it speaks with samples.
    std::optional<natural::VoiceChoice> NaturalChoice(VoiceSlot slot) const;
    // Where the natural voice's engine and files are looked for in this run.
    NaturalInstall& Natural() { return m_natural; }
    const NaturalInstall& Natural() const { return m_natural; }
    QStringList AddedFolders() const { return m_added; }
    // The natural voice's pitch, intonation and style weight, for both slots; Apply keeps them.
    const NaturalControls& Controls() const { return m_controls; }
    void SetControls(const NaturalControls& controls) { m_controls = ClampedControls(controls); }
    // The natural voice's pauses at the text's marks, kept with the controls.
    const PauseTable& Pauses() const { return m_pauses; }
    void SetPauses(const PauseTable& pauses) { m_pauses = ClampedPauses(pauses); }
    // Who says the lines in 「」 and 『』; Apply keeps it.
    DialogueVoice Dialogue() const { return m_dialogue; }
    void SetDialogue(DialogueVoice voice) { m_dialogue = voice; }
    // Whether the settings file can keep a voice value: code page 932 text without a line
    // break.
    static bool IsStorable(const QString& value);

    // Reads the choice and the controls from the settings file and starts loading the chosen
    // folders.
    void LoadFromSettings();
    // Makes the choice, writes it and the controls to the settings file and starts loading the
    // chosen folders.
    // false, with the reason, when the settings file could not be written or a value could not
    // be stored in it (the choice still holds for this run).
    bool Apply(const QString& male, const QString& female, const QStringList& added,
               QString* error);

    // Whether a slot's folder is still being loaded.
    bool IsLoading() const;

signals:
    // A slot now speaks with its new voice.
    void slotReady(yomi6::VoiceSlot slot);

private:
    static std::size_t Index(VoiceSlot slot) { return slot == VoiceSlot::Male ? 0 : 1; }
    void Activate(VoiceSlot slot);

    VoiceSelection& m_voices;
    std::array<QString, 2> m_slots;
    QStringList m_added;
    NaturalControls m_controls;
    PauseTable m_pauses = DefaultPauses();
    DialogueVoice m_dialogue = DialogueVoice::Off;
    std::array<VoiceLoader, 2> m_loaders;
    NaturalInstall m_natural = DefaultNaturalInstall();
};

} // namespace yomi6
