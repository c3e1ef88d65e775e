#include "voice_manager/voice_library.h"

#include "io/profile_file.h"
#include "settings/settings_keys.h"
#include "settings/settings_path.h"
#include "settings/voice_settings.h"
#include "text/cp932_codec.h"

#include <QDir>
#include <QFileInfo>

namespace yomi6 {

namespace {

namespace keys = settings_keys;

QString FromStored(const std::string& bytes) {
    return QString::fromStdU16String(DecodeCp932(bytes));
}

std::string ToStored(const QString& text) {
    const std::u16string_view view(reinterpret_cast<const char16_t*>(text.utf16()),
                                   static_cast<std::size_t>(text.size()));
    return EncodeCp932(view, EncodeOptions{}).bytes;
}

} // namespace

bool VoiceLibrary::IsStorable(const QString& value) {
    const std::u16string_view view(reinterpret_cast<const char16_t*>(value.utf16()),
                                   static_cast<std::size_t>(value.size()));
    const EncodeResult encoded = EncodeCp932(view, EncodeOptions{});
    return encoded.ok() && IsStorableVoiceValue(encoded.bytes);
}

const QString VoiceLibrary::kBuiltInMale = QString::fromLatin1(keys::kBuiltInMaleValue);
const QString VoiceLibrary::kBuiltInFemale = QString::fromLatin1(keys::kBuiltInFemaleValue);

VoiceLibrary::VoiceLibrary(VoiceSelection& voices) : m_voices(voices) {
    for (const VoiceSlot slot : {VoiceSlot::Male, VoiceSlot::Female}) {
        connect(&m_loaders[Index(slot)], &VoiceLoader::loaded, this,
                [this, slot](const QString& folder, std::shared_ptr<const FolderVoice> voice) {
                    if (SlotValue(slot) != folder) {
                        return; // the choice changed meanwhile
                    }
                    const VoiceSlot builtIn = slot; // units the folder lacks: the slot's own
                    m_voices.Assign(slot, SlotVoice{builtIn, std::move(voice)});
                    emit slotReady(slot);
                });
    }
}

QString VoiceLibrary::VoicesDirectory() {
    return QString::fromStdString(yomi6::VoicesDirectory());
}

QList<VoiceLibrary::Entry> VoiceLibrary::Entries() const {
    QList<Entry> entries = {{kBuiltInMale, QString::fromUtf8("男性（内蔵）"), false},
                            {kBuiltInFemale, QString::fromUtf8("女性（内蔵）"), false}};
    for (const natural::Variant variant :
         {natural::Variant::AsRecorded, natural::Variant::Lowered}) {
        const QString value =
            QString::fromStdString(natural::VoiceChoiceValue({variant, natural::Style::Neutral}));
        entries.push_back({value, NaturalVoiceLabel(variant), false, true});
    }
    QStringList folders = InstalledKanaFolders();
    const QDir dir(VoicesDirectory());
    for (const QFileInfo& info : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (!folders.contains(info.absoluteFilePath())) {
            folders << info.absoluteFilePath();
        }
    }
    for (const QString& added : m_added) {
        if (!folders.contains(added)) {
            folders << added;
        }
    }
    for (const QString& slot : m_slots) {
        if (!slot.isEmpty() && slot != kBuiltInMale && slot != kBuiltInFemale &&
            !natural::ParseVoiceChoice(slot.toStdString()) && !folders.contains(slot)) {
            folders << slot;
        }
    }
    for (const QString& folder : folders) {
        entries.push_back({folder,
                           QFileInfo(folder).fileName() + QStringLiteral("  (") +
                               QDir::toNativeSeparators(folder) + QLatin1Char(')'),
                           true});
    }
    return entries;
}

void VoiceLibrary::LoadFromSettings() {
    const ProfileFile profile = ProfileFile::Open(SettingsPath());
    const VoiceSettings stored = LoadVoiceSettings(profile);
    m_controls = LoadNaturalControls(profile);
    m_pauses = LoadPauses(profile);
    m_dialogue = LoadDialogueVoice(profile);
    m_slots = {FromStored(stored.maleSlot), FromStored(stored.femaleSlot)};
    m_added.clear();
    for (const std::string& folder : stored.addedFolders) {
        m_added << FromStored(folder);
    }
    Activate(VoiceSlot::Male);
    Activate(VoiceSlot::Female);
}

bool VoiceLibrary::Apply(const QString& male, const QString& female, const QStringList& added,
                         QString* error) {
    m_slots = {male, female};
    m_added = added;
    Activate(VoiceSlot::Male);
    Activate(VoiceSlot::Female);

    VoiceSettings stored;
    stored.maleSlot = ToStored(male);
    stored.femaleSlot = ToStored(female);
    QStringList unstorable;
    for (const QString& value : {male, female}) {
        if (!IsStorable(value)) {
            unstorable << value;
        }
    }
    for (const QString& folder : added) {
        if (IsStorable(folder)) {
            stored.addedFolders.push_back(ToStored(folder));
        } else {
            unstorable << folder;
        }
    }
    ProfileFile profile = ProfileFile::Open(SettingsPath());
    SaveNaturalControls(profile, m_controls); // numbers: the format always holds them
    SavePauses(profile, m_pauses);
    // A file that never had the choice keeps none while it is off.
    if (m_dialogue != DialogueVoice::Off ||
        profile.Find(settings_keys::kDialogueVoice.section, settings_keys::kDialogueVoice.key)) {
        SaveDialogueVoice(profile, m_dialogue);
    }
    if (!SaveVoiceSettings(profile, stored) && unstorable.isEmpty()) {
        unstorable << male << female; // refused by the file format: say so, never silently
    }
    if (!profile.Save()) {
        if (error != nullptr) {
            *error = QString::fromStdString(profile.SaveError());
        }
        return false;
    }
    if (!unstorable.isEmpty()) {
        if (error != nullptr) {
            *error = QString::fromUtf8("設定ファイルに書けない名前のフォルダがあります: ") +
                     unstorable.join(QStringLiteral(", "));
        }
        return false;
    }
    return true;
}

std::optional<natural::VoiceChoice> VoiceLibrary::NaturalChoice(VoiceSlot slot) const {
    return natural::ParseVoiceChoice(SlotValue(slot).toStdString());
}

void VoiceLibrary::Activate(VoiceSlot slot) {
    const QString& value = SlotValue(slot);
    VoiceLoader& loader = m_loaders[Index(slot)];
    // A natural voice speaks through its engine; whatever the slot says with samples (when the
    // engine is missing) it says with its own built-in voice.
    if (value.isEmpty() || value == kBuiltInMale || value == kBuiltInFemale ||
        NaturalChoice(slot)) {
        loader.Cancel();
        const VoiceSlot builtIn = value == kBuiltInMale     ? VoiceSlot::Male
                                  : value == kBuiltInFemale ? VoiceSlot::Female
                                                            : slot;
        m_voices.Assign(slot, SlotVoice{builtIn, nullptr});
        emit slotReady(slot);
        return;
    }
    // Until the folder is loaded the slot speaks with its own built-in voice.
    m_voices.Assign(slot, SlotVoice{slot, nullptr});
    loader.Load(value);
}

bool VoiceLibrary::IsLoading() const {
    return m_loaders[0].IsLoading() || m_loaders[1].IsLoading();
}

} // namespace yomi6
