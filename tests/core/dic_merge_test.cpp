// Bringing a word list into the dictionary (free records, duplicates kept or replaced, the
// 9999-record limit), the merge of two windows' changes, and the dictionary document over real
// files: saves that keep the bytes past the records, and changes on disk noticed and merged.
#include "dictionary/dic_document.h"
#include "dictionary/dic_merge.h"
#include "dictionary/dic_messages.h"
#include "dictionary/dictionary.h"
#include "dictionary/word_list_import.h"
#include "dictionary/word_registration.h"
#include "support/dic_image.h"
#include "support/recording_sink.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace yomi6 {
namespace {

using test::DicImage;
using test::RecordingSink;
using test::Sjis;
using test::TempDir;

const unsigned char* U(const std::string& s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}

WordListRow Row(int line, std::string_view word, std::string_view yomi) {
    return {line, {Sjis(word), Sjis(yomi)}};
}

WordEntry At(const std::string& image, int record) {
    return EntryOf(RecordOf(U(image), record));
}

WordEntry E(std::string_view word, std::string_view yomi) {
    return {Sjis(word), Sjis(yomi)};
}

std::string Apply(std::string image, const ImportOutcome& outcome) {
    for (const RecordChange& c : outcome.changes) {
        PutRecord(reinterpret_cast<unsigned char*>(image.data()), c.record, c.after);
    }
    return image;
}

TEST(PlanImportTest, NewWordsFillFreeRecordsInOrder) {
    // Record 0 used, record 1 free by an empty reading, record 2 used.
    const std::string image = DicImage()
                                  .Record(0, Sjis("漢字"), Sjis("ｶﾝｼﾞ"))
                                  .Record(1, Sjis("空き"), "")
                                  .Record(2, Sjis("記号"), Sjis("ｷｺﾞｳ"))
                                  .Bytes();
    const ImportOutcome out = PlanImport(
        U(image), {Row(1, "音声", "ｵﾝｾｲ"), Row(2, "合成", "ｺﾞｳｾｲ"), Row(3, "漢字", "ｶﾝｼﾞ")},
        DuplicateChoice::Keep);
    EXPECT_EQ(out.added, 2);
    EXPECT_EQ(out.unchanged, 1);
    EXPECT_TRUE(out.duplicates.empty());
    const std::string after = Apply(image, out);
    EXPECT_EQ(At(after, 1), E("音声", "ｵﾝｾｲ"));
    EXPECT_EQ(At(after, 3), E("合成", "ｺﾞｳｾｲ"));
    EXPECT_EQ(At(after, 0), E("漢字", "ｶﾝｼﾞ"));
}

TEST(PlanImportTest, DuplicatesAreReportedAndKeptOrReplaced) {
    const std::string image = DicImage().Record(5, Sjis("今日"), Sjis("ｷｮｳ")).Bytes();
    // The list has the word twice with other readings, and a new word twice.
    const std::vector<WordListRow> rows = {Row(1, "今日", "ｺﾝﾆﾁ"), Row(2, "明日", "ｱｼﾀ"),
                                           Row(3, "明日", "ｱｽ")};
    const ImportOutcome keep = PlanImport(U(image), rows, DuplicateChoice::Keep);
    ASSERT_EQ(keep.duplicates.size(), 2u);
    EXPECT_EQ(keep.duplicates[0].line, 1);
    EXPECT_EQ(keep.duplicates[0].record, 5);
    EXPECT_EQ(keep.duplicates[0].oldYomi, Sjis("ｷｮｳ"));
    EXPECT_EQ(keep.duplicates[0].newYomi, Sjis("ｺﾝﾆﾁ"));
    EXPECT_EQ(keep.duplicates[1].line, 3);
    EXPECT_EQ(keep.duplicates[1].record, 0);
    const std::string kept = Apply(image, keep);
    EXPECT_EQ(At(kept, 5), E("今日", "ｷｮｳ"));
    EXPECT_EQ(At(kept, 0), E("明日", "ｱｼﾀ"));
    EXPECT_EQ(keep.added, 1);
    EXPECT_EQ(keep.replaced, 0);

    const ImportOutcome replace = PlanImport(U(image), rows, DuplicateChoice::Replace);
    EXPECT_EQ(replace.replaced, 2);
    const std::string replaced = Apply(image, replace);
    EXPECT_EQ(At(replaced, 5), E("今日", "ｺﾝﾆﾁ"));
    EXPECT_EQ(At(replaced, 0), E("明日", "ｱｽ"));
    EXPECT_TRUE(IsFreeEntry(At(replaced, 1)));
}

TEST(PlanImportTest, NeverPastTheLastRecordAndCountsWhatWasLeftOut) {
    DicImage full;
    for (int n = 0; n < kUserRows - 2; ++n) {
        full.Record(n, "w" + std::to_string(n), Sjis("ｱ"));
    }
    std::vector<WordListRow> rows;
    rows.reserve(5);
    for (int i = 0; i < 5; ++i) {
        rows.push_back(Row(i + 1, "new" + std::to_string(i), "ｲ"));
    }
    const ImportOutcome out = PlanImport(U(full.Bytes()), rows, DuplicateChoice::Keep);
    EXPECT_EQ(out.added, 2);
    EXPECT_EQ(out.leftOut, 3);
    ASSERT_EQ(out.changes.size(), 2u);
    EXPECT_EQ(out.changes[0].record, kUserRows - 2);
    EXPECT_EQ(out.changes[1].record, kUserRows - 1);
}

TEST(MergeDictionaryImagesTest, EachSideKeepsWhatOnlyItChanged) {
    const std::string base = DicImage()
                                 .Record(0, Sjis("一"), Sjis("ｲﾁ"))
                                 .Record(1, Sjis("二"), Sjis("ﾆ"))
                                 .Record(2, Sjis("三"), Sjis("ｻﾝ"))
                                 .Bytes();
    // Mine changed record 0 and added record 3; the disk deleted record 1 and added record 4.
    const std::string mine = DicImage()
                                 .Record(0, Sjis("一"), Sjis("ﾋﾄ"))
                                 .Record(1, Sjis("二"), Sjis("ﾆ"))
                                 .Record(2, Sjis("三"), Sjis("ｻﾝ"))
                                 .Record(3, Sjis("四"), Sjis("ﾖﾝ"))
                                 .Bytes();
    const std::string disk = DicImage()
                                 .Record(0, Sjis("一"), Sjis("ｲﾁ"))
                                 .Record(2, Sjis("三"), Sjis("ｻﾝ"))
                                 .Record(4, Sjis("五"), Sjis("ｺﾞ"))
                                 .Bytes();
    const DictionaryMerge m = MergeDictionaryImages(U(base), U(mine), U(disk));
    EXPECT_EQ(At(m.image, 0), E("一", "ﾋﾄ"));
    EXPECT_TRUE(IsFreeEntry(At(m.image, 1)));
    EXPECT_EQ(At(m.image, 2), E("三", "ｻﾝ"));
    EXPECT_EQ(At(m.image, 3), E("四", "ﾖﾝ"));
    EXPECT_EQ(At(m.image, 4), E("五", "ｺﾞ"));
    EXPECT_EQ(m.takenFromDisk, 2);
    EXPECT_TRUE(m.movedToRecord.empty());
}

TEST(MergeDictionaryImagesTest, BothSidesWroteTheSameRecordNothingIsLost) {
    const std::string base = DicImage().Record(1, Sjis("一"), Sjis("ｲﾁ")).Bytes();
    // Both added a different row in free record 0, and both changed record 1 differently.
    const std::string mine =
        DicImage().Record(0, Sjis("甲"), Sjis("ｺｳ")).Record(1, Sjis("一"), Sjis("ﾋﾄﾂ")).Bytes();
    const std::string disk =
        DicImage().Record(0, Sjis("乙"), Sjis("ｵﾂ")).Record(1, Sjis("一"), Sjis("ｲｯ")).Bytes();
    const DictionaryMerge m = MergeDictionaryImages(U(base), U(mine), U(disk));
    EXPECT_EQ(At(m.image, 0), E("甲", "ｺｳ"));
    EXPECT_EQ(At(m.image, 1), E("一", "ﾋﾄﾂ"));
    EXPECT_EQ(At(m.image, 2), E("乙", "ｵﾂ"));
    EXPECT_EQ(At(m.image, 3), E("一", "ｲｯ"));
    EXPECT_EQ(m.movedToRecord, (std::vector<int>{2, 3}));
    EXPECT_EQ(m.lost, 0);
}

TEST(MergeDictionaryImagesTest, AnEmptiedRowGivesWayAndRemnantsAreNoChange) {
    const std::string base =
        DicImage().Record(0, Sjis("一"), Sjis("ｲﾁ")).Record(1, Sjis("二"), Sjis("ﾆ")).Bytes();
    // Mine emptied record 0 and rewrote record 1 with a remnant behind its terminator; the
    // disk changed record 0 and emptied record 1.
    DicImage mineImage;
    mineImage.Record(1, Sjis("二") + std::string("\0X", 2), Sjis("ﾆ"));
    const std::string disk = DicImage().Record(0, Sjis("一"), Sjis("ﾋﾄ")).Bytes();
    const DictionaryMerge m = MergeDictionaryImages(U(base), U(mineImage.Bytes()), U(disk));
    EXPECT_EQ(At(m.image, 0), E("一", "ﾋﾄ")); // their change beats my deletion
    // Record 1: mine means what base meant, so the disk's deletion stands.
    EXPECT_TRUE(IsFreeEntry(At(m.image, 1)));
}

TEST(MergeDictionaryImagesTest, ConflictingRowsWithNoFreeRecordAreCounted) {
    DicImage base, mine, disk;
    for (int n = 0; n < kUserRows; ++n) {
        base.Record(n, "b" + std::to_string(n), Sjis("ｱ"));
        mine.Record(n, "b" + std::to_string(n), Sjis(n == 7 ? "ｲ" : "ｱ"));
        disk.Record(n, "b" + std::to_string(n), Sjis(n == 7 ? "ｳ" : "ｱ"));
    }
    const DictionaryMerge m =
        MergeDictionaryImages(U(base.Bytes()), U(mine.Bytes()), U(disk.Bytes()));
    EXPECT_EQ(m.lost, 1);
    EXPECT_EQ(At(m.image, 7), E("b7", "ｲ"));
}

class DictionaryDocumentTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.File("Yomi6.dic");
    RecordingSink sink;
};

TEST_F(DictionaryDocumentTest, SaveCleansKeepsBytesPastTheRecordsAndNoticesOthers) {
    const std::string tail = "TAIL\x01\x02";
    test::WriteFile(path, DicImage().Record(0, Sjis("漢字"), Sjis("ｶﾝｼﾞ")).Bytes() + tail);
    DictionaryDocument doc;
    ASSERT_TRUE(doc.Load(path, sink));
    EXPECT_FALSE(doc.ChangedOnDisk());
    const auto edited = EditedRecord(doc.Record(1), OverlongField::Kind::Word, Sjis("音 声"));
    ASSERT_TRUE(std::holds_alternative<RecordBytes>(edited));
    doc.SetRecord(1, std::get<RecordBytes>(edited));
    doc.SetRecord(1, std::get<RecordBytes>(
                         EditedRecord(doc.Record(1), OverlongField::Kind::Yomi, Sjis("ｵﾝｾｲ1"))));
    ASSERT_TRUE(doc.Save(sink));
    EXPECT_TRUE(sink.messages.empty());
    const std::string saved = test::ReadFile(path);
    ASSERT_EQ(saved.size(), kDicImageSize + tail.size());
    EXPECT_EQ(saved.substr(kDicImageSize), tail);
    EXPECT_EQ(At(saved, 1), E("音声", "ｵﾝｾｲ")); // cleaned: no blank, no digit
    EXPECT_FALSE(doc.ChangedOnDisk());

    // Another window saves; only the content counts, not a mere touch.
    std::string other = saved;
    PutRecord(reinterpret_cast<unsigned char*>(other.data()), 2, RecordOfEntry(E("記号", "ｷｺﾞｳ")));
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    test::WriteFile(path, saved);
    EXPECT_FALSE(doc.ChangedOnDisk());
    test::WriteFile(path, other);
    EXPECT_TRUE(doc.ChangedOnDisk());

    // Merged: both rows are there, and the disk's image is the new base.
    doc.SetRecord(3, RecordOfEntry(E("合成", "ｺﾞｳｾｲ")));
    const auto merge = doc.MergeWithDisk(sink);
    ASSERT_TRUE(merge);
    EXPECT_EQ(doc.Entry(2), E("記号", "ｷｺﾞｳ"));
    EXPECT_EQ(doc.Entry(3), E("合成", "ｺﾞｳｾｲ"));
    EXPECT_FALSE(doc.ChangedOnDisk());
    ASSERT_TRUE(doc.Save(sink));
    const std::string final = test::ReadFile(path);
    EXPECT_EQ(At(final, 2), E("記号", "ｷｺﾞｳ"));
    EXPECT_EQ(At(final, 3), E("合成", "ｺﾞｳｾｲ"));
    EXPECT_EQ(final.substr(kDicImageSize), tail);
}

TEST_F(DictionaryDocumentTest, MissingShortAndOverlong) {
    DictionaryDocument doc;
    ASSERT_TRUE(doc.Load(path, sink)); // no file: an empty dictionary
    EXPECT_EQ(doc.FirstFreeRecord(), 0);
    test::WriteFile(path, "");
    EXPECT_TRUE(doc.ChangedOnDisk()); // it appeared
    DictionaryDocument shortDoc;
    EXPECT_FALSE(shortDoc.Load(path, sink));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].first, dic_messages::kCannotRead);

    const auto tooLong =
        EditedRecord(RecordBytes{}, OverlongField::Kind::Word, Sjis("一二三四五六七"));
    ASSERT_TRUE(std::holds_alternative<OverlongField>(tooLong));
    EXPECT_EQ(std::get<OverlongField>(tooLong).limit, 12u);
    const auto yomi =
        EditedRecord(RecordBytes{}, OverlongField::Kind::Yomi, std::string(21, '\xB1'));
    ASSERT_TRUE(std::holds_alternative<OverlongField>(yomi));
    EXPECT_EQ(std::get<OverlongField>(yomi).limit, 20u);
}

TEST_F(DictionaryDocumentTest, RegistrationConfirmKeepsRowsSavedWhileItWasOpen) {
    const Dictionary dictionary(path);
    test::WriteFile(path, DicImage().Record(0, Sjis("一"), Sjis("ｲﾁ")).Bytes());
    auto reg = std::make_unique<WordRegistration>(dictionary);
    ASSERT_TRUE(reg->Open(sink));
    // Another window saves rows 0 (changed) and 3 (new) while the registration is open.
    DictionaryDocument other;
    ASSERT_TRUE(other.Load(path, sink));
    other.SetRecord(0, RecordOfEntry(E("一", "ﾋﾄﾂ")));
    other.SetRecord(3, RecordOfEntry(E("三", "ｻﾝ")));
    ASSERT_TRUE(other.Save(sink));

    RegistrationRows rows = reg->FillRows(0);
    rows[1].word = Sjis("二");
    rows[1].yomi = Sjis("ﾆ");
    ASSERT_FALSE(reg->Confirm(rows, sink));
    const std::string saved = test::ReadFile(path);
    EXPECT_EQ(At(saved, 0), E("一", "ﾋﾄﾂ"));
    EXPECT_EQ(At(saved, 1), E("二", "ﾆ"));
    EXPECT_EQ(At(saved, 3), E("三", "ｻﾝ"));
    EXPECT_TRUE(sink.messages.empty());
}

} // namespace
} // namespace yomi6
