// Font records and Qt fonts: the record keeps the stored fields, the QFont is what widgets use.
#pragma once

#include "settings/font_description.h"

#include <QFont>

namespace yomi6 {

// The font a record describes. Heights are in device pixels: the character height when
// negative, the cell height when positive (taken as the character height here).
QFont FontFromRecord(const FontDescription& record);

// The record of a font: height as a negative pixel height, weight 100-900, italic, underline,
// strike-out, the Japanese character set (128) when the family writes Japanese, else 0, the
// pitch and family, and the family name in code page 932 (cut to 31 bytes).
FontDescription RecordFromFont(const QFont& font);

} // namespace yomi6
