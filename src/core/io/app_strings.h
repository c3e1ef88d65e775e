// The program's fixed texts other than the commands' (UTF-8).
#pragma once

namespace yomi6::strings {

inline constexpr const char* kMainTitle = "よみあげPad Ver6.0";
inline constexpr const char* kAppName = "Yomi6"; // caption of message boxes
inline constexpr const char* kReady = "ﾚﾃﾞｨ";    // status bar message pane when idle
// The message pane while a reading runs or is paused (%1: the voice, %2: the reading mode,
// followed by kNoOutputStatus when nothing can be heard).
inline constexpr const char* kReadingStatus = "読み上げ中（%1・%2）";
inline constexpr const char* kPausedStatus = "一時停止中（%1・%2）";
inline constexpr const char* kNoOutputStatus = "・音声出力なし";
// The speak command's pass ended before the end of the document: %1 is the line where it
// stopped.
inline constexpr const char* kPassCut = "%1 行目で区切りました。続きは Ctrl+F3";

// Status bar indicators in pane order after the message pane.
inline constexpr const char* kIndicatorKana = "ｶﾅ";
inline constexpr const char* kIndicatorCaps = "CAP";
inline constexpr const char* kIndicatorNum = "NUM";
inline constexpr const char* kIndicatorVoiceSizing = "おとこ";  // only sizes the voice pane
inline constexpr const char* kIndicatorReadingsSizing = "自動"; // only sizes the reading pane

// Document string fields.
inline constexpr const char* kUntitledBase = "無題";
inline constexpr const char* kFileFilter = "ﾃｷｽﾄﾌｧｲﾙ (*.txt)";
inline constexpr const char* kDefaultExtension = ".txt";

inline constexpr const char* kFileTooLarge = "ﾌｧｲﾙが大きすぎて開けません。";

// The settings file could not be written at the end of the run (%1: its path); it is kept as
// it was.
inline constexpr const char* kSettingsNotSaved = "設定ファイルに書き込めません。\n%1";

// Status bar message when there is no sound output (no sound server, or one that does not answer).
inline constexpr const char* kNoSoundOutput = "音声を出力できません。読み上げは無音で進みます。";

// About box.
inline constexpr const char* kAboutCaption = "ﾊﾞｰｼﾞｮﾝ情報";
inline constexpr const char* kAboutText = "よみあげPad Version 6.0";
inline constexpr const char* kAboutOk = "ok";
// The credit the voices shipped with the program ask for (CC BY 4.0): the voice, its makers,
// the licence, and that the kana voice folder is changed from it.
inline constexpr const char* kAboutVoiceCredit =
    "音声「tohoku-f01」: 東北大学 伊藤・能勢研究室 "
    "(Intelligent Communication Network Laboratory, Tohoku University)、CC BY 4.0。"
    "声のフォルダ「tohoku-f01-kana」はこの音声から作り、加工したものです。";

} // namespace yomi6::strings
