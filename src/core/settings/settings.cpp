#include "settings/settings.h"

#include "settings/font_record.h"
#include "settings/key_access.h"
#include "settings/settings_keys.h"
#include "text/cp932_codec.h"
#include "text/utf8_codec.h"

namespace yomi6 {

namespace keys = settings_keys;

namespace {

// The switches are nonzero for on in the file; what it holds otherwise is taken as on.
bool ReadSwitch(const ProfileFile& profile, const keys::IntKey& key) {
    return ReadKey(profile, key) != 0;
}
std::int32_t SwitchValue(bool on) {
    return on ? 1 : 0;
}

// 読み方 as the file holds it.
constexpr std::int32_t kReadingsDictionaryValue = 0;
constexpr std::int32_t kReadingsAutomaticValue = 1;

// The show states as the file holds them: 1 normal, 2 minimized, 3 maximized.
ShowState ShowStateOf(std::int32_t value) {
    switch (value) {
    case 1:
        return ShowState::Normal;
    case 2:
        return ShowState::Minimized;
    default:
        return ShowState::Maximized;
    }
}
std::int32_t ShowStateValue(ShowState state) {
    switch (state) {
    case ShowState::Normal:
        return 1;
    case ShowState::Minimized:
        return 2;
    case ShowState::Maximized:
        break;
    }
    return 3;
}

} // namespace

void LoadSpeechSettings(const ProfileFile& profile, SpeechChoices& speech) {
    speech.speed = profile.GetInt(keys::kSpeed.section, keys::kSpeed.key, speech.speed);
    if (speech.speed > keys::kMaxLoadedSpeed) {
        speech.speed = keys::kMaxLoadedSpeed;
    }
    speech.maleVoice = ReadKey(profile, keys::kVoice) != 0;
    if (!profile.Find(keys::kReadings.section, keys::kReadings.key)) {
        speech.readings = ReadingsChoice::Unchosen;
    } else {
        // Anything but 1 reads with the dictionary alone.
        speech.readings = ReadKey(profile, keys::kReadings) == kReadingsAutomaticValue
                              ? ReadingsChoice::Automatic
                              : ReadingsChoice::Dictionary;
    }
    speech.notationSilent = ReadSwitch(profile, keys::kAozora);
}

std::string AnalyzerDictionarySetting(const ProfileFile& profile) {
    const std::string bytes =
        profile.GetString(keys::kSettingsSection, keys::kAnalyzerDictionaryKey, "");
    return EncodeUtf8(DecodeCp932(bytes), EncodeOptions{LineEnd::Lf, OnUnencodable::Replace}).bytes;
}

void LoadSettings(const ProfileFile& profile, AppSettings& settings, SpeechChoices& speech) {
    settings.wordWrap = ReadSwitch(profile, keys::kWordWrap);
    LoadFontRecord(profile, keys::kScreenFontSection, settings.screenFont);
    settings.screenFontBaseline = settings.screenFont;
    LoadFontRecord(profile, keys::kPrinterFontSection, settings.printerFont);
    settings.printerFontBaseline = settings.printerFont;
    settings.printFileName = ReadSwitch(profile, keys::kPrintFileName);
    settings.printDate = ReadSwitch(profile, keys::kPrintDate);
    settings.printPageNumber = ReadSwitch(profile, keys::kPrintPageNumber);
    settings.readingPane = ReadSwitch(profile, keys::kReadingPane);
    LoadSpeechSettings(profile, speech);
    settings.fitSamples = ReadSwitch(profile, keys::kFitSamples);
    const std::int32_t script = ReadKey(profile, keys::kReadingPaneScript);
    settings.readingPaneScript = script >= 0 && script <= 2 ? script : 0;
}

void LoadChildShowState(const ProfileFile& profile, AppSettings& settings) {
    settings.childShowState =
        ShowStateOf(profile.GetInt(keys::kChildShowState.section, keys::kChildShowState.key,
                                   ShowStateValue(settings.childShowState)));
    settings.childShowStateSaved = settings.childShowState;
}

void SaveSettings(ProfileFile& profile, AppSettings& settings, const SpeechChoices& speech) {
    WriteKey(profile, keys::kWordWrap, SwitchValue(settings.wordWrap));
    SaveFontRecord(profile, keys::kScreenFontSection, settings.screenFont,
                   settings.screenFontBaseline);
    SaveFontRecord(profile, keys::kPrinterFontSection, settings.printerFont,
                   settings.printerFontBaseline);
    WriteKey(profile, keys::kPrintFileName, SwitchValue(settings.printFileName));
    WriteKey(profile, keys::kPrintDate, SwitchValue(settings.printDate));
    WriteKey(profile, keys::kPrintPageNumber, SwitchValue(settings.printPageNumber));
    WriteKey(profile, keys::kSpeed, speech.speed);
    WriteKey(profile, keys::kVoice, SwitchValue(speech.maleVoice));
    // The keys this program added stay out of a file that never had them while at their default;
    // the reading mode has no fixed default and is written once chosen.
    if (speech.readings != ReadingsChoice::Unchosen) {
        WriteKey(profile, keys::kReadings,
                 speech.readings == ReadingsChoice::Automatic ? kReadingsAutomaticValue
                                                              : kReadingsDictionaryValue);
    }
    WriteKeyIfNotDefault(profile, keys::kAozora, SwitchValue(speech.notationSilent));
    WriteKeyIfNotDefault(profile, keys::kReadingPane, SwitchValue(settings.readingPane));
    WriteKeyIfNotDefault(profile, keys::kFitSamples, SwitchValue(settings.fitSamples));
    WriteKeyIfNotDefault(profile, keys::kReadingPaneScript, settings.readingPaneScript);
}

void SaveChildShowState(ProfileFile& profile, AppSettings& settings) {
    if (settings.childShowState == settings.childShowStateSaved) {
        return;
    }
    WriteKey(profile, keys::kChildShowState, ShowStateValue(settings.childShowState));
    settings.childShowStateSaved = settings.childShowState;
}

void LoadSpeechSettingsReadOnly(const std::string& path, SpeechChoices& speech) {
    LoadSpeechSettings(ProfileFile::Open(path), speech);
}

bool LoadFitSamplesReadOnly(const std::string& path) {
    return ReadSwitch(ProfileFile::Open(path), keys::kFitSamples);
}

} // namespace yomi6
