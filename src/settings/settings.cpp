#include "settings/settings.h"

#include "settings/font_record.h"
#include "settings/settings_keys.h"

namespace yomi6 {

namespace keys = settings_keys;

AppSettings g_settings;

namespace {

std::int32_t Read(const ProfileFile& profile, const keys::IntKey& key) {
    return profile.GetInt(key.section, key.key, key.defaultValue);
}

void Write(ProfileFile& profile, const keys::IntKey& key, std::int32_t value) {
    profile.WriteInt(key.section, key.key, value);
}

} // namespace

void LoadSpeechSettings(const ProfileFile& profile, SpeechState& speech) {
    speech.speed = profile.GetInt(keys::kSpeed.section, keys::kSpeed.key, speech.speed);
    if (speech.speed > keys::kMaxLoadedSpeed) {
        speech.speed = keys::kMaxLoadedSpeed;
    }
    speech.voice = Read(profile, keys::kVoice);
}

void LoadSettings(const ProfileFile& profile, AppSettings& settings, SpeechState& speech) {
    settings.wordWrap = Read(profile, keys::kWordWrap);
    LoadFontRecord(profile, keys::kScreenFontSection, settings.screenFont);
    settings.screenFontBaseline = settings.screenFont;
    LoadFontRecord(profile, keys::kPrinterFontSection, settings.printerFont);
    settings.printerFontBaseline = settings.printerFont;
    settings.printFileName = Read(profile, keys::kPrintFileName);
    settings.printDate = Read(profile, keys::kPrintDate);
    settings.printPageNumber = Read(profile, keys::kPrintPageNumber);
    LoadSpeechSettings(profile, speech);
}

void LoadChildShowState(const ProfileFile& profile, AppSettings& settings) {
    settings.childShowState = profile.GetInt(keys::kChildShowState.section,
                                             keys::kChildShowState.key, settings.childShowState);
    settings.childShowStateSaved = settings.childShowState;
}

void SaveSettings(ProfileFile& profile, AppSettings& settings, const SpeechState& speech) {
    Write(profile, keys::kWordWrap, settings.wordWrap);
    SaveFontRecord(profile, keys::kScreenFontSection, settings.screenFont,
                   settings.screenFontBaseline);
    SaveFontRecord(profile, keys::kPrinterFontSection, settings.printerFont,
                   settings.printerFontBaseline);
    Write(profile, keys::kPrintFileName, settings.printFileName);
    Write(profile, keys::kPrintDate, settings.printDate);
    Write(profile, keys::kPrintPageNumber, settings.printPageNumber);
    Write(profile, keys::kSpeed, speech.speed);
    Write(profile, keys::kVoice, speech.voice);
}

void SaveChildShowState(ProfileFile& profile, AppSettings& settings) {
    if (settings.childShowState == settings.childShowStateSaved) {
        return;
    }
    Write(profile, keys::kChildShowState, settings.childShowState);
    settings.childShowStateSaved = settings.childShowState;
}

void LoadSpeechSettingsReadOnly(const std::string& path, SpeechState& speech) {
    LoadSpeechSettings(ProfileFile::Open(path), speech);
}

} // namespace yomi6
