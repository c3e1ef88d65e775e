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

// About box.
inline constexpr const char* kAboutCaption = "ﾊﾞｰｼﾞｮﾝ情報";
inline constexpr const char* kAboutText = "よみあげPad Version 6.0";
inline constexpr const char* kAboutOk = "ok";

} // namespace yomi6::strings
