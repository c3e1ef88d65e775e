// Chapter marks inside one sound file, for an audio book: where each chapter starts and ends on
// the sound's clock and its title, written in the form each format keeps them in. Each writer
// takes the head of a finished file and gives the head that replaces it; the sound after it is
// copied as it is (Ogg pages get their new numbers and checksums).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6 {

struct ChapterMark {
    std::int64_t startMs = 0;
    std::int64_t endMs = 0;
    std::string title; // UTF-8
};

// "HH:MM:SS.mmm" of ms, as chapter comments write a time.
std::string ChapterCommentTime(std::int64_t ms);

// A comment list (a vendor string and KEY=value comments, little-endian lengths) with the
// chapters: the list's CHAPTER comments are dropped, and CHAPTER001=time and CHAPTER001NAME=
// title are added for each mark (three digits, more past 999). list starts the list; end
// receives where the list ends in it. False with the reason in error for a list cut short.
bool AddChapterComments(std::string_view list, const std::vector<ChapterMark>& marks,
                        std::string& out, std::size_t& end, std::string& error);

// The comment list of a file that had none: vendor and the chapters.
std::string ChapterCommentList(std::string_view vendor, const std::vector<ChapterMark>& marks);

} // namespace yomi6
