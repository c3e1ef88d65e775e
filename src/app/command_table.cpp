#include "app/command_table.h"

#include <algorithm>
#include <iterator>

namespace yomi6 {

namespace {

using namespace cmd;

// Sorted by id.
constexpr CommandInfo kCommands[] = {
    {Speak, "ﾃｷｽﾄの読み上げを開始します。(F3)", "よみあげｽﾀｰﾄ (F3)", ":/icons/speak.svg"},
    {Stop, "ﾃｷｽﾄの読み上げを中止します。(F4)", "よみあげｽﾄｯﾌﾟ(F4)", ":/icons/stop.svg"},
    {ScreenFont, "ﾌｫﾝﾄの設定をします。", "ﾌｫﾝﾄの設定", ":/icons/screen-font.svg"},
    {SpeechSettings, "ｽﾋﾟｰﾄﾞ・ﾘﾋﾟｰﾄ･声のﾀｲﾌﾟの設定を行います。", "設定",
     ":/icons/speech-settings.svg"},
    {WordRegistration, "漢字などの単語登録を行います。", "単語登録",
     ":/icons/word-registration.svg"},
    {WordWrap, "ﾜｰﾄﾞﾗｯﾌﾟの設定", nullptr, nullptr},
    {PrinterFont, "ﾌﾟﾘﾝﾀ用のﾌｫﾝﾄを設定します。", nullptr, nullptr},
    {PageLayout, "ﾍﾟｰｼﾞﾚｲｱｳﾄの設定を行います。", nullptr, nullptr},
    {Readings, "漢字も自動で読みます。もう一度選ぶと辞書だけで読みます。", "漢字も読む",
     ":/icons/readings.svg"},
    {ReadFromCaret, "ｶｰｿﾙ位置から最後まで、選択中はその範囲を読み上げます。(Ctrl+F3)",
     "ｶｰｿﾙ位置から読む (Ctrl+F3)", ":/icons/read-from-caret.svg"},
    {Pause, "読み上げを一時停止します。もう一度選ぶと続きを読みます。(Pause)", "一時停止 (Pause)",
     ":/icons/pause.svg"},
    {ReadingPane, "読みﾊﾟﾈﾙの表示/非表示", "読みﾊﾟﾈﾙ", nullptr},
    {ExportAudio, "文書または選択範囲の読み上げを音声ﾌｧｲﾙに保存します。", "音声ﾌｧｲﾙに保存",
     nullptr},
    {FitSamples, "速く読むとき、声を間隔に合わせて縮めます(高さは変わりません)。", nullptr,
     nullptr},
    {VoiceManager, "声の選択、声のﾌｫﾙﾀﾞの確認、声の録音を行います。", "声の管理", nullptr},
    {DictionaryManager, "辞書の単語を一覧で検索・編集し、単語リストを読み込み・書き出しします。",
     "辞書の管理", nullptr},
    {RegisterSelection, "選択した文字列を辞書に登録します。", "選択範囲を登録", nullptr},
    {FileNew, "新規にﾌｧｲﾙを作成", "新規ﾌｧｲﾙ", ":/icons/file-new.svg"},
    {FileOpen, "既存のﾌｧｲﾙを開く", "開く", ":/icons/file-open.svg"},
    {FileClose, "作業中のﾌｧｲﾙを閉じる", "閉じる", nullptr},
    {FileSave, "作業中のﾌｧｲﾙを保存", "保存", ":/icons/file-save.svg"},
    {FileSaveAs, "作業中のﾌｧｲﾙに名前を付けて保存", "名前をつけて保存", nullptr},
    {FilePrintSetup, "ﾌﾟﾘﾝﾀ/印刷設定の変更", "ﾌﾟﾘﾝﾀの設定", nullptr},
    {FilePrint, "作業中のﾌｧｲﾙを印刷", "印刷", ":/icons/file-print.svg"},
    {FilePrintPreview, "ﾌﾙｽｸﾘｰﾝで表示", "印刷ﾌﾟﾚﾋﾞｭｰ", nullptr},
    {FileMruFirst, "指定のﾌｧｲﾙを開く", nullptr, nullptr},
    {EditCopy, "選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存", "ｺﾋﾟ-", ":/icons/edit-copy.svg"},
    {EditCut, "選択範囲を切り取ってｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存", "切り取り", ":/icons/edit-cut.svg"},
    {EditFind, "指定した文字列の検索", "検索", ":/icons/find.svg"},
    {EditPaste, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を貼り付け", "貼り付け", ":/icons/edit-paste.svg"},
    {EditReplace, "指定した文字列を他の文字列で置換", "置換", ":/icons/replace.svg"},
    {EditSelectAll, "ﾌｧｲﾙ全体を選択", "すべて選択", nullptr},
    {EditUndo, "直前に行った動作を元に戻す", "元に戻す", nullptr},
    {WindowNew, "作業中のｳｨﾝﾄﾞｳを複写して表示", "新規ｳｨﾝﾄﾞｳ", nullptr},
    {WindowArrange, "ｳｨﾝﾄﾞｳの下部にｱｲｺﾝを整列", "ｱｲｺﾝの整列", nullptr},
    {WindowCascade, "ｳｨﾝﾄﾞｳを重ねて表示", "重ねて表示", ":/icons/window-cascade.svg"},
    {WindowTileHorz, "ｳｨﾝﾄﾞｳを上下に並べて表示", "上下に並べて表示",
     ":/icons/window-tile-horizontal.svg"},
    {WindowTileVert, "ｳｨﾝﾄﾞｳを左右に並べて表示", "左右に並べて表示",
     ":/icons/window-tile-vertical.svg"},
    {AppAbout, "ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示", "ﾊﾞｰｼﾞｮﾝ情報", nullptr},
    {AppExit, "ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示", "終了", nullptr},
    {HelpContents, "ﾍﾙﾌﾟを起動します。", "ﾍﾙﾌﾟ", ":/icons/help-contents.svg"},
    {ViewToolBar, "ﾂｰﾙ ﾊﾞｰの表示/非表示", "ﾂｰﾙ ﾊﾞｰの表示/非表示", nullptr},
    {ViewStatusBar, "ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示", "ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示", nullptr},
};

static_assert(std::is_sorted(std::begin(kCommands), std::end(kCommands),
                             [](const CommandInfo& a, const CommandInfo& b) {
                                 return a.id < b.id;
                             }),
              "FindCommand searches the commands by id");

// A top-level menu starts with an entry of id None and a text; a separator has neither.
constexpr MenuEntry kMainFrameMenu[] = {
    {None, "ﾌｧｲﾙ(&F)"},
    {FileNew, "新規作成(&N)\tCtrl+N"},
    {FileOpen, "開く(&O)...\tCtrl+O"},
    {None, nullptr},
    {FilePrintSetup, "ﾌﾟﾘﾝﾀの設定(&R)..."},
    {None, nullptr},
    {FileMruFirst, "最新のﾌｧｲﾙ", true},
    {None, nullptr},
    {AppExit, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"},
    {None, "表示(&V)"},
    {ViewToolBar, "ﾂｰﾙ ﾊﾞｰ(&T)"},
    {ViewStatusBar, "ｽﾃｰﾀｽ ﾊﾞｰ(&S)"},
    {None, "ﾍﾙﾌﾟ(&H)"},
    {HelpContents, "目次(&C)"},
    {AppAbout, "ﾊﾞｰｼﾞｮﾝ情報(YOMI6)(&A)..."},
};

constexpr MenuEntry kDocumentMenu[] = {
    {None, "ﾌｧｲﾙ(&F)"},
    {FileNew, "新規作成(&N)\tCtrl+N"},
    {FileOpen, "開く(&O)...\tCtrl+O"},
    {FileClose, "閉じる(&C)"},
    {FileSave, "上書き保存(&S)\tCtrl+S"},
    {FileSaveAs, "名前を付けて保存(&A)..."},
    {ExportAudio, "音声ﾌｧｲﾙに保存(&A)..."},
    {None, nullptr},
    {PageLayout, "ﾍﾟｰｼﾞﾚｲｱｳﾄの設定(&L)"},
    {FilePrintSetup, "ﾌﾟﾘﾝﾀの設定(&R)..."},
    {FilePrintPreview, "印刷ﾌﾟﾚﾋﾞｭｰ(&V)"},
    {FilePrint, "印刷(&P)...\tCtrl+P"},
    {PrinterFont, "ﾌﾟﾘﾝﾀ用ﾌｫﾝﾄの設定(&F)"},
    {None, nullptr},
    {FileMruFirst, "最新のﾌｧｲﾙ", true},
    {None, nullptr},
    {AppExit, "終了(&X)"},
    {None, "編集(&E)"},
    {EditUndo, "元に戻す(&U)\tCtrl+Z"},
    {None, nullptr},
    {EditCut, "切り取り(&T)\tCtrl+X"},
    {EditCopy, "ｺﾋﾟｰ(&C)\tCtrl+C"},
    {EditPaste, "貼り付け(&P)\tCtrl+V"},
    {None, nullptr},
    {EditSelectAll, "すべて選択"},
    {None, "よみあげ(&T)"},
    {Speak, "しゃべる(&S)"},
    {Stop, "やめる(&E)"},
    {Readings, "漢字も読む(&K)"},
    {ReadFromCaret, "ｶｰｿﾙ位置から読む(&R)"},
    {Pause, "一時停止(&P)"},
    {None, nullptr},
    {SpeechSettings, "設定(&C)"},
    {WordRegistration, "単語登録(&W)"},
    {DictionaryManager, "辞書の管理(&M)..."},
    {RegisterSelection, "選択範囲を登録"},
    {VoiceManager, "声の管理(&V)..."},
    {None, nullptr},
    {FitSamples, "速さに合わせて声を縮める(&F)"},
    {None, "検索(&S)"},
    {EditFind, "文字列検索(&F)"},
    {EditReplace, "文字列置換(&E)"},
    {None, "表示(&V)"},
    {ViewToolBar, "ﾂｰﾙ ﾊﾞｰ (&T)"},
    {ViewStatusBar, "ｽﾃｰﾀｽ ﾊﾞｰ(&S)"},
    {None, nullptr},
    {ScreenFont, "フォントの設定(&F)"},
    {WordWrap, "右端で折り返す"},
    {ReadingPane, "読みﾊﾟﾈﾙ(&Y)"},
    {None, "ｳｨﾝﾄﾞｳ(&W)"},
    {WindowNew, "新しいｳｨﾝﾄﾞｳを開く(&N)"},
    {WindowCascade, "重ねて表示(&C)"},
    {WindowTileHorz, "上下に並べて表示(&H)"},
    {WindowTileVert, "左右に並べて表示(&V)"},
    {WindowArrange, "ｱｲｺﾝの整列(&A)"},
    {None, "ﾍﾙﾌﾟ(&H)"},
    {HelpContents, "目次(&C)"},
    {AppAbout, "ﾊﾞｰｼﾞｮﾝ情報(&A)..."},
};

constexpr Accelerator kAccelerators[] = {
    {"Ctrl+C", EditCopy},
    {"Ctrl+N", FileNew},
    {"Ctrl+O", FileOpen},
    {"Ctrl+P", FilePrint},
    {"Ctrl+S", FileSave},
    {"Ctrl+V", EditPaste},
    {"Alt+Backspace", EditUndo},
    {"Shift+Del", EditCut},
    {"F3", Speak},
    {"F4", Stop},
    {"Ctrl+F3", ReadFromCaret},
    {"Ctrl+F4", Pause},
    {"Pause", Pause},
    {"F6", NextPane},
    {"Shift+F6", PrevPane},
    {"Ctrl+Ins", EditCopy},
    {"Shift+Ins", EditPaste},
    {"Ctrl+X", EditCut},
    {"Ctrl+Z", EditUndo},
};

constexpr cmd::Id kToolBar[] = {
    FileNew,        FileOpen,      FileSave, FilePrint,  None,           Speak,
    ReadFromCaret,  Pause,         Stop,     Readings,   SpeechSettings, WordRegistration,
    None,           EditCut,       EditCopy, EditPaste,  None,           WindowTileHorz,
    WindowTileVert, WindowCascade, None,     ScreenFont, EditFind,       EditReplace,
    None,           HelpContents,
};

} // namespace

const CommandInfo* FindCommand(cmd::Id id) {
    const auto* it = std::lower_bound(std::begin(kCommands), std::end(kCommands), id,
                                      [](const CommandInfo& c, cmd::Id key) { return c.id < key; });
    return it != std::end(kCommands) && it->id == id ? it : nullptr;
}

std::span<const MenuEntry> MainFrameMenu() {
    return kMainFrameMenu;
}
std::span<const MenuEntry> DocumentMenu() {
    return kDocumentMenu;
}
std::span<const Accelerator> Accelerators() {
    return kAccelerators;
}
std::span<const cmd::Id> ToolBarLayout() {
    return kToolBar;
}

} // namespace yomi6
