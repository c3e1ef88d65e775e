// Command identifiers: the program's own from 32771, the framework's standard ones from 57600.
#pragma once

namespace yomi6::cmd {

enum Id : int {
    None = 0,
    // The program's own commands.
    Speak = 32771,
    Stop = 32772,
    ScreenFont = 32776,
    SpeechSettings = 32778,
    WordRegistration = 32780,
    WordWrap = 32789,
    PrinterFont = 32791,
    PageLayout = 32792,
    Readings = 32793,      // 漢字も読む: the automatic reading on or off
    ReadFromCaret = 32794, // from the caret (or the selection) to the end, pass after pass
    Pause = 32795,         // pause or resume the speech
    ReadingPane = 32796,   // the reading pane shown or hidden
    ExportAudio = 32797,   // 音声ﾌｧｲﾙに保存: the text rendered to a sound file
    FitSamples = 32800,    // the samples fit a fast tick (a setting of this program's own)
    VoiceManager = 32810,
    DictionaryManager = 32820,
    RegisterSelection = 32821,
    AozoraNotation = 32830, // 青空文庫の注記を読まない: Aozora notation found and kept silent
    // Standard commands.
    FileNew = 57600,
    FileOpen = 57601,
    FileClose = 57602,
    FileSave = 57603,
    FileSaveAs = 57604,
    FilePrintSetup = 57606,
    FilePrint = 57607,
    FilePrintDirect = 57608,
    FilePrintPreview = 57609,
    FileMruFirst = 57616, // the recent-file entries: 57616 to 57619
    EditCopy = 57634,
    EditCut = 57635,
    EditFind = 57636,
    EditPaste = 57637,
    EditReplace = 57641,
    EditSelectAll = 57642,
    EditUndo = 57643,
    WindowNew = 57648,
    WindowArrange = 57649,
    WindowCascade = 57650,
    WindowTileHorz = 57651,
    WindowTileVert = 57652,
    AppAbout = 57664,
    AppExit = 57665,
    HelpContents = 57670,
    NextPane = 57680,
    PrevPane = 57681,
    ViewToolBar = 59392,
    ViewStatusBar = 59393,
};

inline constexpr int kRecentFileCount = 4;

} // namespace yomi6::cmd
