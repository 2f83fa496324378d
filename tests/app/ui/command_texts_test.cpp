// Every prompt and tooltip the main window shows, against the texts written
// out here in full: a typo in any command set's rows fails this test.
#include <gtest/gtest.h>

#include <QAction>
#include <map>

#include "app/ui/command_router.h"
#include "app/ui/main_frame.h"
#include "support/main_frame.h"

namespace lyr::app {
namespace {

struct Texts {
    CommandId id;
    const char* prompt;
    const char* tooltip;
};

using C = CommandId;
const Texts kTexts[] = {
        {C::FileNew, "新規にファイルを作成", "新規ファイル"},
        {C::FileOpen, "既存のファイルを開く", "開く"},
        {C::FileSave, "作業中のファイルを上書きして保存", "保存"},
        {C::FileSaveAs, "作業中のファイルを新しい名前で保存", "名前をつけて保存"},
        {C::FileExport, "波形を CSV、WAV、NumPy、VCD 形式のファイルに書き出す", "エクスポート"},
        {C::AppExit, "SYNを終了し、ファイルの保存を指示", "終了"},
        {C::AppAbout, "プログラムの情報、バージョンそして著作権を表示", "バージョン情報"},
        {C::Undo, "直前に行った動作を元に戻す", "元に戻す"},
        {C::TotalTime, "作業中のファイルのトータル時間を変更", "トータル時間の変更"},
        {C::EditLock, "編集の禁止、解禁を設定します", "編集禁止、解禁"},
        {C::LanguageJapanese, "表示言語を日本語にします（次回の起動から）", ""},
        {C::LanguageEnglish, "表示言語を英語にします（次回の起動から）", ""},
        {C::Sine, "[アナログ]  正弦波の作成", "正弦波"},
        {C::Rectangle, "[アナログ]  矩形波の作成", "矩形波"},
        {C::Dc, "[アナログ]  直流波形の作成", "直流"},
        {C::Ramp, "[アナログ]  ランプ波形の作成", "ランプ"},
        {C::Exp, "[アナログ]  指数関数波形の作成", "指数関数"},
        {C::Noise, "[アナログ]  ランダムノイズの作成", "ノイズ"},
        {C::Manual, "[アナログ]  マニュアル操作による波形修正", "波形修正"},
        {C::External, "[アナログ]  外部データの読み込み、変換", "外部データ"},
        {C::DigitalClock, "[ディジタル]  作成(クロック)", "作成(クロック)"},
        {C::DigitalSerial, "[ディジタル]  作成(シリアル)", "作成(シリアル)"},
        {C::DigitalParallel, "[ディジタル]  作成(パラレル)", "作成(パラレル)"},
        {C::DigitalModify, "[ディジタル]  修正", "修正"},
        {C::DigitalSwap, "[ディジタル]  データスワップ", "データスワップ"},
        {C::WholeView, "[ズーム]  データの全体を表示", "全体表示"},
        {C::StandardZoom, "[ズーム]  標準拡大", "標準拡大"},
        {C::MaxZoom, "[ズーム]  最大表示", "最大表示"},
        {C::ZoomIn, "[ズーム]  拡大", "拡大"},
        {C::ZoomOut, "[ズーム]  縮小", "縮小"},
        {C::SetStandard, "[ズーム]  現在の拡大を標準拡大に設定", "標準に設定"},
        {C::ResetStandard, "[ズーム]  標準拡大を既定値に戻す", "既定標準に戻す"},
        {C::CursorToStart, "カーソルを開始点へ移動", "開始点へ移動"},
        {C::CursorToMark, "カーソルをタイムマークへ移動", "タイムマークへ移動"},
        {C::CursorToLastEdit, "カーソルを最終編集後へ移動", "最終編集後へ移動"},
        {C::CursorBack, "カーソルを一つ前へ移動", "一つ前へ移動"},
        {C::CursorForward, "カーソルを一つ後へ移動", "一つ後へ移動"},
        {C::CursorToPosition, "カーソルを指定位置へ移動", "指定位置へ移動"},
        {C::MarkAtCursor, "カーソル位置にタイムマークを設置", "タイムマークを設置"},
        {C::MarkAtStart, "開始点にタイムマークを設置", "開始点にタイムマーク設置"},
        {C::MarkAtLastEdit, "最終編集後にタイムマークを設置", "最終編集後にタイムマーク設置"},
        {C::MarkAtPosition, "タイムマークを指定位置に設置", "指定位置にタイムマーク設置"},
        {C::MarkToCursor, "タイムマークをカーソル位置へ移動", "カーソル位置へ移動"},
        {C::MarkToStart, "タイムマークを開始点へ移動", "開始点へ移動"},
        {C::MarkToLastEdit, "タイムマークを最終編集後へ移動", "最終編集後へ移動"},
        {C::MarkToPosition, "タイムマークを指定位置へ移動", "指定位置へ移動"},
        {C::DeleteMark, "タイムマークを削除", "タイムマーク削除"},
        {C::Output, "波形データの出力", "出力"},
        // The strip's buttons carry neither.
        {C::StepLeft, "", ""},
        {C::StepRight, "", ""},
        {C::HalfPageLeft, "", ""},
        {C::HalfPageRight, "", ""},
        // The equation editor and the bus patterns.
        {C::Equation, "[アナログ]  数式による波形の作成", "数式波形"},
        {C::DigitalProtocol, "[ディジタル]  UART、SPI、I2Cのバスパターンの作成", "作成(プロトコル)"},
        // The per-channel families.
        {C::ClockCh0, "[ディジタル]  CH0 作成(クロック)", "CH0 作成(クロック)"},
        {C::ClockCh1, "[ディジタル]  CH1 作成(クロック)", "CH1 作成(クロック)"},
        {C::ClockCh2, "[ディジタル]  CH2 作成(クロック)", "CH2 作成(クロック)"},
        {C::ClockCh3, "[ディジタル]  CH3 作成(クロック)", "CH3 作成(クロック)"},
        {C::ClockCh4, "[ディジタル]  CH4 作成(クロック)", "CH4 作成(クロック)"},
        {C::ClockCh5, "[ディジタル]  CH5 作成(クロック)", "CH5 作成(クロック)"},
        {C::ClockCh6, "[ディジタル]  CH6 作成(クロック)", "CH6 作成(クロック)"},
        {C::ClockCh7, "[ディジタル]  CH7 作成(クロック)", "CH7 作成(クロック)"},
        {C::SerialCh0, "[ディジタル]  CH0 作成(シリアル)", "CH0 作成(シリアル)"},
        {C::SerialCh1, "[ディジタル]  CH1 作成(シリアル)", "CH1 作成(シリアル)"},
        {C::SerialCh2, "[ディジタル]  CH2 作成(シリアル)", "CH2 作成(シリアル)"},
        {C::SerialCh3, "[ディジタル]  CH3 作成(シリアル)", "CH3 作成(シリアル)"},
        {C::SerialCh4, "[ディジタル]  CH4 作成(シリアル)", "CH4 作成(シリアル)"},
        {C::SerialCh5, "[ディジタル]  CH5 作成(シリアル)", "CH5 作成(シリアル)"},
        {C::SerialCh6, "[ディジタル]  CH6 作成(シリアル)", "CH6 作成(シリアル)"},
        {C::SerialCh7, "[ディジタル]  CH7 作成(シリアル)", "CH7 作成(シリアル)"},
        {C::ModifyCh0, "[ディジタル]  CH0 修正", "CH0 修正"},
        {C::ModifyCh1, "[ディジタル]  CH1 修正", "CH1 修正"},
        {C::ModifyCh2, "[ディジタル]  CH2 修正", "CH2 修正"},
        {C::ModifyCh3, "[ディジタル]  CH3 修正", "CH3 修正"},
        {C::ModifyCh4, "[ディジタル]  CH4 修正", "CH4 修正"},
        {C::ModifyCh5, "[ディジタル]  CH5 修正", "CH5 修正"},
        {C::ModifyCh6, "[ディジタル]  CH6 修正", "CH6 修正"},
        {C::ModifyCh7, "[ディジタル]  CH7 修正", "CH7 修正"},
        {C::ShiftCh0, "[ディジタル]  CH0 シフト", "CH0 シフト"},
        {C::ShiftCh1, "[ディジタル]  CH1 シフト", "CH1 シフト"},
        {C::ShiftCh2, "[ディジタル]  CH2 シフト", "CH2 シフト"},
        {C::ShiftCh3, "[ディジタル]  CH3 シフト", "CH3 シフト"},
        {C::ShiftCh4, "[ディジタル]  CH4 シフト", "CH4 シフト"},
        {C::ShiftCh5, "[ディジタル]  CH5 シフト", "CH5 シフト"},
        {C::ShiftCh6, "[ディジタル]  CH6 シフト", "CH6 シフト"},
        {C::ShiftCh7, "[ディジタル]  CH7 シフト", "CH7 シフト"},
        {C::CopyCh0, "[ディジタル]  CH0 コピー", "CH0 コピー"},
        {C::CopyCh1, "[ディジタル]  CH1 コピー", "CH1 コピー"},
        {C::CopyCh2, "[ディジタル]  CH2 コピー", "CH2 コピー"},
        {C::CopyCh3, "[ディジタル]  CH3 コピー", "CH3 コピー"},
        {C::CopyCh4, "[ディジタル]  CH4 コピー", "CH4 コピー"},
        {C::CopyCh5, "[ディジタル]  CH5 コピー", "CH5 コピー"},
        {C::CopyCh6, "[ディジタル]  CH6 コピー", "CH6 コピー"},
        {C::CopyCh7, "[ディジタル]  CH7 コピー", "CH7 コピー"},
        {C::PasteCh0, "[ディジタル]  CH0 貼り付け", "CH0 貼り付け"},
        {C::PasteCh1, "[ディジタル]  CH1 貼り付け", "CH1 貼り付け"},
        {C::PasteCh2, "[ディジタル]  CH2 貼り付け", "CH2 貼り付け"},
        {C::PasteCh3, "[ディジタル]  CH3 貼り付け", "CH3 貼り付け"},
        {C::PasteCh4, "[ディジタル]  CH4 貼り付け", "CH4 貼り付け"},
        {C::PasteCh5, "[ディジタル]  CH5 貼り付け", "CH5 貼り付け"},
        {C::PasteCh6, "[ディジタル]  CH6 貼り付け", "CH6 貼り付け"},
        {C::PasteCh7, "[ディジタル]  CH7 貼り付け", "CH7 貼り付け"},
        {C::ClearCh0, "[ディジタル]  CH0 クリア", "CH0 クリア"},
        {C::ClearCh1, "[ディジタル]  CH1 クリア", "CH1 クリア"},
        {C::ClearCh2, "[ディジタル]  CH2 クリア", "CH2 クリア"},
        {C::ClearCh3, "[ディジタル]  CH3 クリア", "CH3 クリア"},
        {C::ClearCh4, "[ディジタル]  CH4 クリア", "CH4 クリア"},
        {C::ClearCh5, "[ディジタル]  CH5 クリア", "CH5 クリア"},
        {C::ClearCh6, "[ディジタル]  CH6 クリア", "CH6 クリア"},
        {C::ClearCh7, "[ディジタル]  CH7 クリア", "CH7 クリア"},
        {C::InvertCh0, "[ディジタル]  CH0 反転", "CH0 反転"},
        {C::InvertCh1, "[ディジタル]  CH1 反転", "CH1 反転"},
        {C::InvertCh2, "[ディジタル]  CH2 データ反転", "CH2 反転"},
        {C::InvertCh3, "[ディジタル]  CH3 データ反転", "CH3 反転"},
        {C::InvertCh4, "[ディジタル]  CH4 データ反転", "CH4 反転"},
        {C::InvertCh5, "[ディジタル]  CH5 データ反転", "CH5 反転"},
        {C::InvertCh6, "[ディジタル]  CH6 データ反転", "CH6 反転"},
        {C::InvertCh7, "[ディジタル]  CH7 データ反転", "CH7 反転"},
        {C::ProtocolCh0, "[ディジタル]  CH0 作成(プロトコル)", "CH0 作成(プロトコル)"},
        {C::ProtocolCh1, "[ディジタル]  CH1 作成(プロトコル)", "CH1 作成(プロトコル)"},
        {C::ProtocolCh2, "[ディジタル]  CH2 作成(プロトコル)", "CH2 作成(プロトコル)"},
        {C::ProtocolCh3, "[ディジタル]  CH3 作成(プロトコル)", "CH3 作成(プロトコル)"},
        {C::ProtocolCh4, "[ディジタル]  CH4 作成(プロトコル)", "CH4 作成(プロトコル)"},
        {C::ProtocolCh5, "[ディジタル]  CH5 作成(プロトコル)", "CH5 作成(プロトコル)"},
        {C::ProtocolCh6, "[ディジタル]  CH6 作成(プロトコル)", "CH6 作成(プロトコル)"},
        {C::ProtocolCh7, "[ディジタル]  CH7 作成(プロトコル)", "CH7 作成(プロトコル)"},
};

using TextsTest = lyr::test::MainFrameTest;

TEST_F(TextsTest, EveryPromptAndTooltipIsTheWrittenText) {
    std::map<CommandId, const Texts*> expected;
    for (const Texts& t : kTexts) EXPECT_TRUE(expected.emplace(t.id, &t).second) << commandNumber(t.id);
    EXPECT_EQ(expected.size(), 54u + 72u);
    // Each registered command has its written texts, on its row and on its action.
    for (const CommandRow& row : frame->router().rows()) {
        const auto it = expected.find(row.id);
        ASSERT_NE(it, expected.end()) << commandNumber(row.id) << " " << row.menuText;
        EXPECT_EQ(row.prompt, it->second->prompt) << commandNumber(row.id);
        EXPECT_EQ(row.tooltip, it->second->tooltip) << commandNumber(row.id);
        QAction* a = frame->commandAction(row.id);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->statusTip().toStdString(), it->second->prompt) << commandNumber(row.id);
        if (*it->second->tooltip) {
            EXPECT_EQ(a->toolTip().toStdString(), it->second->tooltip) << commandNumber(row.id);
        }
        expected.erase(it);
    }
    // ... and every written command is registered.
    for (const auto& [id, texts] : expected) ADD_FAILURE() << "not registered: " << commandNumber(id);
}

}  // namespace
}  // namespace lyr::app
