<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>FolderReader</name>
    <message>
        <source>Reading %1…</source>
        <translation>正在读取 %1…</translation>
    </message>
    <message>
        <source>%1 is not answering</source>
        <translation>%1 没有响应</translation>
    </message>
</context>
<context>
    <name>HistoryDialog</name>
    <message>
        <source>The history was changed after it was written: the record at line %1 (No. %2) was edited.</source>
        <translation>历史记录在写入后被更改：第 %1 行的记录（No. %2）已被编辑。</translation>
    </message>
    <message>
        <source>The history was changed after it was written: record No. %2, before line %1, was deleted.</source>
        <translation>历史记录在写入后被更改：第 %1 行之前的记录 No. %2 已被删除。</translation>
    </message>
    <message>
        <source>The history was changed after it was written: the record at line %1 was added later.</source>
        <translation>历史记录在写入后被更改：第 %1 行的记录是后来添加的。</translation>
    </message>
    <message>
        <source>The history was changed after it was written: the record at line %1 repeats No. %2.</source>
        <translation>历史记录在写入后被更改：第 %1 行的记录与 No. %2 重复。</translation>
    </message>
    <message>
        <source>&amp;Today</source>
        <translation>今天(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Failures only</source>
        <translation>仅失败(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Export CSV…</source>
        <translation>导出 CSV(&amp;E)…</translation>
    </message>
    <message>
        <source>History</source>
        <translation>历史记录</translation>
    </message>
    <message>
        <source>Station history</source>
        <translation>工作站历史记录</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>搜索</translation>
    </message>
    <message>
        <source>Search units, operators, stations, leaves, images</source>
        <translation>搜索面板、操作员、工位、文件夹、映像</translation>
    </message>
    <message>
        <source>Reading the history…</source>
        <translation>正在读取历史记录…</translation>
    </message>
    <message>
        <source>1 run shown</source>
        <translation>显示 1 次运行</translation>
    </message>
    <message>
        <source>%1 runs shown</source>
        <translation>显示 %1 次运行</translation>
    </message>
    <message>
        <source>Writing %1…</source>
        <translation>正在写入 %1…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>The history could not be written to %1: %2</source>
        <translation>无法将历史记录写入 %1：%2</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>导出 CSV</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV 文件 (*.csv)</translation>
    </message>
</context>
<context>
    <name>HistoryModel</name>
    <message>
        <source>no images sent</source>
        <translation>未发送映像文件</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>crashed</source>
        <translation>崩溃</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>已停止</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>中断</translation>
    </message>
    <message>
        <source>not started</source>
        <translation>未启动</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>the history changed since it was read: open it again, then export</source>
        <translation>读取后历史记录已更改：请重新打开后再导出</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>开始时间</translation>
    </message>
    <message>
        <source>TP size / sensitivity</source>
        <translation>TP 尺寸 / 灵敏度</translation>
    </message>
    <message>
        <source>Images</source>
        <translation>映像文件</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Exit code</source>
        <translation>退出代码</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>用时</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>工位</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>面板</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>操作员</translation>
    </message>
    <message>
        <source>User</source>
        <translation>用户</translation>
    </message>
    <message>
        <source>Release</source>
        <translation>发布</translation>
    </message>
    <message>
        <source>Order</source>
        <translation>工单</translation>
    </message>
</context>
<context>
    <name>HistoryStatus</name>
    <message>
        <source>History not written</source>
        <translation>未写入历史记录</translation>
    </message>
    <message>
        <source>Today: %1 OK · %2 failed</source>
        <translation>今日：%1 成功 · %2 失败</translation>
    </message>
    <message>
        <source>%1 · first pass %2 of %3</source>
        <translation>%1 · 一次通过 %2/%3</translation>
    </message>
</context>
<context>
    <name>LogViewer</name>
    <message>
        <source>This run has no run log.</source>
        <translation>此次运行没有运行日志。</translation>
    </message>
    <message>
        <source>The run log is gone: %1</source>
        <translation>运行日志已不存在：%1</translation>
    </message>
    <message>
        <source>Run log</source>
        <translation>运行日志</translation>
    </message>
    <message>
        <source>%1 (its end only)</source>
        <translation>%1（仅末尾部分）</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Images to send</source>
        <translation>要发送的映像文件</translation>
    </message>
    <message>
        <source>Stop updater</source>
        <translation>停止更新程序</translation>
    </message>
    <message>
        <source>Stopping the updater while it writes can leave the panel unusable. Stop it anyway?</source>
        <translation>在写入过程中停止更新程序可能导致面板无法使用。仍要停止吗？</translation>
    </message>
    <message>
        <source>The images are still being checked. Close anyway? Nothing will be started.</source>
        <translation>仍在检查映像文件。仍要关闭吗？不会启动任何操作。</translation>
    </message>
    <message>
        <source>The FW updater is still running. Close anyway? The update goes on without this window.</source>
        <translation>FW 更新程序仍在运行。仍要关闭吗？更新会在没有此窗口的情况下继续。</translation>
    </message>
    <message>
        <source>MainWindow</source>
        <translation>MainWindow</translation>
    </message>
    <message>
        <source>Message Box</source>
        <translation>消息框</translation>
    </message>
    <message>
        <source>When updating FW, don&apos;t press &quot;UpdateFW&quot; button!!</source>
        <translation>更新 FW 时，请勿按“UpdateFW”按钮！！</translation>
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
        <translation>正在读取发布…</translation>
    </message>
    <message>
        <source>No images listed</source>
        <translation>未列出映像文件</translation>
    </message>
    <message>
        <source>Reading %1…</source>
        <translation>正在读取 %1…</translation>
    </message>
    <message>
        <source>Looking up %1 in the history…</source>
        <translation>正在历史记录中查找 %1…</translation>
    </message>
</context>
<context>
    <name>RunPanel</name>
    <message>
        <source>Show output</source>
        <translation>显示输出</translation>
    </message>
    <message>
        <source>FW update run</source>
        <translation>FW 更新运行</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>进度</translation>
    </message>
    <message>
        <source>Latest output</source>
        <translation>最新输出</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>输出</translation>
    </message>
    <message>
        <source>Hide output</source>
        <translation>隐藏输出</translation>
    </message>
    <message>
        <source>Stopping the FW updater… forced in %1 s</source>
        <translation>正在停止 FW 更新程序… %1 秒后强制结束</translation>
    </message>
    <message>
        <source>Stopping the FW updater…</source>
        <translation>正在停止 FW 更新程序…</translation>
    </message>
    <message>
        <source>1 image</source>
        <translation>1 个映像文件</translation>
    </message>
    <message>
        <source>%1 images</source>
        <translation>%1 个映像文件</translation>
    </message>
    <message>
        <source>No output for %1 s</source>
        <translation>已 %1 秒无输出</translation>
    </message>
</context>
<context>
    <name>FaultWords</name>
    <message>
        <source>cannot be read: %1</source>
        <translation>无法读取：%1</translation>
    </message>
    <message>
        <source>line %1 is not key=value: %2</source>
        <translation>第 %1 行不是 key=value：%2</translation>
    </message>
    <message>
        <source>%1: no such setting</source>
        <translation>%1：没有此设置</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is neither true nor false</source>
        <translation>%1：“%2”既不是 true 也不是 false</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a number of minutes</source>
        <translation>%1：“%2”不是分钟数</translation>
    </message>
    <message>
        <source>%1: the pattern does not compile: %2</source>
        <translation>%1：模式无法编译：%2</translation>
    </message>
    <message>
        <source>%1: each leaf reads TP size/sensitivity, not &quot;%2&quot;</source>
        <translation>%1：每个文件夹应为 TP 尺寸/灵敏度，而不是“%2”</translation>
    </message>
    <message>
        <source>%1: leaves are released for no order: name it</source>
        <translation>%1：这些文件夹未对任何工单发布：请指定工单</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is more than %3 minutes</source>
        <translation>%1: &quot;%2&quot; 超过 %3 分钟</translation>
    </message>
    <message>
        <source>there is no such file (a station that asks for nothing keeps it, without keys)</source>
        <translation>没有此文件（不作任何要求的工位也保留此文件，不含任何键）</translation>
    </message>
    <message>
        <source>line %1 is not UTF-8 text</source>
        <translation>第 %1 行不是 UTF-8 文本</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a number of characters from 1 to %3</source>
        <translation>%1：“%2”不是 1 到 %3 之间的字符数</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a name people can read: %3</source>
        <translation>%1：“%2”不是人能读懂的名称：%3</translation>
    </message>
    <message>
        <source>%1: a release needs the keys trusted to sign it</source>
        <translation>%1：发布需要受信任的签名密钥</translation>
    </message>
    <message>
        <source>%1: the release names the leaves released</source>
        <translation>%1：已发布的叶目录由发布指定</translation>
    </message>
    <message>
        <source>is not a release&apos;s JSON: %1</source>
        <translation>不是发布的 JSON：%1</translation>
    </message>
    <message>
        <source>schema is %1, not 1</source>
        <translation>schema 为 %1，而不是 1</translation>
    </message>
    <message>
        <source>%1 is missing</source>
        <translation>缺少 %1</translation>
    </message>
    <message>
        <source>%1 is not of its kind</source>
        <translation>%1 的类型不正确</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not TP size/sensitivity</source>
        <translation>%1：“%2”不是 TP 尺寸/灵敏度</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not the name of a file in a leaf</source>
        <translation>%1：“%2”不是叶目录中的文件名</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is named twice</source>
        <translation>%1：“%2”出现了两次</translation>
    </message>
    <message>
        <source>%1: %2 is not a number of bytes</source>
        <translation>%1：%2 不是字节数</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a SHA-256 in lower-case hex</source>
        <translation>%1：“%2”不是小写十六进制的 SHA-256</translation>
    </message>
    <message>
        <source>holds no PEM public key</source>
        <translation>不含 PEM 公钥</translation>
    </message>
    <message>
        <source>is not a public key that can be read</source>
        <translation>不是可读取的公钥</translation>
    </message>
    <message>
        <source>is neither an EC P-256 key nor an RSA key of 2048 bits or more</source>
        <translation>既不是 EC P-256 密钥，也不是 2048 位以上的 RSA 密钥</translation>
    </message>
    <message>
        <source>is larger than any release</source>
        <translation>比任何发布都大</translation>
    </message>
    <message>
        <source>has no signature beside it (%1)</source>
        <translation>旁边没有签名（%1）</translation>
    </message>
    <message>
        <source>is not signed by a key this station trusts</source>
        <translation>未由本工位信任的密钥签名</translation>
    </message>
    <message>
        <source>is for order %1, not for order %2 as the station&apos;s settings say</source>
        <translation>属于工单 %1，而不是工位设置中的工单 %2</translation>
    </message>
    <message>
        <source>%1: the list of operators cannot be read: %2</source>
        <translation>%1：无法读取操作员列表：%2</translation>
    </message>
    <message>
        <source>%1: the list of operators names nobody</source>
        <translation>%1：操作员列表中没有任何人</translation>
    </message>
</context>
<context>
    <name>RunWords</name>
    <message>
        <source>Images of %1, still: %2 is checked, no sensitivity yet</source>
        <translation>仍是 %1 的映像文件：已选 %2，尚未选灵敏度</translation>
    </message>
    <message>
        <source>Next panel: %1, ready once this run has ended</source>
        <translation>下一块面板：%1，本次运行结束后即可开始</translation>
    </message>
    <message>
        <source>Images of %1, not released for order %2: UpdateFW will not start them</source>
        <translation>%1 的映像，未对工单 %2 发布：UpdateFW 不会启动它们</translation>
    </message>
    <message>
        <source>Images of %1: the station&apos;s settings cannot be used: UpdateFW will not start them</source>
        <translation>%1 的映像，工位设置无法使用：UpdateFW 不会启动它们</translation>
    </message>
    <message>
        <source>Images of %1: the release is being read</source>
        <translation>%1 的映像，正在读取发布</translation>
    </message>
    <message>
        <source>Images of %1: release %2 cannot be read: UpdateFW will not start them</source>
        <translation>%1 的映像，无法读取发布 %2：UpdateFW 不会启动它们</translation>
    </message>
    <message>
        <source>Images of %1: release %2 cannot be trusted: UpdateFW will not start them</source>
        <translation>%1 的映像，发布 %2 不可信：UpdateFW 不会启动它们</translation>
    </message>
    <message>
        <source>Images of %1: release %2 is for order %3, not %4: UpdateFW will not start them</source>
        <translation>%1 的映像，发布 %2 属于工单 %3，而不是 %4：UpdateFW 不会启动它们</translation>
    </message>
    <message>
        <source>Images of %1: release %2 of order %3 does not list this leaf: UpdateFW will not start them</source>
        <translation>%1 的映像，工单 %3 的发布 %2 未列出此文件夹：UpdateFW 不会启动它们</translation>
    </message>
    <message>
        <source>not found</source>
        <translation>未找到</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>是一个文件夹</translation>
    </message>
    <message>
        <source>not executable</source>
        <translation>不可执行</translation>
    </message>
    <message>
        <source>too many images for one command line</source>
        <translation>映像文件过多，一条命令行放不下</translation>
    </message>
    <message>
        <source>This run cannot be recorded: %1. Nothing was started.</source>
        <translation>无法记录此次运行：%1。未启动任何操作。</translation>
    </message>
    <message>
        <source>Sign in first: Station &gt; Sign in…</source>
        <translation>请先登录：工位 &gt; 登录…</translation>
    </message>
    <message>
        <source>Scan or type the panel&apos;s serial first.</source>
        <translation>请先扫描或输入面板的序列号。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a panel serial of this station: nothing was started.</source>
        <translation>“%1”不是此工位的面板序列号：未启动任何操作。</translation>
    </message>
    <message>
        <source>%1 is not answering: nothing was started.</source>
        <translation>%1 没有响应：未启动任何操作。</translation>
    </message>
    <message>
        <source>The images of %1 changed on disk: check the list and press UpdateFW again.</source>
        <translation>%1 的映像文件在磁盘上已更改：请检查列表后再次按 UpdateFW。</translation>
    </message>
    <message>
        <source>The FW updater is still running.</source>
        <translation>FW 更新程序仍在运行。</translation>
    </message>
    <message>
        <source>%1/%2 is not released for order %3: nothing was started.</source>
        <translation>%1/%2 未对工单 %3 发布：未启动任何操作。</translation>
    </message>
    <message>
        <source>%1 changed while it was checked: nothing was started. Make sure nothing writes to the images, then press UpdateFW again.</source>
        <translation>%1 在检查期间发生了更改：未启动任何操作。请确认没有程序在写入映像文件，然后再次按 UpdateFW。</translation>
    </message>
    <message>
        <source>Cannot start the FW updater: </source>
        <translation>无法启动 FW 更新程序：</translation>
    </message>
    <message>
        <source>its supervisor could not write a record</source>
        <translation>其监控进程无法写入记录</translation>
    </message>
    <message>
        <source>Panel %1 was already updated OK on %2 at %3. Update it again?</source>
        <translation>面板 %1 已于 %2 在 %3 更新成功。要再次更新吗？</translation>
    </message>
    <message>
        <source>The listed images are from %1, but %2 is checked. Update with the %1 images?</source>
        <translation>列出的映像文件来自 %1，但已选择 %2。要用 %1 的映像文件更新吗？</translation>
    </message>
    <message>
        <source>No images are listed. Start the FW updater with no images anyway?</source>
        <translation>未列出任何映像文件。仍要在没有映像文件的情况下启动 FW 更新程序吗？</translation>
    </message>
    <message>
        <source>Station settings %1: %2. No FW update can be started until the file is fixed.</source>
        <translation>工位设置 %1：%2。在修正该文件之前无法启动 FW 更新。</translation>
    </message>
    <message>
        <source>Order: %1</source>
        <translation>工单：%1</translation>
    </message>
    <message>
        <source>Operator: %1</source>
        <translation>操作员：%1</translation>
    </message>
    <message>
        <source>Not signed in</source>
        <translation>未登录</translation>
    </message>
    <message>
        <source>1 entry of %1 has a name that is not valid UTF-8 and is not listed: rename it</source>
        <translation>%1 中有 1 个条目的名称不是有效的 UTF-8，未被列出：请重命名</translation>
    </message>
    <message>
        <source>%1 entries of %2 have names that are not valid UTF-8 and are not listed: rename them</source>
        <translation>%2 中有 %1 个条目的名称不是有效的 UTF-8，未被列出：请重命名</translation>
    </message>
    <message>
        <source>Checking the images: %1 of %2</source>
        <translation>正在检查映像文件：第 %1 个，共 %2 个</translation>
    </message>
    <message>
        <source>FW updater running (started %1)</source>
        <translation>FW 更新程序正在运行（%1 开始）</translation>
    </message>
    <message>
        <source>FW updater running (its supervisor is gone; started %1)</source>
        <translation>FW 更新程序正在运行（其监控进程已结束；开始于 %1）</translation>
    </message>
    <message>
        <source>FW updater running (another tpfw&apos;s, started %1)</source>
        <translation>FW 更新程序正在运行（另一个 tpfw 的，开始于 %1）</translation>
    </message>
    <message>
        <source>FW update interrupted: result unknown</source>
        <translation>FW 更新被中断：结果未知</translation>
    </message>
    <message>
        <source>The FW update started %1 on %2 / %3 was interrupted; its result is unknown. Check the panel before using it.</source>
        <translation>%1 在 %2 / %3 上开始的 FW 更新被中断；结果未知。使用前请检查面板。</translation>
    </message>
    <message>
        <source>A damaged record of a FW update was set aside: %1. Check the panel of the last update that was not recorded.</source>
        <translation>已将损坏的 FW 更新记录移到一旁：%1。请检查最后一次未被记录的更新所对应的面板。</translation>
    </message>
    <message>
        <source>The machine&apos;s run lock cannot be used: %1. No FW update can be started until it is fixed.</source>
        <translation>无法使用本机的运行锁：%1。修复之前无法启动 FW 更新。</translation>
    </message>
    <message>
        <source>The station history could not be written: %1. This run is not recorded.</source>
        <translation>无法写入工作站历史记录：%1。本次运行未被记录。</translation>
    </message>
    <message>
        <source>FW updater ended: no images were sent (exit code %1)</source>
        <translation>FW 更新程序已结束：未发送任何映像文件（退出代码 %1）</translation>
    </message>
    <message>
        <source>FW update OK</source>
        <translation>FW 更新成功</translation>
    </message>
    <message>
        <source>FW update failed: exit code %1</source>
        <translation>FW 更新失败：退出代码 %1</translation>
    </message>
    <message>
        <source>FW update failed: the updater crashed</source>
        <translation>FW 更新失败：更新程序崩溃</translation>
    </message>
    <message>
        <source>FW update stopped</source>
        <translation>FW 更新已停止</translation>
    </message>
    <message>
        <source>FW updater ended (result unknown)</source>
        <translation>FW 更新程序已结束（结果未知）</translation>
    </message>
    <message>
        <source>No run log: </source>
        <translation>没有运行日志：</translation>
    </message>
    <message>
        <source>Run log: </source>
        <translation>运行日志：</translation>
    </message>
    <message>
        <source>it is empty</source>
        <translation>内容为空</translation>
    </message>
    <message>
        <source>it holds a character that cannot be seen (a control, format or separator character)</source>
        <translation>含有看不见的字符（控制字符、格式字符或分隔符）</translation>
    </message>
    <message>
        <source>it has a mark on nothing, or more than %1 on one character</source>
        <translation>有不附着于任何字符的附加符号，或一个字符上超过 %1 个附加符号</translation>
    </message>
    <message>
        <source>it is longer than %1 characters</source>
        <translation>超过 %1 个字符</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an operator ID: %2.</source>
        <translation>“%1”不是操作员 ID：%2。</translation>
    </message>
    <message>
        <source>The release is being read again: press UpdateFW again in a moment.</source>
        <translation>正在重新读取发布：请稍后再按 UpdateFW。</translation>
    </message>
    <message>
        <source>%1 is not the image released in %2: nothing was started.</source>
        <translation>%1 不是 %2 中发布的映像文件：未启动任何操作。</translation>
    </message>
    <message>
        <source>%1 is not in release %2: nothing was started.</source>
        <translation>%1 不在发布 %2 中：未启动任何操作。</translation>
    </message>
    <message>
        <source>%1 of release %2 is missing: nothing was started.</source>
        <translation>缺少发布 %2 中的 %1：未启动任何操作。</translation>
    </message>
    <message>
        <source>Release %1: %2. No FW update can be started until it is fixed.</source>
        <translation>发布 %1：%2。修复之前无法启动 FW 更新。</translation>
    </message>
    <message>
        <source>Images of %1</source>
        <translation>%1 的映像文件</translation>
    </message>
    <message>
        <source>Images of %1, release %2</source>
        <translation>%1 的映像文件，发布 %2</translation>
    </message>
    <message>
        <source>FW updater running (unknown run)</source>
        <translation>FW 更新程序正在运行（未知的运行）</translation>
    </message>
    <message>
        <source>Signed out: no press for %1 min. Station &gt; Sign in… (Ctrl+I)</source>
        <translation>已注销：%1 分钟内没有按键。工位 &gt; 登录…（Ctrl+I）</translation>
    </message>
    <message>
        <source>Panel %1 · %2</source>
        <translation>面板 %1 · %2</translation>
    </message>
    <message>
        <source>Set this panel aside: check it, or update it again, before it is used.</source>
        <translation>请将此面板放到一边：使用前请检查，或再次更新。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; may not sign in here: not in this station&apos;s list of operators.</source>
        <translation>“%1”不能在此登录：不在本工位的操作员列表中。</translation>
    </message>
    <message>
        <source>Stopping the updater while it writes can leave the panel unusable. To stop it anyway, the operator of the run scans or types their ID:</source>
        <translation>在写入时停止更新程序可能导致面板无法使用。如仍要停止，请由本次运行的操作员扫描或输入其 ID：</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not the operator of this run: the updater goes on.</source>
        <translation>“%1”不是本次运行的操作员：更新程序继续运行。</translation>
    </message>
    <message>
        <source>%1 · operator %2</source>
        <translation>%1 · 操作员 %2</translation>
    </message>
</context>
<context>
    <name>SerialField</name>
    <message>
        <source>Panel serial</source>
        <translation>面板序列号</translation>
    </message>
    <message>
        <source>Panel serial:</source>
        <translation>面板序列号：</translation>
    </message>
</context>
<context>
    <name>ShutdownGuard</name>
    <message>
        <source>Updating touch panel firmware</source>
        <translation>正在更新触摸屏固件</translation>
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
        <translation>历史记录(&amp;H)…</translation>
    </message>
    <message>
        <source>Sign &amp;in…</source>
        <translation>登录(&amp;I)…</translation>
    </message>
    <message>
        <source>Sign &amp;out</source>
        <translation>注销(&amp;O)</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>登录</translation>
    </message>
    <message>
        <source>Operator ID (type or scan):</source>
        <translation>操作员 ID（输入或扫描）：</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>操作员</translation>
    </message>
    <message>
        <source>Stop updater</source>
        <translation>停止更新程序</translation>
    </message>
</context>
</TS>
