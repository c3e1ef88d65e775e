// Every name the settings file uses, with its default: the file name, the sections, the keys.
// Japanese names are code page 932 bytes, written as escapes with the text in a comment.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace yomi6::settings_keys {

// The settings file, named after the program, in the user's configuration directory.
inline constexpr std::string_view kFileName = "yomi6.ini";

struct IntKey {
    std::string_view section;
    std::string_view key;
    std::int32_t defaultValue;
};

// よみあげPadのセッティング
inline constexpr std::string_view kSettingsSection =
    "\x82\xE6\x82\xDD\x82\xA0\x82\xB0\x50\x61\x64\x82\xCC\x83\x5A\x83\x62\x83\x65\x83\x42\x83\x93"
    "\x83\x4F";
// フォント
inline constexpr std::string_view kScreenFontSection = "\x83\x74\x83\x48\x83\x93\x83\x67";
// プリンタ用フォント
inline constexpr std::string_view kPrinterFontSection =
    "\x83\x76\x83\x8A\x83\x93\x83\x5E\x97\x70\x83\x74\x83\x48\x83\x93\x83\x67";

// The settings section, in the order the program reads and writes it.
// 右端で折り返す: new document windows wrap lines at the right edge.
inline constexpr IntKey kWordWrap{kSettingsSection,
                                  "\x89\x45\x92\x5B\x82\xC5\x90\xDC\x82\xE8\x95\xD4\x82\xB7", 0};
// ファイル名の印字: printed pages show the document title.
inline constexpr IntKey kPrintFileName{
    kSettingsSection, "\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC\x82\xCC\x88\xF3\x8E\x9A", 0};
// 日付の印字: printed pages show the date and time.
inline constexpr IntKey kPrintDate{kSettingsSection, "\x93\xFA\x95\x74\x82\xCC\x88\xF3\x8E\x9A", 0};
// ページ印字: printed pages show their number.
inline constexpr IntKey kPrintPageNumber{kSettingsSection,
                                         "\x83\x79\x81\x5B\x83\x57\x88\xF3\x8E\x9A", 1};
// しゃべるスピード: milliseconds per speech tick.
inline constexpr IntKey kSpeed{
    kSettingsSection, "\x82\xB5\x82\xE1\x82\xD7\x82\xE9\x83\x58\x83\x73\x81\x5B\x83\x68", 180};
// A speed read from the file above this becomes this.
inline constexpr std::int32_t kMaxLoadedSpeed = 1000;
// 声の質: nonzero male voice, 0 female voice.
inline constexpr IntKey kVoice{kSettingsSection, "\x90\xBA\x82\xCC\x8E\xBF", 0};
// 読み方: how the text is read, 0 the dictionary and the fixed rules, 1 automatic (the analyzer
// reads what the user's dictionary does not hold).
inline constexpr IntKey kReadings{kSettingsSection, "\x93\xC7\x82\xDD\x95\xFB", 0};
// The reading mode of a file without 読み方: not chosen (the reading decides, at the first text
// it reads: automatically when the analyzer can be loaded). The key is then written only once
// the user switches.
inline constexpr std::int32_t kReadingsUnchosen = -1;
// 読みパネル: nonzero shows the reading pane beside the document windows.
inline constexpr IntKey kReadingPane{kSettingsSection, "\x93\xC7\x82\xDD\x83\x70\x83\x6C\x83\x8B",
                                     0};
// 読みパネルの文字: how the reading pane writes the reading: 0 half-width katakana, 1 hiragana,
// 2 full-width katakana.
inline constexpr IntKey kReadingPaneScript{
    kSettingsSection, "\x93\xC7\x82\xDD\x83\x70\x83\x6C\x83\x8B\x82\xCC\x95\xB6\x8E\x9A", 0};
// 青空文庫の注記を読まない: nonzero reads a text in Aozora Bunko notation as the book (the
// automatic reading finds the notation and keeps it silent), 0 reads every character.
inline constexpr IntKey kAozora{kSettingsSection,
                                "\x90\xC2\x8B\xF3\x95\xB6\x8C\xC9\x82\xCC\x92\x8D\x8B\x4C"
                                "\x82\xF0\x93\xC7\x82\xDC\x82\xC8\x82\xA2",
                                1};
// 解析辞書: the folder of the analyzer's dictionary for the automatic reading; empty or absent:
// the environment variable YOMI6_MECAB_DIC, else the system's folder. Read, never written.
inline constexpr std::string_view kAnalyzerDictionaryKey = "\x89\xF0\x90\xCD\x8E\xAB\x8F\x91";
// 子ウィンドウのサイズ: how document windows are shown (1 normal, 2 minimized, 3 maximized).
inline constexpr IntKey kChildShowState{
    kSettingsSection,
    "\x8E\x71\x83\x45\x83\x42\x83\x93\x83\x68\x83\x45\x82\xCC\x83\x54\x83\x43\x83\x59", 3};

// The main window rectangle in screen coordinates, in the settings section.
inline constexpr IntKey kWindowLeft{kSettingsSection, "X1", 0};
inline constexpr IntKey kWindowTop{kSettingsSection, "Y1", 0};
inline constexpr IntKey kWindowRight{kSettingsSection, "X2", 580};
inline constexpr IntKey kWindowBottom{kSettingsSection, "Y2", 350};

// The keys of a font record; the section is the record's.
struct FontKey {
    std::string_view key;
    std::int32_t defaultValue;
};
inline constexpr FontKey kFontHeight{"Height", 0};
inline constexpr FontKey kFontWeight{"Weight", 0};
inline constexpr FontKey kFontItalic{"Italic", 0};
inline constexpr FontKey kFontUnderline{"Underline", 0};
inline constexpr FontKey kFontPitchAndFamily{"PitchAndFamily", 0};
inline constexpr FontKey kFontCharSet{"CharSet", 1};
inline constexpr std::string_view kFontFaceNameKey = "FaceName";
inline constexpr std::string_view kFontFaceNameDefault = "System";

// The recent-file list of the main window's file menu.
inline constexpr std::string_view kRecentFileSection = "Recent File List";
inline constexpr std::array<std::string_view, 4> kRecentFileKeys = {"File1", "File2", "File3",
                                                                    "File4"};

// The voice of each slot and the voice folders the user added. A slot's value is "male" or
// "female" for a built-in voice, else the absolute path of a voice folder; empty or absent:
// the slot's own built-in voice.
struct StringKey {
    std::string_view section;
    std::string_view key;
};
inline constexpr std::string_view kVoicesSection = "Voices";
inline constexpr StringKey kMaleSlotVoice{kVoicesSection, "MaleSlot"};
inline constexpr StringKey kFemaleSlotVoice{kVoicesSection, "FemaleSlot"};
// Who says the lines in 「」 and 『』 (settings/dialogue_voice.h): 0 the voice that says the rest
// (absent: this), 1 the other slot's voice, 2 to 4 the natural voice's happy, sad, angry style.
inline constexpr IntKey kDialogueVoice{kVoicesSection, "DialogueVoice", 0};
inline constexpr std::string_view kBuiltInMaleValue = "male";
inline constexpr std::string_view kBuiltInFemaleValue = "female";
// Folder1, Folder2, ...: the folders added by hand, outside the voices directory.
inline constexpr std::string_view kAddedFolderKeyPrefix = "Folder";
inline constexpr int kMaxAddedFolders = 32;
// The natural voice's controls, for both slots: its pitch in half-tones (kMinNaturalPitch to
// kMaxNaturalPitch), its intonation in tenths (0 monotone, 10 as the voice makes it, up to
// kMaxNaturalIntonation) and how strongly the slot's style is said, in percent of the style over
// neutral (100: the style alone). Absent: these defaults; out of range: the nearest end.
inline constexpr IntKey kNaturalPitch{kVoicesSection, "NaturalPitch", 0};
inline constexpr IntKey kNaturalIntonation{kVoicesSection, "NaturalIntonation", 10};
inline constexpr IntKey kNaturalStyleWeight{kVoicesSection, "NaturalStyleWeight", 100};
inline constexpr std::int32_t kMinNaturalPitch = -12;
inline constexpr std::int32_t kMaxNaturalPitch = 12;
inline constexpr std::int32_t kMaxNaturalIntonation = 20;
inline constexpr std::int32_t kMaxNaturalStyleWeight = 100;
// The natural voice's pauses in milliseconds, one key for each mark in the order of
// PauseMark (pause_table.h): the comma, the sentence's end, ！ and ？, the ellipsis, the dash,
// a line end and a blank line. Absent (a file of an earlier version): these defaults; out of
// range: the nearest end of 0 to kMaxPauseMs. The comma's is the median pause at a comma in
// read speech (docs/user-guide.md); the others are chosen longer than any pause within a sentence.
inline constexpr std::array<IntKey, 7> kPauseKeys{{
    {kVoicesSection, "PauseComma", 120},
    {kVoicesSection, "PausePeriod", 500},
    {kVoicesSection, "PauseQuestion", 500},
    {kVoicesSection, "PauseEllipsis", 700},
    {kVoicesSection, "PauseDash", 400},
    {kVoicesSection, "PauseLineEnd", 800},
    {kVoicesSection, "PauseBlankLine", 1500},
}};
inline constexpr std::int32_t kMaxPauseMs = 5000;
// Below the user's data directory: the folder whose subfolders are voices.
inline constexpr std::string_view kVoicesSubdirectory = "yomi6/voices";

// Nonzero: voice samples longer than the speech tick are shortened to it (pitch kept).
inline constexpr IntKey kFitSamples{"Settings", "FitSamples", 0};

// The number of pages the print preview shows (0: its own choice).
inline constexpr IntKey kPreviewPages{"Settings", "PreviewPages", 0};

} // namespace yomi6::settings_keys
