// The dictionary manager's texts (UTF-8). The field limits and the dictionary file's messages
// are the registration dialog's own (exchange_texts, dic_messages).
#pragma once

namespace yomi6::manager_texts {

inline constexpr const char* kCaption = "辞書の管理";
inline constexpr const char* kColumnNumber = "No";
inline constexpr const char* kColumnWord = "単語";
inline constexpr const char* kColumnYomi = "読み(半角カナ入力)";
inline constexpr const char* kFilterLabel = "絞り込み(&F):";
inline constexpr const char* kFilterHint = "単語または読みの一部";
inline constexpr const char* kAdd = "追加(&A)";
inline constexpr const char* kDelete = "削除(&D)";
inline constexpr const char* kUndo = "元に戻す(&U)";
inline constexpr const char* kRedo = "やり直し(&R)";
inline constexpr const char* kImport = "読み込み(&I)...";
inline constexpr const char* kExport = "書き出し(&E)...";
inline constexpr const char* kSave = "保存(&S)";
inline constexpr const char* kClose = "閉じる";
inline constexpr const char* kTryLabel = "読みを試す";
inline constexpr const char* kTryHint = "単語や文を入力すると読みが表示されます";
inline constexpr const char* kListen = "聞く(&L)";
inline constexpr const char* kRows = "登録 %1 語 / %2 行";
// The field limits in characters as well as bytes: %1 characters, %2 bytes.
inline constexpr const char* kLimitsHint =
    "単語は全角%1文字 (%2バイト) まで、読みは半角カナ%3文字 (%4バイト) まで";
inline constexpr const char* kWordTooLong =
    "単語は全角%1文字 (%2バイト) まで入力できます。半角の文字は1文字1バイトです。";
inline constexpr const char* kYomiTooLong =
    "読みは半角カナ%1文字 (%2バイト) まで入力できます。濁点と半濁点も1文字に数えます。";

// Undo step names.
inline constexpr const char* kEditStep = "編集";
inline constexpr const char* kAddStep = "追加";
inline constexpr const char* kDeleteStep = "削除";
inline constexpr const char* kImportStep = "読み込み";
inline constexpr const char* kRegisterStep = "選択範囲を登録";

inline constexpr const char* kFull = "辞書に空きの行がありません。(%1 行すべて使用中)";
inline constexpr const char* kNotInCodePage = "Shift-JISで表せない文字は登録できません。";
// %1: the word as typed. Its blanks would go, and the words on either side run together.
inline constexpr const char* kBlankInWord =
    "「%1」は登録できません。単語の空白は取り除かれ、前後の語がつながってしまいます。";
inline constexpr const char* kAskSave = "辞書の変更を保存しますか?";
inline constexpr const char* kChangedOnDisk =
    "辞書ファイルは、このウィンドウで読み込んだ後にほかのウィンドウで保存されています。\n"
    "「統合」: "
    "両方の変更を残します(同じ行が両方で変更されていれば、ほかの側の行は空き行へ移します)。\n"
    "「読み直し」: このウィンドウでの変更を捨てて、ファイルの内容を表示します。";
inline constexpr const char* kMerge = "統合";
inline constexpr const char* kReload = "読み直し";
inline constexpr const char* kChangedNotice =
    "辞書ファイルがほかで保存されました。保存するときに統合できます。";
inline constexpr const char* kReloadedNotice = "ほかで保存された辞書を読み直しました。";
inline constexpr const char* kMergeReport = "ほかで保存された変更を統合しました(%1 行)。";
inline constexpr const char* kMergeMoved =
    "同じ行が両方で変更されていたため、%1 行を空き行へ移しました。";
inline constexpr const char* kMergeLost =
    "空き行がないため、ほかで保存された %1 行を残せませんでした。";

// Import and export.
inline constexpr const char* kImportCaption = "単語リストの読み込み";
inline constexpr const char* kExportCaption = "単語リストの書き出し";
inline constexpr const char* kCsvFilter = "CSV (*.csv)";
inline constexpr const char* kTsvFilter = "タブ区切り (*.tsv *.txt)";
inline constexpr const char* kCsvUtf8Filter = "CSV UTF-8 (*.csv)";
inline constexpr const char* kCsvUtf8BomFilter = "CSV UTF-8 BOM付き (*.csv)";
inline constexpr const char* kCsvSjisFilter = "CSV Shift-JIS (*.csv)";
inline constexpr const char* kTsvUtf8Filter = "タブ区切り UTF-8 (*.tsv)";
inline constexpr const char* kTsvSjisFilter = "タブ区切り Shift-JIS (*.tsv)";
inline constexpr const char* kCannotReadList = "ファイルを読み込めません: %1";
inline constexpr const char* kCannotWriteList = "ファイルに書き込めません: %1";
inline constexpr const char* kDuplicates =
    "辞書にすでにある単語が、別の読みで %1 語あります。\n%2\nどちらの読みを残しますか?";
inline constexpr const char* kDuplicateLine = "%1行目 %2: %3 → %4";
inline constexpr const char* kKeepExisting = "辞書の読みを残す";
inline constexpr const char* kReplaceExisting = "読み込む読みに置き換える";
inline constexpr const char* kImportReport = "%1 語を追加し、%2 語の読みを置き換えました。";
inline constexpr const char* kImportUnchanged = "%1 語は同じ読みで登録済みでした。";
inline constexpr const char* kImportKept = "%1 語は辞書の読みのままにしました。";
inline constexpr const char* kImportSkipped = "読み込めなかった行が %1 行あります(詳細を参照)。";
inline constexpr const char* kImportSkippedLine = "%1行目: %2 「%3」";
inline constexpr const char* kImportLeftOut =
    "辞書が %1 行でいっぱいのため、%2 語は登録されませんでした。";
inline constexpr const char* kExportReport = "%1 語を書き出しました。";
inline constexpr int kListedDuplicates = 10;

} // namespace yomi6::manager_texts
