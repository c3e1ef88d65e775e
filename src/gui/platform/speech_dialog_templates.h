// Templates 130 (speech settings) and 133 (word registration): caption, font, size and every
// control with its id, text and place in dialog units, in template (tab) order; and the texts
// the two dialogs show in message boxes.
#pragma once

#include <span>

namespace yomi6 {

enum class ControlKind {
    DefaultPushButton,
    PushButton,
    PushRadioFirst, // a push-like radio button that starts a group
    PushRadio,      // a push-like radio button of the group above it
    Edit,
    ReadOnlyEdit, // no tab stop
    UpDown,       // two arrows, no tab stop
    VScrollBar,   // no tab stop
    StaticText,
    GroupBox,
};

inline constexpr int kStaticId = -1;

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* text; // UTF-8; empty for none
    int x, y, width, height;
};

struct DialogTemplate {
    int id;
    const char* caption;
    int fontPoints;
    int width, height;
    std::span<const ControlTemplate> controls;
};

namespace speech_settings_ids {
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kSpeedText = 1000;
inline constexpr int kSpin = 1001;
inline constexpr int kRepeatOn = 1002;
inline constexpr int kRepeatOff = 1003;
inline constexpr int kMale = 1007;
inline constexpr int kFemale = 1008;
} // namespace speech_settings_ids

inline constexpr ControlTemplate kSpeechSettingsControls[] = {
    {1, ControlKind::DefaultPushButton, "OK", 28, 129, 39, 15},
    {2, ControlKind::PushButton, "ｷｬﾝｾﾙ", 72, 129, 39, 15},
    {kStaticId, ControlKind::StaticText, "スピード", 37, 18, 32, 8},
    {1000, ControlKind::Edit, "", 72, 17, 26, 12},
    {1001, ControlKind::UpDown, "", 98, 17, 8, 12},
    {kStaticId, ControlKind::GroupBox, "リピート", 21, 82, 97, 36},
    {1002, ControlKind::PushRadioFirst, "ＯＮ", 28, 94, 39, 15},
    {1003, ControlKind::PushRadio, "ＯＦＦ", 72, 94, 39, 15},
    {kStaticId, ControlKind::GroupBox, "しゃべる速度", 21, 3, 97, 36},
    {kStaticId, ControlKind::GroupBox, "声のタイプ", 21, 42, 97, 36},
    {1007, ControlKind::PushRadioFirst, "男性", 28, 56, 39, 15},
    {1008, ControlKind::PushRadio, "女性", 72, 56, 39, 15},
};

inline constexpr DialogTemplate kSpeechSettingsTemplate = {130, "設定", 11,
                                                           139, 151,    kSpeechSettingsControls};

namespace word_dialog_ids {
inline constexpr int kConfirm = 1;
inline constexpr int kCancel = 2;
inline constexpr int kScrollBar = 1013;
// Row by row, top to bottom.
inline constexpr int kWords[5] = {1009, 1025, 1011, 1027, 1028};
inline constexpr int kYomis[5] = {1010, 1026, 1012, 1029, 1030};
inline constexpr int kNumbers[5] = {1014, 1015, 1016, 1017, 1018};
} // namespace word_dialog_ids

inline constexpr ControlTemplate kWordDialogControls[] = {
    {1009, ControlKind::Edit, "", 28, 20, 51, 12},
    {1010, ControlKind::Edit, "", 79, 20, 86, 12},
    {1025, ControlKind::Edit, "", 28, 33, 51, 12},
    {1026, ControlKind::Edit, "", 79, 33, 86, 12},
    {1011, ControlKind::Edit, "", 28, 46, 51, 12},
    {1012, ControlKind::Edit, "", 79, 46, 86, 12},
    {1027, ControlKind::Edit, "", 28, 59, 51, 12},
    {1029, ControlKind::Edit, "", 79, 59, 86, 12},
    {1028, ControlKind::Edit, "", 28, 72, 51, 12},
    {1030, ControlKind::Edit, "", 79, 72, 86, 12},
    {1, ControlKind::PushButton, "登 録", 53, 92, 55, 16},
    {2, ControlKind::PushButton, "取り消し", 110, 92, 55, 16},
    {1014, ControlKind::ReadOnlyEdit, "", 7, 20, 21, 12},
    {1015, ControlKind::ReadOnlyEdit, "", 7, 33, 21, 12},
    {1016, ControlKind::ReadOnlyEdit, "", 7, 46, 21, 12},
    {1017, ControlKind::ReadOnlyEdit, "", 7, 59, 21, 12},
    {1018, ControlKind::ReadOnlyEdit, "", 7, 72, 21, 12},
    {1013, ControlKind::VScrollBar, "", 166, 20, 10, 64},
    {kStaticId, ControlKind::StaticText, "単語", 28, 10, 21, 8},
    {kStaticId, ControlKind::StaticText, "読み(半角カナ入力)", 79, 10, 77, 8},
    {kStaticId, ControlKind::StaticText, "No", 11, 10, 14, 8},
};

inline constexpr DialogTemplate kWordDialogTemplate = {133, "単語登録", 12,
                                                       184, 117,        kWordDialogControls};

// The data exchange's messages (UTF-8): a text that is no integer, an integer out of range
// (%1 and %2 are its bounds), and a text longer than its field (%1 is the limit).
namespace exchange_texts {
inline constexpr const char* kNotInteger = "整数を入力してください。";
inline constexpr const char* kIntegerRange = "%1 から %2 までの整数を入力してください。";
inline constexpr const char* kMaxChars = "%1 文字以内で入力してください。";
} // namespace exchange_texts

} // namespace yomi6
