// A voice of one's own: a folder of WAVE files named after the units they speak ("KA.wav",
// "GYA.wav", "S.wav", ...). Loading reads every unit's file, checks it and converts it once to
// the player's format; the report says for each unit whether it is usable, missing (the
// built-in voice speaks it) or unusable, and why.
//
// What is read: the folder's entries whose names are a unit's suffix followed by ".wav", in any
// letter case. A symbolic link is followed when it leads to a regular file, wherever that file
// lies (a voice may borrow recordings from another); a link to anything else, a broken link and
// a loop of links are unusable entries. Files other than regular files (directories, FIFOs,
// devices) are never opened for reading, so nothing can block. A file larger than the size
// limit is refused by its size alone, before any byte is read.
#pragma once

#include "voice/voice_units.h"
#include "wave/wave_decoder.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6 {

enum class UnitProblem {
    None,           // usable
    Missing,        // no file for the unit
    NotRegularFile, // a directory, FIFO, device, or a link to one
    BrokenLink,     // a symbolic link to nothing, or a loop of links
    OpenFailed,     // the file cannot be opened (detail: the system's reason)
    ReadFailed,     // reading it failed part way (detail: the system's reason)
    TooLarge,       // larger than the size limit
    BadWave,        // not a WAVE file this program reads (waveError and detail say why)
    TooLong,        // it sounds longer than a unit may
};

struct UnitReport {
    std::string_view suffix;
    UnitProblem problem = UnitProblem::Missing;
    std::string file;   // the file's name in the folder; empty when missing
    std::string detail; // English: the system's reason, or what is wrong with the sound
    WaveError waveError = WaveError::None;
    // The file's format, for a usable unit.
    int sampleRate = 0;
    int channels = 0;
    int bitsPerSample = 0;
    bool isFloat = false;
    double seconds = 0;
    std::size_t frames = 0; // the sound's length at sampleRate
};

enum class FolderProblem { None, NotFound, NotADirectory, Unreadable };

struct VoiceFolderReport {
    std::string folder;
    FolderProblem folderProblem = FolderProblem::None;
    std::string folderDetail;      // the system's reason for a folder problem; for NotADirectory
                                   // what it is instead ("a regular file", "a named pipe")
    std::vector<UnitReport> units; // one per unit, in VoiceUnits() order
    std::vector<std::string> ignoredFiles; // ".wav" files that speak no unit, with the reason
    bool cancelled = false;

    std::size_t Count(UnitProblem problem) const;
    std::size_t UsableCount() const { return Count(UnitProblem::None); }
    std::size_t MissingCount() const { return Count(UnitProblem::Missing); }
    // Units with a file that cannot be used, and a folder that cannot be read at all.
    bool HasUnusable() const;
};

// A loaded voice folder: the report, and the usable units as 16-bit mono frames at the
// player's rate. Never changed once loaded, so that any thread may read it.
struct FolderVoice {
    VoiceFolderReport report;
    std::array<std::vector<std::int16_t>, kVoiceUnitCount> pcm;

    // The frames of the unit with that suffix; empty when the folder does not have it.
    std::span<const std::int16_t> Find(std::string_view suffix) const;
};

struct VoiceLoadLimits {
    std::uint64_t maxFileBytes = 16 * 1024 * 1024;
    double maxSeconds = 5.0;
};

// The most frames a unit may hold at that rate; a file one frame longer is too long.
std::uint64_t MaxUnitFrames(const VoiceLoadLimits& limits, int sampleRate);

// Called after each unit with the count done so far and the total; returning false cancels the
// load (the report then says cancelled, and the units not reached stay missing).
using VoiceLoadProgress = std::function<bool(std::size_t done, std::size_t total)>;

// Reads the folder. Never throws for anything on disk: every problem is an entry of the report.
std::shared_ptr<const FolderVoice> LoadVoiceFolder(const std::string& folder,
                                                   const VoiceLoadProgress& progress = {},
                                                   const VoiceLoadLimits& limits = {});

} // namespace yomi6
