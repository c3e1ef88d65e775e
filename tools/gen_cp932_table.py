#!/usr/bin/env python3
"""Writes src/core/text/cp932_table.cpp, the code page 932 mapping the codec is built on.

The decoding direction is taken from Python's 'cp932' codec. Only codes that are the one
canonical code of their character go into the tables; the other code of a duplicated character
is left out, so that the codec carries it as escaped bytes and saves it back unchanged.

The canonical code of a character with several codes is the one Windows writes when it encodes
the character: the lowest code outside the NEC-selected IBM extension rows 0xED and 0xEE
(JIS X 0208 before NEC row 13, NEC row 13 before the IBM extension rows 0xFA-0xFC, the IBM rows
before the NEC-selected copies of them). Python's own encoder prefers the 0xED/0xEE copies, which
would turn the IBM extension kanji of every file written on Windows into escaped bytes.

Characters that Python's encoder accepts but that no code decodes to (the JIS X 0208 mappings of
a few symbols, such as U+301C WAVE DASH for 0x8160) are listed as encode-only aliases.

Usage: tools/gen_cp932_table.py [--check]   (--check: fail if the committed file differs)
"""
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
OUTPUT = ROOT / "src" / "core" / "text" / "cp932_table.cpp"

LEADS = list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD))
TRAILS = list(range(0x40, 0xFD))  # 0x7F is not a trail byte; its column stays empty
NO_CHAR = 0xFFFF
ESCAPE_BLOCK = range(0xF700, 0xF800)


def decode(code: bytes):
    try:
        text = code.decode("cp932")
    except UnicodeDecodeError:
        return None
    assert len(text) == 1, (code, text)
    return ord(text)


def preference(code: int):
    """Sort key: the canonical code of a character sorts first."""
    nec_selected_ibm = 0xED40 <= code <= 0xEEFC
    return (nec_selected_ibm, code)


def build():
    codes_of = {}  # character -> every code that decodes to it
    single = {}
    for b in range(256):
        if b in LEADS:
            continue
        ch = decode(bytes([b]))
        if ch is not None:
            single[b] = ch
            codes_of.setdefault(ch, []).append(b)
    double = {}
    for lead in LEADS:
        for trail in TRAILS:
            if trail == 0x7F:
                continue
            ch = decode(bytes([lead, trail]))
            if ch is not None:
                code = lead << 8 | trail
                double[code] = ch
                codes_of.setdefault(ch, []).append(code)

    canonical = {ch: min(codes, key=preference) for ch, codes in codes_of.items()}
    for ch, code in canonical.items():
        assert ch not in ESCAPE_BLOCK, hex(ch)
        assert ch != NO_CHAR and not 0xD800 <= ch <= 0xDFFF, hex(ch)

    single_table = [single[b] if b in single and canonical[single[b]] == b else NO_CHAR
                    for b in range(256)]
    double_table = []
    for lead in LEADS:
        row = []
        for trail in TRAILS:
            code = lead << 8 | trail
            ch = double.get(code)
            row.append(ch if ch is not None and canonical[ch] == code else NO_CHAR)
        double_table.append(row)

    aliases = []
    for ch in range(0x10000):
        if ch in codes_of or 0xD800 <= ch <= 0xDFFF:
            continue
        try:
            code = chr(ch).encode("cp932")
        except UnicodeEncodeError:
            continue
        aliases.append((ch, int.from_bytes(code, "big")))

    duplicates = sum(len(codes) - 1 for codes in codes_of.values())
    return single_table, double_table, aliases, len(canonical), duplicates


def rows_of(values, per_line, indent):
    out = []
    for i in range(0, len(values), per_line):
        out.append(indent + ", ".join("0x%04X" % v for v in values[i:i + per_line]) + ",")
    return out


# The encoding table, worked out by the compiler from the tables above.
INVERSE = """namespace {

// The code of every BMP character: the inverse of the decoding tables plus the encode-only
// aliases. The tables hold each character at most once, so the inverse is exact.
constexpr std::array<std::uint16_t, kEncodeCodeCount> InverseTable() {
    std::array<std::uint16_t, kEncodeCodeCount> table{};
    for (unsigned b = 0; b < 256; ++b) {
        if (kSingleByteChars[b] != kNoChar) {
            table[kSingleByteChars[b]] = static_cast<std::uint16_t>(b);
        }
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLeadByte(static_cast<std::uint8_t>(lead))) {
            continue;
        }
        const auto& row = kDoubleByteChars[LeadRow(static_cast<std::uint8_t>(lead))];
        for (std::size_t t = 0; t < kTrailByteCount; ++t) {
            if (row[t] != kNoChar) {
                table[row[t]] = static_cast<std::uint16_t>(lead << 8 | (kFirstTrailByte + t));
            }
        }
    }
    for (const EncodeAlias& alias : kEncodeAliases) {
        table[alias.ch] = alias.code;
    }
    return table;
}

} // namespace

// Read-only data of the program: nothing is built when it starts, and only the pages of the
// characters looked up are ever read in.
constinit const std::array<std::uint16_t, kEncodeCodeCount> kEncodeCodes = InverseTable();"""


def render():
    single_table, double_table, aliases, characters, duplicates = build()
    lines = [
        "// Code page 932 tables. Generated by tools/gen_cp932_table.py; do not edit.",
        "// %d characters; %d duplicate codes are left out (they decode as escaped bytes)."
        % (characters, duplicates),
        '#include "text/cp932_table.h"',
        "",
        "#include <array>",
        "",
        "namespace yomi6::cp932 {",
        "",
        "// clang-format off",
        "constexpr char16_t kSingleByteChars[256] = {",
    ]
    lines += rows_of(single_table, 8, "    ")
    lines += ["};", "", "constexpr char16_t kDoubleByteChars[kLeadByteCount][kTrailByteCount] = {"]
    for lead, row in zip(LEADS, double_table):
        lines.append("    { // lead 0x%02X" % lead)
        lines += rows_of(row, 8, "        ")
        lines.append("    },")
    lines += ["};", "", "constexpr EncodeAlias kEncodeAliases[kEncodeAliasCount] = {"]
    lines += ["    {0x%04X, 0x%04X}," % alias for alias in aliases]
    lines += ["};", "// clang-format on", ""]
    lines += INVERSE.splitlines()
    lines += ["", "} // namespace yomi6::cp932", ""]
    return "\n".join(lines), len(aliases)


def main():
    text, alias_count = render()
    if alias_count != 6:
        sys.exit("unexpected number of encode-only aliases: %d (update kEncodeAliasCount)"
                 % alias_count)
    if "--check" in sys.argv[1:]:
        if OUTPUT.read_text(encoding="utf-8") != text:
            sys.exit("%s is out of date; run tools/gen_cp932_table.py" % OUTPUT)
        return
    OUTPUT.write_text(text, encoding="utf-8")


if __name__ == "__main__":
    main()
