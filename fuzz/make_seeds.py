#!/usr/bin/env python3
"""Writes the seed inputs of every fuzz target into fuzz/corpus/<target>/.

Each seed is a small, valid or nearly valid input that takes a target past its first checks:
Shift-JIS and UTF-8 documents, dictionary records of every word length, kana readings with
line ends, settings files, WAVE images in the samples' layout. Run it again after changing it;
the files it writes are kept in the repository.
"""
import pathlib
import struct

ROOT = pathlib.Path(__file__).resolve().parent / "corpus"


def sjis(text):
    return text.encode("cp932")


def record(word, reading):
    """One 34-byte dictionary record: a 13-byte word field and a 21-byte reading field."""
    w = word[:13].ljust(13, b"\0")
    r = reading[:21].ljust(21, b"\0")
    return w + r


def wave(samples, rate=8000, channels=1, bits=8, extra=b""):
    fmt = struct.pack("<HHIIHH", 1, channels, rate, rate * channels * bits // 8,
                      channels * bits // 8, bits)
    body = b"WAVE" + b"fmt " + struct.pack("<I", 16) + fmt + extra
    body += b"data" + struct.pack("<I", len(samples)) + samples
    return b"RIFF" + struct.pack("<I", len(body)) + body


def playback(end, play, flags, speed, stop, reading):
    return struct.pack("<hhBBB", end, play, flags, speed, stop) + reading


KANA = sjis("ｷｬﾝﾌﾟ ｶﾞｯｺｳ ｳﾞｧｲｵﾘﾝ､ﾃﾞｨｽｸ-ﾝ")
TEXT = sjis("漢字は、3こ。音声合成でABCを読みます！\r\nカタカナとひらがな、ｶﾀｶﾅ。")

SEEDS = {
    "fuzz_cp932_codec": {
        "sjis_lines": TEXT,
        "utf8_bom": "\ufeff日本語の文章\r\n二行目\n".encode("utf-8"),
        "utf8_plain": "テキスト text 123\n".encode("utf-8"),
        "invalid_lead_bytes": b"\x81\x20\x82\xff\xa0\xfd\x80abc\x83",
        "halfwidth_and_crlf": KANA + b"\r\n\r\r\n",
    },
    "fuzz_dictionary_image": {
        "records_of_each_length": b"".join(
            record(sjis("漢字単語登録ﾃｽﾄ")[:n], b"\xb1" * (n + 1)) for n in range(1, 13)),
        "duplicates_and_prefixes": record(sjis("音声"), sjis("ｵﾝｾｲ")) +
        record(sjis("音"), sjis("ｵﾄ")) + record(sjis("音声"), sjis("ｺｴ")) +
        record(sjis("音声合成"), sjis("ｵﾝｾｲｺﾞｳｾｲ")),
        "unterminated_and_empty": record(b"ABCDEFGHIJKLM", b"\xb1") +
        record(b"word", b"") + record(b"", b"\xb2") + record(b"x", b"\xb3" * 21),
        # 0xFF: the records after the second byte repeated through 2^k records (here all 9999).
        "full_table": b"\xff\x0e" + record(sjis("辞書"), sjis("ｼﾞｼｮ")) + record(b"a", b"\xb4"),
        "many_rows": b"\xff\x07" + record(sjis("読み"), sjis("ﾖﾐ")),
    },
    "fuzz_integer_text": {
        "plain": b"180",
        "signed_blanks": b" \t-42 ",
        "plus": b"+7",
        "above_int": b"2147483648",
        "below_int": b"-2147483649",
        "trailing_letter": b"12a",
        "long_zeros": b"0" * 40 + b"1",
    },
    "fuzz_playback": {
        "kana_female": playback(len(KANA), 0, 0b010, 10, 2, KANA + b"\0"),
        "kana_male_repeat": playback(len(KANA), 0, 0b001, 0, 3, KANA + b"\0"),
        "line_ends": playback(20, 0, 0b010, 20, 1, sjis("ｱｲ\r\nｳｴ\r\n\r\nｵ") + b"\0"),
        "no_terminator": playback(30, 3, 0b000, 15, 2, sjis("ｶﾞｷﾞｸﾞ") * 3),
        "stop_requested": playback(8, 0, 0b110, 12, 0, sjis("ｻｼｽ") + b"\0"),
        "far_indexes": playback(32767, -5, 0xF8, 0, 1, KANA),
    },
    "fuzz_profile_file": {
        "settings": bytes([2, 0]) + sjis(
            "[よみあげPadのセッティング]\r\nしゃべるスピード=180\r\n声の質=0\r\n"
            "[フォント]\r\nHeight=0\r\n[Recent File List]\r\nFile1=a.txt\r\n"),
        "same_name_sections": bytes([3, 5]) + sjis("[セ]\nセ=1\n[ズ]\nセ=2\n[ゾ]\nX1=3"),
        "case_and_blanks": bytes([1, 3]) + b"[a]\r\n K = v \r\n[A]\r\nk=\"q\"\r\n;c\r\n",
        "no_line_end": bytes([0, 1]) + b"[A]\nk=1",
    },
    "fuzz_reading": {
        # Rows (length byte, word bytes), then 0xFF, then the text.
        "kanji_text": bytes([4]) + sjis("漢字") + bytes([4]) + sjis("音声") + b"\xff" + TEXT,
        "kana_digits_letters": b"\xff" + sjis("ひらがなカタカナ０１２3456ABCabc、。！？ー"),
        "second_byte_match": bytes([1, 0x41, 2]) + sjis("ア") + b"\xff" + sjis("アAア") + b"A",
        "prefix_words": bytes([2, 0x82, 0xa0, 4, 0x82, 0xa0, 0x82, 0xa2, 6, 0x82, 0xa0, 0x82,
                               0xa2, 0x82, 0xa4]) + b"\xff" + sjis("あいうあいあ"),
    },
    # A choices byte (bit 0 tab, bits 1-2 encoding detected/UTF-8/Shift-JIS, bit 3 replace
    # duplicates), then the list.
    "fuzz_word_list": {
        "csv_utf8_header": b"\x08" + "単語,読み\r\n音声,おんせい\r\na,ｱ\r\n新語,しんご\n".encode("utf-8"),
        "csv_bom_quoted": b"\x00" + "\ufeff\"a, b\",\"ｱ\"\"ｲ\"\r\n\"改\n行\",かいぎょう\r\n".encode("utf-8"),
        "tsv_sjis": b"\x05" + sjis("漢字\tかんじ\r\n辞書\tジショ\r\n\t空\r\n"),
        "cr_only": b"\x02" + "語,ご\r例,れい\r".encode("utf-8"),
        "problems": b"\x0c" + sjis("長すぎる単語の見本です,ながい\r\nword,ワード\r\n,\r\nx,漢字\r\n"),
    },
    # Up to 8 user words (a length byte below 13, then the word), then the text.
    "fuzz_automatic_reading": {
        "plain": sjis("今日は2026年12月9日です。東京へ行きます。"),
        "user_words": bytes([3]) + sjis("音声") + bytes([1]) + b"AB" + sjis("音声合成でABCを読みます！"),
        "mixed": TEXT,
        "long_vowel_and_latin": sjis("ラーメンとコーヒー、kernel と write。１２３個"),
    },
    "fuzz_number_reading": {
        "year": "2026年".encode("utf-8"),
        "decimal": "3.14メートル".encode("utf-8"),
        "kanji": "二千二十六".encode("utf-8"),
        "counter_after_blank": "2 つ".encode("utf-8"),
        "comma_grouped": "1,234,567円".encode("utf-8"),
        "fullwidth": "１２３個".encode("utf-8"),
    },
    "fuzz_wave_decoder": {
        "pcm8_mono": wave(bytes(range(100, 180)), rate=16000),
        "pcm16_stereo": wave(bytes(range(64)), rate=44100, channels=2, bits=16),
        "pcm24": wave(bytes(range(48)), rate=48000, bits=24),
        "float32": b"RIFF" + struct.pack("<I", 4 + 24 + 8 + 16) + b"WAVE" + b"fmt " +
        struct.pack("<IHHIIHH", 16, 3, 1, 22050, 22050 * 4, 4, 32) + b"data" +
        struct.pack("<I", 16) + struct.pack("<4f", 0.0, 0.5, -0.5, 1.0),
        "odd_chunk": wave(bytes(10), rate=8000, extra=b"junk" + struct.pack("<I", 3) + b"abc\0"),
    },
    "fuzz_wave_image": {
        "mono_8bit": wave(bytes(range(100, 140))),
        "odd_rate": wave(bytes(20), rate=11025),
        "sixteen_bit": wave(bytes(8), bits=16),
        "stereo": wave(bytes(8), channels=2),
        "list_chunk": wave(bytes(4), extra=b"LIST" + struct.pack("<I", 4) + b"INFO"),
        "empty_data": wave(b""),
    },
}


def main():
    for target, seeds in SEEDS.items():
        folder = ROOT / target
        folder.mkdir(parents=True, exist_ok=True)
        for old in folder.iterdir():
            old.unlink()
        for name, data in seeds.items():
            (folder / name).write_bytes(data)


if __name__ == "__main__":
    main()
