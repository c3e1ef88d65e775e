// The program's fixed texts other than the commands' (UTF-8).
#pragma once

namespace yomi6::strings {

inline constexpr const char* kMainTitle = "よみあげPad Ver6.0";
inline constexpr const char* kAppName = "Yomi6"; // caption of message boxes
inline constexpr const char* kReady = "ﾚﾃﾞｨ";    // status bar message pane when idle

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

} // namespace yomi6::strings
