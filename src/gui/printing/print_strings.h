// The fixed texts of printing and the page layout dialog (UTF-8).
#pragma once

namespace yomi6::print_strings {

// Page layout dialog.
inline constexpr const char* kPageLayoutCaption = "ページレイアウトの設定";
inline constexpr const char* kFileNameGroup = "ファイル名";
inline constexpr const char* kDateGroup = "日付と時刻";
inline constexpr const char* kPageGroup = "ページ";
inline constexpr const char* kOn = "ON";
inline constexpr const char* kOff = "OFF";
inline constexpr const char* kOk = "OK";
inline constexpr const char* kCancel = "ｷｬﾝｾﾙ";

// A print job that could not be started (the printer or the output file refused it).
inline constexpr const char* kCannotStartJob = "印刷ｼﾞｮﾌﾞを開始できませんでした。";

} // namespace yomi6::print_strings
