#include "settings/font_record.h"

#include "settings/settings_keys.h"

#include <algorithm>
#include <cstdint>

namespace yomi6 {

namespace keys = settings_keys;

namespace {

std::uint8_t LowByte(std::int32_t value) {
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & 0xFFu);
}

std::int32_t ReadFontInt(const ProfileFile& profile, std::string_view section,
                         const keys::FontKey& key) {
    return profile.GetInt(section, key.key, key.defaultValue);
}

void WriteIfChanged(ProfileFile& profile, std::string_view section, const keys::FontKey& key,
                    std::int32_t value, std::int32_t baseline) {
    if (value != baseline) {
        profile.WriteInt(section, key.key, value);
    }
}

} // namespace

void LoadFontRecord(const ProfileFile& profile, std::string_view section, LOGFONT& record) {
    record.lfHeight = std::clamp(ReadFontInt(profile, section, keys::kFontHeight), -kMaxFontHeight,
                                 kMaxFontHeight);
    if (record.lfHeight == 0) {
        return;
    }
    record.lfWeight = ReadFontInt(profile, section, keys::kFontWeight);
    record.lfItalic = LowByte(ReadFontInt(profile, section, keys::kFontItalic));
    record.lfUnderline = LowByte(ReadFontInt(profile, section, keys::kFontUnderline));
    record.lfPitchAndFamily = LowByte(ReadFontInt(profile, section, keys::kFontPitchAndFamily));
    record.lfCharSet = LowByte(ReadFontInt(profile, section, keys::kFontCharSet));
    SetFaceName(record,
                profile.GetString(section, keys::kFontFaceNameKey, keys::kFontFaceNameDefault));
}

void SaveFontRecord(ProfileFile& profile, std::string_view section, const LOGFONT& record,
                    LOGFONT& baseline) {
    profile.WriteInt(section, keys::kFontHeight.key, record.lfHeight);
    WriteIfChanged(profile, section, keys::kFontWeight, record.lfWeight, baseline.lfWeight);
    WriteIfChanged(profile, section, keys::kFontItalic, record.lfItalic, baseline.lfItalic);
    WriteIfChanged(profile, section, keys::kFontUnderline, record.lfUnderline,
                   baseline.lfUnderline);
    WriteIfChanged(profile, section, keys::kFontPitchAndFamily, record.lfPitchAndFamily,
                   baseline.lfPitchAndFamily);
    WriteIfChanged(profile, section, keys::kFontCharSet, record.lfCharSet, baseline.lfCharSet);
    if (FaceName(record) != FaceName(baseline)) {
        profile.WriteString(section, keys::kFontFaceNameKey, FaceName(record));
    }
    baseline = record;
}

} // namespace yomi6
