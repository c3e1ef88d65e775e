// The 音声ﾌｧｲﾙに保存 command: the document or its selection rendered to a sound file in the
// format the save dialog's file type picks, optionally with subtitles and timings beside it.
// The rendering runs off the user-interface thread behind a progress dialog with a cancel
// button; a cancel or a failure leaves no file.
#pragma once

#include "speaking/natural_export.h"

#include <QString>

class QWidget;

namespace yomi6 {

class AppContext;
struct ExportTargets;
struct ReaderSetup;
struct SpeechPreferences;
class VoiceSelection;

// The file types of the save dialog, in their order, and the extension each one writes.
QString AudioExportFilters();

// Asks for the file name and the side files (and, once, whether to replace those that exist),
// then exports text (UTF-16, the document's line breaks) and says in the main window's status
// bar where the file was saved. Returns false when the user cancelled or the export failed
// (after saying why). The dialog starts at suggested (a folder and a name). The speech choices
// and the subtitle format offered first are context's; the format chosen is kept there for the
// next export.
bool ExportAudioWithDialogs(QWidget* parent, AppContext& context, const QString& text,
                            const QString& suggested);

// How an export that is no error ended.
struct ExportOutcome {
    bool cancelled = false; // by the user, leaving no file
    int soundFiles = 0;     // sound files written
};

// The export itself, for names already chosen: the audio of targets, and its subtitles or
// timings when not empty. Shows the progress dialog after half a second. Returns the error
// text, empty on success; "cancelled" is not an error but is said through *outcome.
// The slots speak with the voices they have in voices when the export starts, or with natural
// when it is set (its problem, when it cannot speak, is said first); the text is read with
// setup's dictionary and analyzer. With targets.chapters, one file of each kind per chapter and
// a playlist.
QString ExportAudioFiles(QWidget* parent, const SpeechPreferences& preferences,
                         const VoiceSelection& voices, NaturalExportVoice natural,
                         const ReaderSetup& setup, const QString& text,
                         const ExportTargets& targets, ExportOutcome* outcome);

} // namespace yomi6
