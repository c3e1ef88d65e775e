// The program's commands, one name each. Menus, shortcuts, tool bar buttons and the objects that
// carry a command out all name it by this enum; the order is the command table's.
#pragma once

namespace yomi6 {

enum class CommandId {
    None,
    Speak,
    Stop,
    ScreenFont,
    SpeechSettings,
    WordRegistration,
    WordWrap,
    PrinterFont,
    PageLayout,
    Readings,      // 漢字も読む: the automatic reading on or off
    ReadFromCaret, // from the caret (or the selection) to the end, pass after pass
    Pause,         // pause or resume the speech
    ReadingPane,   // the reading pane shown or hidden
    ExportAudio,   // 音声ﾌｧｲﾙに保存: the text rendered to a sound file
    FitSamples,    // the samples fit a fast tick
    VoiceManager,
    DictionaryManager,
    RegisterSelection,
    AozoraNotation, // 青空文庫の注記を読まない: Aozora notation found and kept silent
    FileNew,
    FileOpen,
    FileClose,
    FileSave,
    FileSaveAs,
    FilePrintSetup,
    FilePrint,
    FilePrintDirect, // printing without the print dialog
    FilePrintPreview,
    RecentFile1, // the recent-file entries, most recent first
    RecentFile2,
    RecentFile3,
    RecentFile4,
    EditCopy,
    EditCut,
    EditFind,
    EditPaste,
    EditReplace,
    EditSelectAll,
    EditUndo,
    WindowNew,
    WindowArrange,
    WindowCascade,
    WindowTileHorz,
    WindowTileVert,
    AppAbout,
    AppExit,
    HelpContents,
    NextPane,
    PrevPane,
    ViewToolBar,
    ViewStatusBar,
    ChaptersPane,  // the table of contents shown or hidden
    ResumeReading, // 続きから読む: from where reading of the file stopped last
    AddBookmark,   // しおりを挟む: a named bookmark at the caret
    BookmarkList,  // しおり: the file's bookmarks, to jump to or delete
    Sleep15,       // the sleep timer: stop reading after 15, 30 or 60 minutes
    Sleep30,
    Sleep60,
    SleepChapter, // the sleep timer: stop reading at the end of the chapter
};

inline constexpr int kRecentFileCount = 4;

// The recent-file entry at index (0 the most recent, below kRecentFileCount).
constexpr CommandId RecentFileCommand(int index) {
    return static_cast<CommandId>(static_cast<int>(CommandId::RecentFile1) + index);
}

} // namespace yomi6
