// The export dialog's logic: which choices each format allows, the range
// from the cursor to the time mark, the file and what a write tells.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "interchange/export_form.h"
#include "support/documents.h"
#include "support/scratch_folder.h"
#include "support/scripted_prompter.h"
#include "support/waveform_files.h"

namespace lyr::interchange {
namespace {

TEST(ExportForm, ChoicesOfEachFormat) {
    auto doc = test::newDoc(10, 100);
    ExportForm form(*doc, 0, std::nullopt);
    const struct {
        int index;
        Format format;
        bool contentChoice;
        const char* extension;
    } rows[] = {{0, Format::Csv, false, "csv"}, {1, Format::Wav, false, "wav"}, {2, Format::Wav, false, "wav"},
                {3, Format::Npy, true, "npy"},  {4, Format::Vcd, false, "vcd"}};
    ASSERT_EQ(ExportForm::formatChoices().size(), std::size(rows));
    for (const auto& r : rows) {
        form.setFormat(3);
        form.setContent(Content::Digital);
        form.setFormat(r.index);
        EXPECT_EQ(form.formatChoice().format, r.format) << r.index;
        EXPECT_EQ(form.contentChoice(), r.contentChoice) << r.index;
        // a format without the choice holds the analog track (CSV and VCD: and the channels)
        EXPECT_EQ(form.content(), r.contentChoice ? Content::Digital : Content::Analog) << r.index;
        EXPECT_STREQ(form.formatChoice().extension, r.extension);
    }
    EXPECT_EQ(ExportForm::formatChoices()[2].wav, WavSamples::Pcm16);
    // a file chosen for one extension is dropped by a format of another
    form.setFormat(1);
    form.setPath("/tmp/a.wav");
    form.setFormat(2);
    EXPECT_EQ(form.path(), "/tmp/a.wav");
    form.setFormat(0);
    EXPECT_EQ(form.path(), "");
    EXPECT_FALSE(form.canWrite());
}

TEST(ExportForm, RangeFromTheCursorToTheMark) {
    auto doc = test::newDoc(10, 1000);
    const struct {
        std::uint32_t cursor;
        std::optional<std::uint32_t> mark;
        ExportForm::Range asked;
        std::uint32_t first, count;
        const char* text;
    } rows[] = {
        {5, std::nullopt, ExportForm::Range::CursorToMark, 0, 1000, "0 ～ 999 （1000 サンプル）"},  // no mark: whole
        {700, 100, ExportForm::Range::Whole, 0, 1000, "0 ～ 999 （1000 サンプル）"},
        {700, 100, ExportForm::Range::CursorToMark, 100, 601, "100 ～ 700 （601 サンプル）"},
        {100, 700, ExportForm::Range::CursorToMark, 100, 601, "100 ～ 700 （601 サンプル）"},
        {42, 42, ExportForm::Range::CursorToMark, 42, 1, "42 ～ 42 （1 サンプル）"},
    };
    for (const auto& r : rows) {
        ExportForm form(*doc, r.cursor, r.mark);
        EXPECT_EQ(form.markRange(), r.mark.has_value());
        form.setRange(r.asked);
        EXPECT_EQ(form.first(), r.first) << r.cursor;
        EXPECT_EQ(form.count(), r.count) << r.cursor;
        EXPECT_EQ(form.rangeText(), r.text);
    }
}

TEST(ExportForm, WriteTellsItsFailureAndNotes) {
    test::ScratchFolder dir;
    auto doc = test::newDoc(30, 200);  // 1/30 ns is no whole number of Hz
    for (std::uint32_t i = 0; i < 200; ++i) {
        doc->analog()[i] = i < 10 ? 1.5 : 0.25;
        doc->digital(3)[i] = i % 2;
    }
    test::ScriptedPrompter prompter;
    ExportForm form(*doc, 150, 50);
    form.setRange(ExportForm::Range::CursorToMark);

    form.setFormat(3);
    form.setContent(Content::Digital);
    form.setPath(dir / "words.npy");
    ASSERT_TRUE(form.write(prompter, nullptr));
    EXPECT_TRUE(prompter.asked.empty());
    const auto bytes = test::fileBytes(dir / "words.npy");
    ASSERT_EQ(bytes.size(), 128u + 101u);  // samples 50 to 150
    EXPECT_EQ(bytes[128], 0);              // sample 50: CH3 low
    EXPECT_EQ(bytes[129], 8);              // sample 51: CH3 high

    // the whole waveform as PCM: the rounded rate and the ten clipped samples are told
    form.setRange(ExportForm::Range::Whole);
    form.setFormat(2);
    form.setPath(dir / "pcm.wav");
    ASSERT_TRUE(form.write(prompter, nullptr));
    ASSERT_EQ(prompter.asked.size(), 2u);
    EXPECT_EQ(prompter.asked[0].text, rateNote(33333333));
    EXPECT_EQ(prompter.asked[1].text, clippedNote(10));
    EXPECT_EQ(prompter.asked[1].icon, PromptIcon::Information);

    // a folder that does not exist: the write error as a warning
    form.setPath(dir / "none/x.wav");
    EXPECT_FALSE(form.write(prompter, nullptr));
    EXPECT_EQ(prompter.asked.back().text, "ファイル書き込みエラーです。");
    EXPECT_EQ(prompter.asked.back().icon, PromptIcon::Warning);
}

}  // namespace
}  // namespace lyr::interchange
