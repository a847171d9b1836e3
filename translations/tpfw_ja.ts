<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>FolderReader</name>
    <message>
        <source>Reading %1…</source>
        <translation>%1 を読み込んでいます…</translation>
    </message>
    <message>
        <source>%1 is not answering</source>
        <translation>%1 が応答しません</translation>
    </message>
</context>
<context>
    <name>HistoryDialog</name>
    <message>
        <source>The history was changed after it was written: the record at line %1 (No. %2) was edited.</source>
        <translation>履歴は記録後に変更されています: %1 行目の記録 (No. %2) が編集されました。</translation>
    </message>
    <message>
        <source>The history was changed after it was written: record No. %2, before line %1, was deleted.</source>
        <translation>履歴は記録後に変更されています: %1 行目の前の記録 No. %2 が削除されました。</translation>
    </message>
    <message>
        <source>The history was changed after it was written: the record at line %1 was added later.</source>
        <translation>履歴は記録後に変更されています: %1 行目の記録は後から追加されたものです。</translation>
    </message>
    <message>
        <source>The history was changed after it was written: the record at line %1 repeats No. %2.</source>
        <translation>履歴は記録後に変更されています: %1 行目の記録は No. %2 と重複しています。</translation>
    </message>
    <message>
        <source>&amp;Today</source>
        <translation>今日(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Failures only</source>
        <translation>失敗のみ(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Export CSV…</source>
        <translation>CSV をエクスポート(&amp;E)…</translation>
    </message>
    <message>
        <source>History</source>
        <translation>履歴</translation>
    </message>
    <message>
        <source>Station history</source>
        <translation>ステーションの履歴</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>Search units, operators, stations, leaves, images</source>
        <translation>パネル、作業者、ステーション、フォルダー、イメージを検索</translation>
    </message>
    <message>
        <source>Reading the history…</source>
        <translation>履歴を読み込んでいます…</translation>
    </message>
    <message>
        <source>1 run shown</source>
        <translation>1 件の実行を表示</translation>
    </message>
    <message>
        <source>%1 runs shown</source>
        <translation>%1 件の実行を表示</translation>
    </message>
    <message>
        <source>Writing %1…</source>
        <translation>%1 に書き込んでいます…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>The history could not be written to %1: %2</source>
        <translation>履歴を %1 に書き込めませんでした: %2</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>CSV をエクスポート</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV ファイル (*.csv)</translation>
    </message>
</context>
<context>
    <name>HistoryModel</name>
    <message>
        <source>no images sent</source>
        <translation>イメージ送信なし</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失敗</translation>
    </message>
    <message>
        <source>crashed</source>
        <translation>クラッシュ</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>中断</translation>
    </message>
    <message>
        <source>not started</source>
        <translation>未開始</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>不明</translation>
    </message>
    <message>
        <source>the history changed since it was read: open it again, then export</source>
        <translation>読み込んだ後に履歴が変わりました。開き直してからエクスポートしてください</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>開始</translation>
    </message>
    <message>
        <source>TP size / sensitivity</source>
        <translation>TP サイズ / 感度</translation>
    </message>
    <message>
        <source>Images</source>
        <translation>イメージ</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>結果</translation>
    </message>
    <message>
        <source>Exit code</source>
        <translation>終了コード</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>所要時間</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>ステーション</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>パネル</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>作業者</translation>
    </message>
    <message>
        <source>User</source>
        <translation>ユーザー</translation>
    </message>
    <message>
        <source>Release</source>
        <translation>リリース</translation>
    </message>
    <message>
        <source>Order</source>
        <translation>オーダー</translation>
    </message>
</context>
<context>
    <name>HistoryStatus</name>
    <message>
        <source>History not written</source>
        <translation>履歴未書き込み</translation>
    </message>
    <message>
        <source>Today: %1 OK · %2 failed</source>
        <translation>本日：成功 %1 · 失敗 %2</translation>
    </message>
    <message>
        <source>%1 · first pass %2 of %3</source>
        <translation>%1 · 初回合格 %2/%3</translation>
    </message>
</context>
<context>
    <name>LogViewer</name>
    <message>
        <source>This run has no run log.</source>
        <translation>この実行には実行ログがありません。</translation>
    </message>
    <message>
        <source>The run log is gone: %1</source>
        <translation>実行ログがありません: %1</translation>
    </message>
    <message>
        <source>Run log</source>
        <translation>実行ログ</translation>
    </message>
    <message>
        <source>%1 (its end only)</source>
        <translation>%1 (末尾のみ)</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Images to send</source>
        <translation>送信するイメージ</translation>
    </message>
    <message>
        <source>Stop updater</source>
        <translation>アップデーターを停止</translation>
    </message>
    <message>
        <source>Stopping the updater while it writes can leave the panel unusable. Stop it anyway?</source>
        <translation>書き込み中にアップデーターを停止すると、パネルが使用できなくなる可能性があります。それでも停止しますか？</translation>
    </message>
    <message>
        <source>The images are still being checked. Close anyway? Nothing will be started.</source>
        <translation>イメージはまだ確認中です。それでも閉じますか？何も開始されません。</translation>
    </message>
    <message>
        <source>The FW updater is still running. Close anyway? The update goes on without this window.</source>
        <translation>FW アップデーターはまだ実行中です。それでも閉じますか？更新はこのウィンドウなしで続行されます。</translation>
    </message>
    <message>
        <source>MainWindow</source>
        <translation>MainWindow</translation>
    </message>
    <message>
        <source>Message Box</source>
        <translation>メッセージ</translation>
    </message>
    <message>
        <source>When updating FW, don&apos;t press &quot;UpdateFW&quot; button!!</source>
        <translation>FW 更新中は「UpdateFW」ボタンを押さないでください！！</translation>
    </message>
    <message>
        <source>Update FW OK !!!</source>
        <translation>FW 更新成功！！！</translation>
    </message>
</context>
<context>
    <name>RunNews</name>
    <message>
        <source>Reading the release…</source>
        <translation>リリースを読み込んでいます…</translation>
    </message>
    <message>
        <source>No images listed</source>
        <translation>イメージなし</translation>
    </message>
    <message>
        <source>Reading %1…</source>
        <translation>%1 を読み込んでいます…</translation>
    </message>
    <message>
        <source>Looking up %1 in the history…</source>
        <translation>履歴から %1 を検索しています…</translation>
    </message>
</context>
<context>
    <name>RunPanel</name>
    <message>
        <source>Show output</source>
        <translation>出力を表示</translation>
    </message>
    <message>
        <source>FW update run</source>
        <translation>FW 更新の実行</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>進行状況</translation>
    </message>
    <message>
        <source>Latest output</source>
        <translation>最新の出力</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>結果</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>出力</translation>
    </message>
    <message>
        <source>Hide output</source>
        <translation>出力を隠す</translation>
    </message>
    <message>
        <source>Stopping the FW updater… forced in %1 s</source>
        <translation>FW アップデーターを停止しています… %1 秒後に強制終了</translation>
    </message>
    <message>
        <source>Stopping the FW updater…</source>
        <translation>FW アップデーターを停止しています…</translation>
    </message>
    <message>
        <source>1 image</source>
        <translation>イメージ 1 個</translation>
    </message>
    <message>
        <source>%1 images</source>
        <translation>イメージ %1 個</translation>
    </message>
    <message>
        <source>No output for %1 s</source>
        <translation>%1 秒間出力なし</translation>
    </message>
</context>
<context>
    <name>FaultWords</name>
    <message>
        <source>cannot be read: %1</source>
        <translation>読み込めません: %1</translation>
    </message>
    <message>
        <source>line %1 is not key=value: %2</source>
        <translation>%1 行目が key=value ではありません: %2</translation>
    </message>
    <message>
        <source>%1: no such setting</source>
        <translation>%1: そのような設定はありません</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is neither true nor false</source>
        <translation>%1: &quot;%2&quot; は true でも false でもありません</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a number of minutes</source>
        <translation>%1: &quot;%2&quot; は分数ではありません</translation>
    </message>
    <message>
        <source>%1: the pattern does not compile: %2</source>
        <translation>%1: パターンをコンパイルできません: %2</translation>
    </message>
    <message>
        <source>%1: each leaf reads TP size/sensitivity, not &quot;%2&quot;</source>
        <translation>%1: 各フォルダーは TP サイズ/感度 の形式で、&quot;%2&quot; ではありません</translation>
    </message>
    <message>
        <source>%1: leaves are released for no order: name it</source>
        <translation>%1: どのオーダーのリリースでもありません。オーダー名を指定してください</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is more than %3 minutes</source>
        <translation>%1: &quot;%2&quot; は %3 分を超えています</translation>
    </message>
    <message>
        <source>there is no such file (a station that asks for nothing keeps it, without keys)</source>
        <translation>ファイルがありません（何も求めないステーションでも、キーのないこのファイルを置きます）</translation>
    </message>
    <message>
        <source>line %1 is not UTF-8 text</source>
        <translation>%1 行目が UTF-8 のテキストではありません</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a number of characters from 1 to %3</source>
        <translation>%1: 「%2」は 1 から %3 までの文字数ではありません</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a name people can read: %3</source>
        <translation>%1: 「%2」は人が読める名前ではありません: %3</translation>
    </message>
    <message>
        <source>%1: a release needs the keys trusted to sign it</source>
        <translation>%1: リリースには署名を信頼する鍵が必要です</translation>
    </message>
    <message>
        <source>%1: the release names the leaves released</source>
        <translation>%1: リリースされるリーフはリリースが指定します</translation>
    </message>
    <message>
        <source>is not a release&apos;s JSON: %1</source>
        <translation>リリースの JSON ではありません: %1</translation>
    </message>
    <message>
        <source>schema is %1, not 1</source>
        <translation>schema が 1 ではなく %1 です</translation>
    </message>
    <message>
        <source>%1 is missing</source>
        <translation>%1 がありません</translation>
    </message>
    <message>
        <source>%1 is not of its kind</source>
        <translation>%1 の型が正しくありません</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not TP size/sensitivity</source>
        <translation>%1: 「%2」は TP サイズ/感度 ではありません</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not the name of a file in a leaf</source>
        <translation>%1: 「%2」はリーフ内のファイル名ではありません</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is named twice</source>
        <translation>%1: 「%2」が 2 回指定されています</translation>
    </message>
    <message>
        <source>%1: %2 is not a number of bytes</source>
        <translation>%1: %2 はバイト数ではありません</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a SHA-256 in lower-case hex</source>
        <translation>%1: 「%2」は小文字 16 進の SHA-256 ではありません</translation>
    </message>
    <message>
        <source>holds no PEM public key</source>
        <translation>PEM 公開鍵が含まれていません</translation>
    </message>
    <message>
        <source>is not a public key that can be read</source>
        <translation>読み取れる公開鍵ではありません</translation>
    </message>
    <message>
        <source>is neither an EC P-256 key nor an RSA key of 2048 bits or more</source>
        <translation>EC P-256 の鍵でも 2048 ビット以上の RSA 鍵でもありません</translation>
    </message>
    <message>
        <source>is larger than any release</source>
        <translation>どのリリースよりも大きすぎます</translation>
    </message>
    <message>
        <source>has no signature beside it (%1)</source>
        <translation>横に署名がありません (%1)</translation>
    </message>
    <message>
        <source>is not signed by a key this station trusts</source>
        <translation>このステーションが信頼する鍵で署名されていません</translation>
    </message>
    <message>
        <source>is for order %1, not for order %2 as the station&apos;s settings say</source>
        <translation>ステーション設定のオーダー %2 ではなく、オーダー %1 のものです</translation>
    </message>
    <message>
        <source>%1: the list of operators cannot be read: %2</source>
        <translation>%1: 作業者の一覧を読み込めません: %2</translation>
    </message>
    <message>
        <source>%1: the list of operators names nobody</source>
        <translation>%1: 作業者の一覧に誰も記載されていません</translation>
    </message>
</context>
<context>
    <name>RunWords</name>
    <message>
        <source>Images of %1, still: %2 is checked, no sensitivity yet</source>
        <translation>まだ %1 のイメージです：%2 が選択され、感度は未選択です</translation>
    </message>
    <message>
        <source>Next panel: %1, ready once this run has ended</source>
        <translation>次のパネル: %1（この実行が終わると開始できます）</translation>
    </message>
    <message>
        <source>Images of %1, not released for order %2: UpdateFW will not start them</source>
        <translation>%1 のイメージ。オーダー %2 にはリリースされていないため UpdateFW では開始できません</translation>
    </message>
    <message>
        <source>Images of %1: the station&apos;s settings cannot be used: UpdateFW will not start them</source>
        <translation>%1 のイメージ。ステーション設定が使えないため UpdateFW では開始できません</translation>
    </message>
    <message>
        <source>Images of %1: the release is being read</source>
        <translation>%1 のイメージ。リリースを読み込んでいます</translation>
    </message>
    <message>
        <source>Images of %1: release %2 cannot be read: UpdateFW will not start them</source>
        <translation>%1 のイメージ。リリース %2 を読み込めないため UpdateFW では開始できません</translation>
    </message>
    <message>
        <source>Images of %1: release %2 cannot be trusted: UpdateFW will not start them</source>
        <translation>%1 のイメージ。リリース %2 は信頼できないため UpdateFW では開始できません</translation>
    </message>
    <message>
        <source>Images of %1: release %2 is for order %3, not %4: UpdateFW will not start them</source>
        <translation>%1 のイメージ。リリース %2 はオーダー %4 ではなく %3 のものなので UpdateFW では開始できません</translation>
    </message>
    <message>
        <source>Images of %1: release %2 of order %3 does not list this leaf: UpdateFW will not start them</source>
        <translation>%1 のイメージ。オーダー %3 のリリース %2 にこのフォルダーは含まれていないため UpdateFW では開始できません</translation>
    </message>
    <message>
        <source>not found</source>
        <translation>見つかりません</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>フォルダーです</translation>
    </message>
    <message>
        <source>not executable</source>
        <translation>実行できません</translation>
    </message>
    <message>
        <source>too many images for one command line</source>
        <translation>イメージが多すぎて 1 つのコマンドラインに収まりません</translation>
    </message>
    <message>
        <source>This run cannot be recorded: %1. Nothing was started.</source>
        <translation>この実行は記録できません: %1。何も開始されませんでした。</translation>
    </message>
    <message>
        <source>Sign in first: Station &gt; Sign in…</source>
        <translation>先にサインインしてください: ステーション &gt; サインイン…</translation>
    </message>
    <message>
        <source>Scan or type the panel&apos;s serial first.</source>
        <translation>先にパネルのシリアルをスキャンまたは入力してください。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a panel serial of this station: nothing was started.</source>
        <translation>&quot;%1&quot; はこのステーションのパネルのシリアルではありません。何も開始されていません。</translation>
    </message>
    <message>
        <source>%1 is not answering: nothing was started.</source>
        <translation>%1 が応答しません。何も開始していません。</translation>
    </message>
    <message>
        <source>The images of %1 changed on disk: check the list and press UpdateFW again.</source>
        <translation>%1 のイメージがディスク上で変更されました：一覧を確認して、もう一度 UpdateFW を押してください。</translation>
    </message>
    <message>
        <source>The FW updater is still running.</source>
        <translation>FW アップデーターはまだ実行中です。</translation>
    </message>
    <message>
        <source>%1/%2 is not released for order %3: nothing was started.</source>
        <translation>%1/%2 はオーダー %3 にリリースされていません。何も開始されていません。</translation>
    </message>
    <message>
        <source>%1 changed while it was checked: nothing was started. Make sure nothing writes to the images, then press UpdateFW again.</source>
        <translation>%1 は確認中に変更されました。何も開始していません。イメージに書き込んでいるものがないことを確認してから、もう一度 UpdateFW を押してください。</translation>
    </message>
    <message>
        <source>Cannot start the FW updater: </source>
        <translation>FW アップデーターを起動できません：</translation>
    </message>
    <message>
        <source>its supervisor could not write a record</source>
        <translation>監視プロセスが記録を書き込めませんでした</translation>
    </message>
    <message>
        <source>Panel %1 was already updated OK on %2 at %3. Update it again?</source>
        <translation>パネル %1 は %2 に %3 で既に更新に成功しています。もう一度更新しますか?</translation>
    </message>
    <message>
        <source>The listed images are from %1, but %2 is checked. Update with the %1 images?</source>
        <translation>一覧のイメージは %1 のものですが、%2 が選択されています。%1 のイメージで更新しますか？</translation>
    </message>
    <message>
        <source>No images are listed. Start the FW updater with no images anyway?</source>
        <translation>イメージが一覧にありません。イメージなしで FW アップデーターを起動しますか?</translation>
    </message>
    <message>
        <source>Station settings %1: %2. No FW update can be started until the file is fixed.</source>
        <translation>ステーション設定 %1: %2。ファイルが修正されるまで FW 更新は開始できません。</translation>
    </message>
    <message>
        <source>Order: %1</source>
        <translation>オーダー: %1</translation>
    </message>
    <message>
        <source>Operator: %1</source>
        <translation>作業者: %1</translation>
    </message>
    <message>
        <source>Not signed in</source>
        <translation>未サインイン</translation>
    </message>
    <message>
        <source>1 entry of %1 has a name that is not valid UTF-8 and is not listed: rename it</source>
        <translation>%1 の 1 項目は名前が有効な UTF-8 ではないため一覧にありません：名前を変更してください</translation>
    </message>
    <message>
        <source>%1 entries of %2 have names that are not valid UTF-8 and are not listed: rename them</source>
        <translation>%2 の %1 項目は名前が有効な UTF-8 ではないため一覧にありません：名前を変更してください</translation>
    </message>
    <message>
        <source>Checking the images: %1 of %2</source>
        <translation>イメージを確認しています: %1 / %2</translation>
    </message>
    <message>
        <source>FW updater running (started %1)</source>
        <translation>FW アップデーター実行中（%1 に開始）</translation>
    </message>
    <message>
        <source>FW updater running (its supervisor is gone; started %1)</source>
        <translation>FW アップデーター実行中（監視プロセスは終了済み、開始 %1）</translation>
    </message>
    <message>
        <source>FW updater running (another tpfw&apos;s, started %1)</source>
        <translation>FW アップデーター実行中 (別の tpfw による、開始 %1)</translation>
    </message>
    <message>
        <source>FW update interrupted: result unknown</source>
        <translation>FW 更新が中断されました: 結果は不明です</translation>
    </message>
    <message>
        <source>The FW update started %1 on %2 / %3 was interrupted; its result is unknown. Check the panel before using it.</source>
        <translation>%1 に %2 / %3 で開始した FW 更新は中断されました。結果は不明です。使用する前にパネルを確認してください。</translation>
    </message>
    <message>
        <source>A damaged record of a FW update was set aside: %1. Check the panel of the last update that was not recorded.</source>
        <translation>破損した FW 更新の記録を退避しました: %1。記録されなかった最後の更新のパネルを確認してください。</translation>
    </message>
    <message>
        <source>The machine&apos;s run lock cannot be used: %1. No FW update can be started until it is fixed.</source>
        <translation>このマシンの実行ロックを使用できません: %1。修正されるまで FW 更新は開始できません。</translation>
    </message>
    <message>
        <source>The station history could not be written: %1. This run is not recorded.</source>
        <translation>ステーション履歴を書き込めませんでした: %1。この実行は記録されません。</translation>
    </message>
    <message>
        <source>FW updater ended: no images were sent (exit code %1)</source>
        <translation>FW アップデーター終了: イメージは送られていません (終了コード %1)</translation>
    </message>
    <message>
        <source>FW update OK</source>
        <translation>FW 更新成功</translation>
    </message>
    <message>
        <source>FW update failed: exit code %1</source>
        <translation>FW 更新失敗：終了コード %1</translation>
    </message>
    <message>
        <source>FW update failed: the updater crashed</source>
        <translation>FW 更新失敗：アップデーターがクラッシュしました</translation>
    </message>
    <message>
        <source>FW update stopped</source>
        <translation>FW 更新を停止しました</translation>
    </message>
    <message>
        <source>FW updater ended (result unknown)</source>
        <translation>FW アップデーターが終了しました（結果不明）</translation>
    </message>
    <message>
        <source>No run log: </source>
        <translation>実行ログなし：</translation>
    </message>
    <message>
        <source>Run log: </source>
        <translation>実行ログ：</translation>
    </message>
    <message>
        <source>it is empty</source>
        <translation>空です</translation>
    </message>
    <message>
        <source>it holds a character that cannot be seen (a control, format or separator character)</source>
        <translation>目に見えない文字（制御文字・書式文字・区切り文字）が含まれています</translation>
    </message>
    <message>
        <source>it has a mark on nothing, or more than %1 on one character</source>
        <translation>結合記号が単独で付いているか、1 文字に %1 個を超えて付いています</translation>
    </message>
    <message>
        <source>it is longer than %1 characters</source>
        <translation>%1 文字を超えています</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an operator ID: %2.</source>
        <translation>「%1」は作業者 ID ではありません: %2。</translation>
    </message>
    <message>
        <source>The release is being read again: press UpdateFW again in a moment.</source>
        <translation>リリースを読み直しています。しばらくしてからもう一度 UpdateFW を押してください。</translation>
    </message>
    <message>
        <source>%1 is not the image released in %2: nothing was started.</source>
        <translation>%1 は %2 でリリースされたイメージではありません。何も開始されていません。</translation>
    </message>
    <message>
        <source>%1 is not in release %2: nothing was started.</source>
        <translation>%1 はリリース %2 に含まれていません。何も開始されていません。</translation>
    </message>
    <message>
        <source>%1 of release %2 is missing: nothing was started.</source>
        <translation>リリース %2 の %1 がありません。何も開始されていません。</translation>
    </message>
    <message>
        <source>Release %1: %2. No FW update can be started until it is fixed.</source>
        <translation>リリース %1: %2。修正されるまで FW 更新は開始できません。</translation>
    </message>
    <message>
        <source>Images of %1</source>
        <translation>%1 のイメージ</translation>
    </message>
    <message>
        <source>Images of %1, release %2</source>
        <translation>%1 のイメージ、リリース %2</translation>
    </message>
    <message>
        <source>FW updater running (unknown run)</source>
        <translation>FW アップデーター実行中 (不明な実行)</translation>
    </message>
    <message>
        <source>Signed out: no press for %1 min. Station &gt; Sign in… (Ctrl+I)</source>
        <translation>サインアウトしました: %1 分間操作がありませんでした。ステーション &gt; サインイン… (Ctrl+I)</translation>
    </message>
    <message>
        <source>Panel %1 · %2</source>
        <translation>パネル %1 · %2</translation>
    </message>
    <message>
        <source>Set this panel aside: check it, or update it again, before it is used.</source>
        <translation>このパネルは取り分けてください。使用する前に確認するか、もう一度更新してください。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; may not sign in here: not in this station&apos;s list of operators.</source>
        <translation>「%1」はここではサインインできません: このステーションの作業者一覧にありません。</translation>
    </message>
    <message>
        <source>Stopping the updater while it writes can leave the panel unusable. To stop it anyway, the operator of the run scans or types their ID:</source>
        <translation>書き込み中にアップデーターを停止すると、パネルが使用できなくなることがあります。それでも停止するには、この実行の作業者が ID をスキャンまたは入力してください:</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not the operator of this run: the updater goes on.</source>
        <translation>「%1」はこの実行の作業者ではありません: アップデーターは続行します。</translation>
    </message>
    <message>
        <source>%1 · operator %2</source>
        <translation>%1 · 作業者 %2</translation>
    </message>
</context>
<context>
    <name>SerialField</name>
    <message>
        <source>Panel serial</source>
        <translation>パネルのシリアル</translation>
    </message>
    <message>
        <source>Panel serial:</source>
        <translation>パネルのシリアル:</translation>
    </message>
</context>
<context>
    <name>ShutdownGuard</name>
    <message>
        <source>Updating touch panel firmware</source>
        <translation>タッチパネルのファームウェアを更新しています</translation>
    </message>
</context>
<context>
    <name>StationMenu</name>
    <message>
        <source>&amp;Station</source>
        <translation>ステーション(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;History…</source>
        <translation>履歴(&amp;H)…</translation>
    </message>
    <message>
        <source>Sign &amp;in…</source>
        <translation>サインイン(&amp;I)…</translation>
    </message>
    <message>
        <source>Sign &amp;out</source>
        <translation>サインアウト(&amp;O)</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>サインイン</translation>
    </message>
    <message>
        <source>Operator ID (type or scan):</source>
        <translation>作業者 ID (入力またはスキャン):</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>作業者</translation>
    </message>
    <message>
        <source>Stop updater</source>
        <translation>アップデーターを停止</translation>
    </message>
</context>
</TS>
