#include "platform/font_description_qt.h"

#include "text/cp932_codec.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QList>

#include <algorithm>

#include <cstdlib>
#include <string>

namespace yomi6 {

namespace {

constexpr std::uint8_t kShiftJisCharSet = 128;
constexpr std::uint8_t kAnsiCharSet = 0;
constexpr std::uint8_t kFixedPitch = 1;
constexpr std::uint8_t kVariablePitch = 2;
constexpr std::uint8_t kFamilyModern = 0x30;
constexpr std::uint8_t kFamilySwiss = 0x20;
constexpr int kNormalWeight = 400;

} // namespace

QFont FontFromRecord(const FontDescription& record) {
    QFont font;
    const std::string_view face = FaceName(record);
    const std::u16string family = DecodeCp932(face);
    font.setFamily(QString::fromStdU16String(family));
    if (record.height != 0) {
        font.setPixelSize(std::abs(record.height));
    }
    const int weight = record.weight == 0 ? kNormalWeight : record.weight;
    font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    font.setItalic(record.italic != 0);
    font.setUnderline(record.underline != 0);
    font.setStrikeOut(record.strikeOut != 0);
    if ((record.pitchAndFamily & 0x3) == kFixedPitch) {
        font.setFixedPitch(true);
    }
    return font;
}

FontDescription RecordFromFont(const QFont& font) {
    FontDescription r;
    const QFontInfo info(font);
    r.height = -(font.pixelSize() > 0 ? font.pixelSize() : info.pixelSize());
    r.weight = font.weight();
    r.italic = font.italic() ? 1 : 0;
    r.underline = font.underline() ? 1 : 0;
    r.strikeOut = font.strikeOut() ? 1 : 0;
    const QList<QFontDatabase::WritingSystem> systems =
        QFontDatabase::writingSystems(font.family());
    r.charSet = systems.contains(QFontDatabase::Japanese) ? kShiftJisCharSet : kAnsiCharSet;
    r.pitchAndFamily =
        info.fixedPitch() ? (kFixedPitch | kFamilyModern) : (kVariablePitch | kFamilySwiss);
    const QString family = font.family();
    EncodeOptions options;
    options.onUnencodable = OnUnencodable::Replace;
    const EncodeResult encoded =
        EncodeCp932(std::u16string_view(reinterpret_cast<const char16_t*>(family.utf16()),
                                        static_cast<std::size_t>(family.size())),
                    options);
    SetFaceName(r, encoded.bytes);
    return r;
}

} // namespace yomi6
