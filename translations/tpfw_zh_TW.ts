<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>FolderReader</name>
    <message>
        <source>Reading %1…</source>
        <translation>正在讀取 %1…</translation>
    </message>
    <message>
        <source>%1 is not answering</source>
        <translation>%1 沒有回應</translation>
    </message>
</context>
<context>
    <name>HistoryDialog</name>
    <message>
        <source>The history was changed after it was written: the record at line %1 (No. %2) was edited.</source>
        <translation>歷史記錄在寫入後被更改：第 %1 行的記錄（No. %2）已被編輯。</translation>
    </message>
    <message>
        <source>The history was changed after it was written: record No. %2, before line %1, was deleted.</source>
        <translation>歷史記錄在寫入後被更改：第 %1 行之前的記錄 No. %2 已被刪除。</translation>
    </message>
    <message>
        <source>The history was changed after it was written: the record at line %1 was added later.</source>
        <translation>歷史記錄在寫入後被更改：第 %1 行的記錄是後來新增的。</translation>
    </message>
    <message>
        <source>The history was changed after it was written: the record at line %1 repeats No. %2.</source>
        <translation>歷史記錄在寫入後被更改：第 %1 行的記錄與 No. %2 重複。</translation>
    </message>
    <message>
        <source>&amp;Today</source>
        <translation>今天(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Failures only</source>
        <translation>僅失敗(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Export CSV…</source>
        <translation>匯出 CSV(&amp;E)…</translation>
    </message>
    <message>
        <source>History</source>
        <translation>歷史記錄</translation>
    </message>
    <message>
        <source>Station history</source>
        <translation>工作站歷史記錄</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>搜尋</translation>
    </message>
    <message>
        <source>Search units, operators, stations, leaves, images</source>
        <translation>搜尋面板、操作員、工作站、資料夾、映像</translation>
    </message>
    <message>
        <source>Reading the history…</source>
        <translation>正在讀取歷史記錄…</translation>
    </message>
    <message>
        <source>1 run shown</source>
        <translation>顯示 1 次執行</translation>
    </message>
    <message>
        <source>%1 runs shown</source>
        <translation>顯示 %1 次執行</translation>
    </message>
    <message>
        <source>Writing %1…</source>
        <translation>正在寫入 %1…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>The history could not be written to %1: %2</source>
        <translation>無法將歷史記錄寫入 %1：%2</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>匯出 CSV</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV 檔案 (*.csv)</translation>
    </message>
</context>
<context>
    <name>HistoryModel</name>
    <message>
        <source>no images sent</source>
        <translation>未傳送映像檔</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失敗</translation>
    </message>
    <message>
        <source>crashed</source>
        <translation>當機</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>已停止</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>中斷</translation>
    </message>
    <message>
        <source>not started</source>
        <translation>未啟動</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>the history changed since it was read: open it again, then export</source>
        <translation>讀取後歷史記錄已變更：請重新開啟後再匯出</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>開始時間</translation>
    </message>
    <message>
        <source>TP size / sensitivity</source>
        <translation>TP 尺寸 / 靈敏度</translation>
    </message>
    <message>
        <source>Images</source>
        <translation>映像檔</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>結果</translation>
    </message>
    <message>
        <source>Exit code</source>
        <translation>結束代碼</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>耗時</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>工作站</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>面板</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>操作員</translation>
    </message>
    <message>
        <source>User</source>
        <translation>使用者</translation>
    </message>
    <message>
        <source>Release</source>
        <translation>發布</translation>
    </message>
    <message>
        <source>Order</source>
        <translation>工單</translation>
    </message>
</context>
<context>
    <name>HistoryStatus</name>
    <message>
        <source>History not written</source>
        <translation>未寫入歷史記錄</translation>
    </message>
    <message>
        <source>Today: %1 OK · %2 failed</source>
        <translation>今日：%1 成功 · %2 失敗</translation>
    </message>
    <message>
        <source>%1 · first pass %2 of %3</source>
        <translation>%1 · 一次通過 %2/%3</translation>
    </message>
</context>
<context>
    <name>LogViewer</name>
    <message>
        <source>This run has no run log.</source>
        <translation>此次執行沒有執行記錄檔。</translation>
    </message>
    <message>
        <source>The run log is gone: %1</source>
        <translation>執行記錄檔已不存在：%1</translation>
    </message>
    <message>
        <source>Run log</source>
        <translation>執行記錄檔</translation>
    </message>
    <message>
        <source>%1 (its end only)</source>
        <translation>%1（僅末尾部分）</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Images to send</source>
        <translation>要傳送的映像檔</translation>
    </message>
    <message>
        <source>Stop updater</source>
        <translation>停止更新程式</translation>
    </message>
    <message>
        <source>Stopping the updater while it writes can leave the panel unusable. Stop it anyway?</source>
        <translation>在寫入過程中停止更新程式可能導致面板無法使用。仍要停止嗎？</translation>
    </message>
    <message>
        <source>The images are still being checked. Close anyway? Nothing will be started.</source>
        <translation>仍在檢查映像檔。仍要關閉嗎？不會啟動任何操作。</translation>
    </message>
    <message>
        <source>The FW updater is still running. Close anyway? The update goes on without this window.</source>
        <translation>FW 更新程式仍在執行。仍要關閉嗎？更新會在沒有此視窗的情況下繼續。</translation>
    </message>
    <message>
        <source>MainWindow</source>
        <translation>MainWindow</translation>
    </message>
    <message>
        <source>Message Box</source>
        <translation>訊息方塊</translation>
    </message>
    <message>
        <source>When updating FW, don&apos;t press &quot;UpdateFW&quot; button!!</source>
        <translation>更新 FW 時，請勿按「UpdateFW」按鈕！！</translation>
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
        <translation>正在讀取發布…</translation>
    </message>
    <message>
        <source>No images listed</source>
        <translation>未列出映像檔</translation>
    </message>
    <message>
        <source>Reading %1…</source>
        <translation>正在讀取 %1…</translation>
    </message>
    <message>
        <source>Looking up %1 in the history…</source>
        <translation>正在歷史記錄中查找 %1…</translation>
    </message>
</context>
<context>
    <name>RunPanel</name>
    <message>
        <source>Show output</source>
        <translation>顯示輸出</translation>
    </message>
    <message>
        <source>FW update run</source>
        <translation>FW 更新執行</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>進度</translation>
    </message>
    <message>
        <source>Latest output</source>
        <translation>最新輸出</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>結果</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>輸出</translation>
    </message>
    <message>
        <source>Hide output</source>
        <translation>隱藏輸出</translation>
    </message>
    <message>
        <source>Stopping the FW updater… forced in %1 s</source>
        <translation>正在停止 FW 更新程式… %1 秒後強制結束</translation>
    </message>
    <message>
        <source>Stopping the FW updater…</source>
        <translation>正在停止 FW 更新程式…</translation>
    </message>
    <message>
        <source>1 image</source>
        <translation>1 個映像檔</translation>
    </message>
    <message>
        <source>%1 images</source>
        <translation>%1 個映像檔</translation>
    </message>
    <message>
        <source>No output for %1 s</source>
        <translation>已 %1 秒無輸出</translation>
    </message>
</context>
<context>
    <name>FaultWords</name>
    <message>
        <source>cannot be read: %1</source>
        <translation>無法讀取：%1</translation>
    </message>
    <message>
        <source>line %1 is not key=value: %2</source>
        <translation>第 %1 行不是 key=value：%2</translation>
    </message>
    <message>
        <source>%1: no such setting</source>
        <translation>%1：沒有此設定</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is neither true nor false</source>
        <translation>%1：「%2」既不是 true 也不是 false</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a number of minutes</source>
        <translation>%1：「%2」不是分鐘數</translation>
    </message>
    <message>
        <source>%1: the pattern does not compile: %2</source>
        <translation>%1：模式無法編譯：%2</translation>
    </message>
    <message>
        <source>%1: each leaf reads TP size/sensitivity, not &quot;%2&quot;</source>
        <translation>%1：每個資料夾應為 TP 尺寸/靈敏度，而不是「%2」</translation>
    </message>
    <message>
        <source>%1: leaves are released for no order: name it</source>
        <translation>%1：這些資料夾未對任何工單發佈：請指定工單</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is more than %3 minutes</source>
        <translation>%1: &quot;%2&quot; 超過 %3 分鐘</translation>
    </message>
    <message>
        <source>there is no such file (a station that asks for nothing keeps it, without keys)</source>
        <translation>沒有此檔案（不作任何要求的工作站也保留此檔案，不含任何鍵）</translation>
    </message>
    <message>
        <source>line %1 is not UTF-8 text</source>
        <translation>第 %1 行不是 UTF-8 文字</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a number of characters from 1 to %3</source>
        <translation>%1：「%2」不是 1 到 %3 之間的字元數</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a name people can read: %3</source>
        <translation>%1：「%2」不是人能讀懂的名稱：%3</translation>
    </message>
    <message>
        <source>%1: a release needs the keys trusted to sign it</source>
        <translation>%1：發布需要受信任的簽章金鑰</translation>
    </message>
    <message>
        <source>%1: the release names the leaves released</source>
        <translation>%1：已發布的葉目錄由發布指定</translation>
    </message>
    <message>
        <source>is not a release&apos;s JSON: %1</source>
        <translation>不是發布的 JSON：%1</translation>
    </message>
    <message>
        <source>schema is %1, not 1</source>
        <translation>schema 為 %1，而不是 1</translation>
    </message>
    <message>
        <source>%1 is missing</source>
        <translation>缺少 %1</translation>
    </message>
    <message>
        <source>%1 is not of its kind</source>
        <translation>%1 的類型不正確</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not TP size/sensitivity</source>
        <translation>%1：「%2」不是 TP 尺寸/靈敏度</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not the name of a file in a leaf</source>
        <translation>%1：「%2」不是葉目錄中的檔名</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is named twice</source>
        <translation>%1：「%2」出現了兩次</translation>
    </message>
    <message>
        <source>%1: %2 is not a number of bytes</source>
        <translation>%1：%2 不是位元組數</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a SHA-256 in lower-case hex</source>
        <translation>%1：「%2」不是小寫十六進位的 SHA-256</translation>
    </message>
    <message>
        <source>holds no PEM public key</source>
        <translation>不含 PEM 公開金鑰</translation>
    </message>
    <message>
        <source>is not a public key that can be read</source>
        <translation>不是可讀取的公開金鑰</translation>
    </message>
    <message>
        <source>is neither an EC P-256 key nor an RSA key of 2048 bits or more</source>
        <translation>既不是 EC P-256 金鑰，也不是 2048 位元以上的 RSA 金鑰</translation>
    </message>
    <message>
        <source>is larger than any release</source>
        <translation>比任何發布都大</translation>
    </message>
    <message>
        <source>has no signature beside it (%1)</source>
        <translation>旁邊沒有簽章（%1）</translation>
    </message>
    <message>
        <source>is not signed by a key this station trusts</source>
        <translation>未由本工作站信任的金鑰簽章</translation>
    </message>
    <message>
        <source>is for order %1, not for order %2 as the station&apos;s settings say</source>
        <translation>屬於工單 %1，而不是工作站設定中的工單 %2</translation>
    </message>
    <message>
        <source>%1: the list of operators cannot be read: %2</source>
        <translation>%1：無法讀取操作員清單：%2</translation>
    </message>
    <message>
        <source>%1: the list of operators names nobody</source>
        <translation>%1：操作員清單中沒有任何人</translation>
    </message>
</context>
<context>
    <name>RunWords</name>
    <message>
        <source>Images of %1, still: %2 is checked, no sensitivity yet</source>
        <translation>仍是 %1 的映像檔：已選 %2，尚未選靈敏度</translation>
    </message>
    <message>
        <source>Next panel: %1, ready once this run has ended</source>
        <translation>下一片面板：%1，本次執行結束後即可開始</translation>
    </message>
    <message>
        <source>Images of %1, not released for order %2: UpdateFW will not start them</source>
        <translation>%1 的映像，未對工單 %2 發佈：UpdateFW 不會啟動它們</translation>
    </message>
    <message>
        <source>Images of %1: the station&apos;s settings cannot be used: UpdateFW will not start them</source>
        <translation>%1 的映像，工作站設定無法使用：UpdateFW 不會啟動它們</translation>
    </message>
    <message>
        <source>Images of %1: the release is being read</source>
        <translation>%1 的映像，正在讀取發布</translation>
    </message>
    <message>
        <source>Images of %1: release %2 cannot be read: UpdateFW will not start them</source>
        <translation>%1 的映像，無法讀取發布 %2：UpdateFW 不會啟動它們</translation>
    </message>
    <message>
        <source>Images of %1: release %2 cannot be trusted: UpdateFW will not start them</source>
        <translation>%1 的映像，發布 %2 不可信：UpdateFW 不會啟動它們</translation>
    </message>
    <message>
        <source>Images of %1: release %2 is for order %3, not %4: UpdateFW will not start them</source>
        <translation>%1 的映像，發布 %2 屬於工單 %3，而不是 %4：UpdateFW 不會啟動它們</translation>
    </message>
    <message>
        <source>Images of %1: release %2 of order %3 does not list this leaf: UpdateFW will not start them</source>
        <translation>%1 的映像，工單 %3 的發布 %2 未列出此資料夾：UpdateFW 不會啟動它們</translation>
    </message>
    <message>
        <source>not found</source>
        <translation>找不到</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>是一個資料夾</translation>
    </message>
    <message>
        <source>not executable</source>
        <translation>無法執行</translation>
    </message>
    <message>
        <source>too many images for one command line</source>
        <translation>映像檔過多，一條命令列放不下</translation>
    </message>
    <message>
        <source>This run cannot be recorded: %1. Nothing was started.</source>
        <translation>無法記錄此次執行：%1。未啟動任何操作。</translation>
    </message>
    <message>
        <source>Sign in first: Station &gt; Sign in…</source>
        <translation>請先登入：工作站 &gt; 登入…</translation>
    </message>
    <message>
        <source>Scan or type the panel&apos;s serial first.</source>
        <translation>請先掃描或輸入面板的序號。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a panel serial of this station: nothing was started.</source>
        <translation>「%1」不是此工作站的面板序號：未啟動任何操作。</translation>
    </message>
    <message>
        <source>%1 is not answering: nothing was started.</source>
        <translation>%1 沒有回應：未啟動任何操作。</translation>
    </message>
    <message>
        <source>The images of %1 changed on disk: check the list and press UpdateFW again.</source>
        <translation>%1 的映像檔在磁碟上已變更：請檢查清單後再按一次 UpdateFW。</translation>
    </message>
    <message>
        <source>The FW updater is still running.</source>
        <translation>FW 更新程式仍在執行。</translation>
    </message>
    <message>
        <source>%1/%2 is not released for order %3: nothing was started.</source>
        <translation>%1/%2 未對工單 %3 發佈：未啟動任何操作。</translation>
    </message>
    <message>
        <source>%1 changed while it was checked: nothing was started. Make sure nothing writes to the images, then press UpdateFW again.</source>
        <translation>%1 在檢查期間發生了變更：未啟動任何操作。請確認沒有程式在寫入映像檔，然後再次按 UpdateFW。</translation>
    </message>
    <message>
        <source>Cannot start the FW updater: </source>
        <translation>無法啟動 FW 更新程式：</translation>
    </message>
    <message>
        <source>its supervisor could not write a record</source>
        <translation>其監控程序無法寫入記錄</translation>
    </message>
    <message>
        <source>Panel %1 was already updated OK on %2 at %3. Update it again?</source>
        <translation>面板 %1 已於 %2 在 %3 更新成功。要再次更新嗎？</translation>
    </message>
    <message>
        <source>The listed images are from %1, but %2 is checked. Update with the %1 images?</source>
        <translation>列出的映像檔來自 %1，但已選擇 %2。要用 %1 的映像檔更新嗎？</translation>
    </message>
    <message>
        <source>No images are listed. Start the FW updater with no images anyway?</source>
        <translation>未列出任何映像檔。仍要在沒有映像檔的情況下啟動 FW 更新程式嗎？</translation>
    </message>
    <message>
        <source>Station settings %1: %2. No FW update can be started until the file is fixed.</source>
        <translation>工作站設定 %1：%2。在修正該檔案之前無法啟動 FW 更新。</translation>
    </message>
    <message>
        <source>Order: %1</source>
        <translation>工單：%1</translation>
    </message>
    <message>
        <source>Operator: %1</source>
        <translation>操作員：%1</translation>
    </message>
    <message>
        <source>Not signed in</source>
        <translation>未登入</translation>
    </message>
    <message>
        <source>1 entry of %1 has a name that is not valid UTF-8 and is not listed: rename it</source>
        <translation>%1 中有 1 個項目的名稱不是有效的 UTF-8，未被列出：請重新命名</translation>
    </message>
    <message>
        <source>%1 entries of %2 have names that are not valid UTF-8 and are not listed: rename them</source>
        <translation>%2 中有 %1 個項目的名稱不是有效的 UTF-8，未被列出：請重新命名</translation>
    </message>
    <message>
        <source>Checking the images: %1 of %2</source>
        <translation>正在檢查映像檔：第 %1 個，共 %2 個</translation>
    </message>
    <message>
        <source>FW updater running (started %1)</source>
        <translation>FW 更新程式正在執行（%1 開始）</translation>
    </message>
    <message>
        <source>FW updater running (its supervisor is gone; started %1)</source>
        <translation>FW 更新程式正在執行（其監控程序已結束；開始於 %1）</translation>
    </message>
    <message>
        <source>FW updater running (another tpfw&apos;s, started %1)</source>
        <translation>FW 更新程式正在執行（另一個 tpfw 的，開始於 %1）</translation>
    </message>
    <message>
        <source>FW update interrupted: result unknown</source>
        <translation>FW 更新被中斷：結果未知</translation>
    </message>
    <message>
        <source>The FW update started %1 on %2 / %3 was interrupted; its result is unknown. Check the panel before using it.</source>
        <translation>%1 在 %2 / %3 上開始的 FW 更新被中斷；結果未知。使用前請檢查面板。</translation>
    </message>
    <message>
        <source>A damaged record of a FW update was set aside: %1. Check the panel of the last update that was not recorded.</source>
        <translation>已將損壞的 FW 更新記錄移到一旁：%1。請檢查最後一次未被記錄的更新所對應的面板。</translation>
    </message>
    <message>
        <source>The machine&apos;s run lock cannot be used: %1. No FW update can be started until it is fixed.</source>
        <translation>無法使用本機的執行鎖：%1。修復之前無法啟動 FW 更新。</translation>
    </message>
    <message>
        <source>The station history could not be written: %1. This run is not recorded.</source>
        <translation>無法寫入工作站歷史記錄：%1。本次執行未被記錄。</translation>
    </message>
    <message>
        <source>FW updater ended: no images were sent (exit code %1)</source>
        <translation>FW 更新程式已結束：未傳送任何映像檔（結束代碼 %1）</translation>
    </message>
    <message>
        <source>FW update OK</source>
        <translation>FW 更新成功</translation>
    </message>
    <message>
        <source>FW update failed: exit code %1</source>
        <translation>FW 更新失敗：結束代碼 %1</translation>
    </message>
    <message>
        <source>FW update failed: the updater crashed</source>
        <translation>FW 更新失敗：更新程式當機</translation>
    </message>
    <message>
        <source>FW update stopped</source>
        <translation>FW 更新已停止</translation>
    </message>
    <message>
        <source>FW updater ended (result unknown)</source>
        <translation>FW 更新程式已結束（結果未知）</translation>
    </message>
    <message>
        <source>No run log: </source>
        <translation>沒有執行記錄：</translation>
    </message>
    <message>
        <source>Run log: </source>
        <translation>執行記錄：</translation>
    </message>
    <message>
        <source>it is empty</source>
        <translation>內容為空</translation>
    </message>
    <message>
        <source>it holds a character that cannot be seen (a control, format or separator character)</source>
        <translation>含有看不見的字元（控制字元、格式字元或分隔字元）</translation>
    </message>
    <message>
        <source>it has a mark on nothing, or more than %1 on one character</source>
        <translation>有不附著於任何字元的附加符號，或一個字元上超過 %1 個附加符號</translation>
    </message>
    <message>
        <source>it is longer than %1 characters</source>
        <translation>超過 %1 個字元</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an operator ID: %2.</source>
        <translation>「%1」不是操作員 ID：%2。</translation>
    </message>
    <message>
        <source>The release is being read again: press UpdateFW again in a moment.</source>
        <translation>正在重新讀取發布：請稍後再按 UpdateFW。</translation>
    </message>
    <message>
        <source>%1 is not the image released in %2: nothing was started.</source>
        <translation>%1 不是 %2 中發布的映像檔：未啟動任何作業。</translation>
    </message>
    <message>
        <source>%1 is not in release %2: nothing was started.</source>
        <translation>%1 不在發布 %2 中：未啟動任何作業。</translation>
    </message>
    <message>
        <source>%1 of release %2 is missing: nothing was started.</source>
        <translation>缺少發布 %2 中的 %1：未啟動任何作業。</translation>
    </message>
    <message>
        <source>Release %1: %2. No FW update can be started until it is fixed.</source>
        <translation>發布 %1：%2。修復之前無法啟動 FW 更新。</translation>
    </message>
    <message>
        <source>Images of %1</source>
        <translation>%1 的映像檔</translation>
    </message>
    <message>
        <source>Images of %1, release %2</source>
        <translation>%1 的映像檔，發布 %2</translation>
    </message>
    <message>
        <source>FW updater running (unknown run)</source>
        <translation>FW 更新程式正在執行（未知的執行）</translation>
    </message>
    <message>
        <source>Signed out: no press for %1 min. Station &gt; Sign in… (Ctrl+I)</source>
        <translation>已登出：%1 分鐘內沒有按鍵。工作站 &gt; 登入…（Ctrl+I）</translation>
    </message>
    <message>
        <source>Panel %1 · %2</source>
        <translation>面板 %1 · %2</translation>
    </message>
    <message>
        <source>Set this panel aside: check it, or update it again, before it is used.</source>
        <translation>請將此面板放到一邊：使用前請檢查，或再次更新。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; may not sign in here: not in this station&apos;s list of operators.</source>
        <translation>「%1」不能在此登入：不在本工站的操作員清單中。</translation>
    </message>
    <message>
        <source>Stopping the updater while it writes can leave the panel unusable. To stop it anyway, the operator of the run scans or types their ID:</source>
        <translation>在寫入時停止更新程式可能導致面板無法使用。如仍要停止，請由本次執行的操作員掃描或輸入其 ID：</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not the operator of this run: the updater goes on.</source>
        <translation>「%1」不是本次執行的操作員：更新程式繼續執行。</translation>
    </message>
    <message>
        <source>%1 · operator %2</source>
        <translation>%1 · 操作員 %2</translation>
    </message>
</context>
<context>
    <name>SerialField</name>
    <message>
        <source>Panel serial</source>
        <translation>面板序號</translation>
    </message>
    <message>
        <source>Panel serial:</source>
        <translation>面板序號：</translation>
    </message>
</context>
<context>
    <name>ShutdownGuard</name>
    <message>
        <source>Updating touch panel firmware</source>
        <translation>正在更新觸控面板韌體</translation>
    </message>
</context>
<context>
    <name>StationMenu</name>
    <message>
        <source>&amp;Station</source>
        <translation>工作站(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;History…</source>
        <translation>歷史記錄(&amp;H)…</translation>
    </message>
    <message>
        <source>Sign &amp;in…</source>
        <translation>登入(&amp;I)…</translation>
    </message>
    <message>
        <source>Sign &amp;out</source>
        <translation>登出(&amp;O)</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>登入</translation>
    </message>
    <message>
        <source>Operator ID (type or scan):</source>
        <translation>操作員 ID（輸入或掃描）：</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>操作員</translation>
    </message>
    <message>
        <source>Stop updater</source>
        <translation>停止更新程式</translation>
    </message>
</context>
</TS>
