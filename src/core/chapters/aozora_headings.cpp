#include "chapters/aozora_headings.h"

#include <optional>
#include <string_view>

namespace yomi6::headings {

namespace {

struct HeadingKind {
    std::u16string_view name;
    int level;
};

// The heading notes' names and their levels.
constexpr HeadingKind kKinds[] = {
    {u"大見出し", 1},     {u"中見出し", 2},     {u"小見出し", 3},
    {u"同行大見出し", 1}, {u"同行中見出し", 2}, {u"同行小見出し", 3},
    {u"窓大見出し", 1},   {u"窓中見出し", 2},   {u"窓小見出し", 3},
};

std::optional<int> LevelOf(std::u16string_view name) {
    for (const HeadingKind& kind : kKinds) {
        if (kind.name == name) {
            return kind.level;
        }
    }
    return std::nullopt;
}

// What a note says about a heading.
enum class NoteKind { None, Quoted, Open, Close, BlockOpen, BlockClose };

struct Note {
    std::size_t begin = 0; // of "［＃" in the line
    std::size_t end = 0;   // after "］"
    NoteKind kind = NoteKind::None;
    int level = 0;
    std::u16string_view quoted; // the heading a Quoted note names
};

Note ReadNote(std::u16string_view body) {
    Note note;
    auto take = [&](NoteKind kind, std::u16string_view name) {
        if (const std::optional<int> level = LevelOf(name)) {
            note.kind = kind;
            note.level = *level;
            return true;
        }
        return false;
    };
    constexpr std::u16string_view kEnd = u"終わり";
    constexpr std::u16string_view kBlockOpen = u"ここから";
    constexpr std::u16string_view kBlockClose = u"ここで";
    if (body.starts_with(u"「")) {
        const std::size_t close = body.rfind(u"」は");
        if (close != std::u16string_view::npos && close > 1 &&
            take(NoteKind::Quoted, body.substr(close + 2))) {
            note.quoted = body.substr(1, close - 1);
        }
        return note;
    }
    if (body.starts_with(kBlockOpen)) {
        take(NoteKind::BlockOpen, body.substr(kBlockOpen.size()));
        return note;
    }
    if (body.starts_with(kBlockClose) && body.ends_with(kEnd)) {
        const std::u16string_view name =
            body.substr(kBlockClose.size(), body.size() - kBlockClose.size() - kEnd.size());
        take(NoteKind::BlockClose, name);
        return note;
    }
    if (body.ends_with(kEnd)) {
        take(NoteKind::Close, body.substr(0, body.size() - kEnd.size()));
        return note;
    }
    take(NoteKind::Open, body);
    return note;
}

std::vector<Note> NotesOf(std::u16string_view line) {
    std::vector<Note> notes;
    for (std::size_t at = line.find(u"［＃"); at != std::u16string_view::npos;
         at = line.find(u"［＃", at)) {
        const std::size_t close = line.find(u'］', at);
        if (close == std::u16string_view::npos) {
            break;
        }
        Note note = ReadNote(line.substr(at + 2, close - at - 2));
        note.begin = at;
        note.end = close + 1;
        if (note.kind != NoteKind::None) {
            notes.push_back(note);
        }
        at = close + 1;
    }
    return notes;
}

// A block heading under way: its level, where it starts and its lines so far.
struct Block {
    int level = 0;
    std::size_t begin = 0;
    std::u16string text;
};

} // namespace

std::vector<Chapter> AozoraHeadings(const std::vector<Line>& lines) {
    std::vector<Chapter> chapters;
    std::optional<Block> block;
    for (const Line& line : lines) {
        const std::vector<Note> notes = NotesOf(line.text);
        std::optional<Note> open; // a pair opened on this line
        bool blockOpenedHere = false;
        for (const Note& note : notes) {
            switch (note.kind) {
            case NoteKind::Quoted:
                chapters.push_back({note.level, line.begin, PlainTitle(note.quoted)});
                break;
            case NoteKind::Open:
                open = note;
                break;
            case NoteKind::Close:
                if (open && open->level == note.level) {
                    const std::u16string_view inner =
                        line.text.substr(open->end, note.begin - open->end);
                    chapters.push_back({note.level, line.begin, PlainTitle(inner)});
                    open.reset();
                }
                break;
            case NoteKind::BlockOpen:
                block = Block{note.level, line.begin, {}};
                blockOpenedHere = true;
                break;
            case NoteKind::BlockClose:
                if (block && block->level == note.level) {
                    std::u16string title = PlainTitle(block->text);
                    if (!title.empty()) {
                        chapters.push_back({block->level, block->begin, std::move(title)});
                    }
                    block.reset();
                }
                break;
            case NoteKind::None:
                break;
            }
        }
        if (block && !blockOpenedHere) {
            // The block's own lines; the heading notes within them are dropped by PlainTitle.
            if (!block->text.empty()) {
                block->text += u'\u3000';
            }
            block->text += line.text;
        }
    }
    return chapters;
}

} // namespace yomi6::headings
