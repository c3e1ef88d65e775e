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

void LoadFontRecord(const ProfileFile& profile, std::string_view section, FontDescription& record) {
    record.height = std::clamp(ReadFontInt(profile, section, keys::kFontHeight), -kMaxFontHeight,
                               kMaxFontHeight);
    if (record.height == 0) {
        return;
    }
    record.weight = ReadFontInt(profile, section, keys::kFontWeight);
    record.italic = LowByte(ReadFontInt(profile, section, keys::kFontItalic));
    record.underline = LowByte(ReadFontInt(profile, section, keys::kFontUnderline));
    record.pitchAndFamily = LowByte(ReadFontInt(profile, section, keys::kFontPitchAndFamily));
    record.charSet = LowByte(ReadFontInt(profile, section, keys::kFontCharSet));
    SetFaceName(record,
                profile.GetString(section, keys::kFontFaceNameKey, keys::kFontFaceNameDefault));
}

void SaveFontRecord(ProfileFile& profile, std::string_view section, const FontDescription& record,
                    FontDescription& baseline) {
    profile.WriteInt(section, keys::kFontHeight.key, record.height);
    WriteIfChanged(profile, section, keys::kFontWeight, record.weight, baseline.weight);
    WriteIfChanged(profile, section, keys::kFontItalic, record.italic, baseline.italic);
    WriteIfChanged(profile, section, keys::kFontUnderline, record.underline, baseline.underline);
    WriteIfChanged(profile, section, keys::kFontPitchAndFamily, record.pitchAndFamily,
                   baseline.pitchAndFamily);
    WriteIfChanged(profile, section, keys::kFontCharSet, record.charSet, baseline.charSet);
    if (FaceName(record) != FaceName(baseline)) {
        profile.WriteString(section, keys::kFontFaceNameKey, FaceName(record));
    }
    baseline = record;
}

} // namespace yomi6
