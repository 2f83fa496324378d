<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>LYR</name>
    <message>
        <source>LYR:patterns</source>
        <extracomment>Not shown: the sources of the entries whose %1..%9 stand for any text (a file name, a field's name), one a line. Keep it in step with those entries.</extracomment>
        <translation>波形出力 - %1 ( %2  %3 )
ファイル %1 の内容は変更されています。
%1 は既に存在します。
%1の入力が正しくありません
%1の単位
%1のプレビュー
%1 時間
%1 電圧
%1 CH%2
[PGX-500指定なし] %1
%1 - 波形出力
%1 の内容は変更されています。
%1、以降アイドル
%1、以降バス保持
%1、以降は変更しない
t = %1 で式の値が数値になりません（NaN または無限大）
位置 %1: %2
サンプリング周波数 %1 Hz の間隔は整数の nS にならないため、%2 に丸めました。
%1 *
書き出すサンプル %1</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>アナログ(&amp;A)</source>
        <translation>&amp;Analog</translation>
    </message>
    <message>
        <source>ディジタル(&amp;D)</source>
        <translation>&amp;Digital</translation>
    </message>
    <message>
        <source>ズーム(&amp;Z)</source>
        <translation>&amp;Zoom</translation>
    </message>
    <message>
        <source>カーソル(&amp;C)</source>
        <translation>&amp;Cursor</translation>
    </message>
    <message>
        <source>タイムマーク(&amp;T)</source>
        <translation>&amp;Time mark</translation>
    </message>
    <message>
        <source>出力(&amp;O)</source>
        <translation>&amp;Output</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>日本語(&amp;J)</source>
        <translation>&amp;Japanese</translation>
    </message>
    <message>
        <source>English(&amp;E)</source>
        <translation>&amp;English</translation>
    </message>
    <message>
        <source>表示言語を日本語にします（次回の起動から）</source>
        <translation>Show the texts in Japanese from the next start</translation>
    </message>
    <message>
        <source>表示言語を英語にします（次回の起動から）</source>
        <translation>Show the texts in English from the next start</translation>
    </message>
    <message>
        <source>CH%1(&amp;%2)</source>
        <translation>CH%1 (&amp;%2)</translation>
    </message>
    <message>
        <source>タイムマークを設置</source>
        <translation>Set time mark</translation>
    </message>
    <message>
        <source>新規作成(&amp;N)</source>
        <translation>&amp;New...</translation>
    </message>
    <message>
        <source>新規にファイルを作成</source>
        <translation>Create a new waveform</translation>
    </message>
    <message>
        <source>新規ファイル</source>
        <translation>New</translation>
    </message>
    <message>
        <source>LYRの終了(&amp;X)</source>
        <translation>E&amp;xit LYR</translation>
    </message>
    <message>
        <source>SYNを終了し、ファイルの保存を指示</source>
        <translation>Quit the program; asks to save changes</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>直前に行った動作を元に戻す</source>
        <translation>Undo the last operation</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>トータル時間変更(&amp;T)</source>
        <translation>Change &amp;total time...</translation>
    </message>
    <message>
        <source>作業中のファイルのトータル時間を変更</source>
        <translation>Change the total time of the waveform</translation>
    </message>
    <message>
        <source>トータル時間の変更</source>
        <translation>Change total time</translation>
    </message>
    <message>
        <source>編集禁止(&amp;D)</source>
        <translation>&amp;Lock editing</translation>
    </message>
    <message>
        <source>編集の禁止、解禁を設定します</source>
        <translation>Lock or unlock editing</translation>
    </message>
    <message>
        <source>編集禁止、解禁</source>
        <translation>Lock editing</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>既存のファイルを開く</source>
        <translation>Open an existing file</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>作業中のファイルを上書きして保存</source>
        <translation>Save the waveform to its file</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)...</source>
        <translation>Save &amp;as...</translation>
    </message>
    <message>
        <source>作業中のファイルを新しい名前で保存</source>
        <translation>Save the waveform under a new name</translation>
    </message>
    <message>
        <source>名前をつけて保存</source>
        <translation>Save as</translation>
    </message>
    <message>
        <source>名前を付けて保存</source>
        <translation>Save as</translation>
    </message>
    <message>
        <source>LYR のバージョン情報(&amp;A)</source>
        <translation>&amp;About LYR...</translation>
    </message>
    <message>
        <source>プログラムの情報、バージョンそして著作権を表示</source>
        <translation>Show the program's version and copyright</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>ﾚﾃﾞｨ</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>ｶﾅ</source>
        <translation>KANA</translation>
    </message>
    <message>
        <source>%1ビット</source>
        <translation>%1 bits</translation>
    </message>
    <message>
        <source>アナログ分解能</source>
        <translation>Analog resolution</translation>
    </message>
    <message>
        <source>ディジタルCH</source>
        <translation>Digital channels</translation>
    </message>
    <message>
        <source>波形</source>
        <translation>Waveform</translation>
    </message>
    <message>
        <source>既に起動しています。</source>
        <translation>LYR is already running.</translation>
    </message>
    <message>
        <source>LYRのﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About LYR</translation>
    </message>
    <message>
        <source>PGX-500 波形データ編集・書き込みプログラム</source>
        <translation>PGX-500 waveform editor and writer</translation>
    </message>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>LYRファイル (*.lyr)</source>
        <translation>LYR files (*.lyr)</translation>
    </message>
    <message>
        <source>SYNファイル (*.syn)</source>
        <translation>SYN files (*.syn)</translation>
    </message>
    <message>
        <source>すべてのファイル (*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>不正なパラメータです。</source>
        <translation>Invalid parameter.</translation>
    </message>
    <message>
        <source>アナログ分解能設定が変更されています。</source>
        <translation>The analog resolution has been changed.</translation>
    </message>
    <message>
        <source>出力設定が変更されています。</source>
        <translation>The output settings have been changed.</translation>
    </message>
    <message>
        <source>変更を保存しますか？</source>
        <translation>Save the changes?</translation>
    </message>
    <message>
        <source>ファイル %1 の内容は変更されています。</source>
        <translation>The file %1 has been changed.</translation>
    </message>
    <message>
        <source>処理可能な最大データ数を超えています。</source>
        <translation>The data exceed the largest count that can be handled.</translation>
    </message>
    <message>
        <source>すべてのデータを読み込むことができませんでした。</source>
        <translation>Not all of the data could be read.</translation>
    </message>
    <message>
        <source>ファイルオープンエラーです。</source>
        <translation>The file could not be opened.</translation>
    </message>
    <message>
        <source>ファイル読み込みエラーです。</source>
        <translation>The file could not be read.</translation>
    </message>
    <message>
        <source>無効なデータが含まれています。</source>
        <translation>The file holds invalid data.</translation>
    </message>
    <message>
        <source>読み込みを中止しました。</source>
        <translation>Reading was stopped.</translation>
    </message>
    <message>
        <source>波形データのためのメモリが確保できませんでした。</source>
        <translation>Not enough memory for the waveform data.</translation>
    </message>
    <message>
        <source>正常終了しました。</source>
        <translation>Completed.</translation>
    </message>
    <message>
        <source>ファイルフォーマットエラーです。</source>
        <translation>The file format is not valid.</translation>
    </message>
    <message>
        <source>ファイル書き込みエラーです。</source>
        <translation>The file could not be written.</translation>
    </message>
    <message>
        <source>ファイル読込みのためのメモリが確保できませんでした。</source>
        <translation>Not enough memory to read the file.</translation>
    </message>
    <message>
        <source>保存先のフォルダーに一時ファイルを作成できないため、ファイルを直接書き換えて保存しました。</source>
        <translation>No temporary file could be made in the folder, so the file was rewritten in place.</translation>
    </message>
    <message>
        <source>ファイル書き込みエラーです。元のファイルを復元できませんでした。元の内容は次のファイルに残っています:</source>
        <translation>The file could not be written, and the old file could not be restored. Its old contents are in this file:</translation>
    </message>
    <message>
        <source>トータル時間</source>
        <translation>Total time</translation>
    </message>
    <message>
        <source>サンプリング時間</source>
        <translation>Sampling time</translation>
    </message>
    <message>
        <source>サンプリングデータ数</source>
        <translation>Sample count</translation>
    </message>
    <message>
        <source>時間誤差</source>
        <translation>Time error</translation>
    </message>
    <message>
        <source>設定 %1</source>
        <translation>Setting %1</translation>
    </message>
    <message>
        <source>トータル時間の単位</source>
        <translation>Total time unit</translation>
    </message>
    <message>
        <source>トータル時間が不正です</source>
        <translation>The total time is not valid</translation>
    </message>
    <message>
        <source>トータル時間の設定</source>
        <translation>Total time setting</translation>
    </message>
    <message>
        <source>時間入力</source>
        <translation>By time</translation>
    </message>
    <message>
        <source>サンプリング入力</source>
        <translation>By sampling</translation>
    </message>
    <message>
        <source>サンプリング時間の単位</source>
        <translation>Sampling time unit</translation>
    </message>
    <message>
        <source>サンプリング時間が不正です</source>
        <translation>The sampling time is not valid</translation>
    </message>
    <message>
        <source>%1 は既に存在します。</source>
        <translation>%1 already exists.</translation>
    </message>
    <message>
        <source>%1の入力が正しくありません</source>
        <translation>%1: the entry is not valid</translation>
    </message>
    <message>
        <source>%1の単位</source>
        <translation>%1 unit</translation>
    </message>
    <message>
        <source>%1のプレビュー</source>
        <translation>%1 preview</translation>
    </message>
    <message>
        <source>%1 時間</source>
        <translation>%1 time</translation>
    </message>
    <message>
        <source>%1 電圧</source>
        <translation>%1 voltage</translation>
    </message>
    <message>
        <source>%1 CH%2</source>
        <translation>%1 CH%2</translation>
    </message>
    <message>
        <source>[PGX-500指定なし] %1</source>
        <translation>[No PGX-500] %1</translation>
    </message>
    <message>
        <source>%1 - 波形出力</source>
        <translation>%1 - Waveform output</translation>
    </message>
    <message>
        <source>上書きしますか？</source>
        <translation>Overwrite it?</translation>
    </message>
    <message>
        <source>時間(t1)：</source>
        <translation>Time (t1):</translation>
    </message>
    <message>
        <source>時間(t2)：</source>
        <translation>Time (t2):</translation>
    </message>
    <message>
        <source>時間(t3)：</source>
        <translation>Time (t3):</translation>
    </message>
    <message>
        <source>時間(t4)：</source>
        <translation>Time (t4):</translation>
    </message>
    <message>
        <source>時間(t0)：</source>
        <translation>Time (t0):</translation>
    </message>
    <message>
        <source>時間</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>繰り返し：</source>
        <translation>Repeat:</translation>
    </message>
    <message>
        <source>繰り返し</source>
        <translation>Repeat</translation>
    </message>
    <message>
        <source>回</source>
        <translation>times</translation>
    </message>
    <message>
        <source>レベル 1：時間</source>
        <translation>Level 1: time</translation>
    </message>
    <message>
        <source>レベル 0：時間</source>
        <translation>Level 0: time</translation>
    </message>
    <message>
        <source>ディジタルデータの作成　（ クロック ）</source>
        <translation>Digital data — Clock</translation>
    </message>
    <message>
        <source>ディジタル波形作成のためのメモリが確保できませんでした</source>
        <translation>Not enough memory to make the digital waveform</translation>
    </message>
    <message>
        <source>周期時間：</source>
        <translation>Period:</translation>
    </message>
    <message>
        <source>周期時間</source>
        <translation>Period</translation>
    </message>
    <message>
        <source>直接入力</source>
        <translation>Direct entry</translation>
    </message>
    <message>
        <source>インターバル時間：</source>
        <translation>Interval:</translation>
    </message>
    <message>
        <source>インターバル時間</source>
        <translation>Interval</translation>
    </message>
    <message>
        <source>ディジタルデータの作成　（ シリアル ）</source>
        <translation>Digital data — Serial</translation>
    </message>
    <message>
        <source>ディジタルデータの作成　（ パラレル ）</source>
        <translation>Digital data — Parallel</translation>
    </message>
    <message>
        <source>ディジタル波形外部データ読み込みのためのメモリが確保できませんでした</source>
        <translation>Not enough memory to read the digital data file</translation>
    </message>
    <message>
        <source>外部波形読込みのためのメモリが確保できませんでした</source>
        <translation>Not enough memory to read the external waveform</translation>
    </message>
    <message>
        <source>編集開始：</source>
        <translation>Edit start:</translation>
    </message>
    <message>
        <source>編集開始</source>
        <translation>Edit start</translation>
    </message>
    <message>
        <source>パラメータが不正です</source>
        <translation>Invalid parameter</translation>
    </message>
    <message>
        <source>ｺﾋﾟｰ開始：</source>
        <translation>Copy start:</translation>
    </message>
    <message>
        <source>ｺﾋﾟｰ開始</source>
        <translation>Copy start</translation>
    </message>
    <message>
        <source>ｺﾋﾟｰ期間：</source>
        <translation>Copy length:</translation>
    </message>
    <message>
        <source>ｺﾋﾟｰ期間</source>
        <translation>Copy length</translation>
    </message>
    <message>
        <source>コピー開始</source>
        <translation>Copy start</translation>
    </message>
    <message>
        <source>コピー期間</source>
        <translation>Copy length</translation>
    </message>
    <message>
        <source>ディジタルデータの修正</source>
        <translation>Digital data — Modify</translation>
    </message>
    <message>
        <source>ディジタル波形修正のためのメモリが確保できませんでした</source>
        <translation>Not enough memory to modify the digital waveform</translation>
    </message>
    <message>
        <source>再コピー</source>
        <translation>Copy again</translation>
    </message>
    <message>
        <source>コピー</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>レート：</source>
        <translation>Rate:</translation>
    </message>
    <message>
        <source>レート</source>
        <translation>Rate</translation>
    </message>
    <message>
        <source>バイト間隔：</source>
        <translation>Byte gap:</translation>
    </message>
    <message>
        <source>バイト間隔</source>
        <translation>Byte gap</translation>
    </message>
    <message>
        <source>リード時間：</source>
        <translation>Lead time:</translation>
    </message>
    <message>
        <source>リード時間</source>
        <translation>Lead time</translation>
    </message>
    <message>
        <source>ラグ時間：</source>
        <translation>Lag time:</translation>
    </message>
    <message>
        <source>ラグ時間</source>
        <translation>Lag time</translation>
    </message>
    <message>
        <source>アドレス：</source>
        <translation>Address:</translation>
    </message>
    <message>
        <source>アドレス</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>データ：</source>
        <translation>Data:</translation>
    </message>
    <message>
        <source>データ</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>(16進)</source>
        <translation>(hex)</translation>
    </message>
    <message>
        <source>データ(16進)：</source>
        <translation>Data (hex):</translation>
    </message>
    <message>
        <source>信号線ごとに別のﾁｬﾈﾙを選んでください</source>
        <translation>Choose a different channel for each signal line</translation>
    </message>
    <message>
        <source>この設定ではデータを送れません（16ビットのワードには偶数個のバイトが要ります）</source>
        <translation>These settings cannot send the data (16-bit words need an even number of bytes)</translation>
    </message>
    <message>
        <source>パターンが波形全体より長くなります</source>
        <translation>The pattern is longer than the whole waveform</translation>
    </message>
    <message>
        <source>アイドル1ビット、フレーム、アイドル1ビット</source>
        <translation>1 idle bit, frame, 1 idle bit</translation>
    </message>
    <message>
        <source>CS非アクティブ1クロック、リード～ラグ、CS非アクティブ1クロック</source>
        <translation>CS inactive 1 clock, lead to lag, CS inactive 1 clock</translation>
    </message>
    <message>
        <source>バスフリー1クロック、スタート、データ、リピーテッドスタート（バス保持）</source>
        <translation>Bus free 1 clock, start, data, repeated start (bus held)</translation>
    </message>
    <message>
        <source>バスフリー1クロック、スタート、データ、ストップ、バスフリー1クロック</source>
        <translation>Bus free 1 clock, start, data, stop, bus free 1 clock</translation>
    </message>
    <message>
        <source>、以降は変更しない</source>
        <translation>, then unchanged</translation>
    </message>
    <message>
        <source>、以降バス保持</source>
        <translation>, then bus held</translation>
    </message>
    <message>
        <source>、以降アイドル</source>
        <translation>, then idle</translation>
    </message>
    <message>
        <source>作成(プロトコル)</source>
        <translation>Bus pattern</translation>
    </message>
    <message>
        <source>シフト時間：</source>
        <translation>Shift time:</translation>
    </message>
    <message>
        <source>シフト時間</source>
        <translation>Shift time</translation>
    </message>
    <message>
        <source>ディジタルシフト － CH %1</source>
        <translation>Digital shift — CH %1</translation>
    </message>
    <message>
        <source>ディジタルシフト － CH%1</source>
        <translation>Digital shift — CH%1</translation>
    </message>
    <message>
        <source>ディジタルシフトのためのメモリが確保できませんでした</source>
        <translation>Not enough memory for the digital shift</translation>
    </message>
    <message>
        <source>0を埋める</source>
        <translation>Fill with 0</translation>
    </message>
    <message>
        <source>1を埋める</source>
        <translation>Fill with 1</translation>
    </message>
    <message>
        <source>ローテート</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>ディジタルデータスワップ</source>
        <translation>Digital data swap</translation>
    </message>
    <message>
        <source>ディジタルデータスワップのためのメモリが確保できませんでした</source>
        <translation>Not enough memory for the digital data swap</translation>
    </message>
    <message>
        <source>作成(シリアル)(&amp;S)</source>
        <translation>&amp;Serial data...</translation>
    </message>
    <message>
        <source>[ディジタル]  作成(シリアル)</source>
        <translation>[Digital]  Make serial data</translation>
    </message>
    <message>
        <source>作成(シリアル)</source>
        <translation>Serial data</translation>
    </message>
    <message>
        <source>作成(パラレル)(&amp;P)</source>
        <translation>P&amp;arallel data...</translation>
    </message>
    <message>
        <source>[ディジタル]  作成(パラレル)</source>
        <translation>[Digital]  Make parallel data</translation>
    </message>
    <message>
        <source>作成(パラレル)</source>
        <translation>Parallel data</translation>
    </message>
    <message>
        <source>作成(プロトコル)(&amp;B)</source>
        <translation>&amp;Bus pattern...</translation>
    </message>
    <message>
        <source>[ディジタル]  UART、SPI、I2Cのバスパターンの作成</source>
        <translation>[Digital]  Make a UART, SPI or I2C bus pattern</translation>
    </message>
    <message>
        <source>作成(シリアル)(&amp;R)</source>
        <translation>Se&amp;rial data...</translation>
    </message>
    <message>
        <source>作成(クロック)(&amp;C)</source>
        <translation>&amp;Clock...</translation>
    </message>
    <message>
        <source>[ディジタル]  作成(クロック)</source>
        <translation>[Digital]  Make a clock</translation>
    </message>
    <message>
        <source>作成(クロック)</source>
        <translation>Clock</translation>
    </message>
    <message>
        <source>修正(&amp;M)</source>
        <translation>&amp;Modify...</translation>
    </message>
    <message>
        <source>[ディジタル]  修正</source>
        <translation>[Digital]  Modify</translation>
    </message>
    <message>
        <source>修正</source>
        <translation>Modify</translation>
    </message>
    <message>
        <source>スワップ(&amp;W)</source>
        <translation>S&amp;wap...</translation>
    </message>
    <message>
        <source>[ディジタル]  データスワップ</source>
        <translation>[Digital]  Swap channel data</translation>
    </message>
    <message>
        <source>データスワップ</source>
        <translation>Swap</translation>
    </message>
    <message>
        <source>作成(クロック)(&amp;G)</source>
        <translation>Clock (&amp;G)...</translation>
    </message>
    <message>
        <source>シフト(&amp;S)</source>
        <translation>&amp;Shift...</translation>
    </message>
    <message>
        <source>シフト</source>
        <translation>Shift</translation>
    </message>
    <message>
        <source>反転(&amp;I)</source>
        <translation>&amp;Invert</translation>
    </message>
    <message>
        <source>反転</source>
        <translation>Invert</translation>
    </message>
    <message>
        <source>データ反転</source>
        <translation>Invert data</translation>
    </message>
    <message>
        <source>コピー(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>貼り付け(&amp;P)</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>貼り付け</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>クリア(&amp;L)</source>
        <translation>C&amp;lear</translation>
    </message>
    <message>
        <source>クリア</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>[ディジタル]  </source>
        <translation>[Digital]  </translation>
    </message>
    <message>
        <source>TXTﾌｧｲﾙ (*.txt *.csv)</source>
        <translation>Text files (*.txt *.csv)</translation>
    </message>
    <message>
        <source>すべてのﾌｧｲﾙ (*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>LYRﾌｧｲﾙ (*.lyr)</source>
        <translation>LYR files (*.lyr)</translation>
    </message>
    <message>
        <source>NPYﾌｧｲﾙ (*.npy)</source>
        <translation>NumPy files (*.npy)</translation>
    </message>
    <message>
        <source>VCDﾌｧｲﾙ (*.vcd)</source>
        <translation>VCD files (*.vcd)</translation>
    </message>
    <message>
        <source>CSVﾌｧｲﾙ (*.csv *.txt)</source>
        <translation>CSV files (*.csv *.txt)</translation>
    </message>
    <message>
        <source>SYNﾌｧｲﾙ (*.syn)</source>
        <translation>SYN files (*.syn)</translation>
    </message>
    <message>
        <source>WAVﾌｧｲﾙ (*.wav)</source>
        <translation>WAV files (*.wav)</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>ファイル名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>参照・読込</source>
        <translation>Read...</translation>
    </message>
    <message>
        <source>読み込みの進み具合</source>
        <translation>Reading progress</translation>
    </message>
    <message>
        <source>BIT7：CH7－BIT0：CH0</source>
        <translation>BIT7: CH7 – BIT0: CH0</translation>
    </message>
    <message>
        <source>BIT7：CH0－BIT0：CH7</source>
        <translation>BIT7: CH0 – BIT0: CH7</translation>
    </message>
    <message>
        <source>ビット順</source>
        <translation>Bit order</translation>
    </message>
    <message>
        <source>ビット順：</source>
        <translation>Bit order:</translation>
    </message>
    <message>
        <source>CH%1のプレビュー</source>
        <translation>CH%1 preview</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>レベル：</source>
        <translation>Level:</translation>
    </message>
    <message>
        <source>時間(t%1)のレベル</source>
        <translation>Level at time t%1</translation>
    </message>
    <message>
        <source>シフト時間の単位</source>
        <translation>Shift time unit</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>入れ替えるチャネル1</source>
        <translation>Channel 1 to swap</translation>
    </message>
    <message>
        <source>入れ替えるチャネル2</source>
        <translation>Channel 2 to swap</translation>
    </message>
    <message>
        <source>入れ替え</source>
        <translation>Swap</translation>
    </message>
    <message>
        <source>ｺﾋﾟｰﾁｬﾈﾙ：</source>
        <translation>Copy channel:</translation>
    </message>
    <message>
        <source>ｺﾋﾟｰﾁｬﾈﾙ</source>
        <translation>Copy channel</translation>
    </message>
    <message>
        <source>プレビュー（マウスで描画）</source>
        <translation>Preview (draw with the mouse)</translation>
    </message>
    <message>
        <source>置換</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>編集ﾁｬﾈﾙ：</source>
        <translation>Edit channel:</translation>
    </message>
    <message>
        <source>編集ﾁｬﾈﾙ</source>
        <translation>Edit channel</translation>
    </message>
    <message>
        <source>作成</source>
        <translation>Create</translation>
    </message>
    <message>
        <source>プレビュー</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>プロトコル</source>
        <translation>Protocol</translation>
    </message>
    <message>
        <source>プロトコル：</source>
        <translation>Protocol:</translation>
    </message>
    <message>
        <source>パターン後：</source>
        <translation>After the pattern:</translation>
    </message>
    <message>
        <source>アイドル</source>
        <translation>Idle</translation>
    </message>
    <message>
        <source>変更しない</source>
        <translation>Unchanged</translation>
    </message>
    <message>
        <source>実際のレート：</source>
        <translation>Actual rate:</translation>
    </message>
    <message>
        <source>実際のレートと誤差</source>
        <translation>Actual rate and error</translation>
    </message>
    <message>
        <source>ビット</source>
        <translation>bits</translation>
    </message>
    <message>
        <source>データCH：</source>
        <translation>Data CH:</translation>
    </message>
    <message>
        <source>データビット：</source>
        <translation>Data bits:</translation>
    </message>
    <message>
        <source>パリティ：</source>
        <translation>Parity:</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>偶数</source>
        <translation>Even</translation>
    </message>
    <message>
        <source>奇数</source>
        <translation>Odd</translation>
    </message>
    <message>
        <source>マーク</source>
        <translation>Mark</translation>
    </message>
    <message>
        <source>スペース</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>ストップビット：</source>
        <translation>Stop bits:</translation>
    </message>
    <message>
        <source>アイドルレベル：</source>
        <translation>Idle level:</translation>
    </message>
    <message>
        <source>LSBファースト</source>
        <translation>LSB first</translation>
    </message>
    <message>
        <source>MSBファースト</source>
        <translation>MSB first</translation>
    </message>
    <message>
        <source>SCK CH：</source>
        <translation>SCK CH:</translation>
    </message>
    <message>
        <source>MOSI CH：</source>
        <translation>MOSI CH:</translation>
    </message>
    <message>
        <source>CS CH：</source>
        <translation>CS CH:</translation>
    </message>
    <message>
        <source>モード：</source>
        <translation>Mode:</translation>
    </message>
    <message>
        <source>ワード長：</source>
        <translation>Word length:</translation>
    </message>
    <message>
        <source>CSの論理：</source>
        <translation>CS polarity:</translation>
    </message>
    <message>
        <source>アクティブL</source>
        <translation>Active low</translation>
    </message>
    <message>
        <source>アクティブH</source>
        <translation>Active high</translation>
    </message>
    <message>
        <source>SCL CH：</source>
        <translation>SCL CH:</translation>
    </message>
    <message>
        <source>SDA CH：</source>
        <translation>SDA CH:</translation>
    </message>
    <message>
        <source>方向：</source>
        <translation>Direction:</translation>
    </message>
    <message>
        <source>書き込み (W)</source>
        <translation>Write (W)</translation>
    </message>
    <message>
        <source>読み出し (R)</source>
        <translation>Read (R)</translation>
    </message>
    <message>
        <source>リピーテッドスタートで終える</source>
        <translation>End with a repeated start</translation>
    </message>
    <message>
        <source>1クロック</source>
        <translation>1 clock</translation>
    </message>
    <message>
        <source>直接入力(16進)</source>
        <translation>Direct entry (hex)</translation>
    </message>
    <message>
        <source>作成できない理由</source>
        <translation>Why the pattern cannot be made</translation>
    </message>
    <message>
        <source>編集開始が正しくありません：0以上、トータル時間からサンプリング時間を引いた時間以下</source>
        <translation>Edit start is not valid: 0 up to the total time less one sampling time</translation>
    </message>
    <message>
        <source>レートが正しくありません：1ビット（SPI・I2Cは1クロックの半分）がサンプリング時間以上になる値</source>
        <translation>Rate is not valid: 1 bit (for SPI and I2C, half of 1 clock) must last at least one sampling time</translation>
    </message>
    <message>
        <source>バイト間隔が正しくありません：0以上、トータル時間以下の時間</source>
        <translation>Byte gap is not valid: a time from 0 up to the total time</translation>
    </message>
    <message>
        <source>リード時間が正しくありません：空欄（1クロック）、または0以上、トータル時間以下の時間</source>
        <translation>Lead time is not valid: empty (1 clock), or a time from 0 up to the total time</translation>
    </message>
    <message>
        <source>ラグ時間が正しくありません：空欄（1クロック）、または0以上、トータル時間以下の時間</source>
        <translation>Lag time is not valid: empty (1 clock), or a time from 0 up to the total time</translation>
    </message>
    <message>
        <source>アドレスが正しくありません：7ビット（0～127、0x00～0x7F）</source>
        <translation>Address is not valid: 7 bits (0–127, 0x00–0x7F)</translation>
    </message>
    <message>
        <source>データが正しくありません：16進数字だけを区切らずに（2桁で1バイト）</source>
        <translation>Data is not valid: hex digits only, without separators (2 digits for 1 byte)</translation>
    </message>
    <message>
        <source>パターンの構成</source>
        <translation>Pattern layout</translation>
    </message>
    <message>
        <source>のプレビュー</source>
        <translation> preview</translation>
    </message>
    <message>
        <source>カーソル位置の指定</source>
        <translation>Cursor position</translation>
    </message>
    <message>
        <source>タイムマーク位置の指定</source>
        <translation>Time mark position</translation>
    </message>
    <message>
        <source>時間指定</source>
        <translation>Time entry</translation>
    </message>
    <message>
        <source>指定方法</source>
        <translation>Reference</translation>
    </message>
    <message>
        <source>開始点基準の絶対時間</source>
        <translation>Absolute time from the start</translation>
    </message>
    <message>
        <source>ｶｰｿﾙ基準の相対時間</source>
        <translation>Relative to the cursor</translation>
    </message>
    <message>
        <source>ﾀｲﾑﾏｰｸ基準の相対時間</source>
        <translation>Relative to the time mark</translation>
    </message>
    <message>
        <source>終了点基準の相対時間</source>
        <translation>Relative to the end</translation>
    </message>
    <message>
        <source>指定時間：</source>
        <translation>Time:</translation>
    </message>
    <message>
        <source>指定時間の単位</source>
        <translation>Time unit</translation>
    </message>
    <message>
        <source>ステータス</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>サンプリング</source>
        <translation>Sampling</translation>
    </message>
    <message>
        <source>電圧</source>
        <translation>Voltage</translation>
    </message>
    <message>
        <source>カーソルを一つ左へ</source>
        <translation>Cursor one step left</translation>
    </message>
    <message>
        <source>カーソルを一つ右へ</source>
        <translation>Cursor one step right</translation>
    </message>
    <message>
        <source>カーソルを半画面左へ</source>
        <translation>Cursor half a screen left</translation>
    </message>
    <message>
        <source>カーソルを半画面右へ</source>
        <translation>Cursor half a screen right</translation>
    </message>
    <message>
        <source>カーソル</source>
        <translation>Cursor</translation>
    </message>
    <message>
        <source>タイムマーク</source>
        <translation>Time mark</translation>
    </message>
    <message>
        <source>インターバル</source>
        <translation>Interval</translation>
    </message>
    <message>
        <source>カーソル－タイムマーク</source>
        <translation>Cursor – time mark</translation>
    </message>
    <message>
        <source>マウス－カーソル</source>
        <translation>Mouse – cursor</translation>
    </message>
    <message>
        <source>カーソル 時間</source>
        <translation>Cursor time</translation>
    </message>
    <message>
        <source>カーソル 電圧</source>
        <translation>Cursor voltage</translation>
    </message>
    <message>
        <source>タイムマーク 時間</source>
        <translation>Time mark time</translation>
    </message>
    <message>
        <source>タイムマーク 電圧</source>
        <translation>Time mark voltage</translation>
    </message>
    <message>
        <source>全体表示(&amp;N)</source>
        <translation>&amp;Whole waveform</translation>
    </message>
    <message>
        <source>[ズーム]  データの全体を表示</source>
        <translation>[Zoom]  Show the whole waveform</translation>
    </message>
    <message>
        <source>全体表示</source>
        <translation>Whole waveform</translation>
    </message>
    <message>
        <source>標準拡大(&amp;S)</source>
        <translation>&amp;Standard zoom</translation>
    </message>
    <message>
        <source>[ズーム]  標準拡大</source>
        <translation>[Zoom]  Standard zoom</translation>
    </message>
    <message>
        <source>標準拡大</source>
        <translation>Standard zoom</translation>
    </message>
    <message>
        <source>最大表示(&amp;M)</source>
        <translation>&amp;Maximum zoom</translation>
    </message>
    <message>
        <source>[ズーム]  最大表示</source>
        <translation>[Zoom]  Maximum zoom</translation>
    </message>
    <message>
        <source>最大表示</source>
        <translation>Maximum zoom</translation>
    </message>
    <message>
        <source>拡大(&amp;U)</source>
        <translation>Zoom &amp;in</translation>
    </message>
    <message>
        <source>[ズーム]  拡大</source>
        <translation>[Zoom]  Zoom in</translation>
    </message>
    <message>
        <source>拡大</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>縮小(&amp;D)</source>
        <translation>Zoom &amp;out</translation>
    </message>
    <message>
        <source>[ズーム]  縮小</source>
        <translation>[Zoom]  Zoom out</translation>
    </message>
    <message>
        <source>縮小</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>現在の拡大を標準に設定(&amp;C)</source>
        <translation>Set &amp;current zoom as standard</translation>
    </message>
    <message>
        <source>[ズーム]  現在の拡大を標準拡大に設定</source>
        <translation>[Zoom]  Make the current zoom the standard zoom</translation>
    </message>
    <message>
        <source>標準に設定</source>
        <translation>Set as standard</translation>
    </message>
    <message>
        <source>既定標準拡大に戻す(&amp;I)</source>
        <translation>&amp;Reset standard zoom</translation>
    </message>
    <message>
        <source>[ズーム]  標準拡大を既定値に戻す</source>
        <translation>[Zoom]  Reset the standard zoom to its default</translation>
    </message>
    <message>
        <source>既定標準に戻す</source>
        <translation>Reset standard</translation>
    </message>
    <message>
        <source>開始点へ移動</source>
        <translation>Go to start</translation>
    </message>
    <message>
        <source>カーソルを開始点へ移動</source>
        <translation>Move the cursor to the start</translation>
    </message>
    <message>
        <source>タイムマークへ移動</source>
        <translation>Go to time mark</translation>
    </message>
    <message>
        <source>カーソルをタイムマークへ移動</source>
        <translation>Move the cursor to the time mark</translation>
    </message>
    <message>
        <source>最終編集後へ移動</source>
        <translation>Go to after last edit</translation>
    </message>
    <message>
        <source>カーソルを最終編集後へ移動</source>
        <translation>Move the cursor to just after the last edit</translation>
    </message>
    <message>
        <source>一つ前へ移動</source>
        <translation>Step back</translation>
    </message>
    <message>
        <source>カーソルを一つ前へ移動</source>
        <translation>Move the cursor one step back</translation>
    </message>
    <message>
        <source>一つ後へ移動</source>
        <translation>Step forward</translation>
    </message>
    <message>
        <source>カーソルを一つ後へ移動</source>
        <translation>Move the cursor one step forward</translation>
    </message>
    <message>
        <source>指定位置へ移動</source>
        <translation>Go to position...</translation>
    </message>
    <message>
        <source>カーソルを指定位置へ移動</source>
        <translation>Move the cursor to a given position</translation>
    </message>
    <message>
        <source>カーソル位置に設置</source>
        <translation>Set at cursor</translation>
    </message>
    <message>
        <source>カーソル位置にタイムマークを設置</source>
        <translation>Set the time mark at the cursor</translation>
    </message>
    <message>
        <source>開始点に設置</source>
        <translation>Set at start</translation>
    </message>
    <message>
        <source>開始点にタイムマークを設置</source>
        <translation>Set the time mark at the start</translation>
    </message>
    <message>
        <source>開始点にタイムマーク設置</source>
        <translation>Time mark at start</translation>
    </message>
    <message>
        <source>最終編集後に設置</source>
        <translation>Set after last edit</translation>
    </message>
    <message>
        <source>最終編集後にタイムマークを設置</source>
        <translation>Set the time mark just after the last edit</translation>
    </message>
    <message>
        <source>最終編集後にタイムマーク設置</source>
        <translation>Time mark after last edit</translation>
    </message>
    <message>
        <source>指定位置に設置</source>
        <translation>Set at position...</translation>
    </message>
    <message>
        <source>タイムマークを指定位置に設置</source>
        <translation>Set the time mark at a given position</translation>
    </message>
    <message>
        <source>指定位置にタイムマーク設置</source>
        <translation>Time mark at position</translation>
    </message>
    <message>
        <source>カーソル位置へ移動</source>
        <translation>Move to cursor</translation>
    </message>
    <message>
        <source>タイムマークをカーソル位置へ移動</source>
        <translation>Move the time mark to the cursor</translation>
    </message>
    <message>
        <source>タイムマークを開始点へ移動</source>
        <translation>Move the time mark to the start</translation>
    </message>
    <message>
        <source>タイムマークを最終編集後へ移動</source>
        <translation>Move the time mark to just after the last edit</translation>
    </message>
    <message>
        <source>タイムマークを指定位置へ移動</source>
        <translation>Move the time mark to a given position</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>タイムマークを削除</source>
        <translation>Delete the time mark</translation>
    </message>
    <message>
        <source>タイムマーク削除</source>
        <translation>Delete time mark</translation>
    </message>
    <message>
        <source>PGX-500指定</source>
        <translation>PGX-500 selection</translation>
    </message>
    <message>
        <source>シリアルNo</source>
        <translation>Serial No.</translation>
    </message>
    <message>
        <source>表示名</source>
        <translation>Display name</translation>
    </message>
    <message>
        <source>表示名入力：</source>
        <translation>Display name:</translation>
    </message>
    <message>
        <source>指定なし</source>
        <translation>No unit</translation>
    </message>
    <message>
        <source>PGX-500 通信中</source>
        <translation>PGX-500 communicating</translation>
    </message>
    <message>
        <source>PGX-500 未接続</source>
        <translation>PGX-500 not connected</translation>
    </message>
    <message>
        <source>PGX-500 未設定</source>
        <translation>PGX-500 not set up</translation>
    </message>
    <message>
        <source>PGX-500 レディ</source>
        <translation>PGX-500 ready</translation>
    </message>
    <message>
        <source>PGX-500 動作中</source>
        <translation>PGX-500 running</translation>
    </message>
    <message>
        <source>PGX-500 転送中</source>
        <translation>PGX-500 transferring</translation>
    </message>
    <message>
        <source>PGX-500 クロック異常</source>
        <translation>PGX-500 clock fault</translation>
    </message>
    <message>
        <source>PGX-500 異常</source>
        <translation>PGX-500 fault</translation>
    </message>
    <message>
        <source>アナログ分解能：%1ビット</source>
        <translation>Analog resolution: %1 bits</translation>
    </message>
    <message>
        <source>出力モード</source>
        <translation>Output mode</translation>
    </message>
    <message>
        <source>連続</source>
        <translation>Continuous</translation>
    </message>
    <message>
        <source>停止時出力</source>
        <translation>Output when stopped</translation>
    </message>
    <message>
        <source>アナログ</source>
        <translation>Analog</translation>
    </message>
    <message>
        <source>0V出力</source>
        <translation>0 V</translation>
    </message>
    <message>
        <source>開始データ</source>
        <translation>First sample</translation>
    </message>
    <message>
        <source>ディジタル</source>
        <translation>Digital</translation>
    </message>
    <message>
        <source>同期出力信号</source>
        <translation>Sync output</translation>
    </message>
    <message>
        <source>極性</source>
        <translation>Polarity</translation>
    </message>
    <message>
        <source>正</source>
        <translation>Positive</translation>
    </message>
    <message>
        <source>負</source>
        <translation>Negative</translation>
    </message>
    <message>
        <source>パルス幅</source>
        <translation>Pulse width</translation>
    </message>
    <message>
        <source>開始・停止制御</source>
        <translation>Start/stop control</translation>
    </message>
    <message>
        <source>リモート（ＰＣ）</source>
        <translation>Remote (PC)</translation>
    </message>
    <message>
        <source>マニュアルボタン（本体）</source>
        <translation>Manual button (unit)</translation>
    </message>
    <message>
        <source>外部トリガー</source>
        <translation>External trigger</translation>
    </message>
    <message>
        <source>トリガーモード</source>
        <translation>Trigger mode</translation>
    </message>
    <message>
        <source>レベル</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>エッジ</source>
        <translation>Edge</translation>
    </message>
    <message>
        <source>トリガー極性</source>
        <translation>Trigger polarity</translation>
    </message>
    <message>
        <source>再トリガー</source>
        <translation>Retrigger</translation>
    </message>
    <message>
        <source>無効</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>有効</source>
        <translation>On</translation>
    </message>
    <message>
        <source>波形出力</source>
        <translation>Waveform output</translation>
    </message>
    <message>
        <source>波形出力のためのメモリが確保できませんでした</source>
        <translation>Not enough memory for the waveform output</translation>
    </message>
    <message>
        <source>繰り返し回数が不正です。</source>
        <translation>The repeat count is not valid.</translation>
    </message>
    <message>
        <source>データ設定できませんでした。</source>
        <translation>The data could not be set.</translation>
    </message>
    <message>
        <source>スタートできませんでした。</source>
        <translation>The output could not be started.</translation>
    </message>
    <message>
        <source>ストップできませんでした。</source>
        <translation>The output could not be stopped.</translation>
    </message>
    <message>
        <source>強制ストップできませんでした。</source>
        <translation>The forced stop failed.</translation>
    </message>
    <message>
        <source>データ転送を中止しました。</source>
        <translation>The transfer was cancelled.</translation>
    </message>
    <message>
        <source>データ転送</source>
        <translation>Transfer</translation>
    </message>
    <message>
        <source>スタート</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>ストップ</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>強制ストップ</source>
        <translation>Forced stop</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>波形データ出力(&amp;W)</source>
        <translation>&amp;Waveform output...</translation>
    </message>
    <message>
        <source>波形データの出力</source>
        <translation>Output the waveform</translation>
    </message>
    <message>
        <source>出力</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>繰り返し回数</source>
        <translation>Repeat count</translation>
    </message>
    <message>
        <source>PGX-500の繰り返し回数</source>
        <translation>Repeat count of the PGX-500</translation>
    </message>
    <message>
        <source>状態</source>
        <translation>State</translation>
    </message>
    <message>
        <source>ファームウェアのバージョン</source>
        <translation>Firmware version</translation>
    </message>
    <message>
        <source>PGX-500のアナログ分解能</source>
        <translation>Analog resolution of the PGX-500</translation>
    </message>
    <message>
        <source>PGX-500のディジタルCH</source>
        <translation>Digital channels of the PGX-500</translation>
    </message>
    <message>
        <source>データ転送の進み具合</source>
        <translation>Transfer progress</translation>
    </message>
    <message>
        <source>PGX-500一覧</source>
        <translation>PGX-500 units</translation>
    </message>
    <message>
        <source>接続中</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>サンプリング時間の整数倍にするため、[期間] を調節します。</source>
        <translation>To make it a whole number of sampling times, [Length] is adjusted.</translation>
    </message>
    <message>
        <source>サンプリング時間の整数倍にするため、[編集開始] を調節します。</source>
        <translation>To make it a whole number of sampling times, [Edit start] is adjusted.</translation>
    </message>
    <message>
        <source>サンプリング時間の整数倍にするため、[コピー開始] を調節します。</source>
        <translation>To make it a whole number of sampling times, [Copy start] is adjusted.</translation>
    </message>
    <message>
        <source>サンプリング時間の整数倍にするため、[コピー期間] を調節します。</source>
        <translation>To make it a whole number of sampling times, [Copy length] is adjusted.</translation>
    </message>
    <message>
        <source>サンプリング時間の整数倍にするため、[コピー開始] [コピー期間] を調節します。</source>
        <translation>To make them whole numbers of sampling times, [Copy start] and [Copy length] are adjusted.</translation>
    </message>
    <message>
        <source>期間：</source>
        <translation>Length:</translation>
    </message>
    <message>
        <source>期間</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>数式波形の作成</source>
        <translation>Equation waveform</translation>
    </message>
    <message>
        <source>数式波形作成のためのメモリが確保できませんでした</source>
        <translation>Not enough memory to make the equation waveform</translation>
    </message>
    <message>
        <source>式：</source>
        <translation>Expression:</translation>
    </message>
    <message>
        <source>式</source>
        <translation>Expression</translation>
    </message>
    <message>
        <source>ｻﾝﾌﾟﾘﾝｸﾞ：</source>
        <translation>Sampling:</translation>
    </message>
    <message>
        <source>ｻﾝﾌﾟﾘﾝｸﾞ</source>
        <translation>Sampling</translation>
    </message>
    <message>
        <source>変換開始：</source>
        <translation>Convert from:</translation>
    </message>
    <message>
        <source>変換開始</source>
        <translation>Convert from</translation>
    </message>
    <message>
        <source>開始ﾃﾞｰﾀ：</source>
        <translation>Start sample:</translation>
    </message>
    <message>
        <source>開始ﾃﾞｰﾀ</source>
        <translation>Start sample</translation>
    </message>
    <message>
        <source>番目</source>
        <translation>(index)</translation>
    </message>
    <message>
        <source>振幅係数：</source>
        <translation>Gain:</translation>
    </message>
    <message>
        <source>振幅係数</source>
        <translation>Gain</translation>
    </message>
    <message>
        <source>ｵﾌｾｯﾄ：</source>
        <translation>Offset:</translation>
    </message>
    <message>
        <source>ｵﾌｾｯﾄ</source>
        <translation>Offset</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀ補間：</source>
        <translation>Interpolation:</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀ補間</source>
        <translation>Interpolation</translation>
    </message>
    <message>
        <source>補間なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>直線補間</source>
        <translation>Linear</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀ数：</source>
        <translation>Samples:</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀ数</source>
        <translation>Samples</translation>
    </message>
    <message>
        <source>変換エラーです。</source>
        <translation>Conversion error.</translation>
    </message>
    <message>
        <source>外部データの変換</source>
        <translation>External data conversion</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀ変換</source>
        <translation>Convert</translation>
    </message>
    <message>
        <source>直流波形の作成</source>
        <translation>DC waveform</translation>
    </message>
    <message>
        <source>直流波形作成のためのメモリが確保できませんでした</source>
        <translation>Not enough memory to make the DC waveform</translation>
    </message>
    <message>
        <source>直流値(v0)：</source>
        <translation>DC level (v0):</translation>
    </message>
    <message>
        <source>直流値</source>
        <translation>DC level</translation>
    </message>
    <message>
        <source>ランプ波形の作成</source>
        <translation>Ramp waveform</translation>
    </message>
    <message>
        <source>ランプ波形作成のためのメモリが確保できませんでした</source>
        <translation>Not enough memory to make the ramp waveform</translation>
    </message>
    <message>
        <source>初期値(v0)：</source>
        <translation>Initial value (v0):</translation>
    </message>
    <message>
        <source>初期値</source>
        <translation>Initial value</translation>
    </message>
    <message>
        <source>最終値(v1)：</source>
        <translation>Final value (v1):</translation>
    </message>
    <message>
        <source>最終値</source>
        <translation>Final value</translation>
    </message>
    <message>
        <source>指数関数波形の作成</source>
        <translation>Exponential waveform</translation>
    </message>
    <message>
        <source>指数関数波形作成のためのメモリが確保できませんでした</source>
        <translation>Not enough memory to make the exponential waveform</translation>
    </message>
    <message>
        <source>時定数(τ)：</source>
        <translation>Time constant (τ):</translation>
    </message>
    <message>
        <source>時定数</source>
        <translation>Time constant</translation>
    </message>
    <message>
        <source>ランダムノイズの作成</source>
        <translation>Random noise</translation>
    </message>
    <message>
        <source>ランダムノイズ作成のためのメモリが確保できませんでした</source>
        <translation>Not enough memory to make the random noise</translation>
    </message>
    <message>
        <source>振幅：</source>
        <translation>Amplitude:</translation>
    </message>
    <message>
        <source>振幅</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>換算値</source>
        <translation>Equivalent</translation>
    </message>
    <message>
        <source>増幅</source>
        <translation>Gain</translation>
    </message>
    <message>
        <source>倍</source>
        <translation>×</translation>
    </message>
    <message>
        <source>レベルシフト</source>
        <translation>Level shift</translation>
    </message>
    <message>
        <source>直流分除去</source>
        <translation>Remove DC</translation>
    </message>
    <message>
        <source>上限リミッタ</source>
        <translation>Upper limit</translation>
    </message>
    <message>
        <source>下限リミッタ</source>
        <translation>Lower limit</translation>
    </message>
    <message>
        <source>波形の修正</source>
        <translation>Waveform modification</translation>
    </message>
    <message>
        <source>アナログ波形修正のためのメモリが確保できませんでした</source>
        <translation>Not enough memory to modify the analog waveform</translation>
    </message>
    <message>
        <source>矩形波の作成</source>
        <translation>Rectangle wave</translation>
    </message>
    <message>
        <source>矩形波作成のためのメモリが確保できませんでした</source>
        <translation>Not enough memory to make the rectangle wave</translation>
    </message>
    <message>
        <source>電圧(v1)：</source>
        <translation>Voltage (v1):</translation>
    </message>
    <message>
        <source>電圧(v2)：</source>
        <translation>Voltage (v2):</translation>
    </message>
    <message>
        <source>電圧(v0)：</source>
        <translation>Voltage (v0):</translation>
    </message>
    <message>
        <source>正弦波の作成</source>
        <translation>Sine wave</translation>
    </message>
    <message>
        <source>正弦波作成のためのメモリが確保できませんでした</source>
        <translation>Not enough memory to make the sine wave</translation>
    </message>
    <message>
        <source>周期(t1)：</source>
        <translation>Period (t1):</translation>
    </message>
    <message>
        <source>周期</source>
        <translation>Period</translation>
    </message>
    <message>
        <source>遅延(t0)：</source>
        <translation>Delay (t0):</translation>
    </message>
    <message>
        <source>遅延</source>
        <translation>Delay</translation>
    </message>
    <message>
        <source>開始位相：</source>
        <translation>Start phase:</translation>
    </message>
    <message>
        <source>開始位相</source>
        <translation>Start phase</translation>
    </message>
    <message>
        <source>度</source>
        <translation>°</translation>
    </message>
    <message>
        <source>振幅(v1)：</source>
        <translation>Amplitude (v1):</translation>
    </message>
    <message>
        <source>ｵﾌｾｯﾄ(v0)：</source>
        <translation>Offset (v0):</translation>
    </message>
    <message>
        <source>正弦波(&amp;S)</source>
        <translation>&amp;Sine wave...</translation>
    </message>
    <message>
        <source>[アナログ]  正弦波の作成</source>
        <translation>[Analog]  Make a sine wave</translation>
    </message>
    <message>
        <source>正弦波</source>
        <translation>Sine wave</translation>
    </message>
    <message>
        <source>矩形波(&amp;P)</source>
        <translation>Rectangle (&amp;pulse)...</translation>
    </message>
    <message>
        <source>[アナログ]  矩形波の作成</source>
        <translation>[Analog]  Make a rectangle wave</translation>
    </message>
    <message>
        <source>矩形波</source>
        <translation>Rectangle wave</translation>
    </message>
    <message>
        <source>直流波形(&amp;D)</source>
        <translation>&amp;DC...</translation>
    </message>
    <message>
        <source>[アナログ]  直流波形の作成</source>
        <translation>[Analog]  Make a DC level</translation>
    </message>
    <message>
        <source>直流</source>
        <translation>DC</translation>
    </message>
    <message>
        <source>ランプ波形(&amp;R)</source>
        <translation>&amp;Ramp...</translation>
    </message>
    <message>
        <source>[アナログ]  ランプ波形の作成</source>
        <translation>[Analog]  Make a ramp</translation>
    </message>
    <message>
        <source>ランプ</source>
        <translation>Ramp</translation>
    </message>
    <message>
        <source>指数関数波形(&amp;E)</source>
        <translation>&amp;Exponential...</translation>
    </message>
    <message>
        <source>[アナログ]  指数関数波形の作成</source>
        <translation>[Analog]  Make an exponential waveform</translation>
    </message>
    <message>
        <source>指数関数</source>
        <translation>Exponential</translation>
    </message>
    <message>
        <source>ランダムノイズ(&amp;N)</source>
        <translation>Random &amp;noise...</translation>
    </message>
    <message>
        <source>[アナログ]  ランダムノイズの作成</source>
        <translation>[Analog]  Make random noise</translation>
    </message>
    <message>
        <source>ノイズ</source>
        <translation>Noise</translation>
    </message>
    <message>
        <source>波形修正(&amp;M)</source>
        <translation>&amp;Modify...</translation>
    </message>
    <message>
        <source>[アナログ]  マニュアル操作による波形修正</source>
        <translation>[Analog]  Modify the waveform by hand</translation>
    </message>
    <message>
        <source>波形修正</source>
        <translation>Modify</translation>
    </message>
    <message>
        <source>外部データ(&amp;F)</source>
        <translation>External &amp;file...</translation>
    </message>
    <message>
        <source>[アナログ]  外部データの読み込み、変換</source>
        <translation>[Analog]  Read and convert external data</translation>
    </message>
    <message>
        <source>外部データ</source>
        <translation>External data</translation>
    </message>
    <message>
        <source>加算</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>減算</source>
        <translation>Subtract</translation>
    </message>
    <message>
        <source>乗算</source>
        <translation>Multiply</translation>
    </message>
    <message>
        <source>外部データの概要</source>
        <translation>External data overview</translation>
    </message>
    <message>
        <source>波形の見本</source>
        <translation>Waveform example</translation>
    </message>
    <message>
        <source>数式波形(&amp;Q)</source>
        <translation>E&amp;quation...</translation>
    </message>
    <message>
        <source>[アナログ]  数式による波形の作成</source>
        <translation>[Analog]  Make a waveform from an equation</translation>
    </message>
    <message>
        <source>数式波形</source>
        <translation>Equation</translation>
    </message>
    <message>
        <source>変数: t (秒), i, Ts, T, pi</source>
        <translation>Variables: t (seconds), i, Ts, T, pi</translation>
    </message>
    <message>
        <source>関数: sin cos tan exp log sqrt abs sign min max floor pow</source>
        <translation>Functions: sin cos tan exp log sqrt abs sign min max floor pow</translation>
    </message>
    <message>
        <source>square(位相) triangle(位相) noise()  比較: &lt; &gt; == ?:</source>
        <translation>square(phase) triangle(phase) noise()  comparison: &lt; &gt; == ?:</translation>
    </message>
    <message>
        <source>履歴：</source>
        <translation>History:</translation>
    </message>
    <message>
        <source>式の履歴</source>
        <translation>Expression history</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ名：</source>
        <translation>File name:</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>演算による修正</source>
        <translation>Modify by arithmetic</translation>
    </message>
    <message>
        <source>修正実行</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>%1 nS　→　%2 nS</source>
        <translation>%1 nS → %2 nS</translation>
    </message>
    <message>
        <source>%1 uS　→　%2 uS</source>
        <translation>%1 uS → %2 uS</translation>
    </message>
    <message>
        <source>%1 mS　→　%2 mS</source>
        <translation>%1 mS → %2 mS</translation>
    </message>
    <message>
        <source>%1 S　→　%2 S</source>
        <translation>%1 S → %2 S</translation>
    </message>
    <message>
        <source>%1～%2</source>
        <translation>%1–%2</translation>
    </message>
    <message>
        <source>ディジタルCH：%1～%2</source>
        <translation>Digital channels: %1–%2</translation>
    </message>
    <message>
        <source>CH%1 貼り付け</source>
        <translation>CH%1 paste</translation>
    </message>
    <message>
        <source>[ディジタル]  CH%1 貼り付け</source>
        <translation>[Digital]  CH%1 paste</translation>
    </message>
    <message>
        <source>CH%1 反転</source>
        <translation>CH%1 invert</translation>
    </message>
    <message>
        <source>[ディジタル]  CH%1 反転</source>
        <translation>[Digital]  CH%1 invert</translation>
    </message>
    <message>
        <source>CH%1 データ反転</source>
        <translation>CH%1 invert data</translation>
    </message>
    <message>
        <source>[ディジタル]  CH%1 データ反転</source>
        <translation>[Digital]  CH%1 invert data</translation>
    </message>
    <message>
        <source>CH%1 シフト</source>
        <translation>CH%1 shift</translation>
    </message>
    <message>
        <source>[ディジタル]  CH%1 シフト</source>
        <translation>[Digital]  CH%1 shift</translation>
    </message>
    <message>
        <source>CH%1 コピー</source>
        <translation>CH%1 copy</translation>
    </message>
    <message>
        <source>[ディジタル]  CH%1 コピー</source>
        <translation>[Digital]  CH%1 copy</translation>
    </message>
    <message>
        <source>CH%1 クリア</source>
        <translation>CH%1 clear</translation>
    </message>
    <message>
        <source>[ディジタル]  CH%1 クリア</source>
        <translation>[Digital]  CH%1 clear</translation>
    </message>
    <message>
        <source>CH%1 修正</source>
        <translation>CH%1 modify</translation>
    </message>
    <message>
        <source>[ディジタル]  CH%1 修正</source>
        <translation>[Digital]  CH%1 modify</translation>
    </message>
    <message>
        <source>CH%1 作成(プロトコル)</source>
        <translation>CH%1 bus pattern</translation>
    </message>
    <message>
        <source>[ディジタル]  CH%1 作成(プロトコル)</source>
        <translation>[Digital]  CH%1 bus pattern</translation>
    </message>
    <message>
        <source>CH%1 作成(シリアル)</source>
        <translation>CH%1 serial data</translation>
    </message>
    <message>
        <source>[ディジタル]  CH%1 作成(シリアル)</source>
        <translation>[Digital]  CH%1 serial data</translation>
    </message>
    <message>
        <source>CH%1 作成(クロック)</source>
        <translation>CH%1 clock</translation>
    </message>
    <message>
        <source>[ディジタル]  CH%1 作成(クロック)</source>
        <translation>[Digital]  CH%1 clock</translation>
    </message>
    <message>
        <source>設定 %1 トータル時間</source>
        <translation>Setting %1 total time</translation>
    </message>
    <message>
        <source>設定 %1 サンプリング時間</source>
        <translation>Setting %1 sampling time</translation>
    </message>
    <message>
        <source>設定 %1 サンプリングデータ数</source>
        <translation>Setting %1 sample count</translation>
    </message>
    <message>
        <source>設定 %1 時間誤差</source>
        <translation>Setting %1 time error</translation>
    </message>
    <message>
        <source>時間(t%1)</source>
        <translation>Time (t%1)</translation>
    </message>
    <message>
        <source>時間(t%1)：</source>
        <translation>Time (t%1):</translation>
    </message>
    <message>
        <source>方向</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>ワード長</source>
        <translation>Word length</translation>
    </message>
    <message>
        <source>モード</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>パリティ</source>
        <translation>Parity</translation>
    </message>
    <message>
        <source>パターン後</source>
        <translation>After the pattern</translation>
    </message>
    <message>
        <source>データビット</source>
        <translation>Data bits</translation>
    </message>
    <message>
        <source>データCH</source>
        <translation>Data CH</translation>
    </message>
    <message>
        <source>ストップビット</source>
        <translation>Stop bits</translation>
    </message>
    <message>
        <source>アイドルレベル</source>
        <translation>Idle level</translation>
    </message>
    <message>
        <source>CSの論理</source>
        <translation>CS polarity</translation>
    </message>
    <message>
        <source>波形出力 - %1 ( %2  %3 )</source>
        <translation>Waveform output - %1 ( %2  %3 )</translation>
    </message>
    <message>
        <source>%1 の内容は変更されています。</source>
        <translation>%1 has been changed.</translation>
    </message>
    <message>
        <source>%1、以降アイドル</source>
        <translation>%1, then idle</translation>
    </message>
    <message>
        <source>%1、以降バス保持</source>
        <translation>%1, then bus held</translation>
    </message>
    <message>
        <source>%1、以降は変更しない</source>
        <translation>%1, then unchanged</translation>
    </message>
    <message>
        <source>t = %1 で式の値が数値になりません（NaN または無限大）</source>
        <translation>At t = %1 the expression has no numeric value (NaN or infinity)</translation>
    </message>
    <message>
        <source>位置 %1: %2</source>
        <translation>Position %1: %2</translation>
    </message>
    <message>
        <source>サンプリング周波数 %1 Hz の間隔は整数の nS にならないため、%2 に丸めました。</source>
        <translation>The interval of the sampling rate %1 Hz is not a whole number of nS, so it was rounded to %2.</translation>
    </message>
    <message>
        <source>%1 *</source>
        <translation>%1 *</translation>
    </message>
    <message>
        <source>エクスポート(&amp;E)...</source>
        <translation>&amp;Export...</translation>
    </message>
    <message>
        <source>波形を CSV、WAV、NumPy、VCD 形式のファイルに書き出す</source>
        <translation>Write the waveform to a CSV, WAV, NumPy or VCD file</translation>
    </message>
    <message>
        <source>エクスポート</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>形式(&amp;F)：</source>
        <translation>&amp;Format:</translation>
    </message>
    <message>
        <source>形式</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>内容</source>
        <translation>Content</translation>
    </message>
    <message>
        <source>内容 アナログ</source>
        <translation>Content: analog</translation>
    </message>
    <message>
        <source>内容 ディジタル</source>
        <translation>Content: digital</translation>
    </message>
    <message>
        <source>NumPy 形式のときに選べます。CH0 ～ CH7 を 1 バイトにまとめます</source>
        <translation>Available for NumPy files. CH0 – CH7 are packed into 1 byte</translation>
    </message>
    <message>
        <source>範囲</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>波形全体(&amp;W)</source>
        <translation>&amp;Whole waveform</translation>
    </message>
    <message>
        <source>カーソル～タイムマーク(&amp;M)</source>
        <translation>Cursor to time &amp;mark</translation>
    </message>
    <message>
        <source>範囲 波形全体</source>
        <translation>Range: whole waveform</translation>
    </message>
    <message>
        <source>範囲 カーソル～タイムマーク</source>
        <translation>Range: cursor to time mark</translation>
    </message>
    <message>
        <source>タイムマークが設置されているときに選べます</source>
        <translation>Available when a time mark is set</translation>
    </message>
    <message>
        <source>ファイル名(&amp;N)：</source>
        <translation>File &amp;name:</translation>
    </message>
    <message>
        <source>参照(&amp;B)...</source>
        <translation>&amp;Browse...</translation>
    </message>
    <message>
        <source>ファイル名を参照</source>
        <translation>Browse for the file name</translation>
    </message>
    <message>
        <source>書き込みの進み具合</source>
        <translation>Writing progress</translation>
    </message>
    <message>
        <source>書き出し</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>CSVﾌｧｲﾙ (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>WAV 32ビット浮動小数点 (*.wav)</source>
        <translation>WAV 32-bit float (*.wav)</translation>
    </message>
    <message>
        <source>WAV 16ビットPCM (*.wav)</source>
        <translation>WAV 16-bit PCM (*.wav)</translation>
    </message>
    <message>
        <source>（0 サンプル）</source>
        <translation>(0 samples)</translation>
    </message>
    <message>
        <source>%1 ～ %2 （%3 サンプル）</source>
        <translation>%1 – %2 (%3 samples)</translation>
    </message>
    <message>
        <source>サンプリング時間の逆数が整数の Hz にならないため、サンプリング周波数を %1 Hz に丸めました。</source>
        <translation>The reciprocal of the sampling time is not a whole number of Hz, so the sampling rate was rounded to %1 Hz.</translation>
    </message>
    <message>
        <source>±%1 V を超える %2 サンプルをクリップしました。</source>
        <translation>%2 samples beyond ±%1 V were clipped.</translation>
    </message>
    <message>
        <source>書き出すサンプル %1</source>
        <translation>Samples to write %1</translation>
    </message>
</context>
</TS>
