#include "voice/voice_folder.h"

#include "wave/pcm_convert.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace yomi6 {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kExtension = ".wav";

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

// The unit suffix a file name stands for ("ka.WAV" -> "KA"), or empty.
std::string UnitOfFileName(std::string_view name) {
    if (name.size() <= kExtension.size()) {
        return {};
    }
    const std::string upper = Upper(name);
    if (std::string_view(upper).substr(upper.size() - kExtension.size()) != ".WAV") {
        return {};
    }
    return upper.substr(0, upper.size() - kExtension.size());
}

bool HasWavExtension(std::string_view name) {
    return name.size() > kExtension.size() &&
           Upper(name.substr(name.size() - kExtension.size())) == ".WAV";
}

const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "a directory";
    }
    if (S_ISFIFO(mode)) {
        return "a named pipe";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return "not a regular file";
}

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Reads the file of one unit into bytes, or sets the unit's problem.
bool ReadUnitFile(const std::string& path, const VoiceLoadLimits& limits, UnitReport& unit,
                  std::vector<unsigned char>& bytes) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer.
    const Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        const int error = errno;
        struct stat link {};
        const bool isLink = ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
        if (isLink && (error == ENOENT || error == ELOOP)) {
            unit.problem = UnitProblem::BrokenLink;
            unit.detail =
                error == ENOENT ? "a symbolic link to nothing" : "a loop of symbolic links";
        } else {
            unit.problem = UnitProblem::OpenFailed;
            unit.detail = std::strerror(error);
        }
        return false;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        unit.problem = UnitProblem::OpenFailed;
        unit.detail = std::strerror(errno);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        unit.problem = UnitProblem::NotRegularFile;
        unit.detail = KindOf(st.st_mode);
        return false;
    }
    auto tooLarge = [&](std::uint64_t size) {
        unit.problem = UnitProblem::TooLarge;
        unit.detail = "the file holds " + std::to_string(size) + " bytes; at most " +
                      std::to_string(limits.maxFileBytes) + " are read";
        return false;
    };
    if (static_cast<std::uint64_t>(st.st_size) > limits.maxFileBytes) {
        return tooLarge(static_cast<std::uint64_t>(st.st_size));
    }
    // Read to the limit whatever the size said: some files report a size they do not hold.
    bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size()) {
            if (done > limits.maxFileBytes) {
                return tooLarge(done);
            }
            bytes.resize(std::min<std::uint64_t>(bytes.size() * 2, limits.maxFileBytes + 1));
        }
        const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            unit.problem = UnitProblem::ReadFailed;
            unit.detail = std::strerror(errno);
            return false;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return true;
}

void LoadUnit(const std::string& path, const VoiceLoadLimits& limits, UnitReport& unit,
              std::vector<std::int16_t>& pcm) {
    std::vector<unsigned char> bytes;
    if (!ReadUnitFile(path, limits, unit, bytes)) {
        return;
    }
    WaveDecodeResult decoded = DecodeWave(bytes);
    bytes = {};
    if (!decoded) {
        unit.problem = UnitProblem::BadWave;
        unit.waveError = decoded.error;
        unit.detail = decoded.detail;
        return;
    }
    const DecodedWave& wave = decoded.wave;
    unit.sampleRate = wave.sampleRate;
    unit.channels = wave.channels;
    unit.bitsPerSample = wave.bitsPerSample;
    unit.isFloat = wave.isFloat;
    unit.seconds = static_cast<double>(wave.mono.size()) / wave.sampleRate;
    unit.frames = wave.mono.size();
    if (unit.seconds > limits.maxSeconds) {
        unit.problem = UnitProblem::TooLong;
        // In frames: seconds rounded for show could make a file just over the limit look
        // within it (80001 frames at 16 kHz are "5.00 s").
        char text[160];
        std::snprintf(text, sizeof text,
                      "it holds %zu frames at %d Hz (%.3f s); a unit may hold %llu (%g s) at most",
                      wave.mono.size(), wave.sampleRate, unit.seconds,
                      static_cast<unsigned long long>(MaxUnitFrames(limits, wave.sampleRate)),
                      limits.maxSeconds);
        unit.detail = text;
        return;
    }
    pcm = ToPlayerPcm(wave.mono, wave.sampleRate);
    unit.problem = pcm.empty() ? UnitProblem::BadWave : UnitProblem::None;
    if (pcm.empty()) {
        unit.detail = "the sound could not be converted";
    }
}

} // namespace

std::uint64_t MaxUnitFrames(const VoiceLoadLimits& limits, int sampleRate) {
    return static_cast<std::uint64_t>(std::floor(limits.maxSeconds * sampleRate));
}

std::size_t VoiceFolderReport::Count(UnitProblem problem) const {
    return static_cast<std::size_t>(
        std::count_if(units.begin(), units.end(),
                      [problem](const UnitReport& u) { return u.problem == problem; }));
}

bool VoiceFolderReport::HasUnusable() const {
    return folderProblem != FolderProblem::None ||
           std::any_of(units.begin(), units.end(), [](const UnitReport& u) {
               return u.problem != UnitProblem::None && u.problem != UnitProblem::Missing;
           });
}

std::span<const std::int16_t> FolderVoice::Find(std::string_view suffix) const {
    const auto index = VoiceUnitIndex(suffix);
    if (!index) {
        return {};
    }
    return pcm[*index];
}

std::shared_ptr<const FolderVoice> LoadVoiceFolder(const std::string& folder,
                                                   const VoiceLoadProgress& progress,
                                                   const VoiceLoadLimits& limits) {
    auto voice = std::make_shared<FolderVoice>();
    VoiceFolderReport& report = voice->report;
    report.folder = folder;
    for (const VoiceUnit& unit : VoiceUnits()) {
        UnitReport entry;
        entry.suffix = unit.suffix;
        report.units.push_back(std::move(entry));
    }

    std::error_code ec;
    const fs::file_status status = fs::status(folder, ec);
    if (ec || !fs::exists(status)) {
        report.folderProblem = ec && ec != std::errc::no_such_file_or_directory
                                   ? FolderProblem::Unreadable
                                   : FolderProblem::NotFound;
        report.folderDetail = ec ? ec.message() : "no such folder";
        return voice;
    }
    if (!fs::is_directory(status)) {
        report.folderProblem = FolderProblem::NotADirectory;
        // What it is instead (the problem itself already says it is no folder).
        struct stat st {};
        report.folderDetail = ::stat(folder.c_str(), &st) != 0 ? "not a folder"
                              : S_ISREG(st.st_mode)            ? "a regular file"
                                                               : KindOf(st.st_mode);
        return voice;
    }

    // The file names of each unit, sorted so that the choice among several is stable.
    std::map<std::string, std::vector<std::string>> files;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.' || !HasWavExtension(name)) {
            continue; // hidden files (such as unfinished writes) and other files
        }
        std::string unit = UnitOfFileName(name);
        if (FindVoiceUnit(unit) == nullptr) {
            report.ignoredFiles.push_back(name + ": not named after a unit");
            continue;
        }
        files[std::move(unit)].push_back(name);
    }
    if (ec) {
        report.folderProblem = FolderProblem::Unreadable;
        report.folderDetail = ec.message();
        return voice;
    }

    std::size_t total = 0;
    for (auto& [unit, names] : files) {
        std::sort(names.begin(), names.end());
        // The name spelled exactly like the unit wins over other spellings.
        const auto exact = std::find(names.begin(), names.end(), unit + ".wav");
        if (exact != names.end()) {
            std::rotate(names.begin(), exact, exact + 1);
        }
        for (std::size_t i = 1; i < names.size(); ++i) {
            report.ignoredFiles.push_back(names[i] + ": " + names[0] + " is used for " + unit);
        }
        ++total;
    }
    std::sort(report.ignoredFiles.begin(), report.ignoredFiles.end());

    std::size_t done = 0;
    for (std::size_t i = 0; i < report.units.size(); ++i) {
        UnitReport& unit = report.units[i];
        const auto found = files.find(std::string(unit.suffix));
        if (found == files.end()) {
            continue;
        }
        if (progress && !progress(done, total)) {
            report.cancelled = true;
            return voice;
        }
        unit.file = found->second.front();
        LoadUnit(folder + "/" + unit.file, limits, unit, voice->pcm[i]);
        ++done;
    }
    if (progress) {
        progress(done, total);
    }
    return voice;
}

} // namespace yomi6
