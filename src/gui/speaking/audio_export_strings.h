// The texts of 音声ﾌｧｲﾙに保存 that the user reads (UTF-8).
#pragma once

namespace yomi6::export_texts {

inline constexpr const char* kCaption = "音声ﾌｧｲﾙに保存";
inline constexpr const char* kProgress = "音声ﾌｧｲﾙに保存しています...";
// The line under kProgress: what is left to do, until it can be told, then how long it takes.
inline constexpr const char* kEstimating = "残り時間を計算しています";
inline constexpr const char* kRemainingSeconds = "残り 約 %1 秒";
inline constexpr const char* kRemainingMinutes = "残り 約 %1 分 %2 秒";
inline constexpr const char* kRemainingHours = "残り 約 %1 時間 %2 分";
inline constexpr const char* kCancel = "キャンセル";
inline constexpr const char* kSubtitles = "字幕も保存する(&T)";
inline constexpr const char* kTimings = "タイミングも保存する (.json)(&J)";
// Audio book: one file per chapter (名前-01-章題.wav ...) and a playlist (.m3u8) of them.
inline constexpr const char* kChapters = "章ごとに分けて保存する (.m3u8 も)(&C)";
// Audio book: one file with a mark where each chapter starts, and a cue sheet of them.
inline constexpr const char* kMarks = "1 つのﾌｧｲﾙに章の目印を付ける (.cue も)(&M)";
inline constexpr const char* kNoFfmpeg = "M4B で保存するには ffmpeg が必要ですが、見つかりません。"
                                         "ほかの形式を選ぶか、ffmpeg をｲﾝｽﾄｰﾙしてください。";
// %1: the files that exist already, one a line.
inline constexpr const char* kAskReplace = "次のﾌｧｲﾙはすでにあります。置き換えますか?\n\n%1";
inline constexpr const char* kReplace = "置き換える(&Y)";
// %1: the sound file's full path; %2: the side files' names after it, or nothing.
inline constexpr const char* kSaved = "音声ﾌｧｲﾙを保存しました: %1%2";
// %1: the playlist's full path; %2: how many sound files it lists.
inline constexpr const char* kSavedChapters = "章ごとに %2 個の音声ﾌｧｲﾙを保存しました: %1";
inline constexpr const char* kSavedBeside = " (%1も)";
inline constexpr const char* kSideSeparator = "、";
inline constexpr const char* kNothingToExport =
    "読み上げる文字がないため、音声ﾌｧｲﾙに保存できません。";
// %1: the file and the reason, as the export gives them.
inline constexpr const char* kFailed = "音声ﾌｧｲﾙに保存できませんでした。\n%1";

// %1: how many sentences the natural voice's engine could not say (they are left out).
inline constexpr const char* kSkipped =
    "自然な声で読み上げられなかった文が %1 か所あり、飛ばして保存しました。";

} // namespace yomi6::export_texts
