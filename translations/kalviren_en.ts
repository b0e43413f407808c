<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>BandType</name>
    <message>
        <source>参量均衡</source>
        <translation>Peaking</translation>
    </message>
    <message>
        <source>低棚架</source>
        <translation>Low shelf</translation>
    </message>
    <message>
        <source>高棚架</source>
        <translation>High shelf</translation>
    </message>
    <message>
        <source>VariQ高通</source>
        <translation>VariQ HPF</translation>
    </message>
    <message>
        <source>VariQ低通</source>
        <translation>VariQ LPF</translation>
    </message>
</context>
<context>
    <name>Demo</name>
    <message>
        <source>[演示 DEMO]</source>
        <translation>[DEMO]</translation>
    </message>
    <message>
        <source>演示模式 · 模拟设备  DEMO</source>
        <translation>DEMO · emulated unit</translation>
    </message>
    <message>
        <source>控制台连接的是模拟设备，不是真实设备：不会写入任何硬件。</source>
        <translation>The console is connected to an emulated unit, not to a real one: nothing is written to any hardware.</translation>
    </message>
</context>
<context>
    <name>FitOptionsDialog</name>
    <message>
        <source>按测量拟合</source>
        <translation>Fit to measurement</translation>
    </message>
    <message>
        <source>%1 → %2</source>
        <translation>%1 → %2</translation>
    </message>
    <message>
        <source>主声道</source>
        <translation>Main channel</translation>
    </message>
    <message>
        <source>辅助</source>
        <translation>Auxiliary</translation>
    </message>
    <message>
        <source>平直</source>
        <translation>Flat</translation>
    </message>
    <message>
        <source>房间曲线</source>
        <translation>House curve</translation>
    </message>
    <message>
        <source>目标文件</source>
        <translation>Target file</translation>
    </message>
    <message>
        <source>目标：</source>
        <translation>Target:</translation>
    </message>
    <message>
        <source> dB/十倍频</source>
        <translation> dB/decade</translation>
    </message>
    <message>
        <source>低频提升（低于转折频率）：</source>
        <translation>Bass rise (below the corner):</translation>
    </message>
    <message>
        <source>转折频率：</source>
        <translation>Corner frequency:</translation>
    </message>
    <message>
        <source>1 kHz 以上倾斜：</source>
        <translation>Tilt above 1 kHz:</translation>
    </message>
    <message>
        <source>选择目标文件…</source>
        <translation>Choose target file…</translation>
    </message>
    <message>
        <source>（未选择）</source>
        <translation>(none chosen)</translation>
    </message>
    <message>
        <source>目标文件：</source>
        <translation>Target file:</translation>
    </message>
    <message>
        <source>允许棚架滤波器</source>
        <translation>Allow shelving filters</translation>
    </message>
    <message>
        <source>从：</source>
        <translation>From:</translation>
    </message>
    <message>
        <source>到：</source>
        <translation>To:</translation>
    </message>
    <message>
        <source>单个频段最大提升：</source>
        <translation>Largest boost of one band:</translation>
    </message>
    <message>
        <source>使用频段数：</source>
        <translation>Bands to use:</translation>
    </message>
    <message>
        <source>拟合</source>
        <translation>Fit</translation>
    </message>
</context>
<context>
    <name>FitOverlay</name>
    <message>
        <source>测量</source>
        <translation>Measured</translation>
    </message>
    <message>
        <source>目标</source>
        <translation>Target</translation>
    </message>
    <message>
        <source>预测</source>
        <translation>Predicted</translation>
    </message>
</context>
<context>
    <name>FitReviewDialog</name>
    <message>
        <source>按测量拟合</source>
        <translation>Fit to measurement</translation>
    </message>
    <message>
        <source>频段</source>
        <translation>Band</translation>
    </message>
    <message>
        <source>拟合前</source>
        <translation>Before</translation>
    </message>
    <message>
        <source>拟合后</source>
        <translation>After</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
</context>
<context>
    <name>LinkSession</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>保存成功!</source>
        <translation>Saved!</translation>
    </message>
    <message>
        <source>已断开连接!</source>
        <translation>Disconnected!</translation>
    </message>
    <message>
        <source>连接失败!</source>
        <translation>Connection failed!</translation>
    </message>
    <message>
        <source>设备未连接</source>
        <translation>Not connected</translation>
    </message>
</context>
<context>
    <name>ParamNames</name>
    <message>
        <source>zh</source>
        <extracomment>The language of the parameter names: &quot;zh&quot; in the source, &quot;en&quot; in English.</extracomment>
        <translation>en</translation>
    </message>
</context>
<context>
    <name>PeqReviewDialog</name>
    <message>
        <source>导入滤波器</source>
        <translation>Import filters</translation>
    </message>
    <message>
        <source>主声道</source>
        <translation>main channel</translation>
    </message>
    <message>
        <source>辅助</source>
        <translation>auxiliary</translation>
    </message>
</context>
<context>
    <name>QDialog</name>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Q值</source>
        <translation>Q</translation>
    </message>
    <message>
        <source>拖动 高通</source>
        <translation>high-pass drag</translation>
    </message>
    <message>
        <source>拖动 低通</source>
        <translation>low-pass drag</translation>
    </message>
    <message>
        <source>拖动 频段 %1</source>
        <translation>band %1 drag</translation>
    </message>
    <message>
        <source>导入滤波器</source>
        <translation>filter import</translation>
    </message>
    <message>
        <source>EQ重置</source>
        <translation>EQ reset</translation>
    </message>
    <message>
        <source>复位压缩曲线</source>
        <translation>compressor curve reset</translation>
    </message>
    <message>
        <source>参数 %1</source>
        <translation>Parameter %1</translation>
    </message>
    <message>
        <source>加载预设</source>
        <translation>preset load</translation>
    </message>
</context>
<context>
    <name>SnapshotDialog</name>
    <message>
        <source>文件格式错误!</source>
        <translation>File format error!</translation>
    </message>
    <message>
        <source>数据文件损坏!</source>
        <translation>Data file is corrupted!</translation>
    </message>
    <message>
        <source>快照</source>
        <translation>Snapshots</translation>
    </message>
    <message>
        <source>与文件比较</source>
        <translation>Compare with file</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>原因</source>
        <translation>Reason</translation>
    </message>
    <message>
        <source>不同</source>
        <translation>Differ</translation>
    </message>
    <message>
        <source>修改时间</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
    <message>
        <source>损坏</source>
        <translation>damaged</translation>
    </message>
    <message>
        <source>与设备现在的差异（快照 → 设备）：</source>
        <translation>Differences from the unit now (snapshot → unit):</translation>
    </message>
    <message>
        <source>文件与设备的差异（文件 → 设备）：</source>
        <translation>Differences between the file and the unit (file → unit):</translation>
    </message>
    <message>
        <source>文件与屏幕的差异（文件 → 屏幕）：</source>
        <translation>Differences between the file and the screen (file → screen):</translation>
    </message>
    <message>
        <source>恢复</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>把选中的快照写入设备（可撤销）</source>
        <translation>Write the selected snapshot to the unit (can be undone)</translation>
    </message>
    <message>
        <source>这台设备还没有快照。</source>
        <translation>This unit has no snapshots yet.</translation>
    </message>
    <message>
        <source>无法使用这个文件：%1</source>
        <translation>This file cannot be used: %1</translation>
    </message>
    <message>
        <source>没有差异</source>
        <translation>No differences</translation>
    </message>
    <message>
        <source>设备未联机，无法恢复快照。</source>
        <translation>The unit is not online: the snapshot cannot be restored.</translation>
    </message>
    <message>
        <source>把设备恢复到这个快照（%1，%2）？
%3 个参数会改变。</source>
        <translation>Restore the unit to this snapshot (%1, %2)?
%3 parameters will change.</translation>
    </message>
    <message>
        <source>没有在用的设备。每台设备的快照保存在：
%1</source>
        <translation>No unit in use. The snapshots of each unit are kept in:
%1</translation>
    </message>
    <message>
        <source>快照目录：%1</source>
        <translation>Snapshot folder: %1</translation>
    </message>
</context>
<context>
    <name>Snapshots</name>
    <message>
        <source>无法保存设备参数的快照：%1
%2
在快照再次保存成功之前不再提示。</source>
        <translation>The unit&apos;s parameters could not be kept as a snapshot: %1
%2
This is not said again until a snapshot is saved.</translation>
    </message>
    <message>
        <source>连接</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>恢复参数后</source>
        <translation>After recall</translation>
    </message>
    <message>
        <source>恢复出厂后</source>
        <translation>After factory reset</translation>
    </message>
    <message>
        <source>加载预设前</source>
        <translation>Before preset load</translation>
    </message>
    <message>
        <source>恢复快照前</source>
        <translation>Before restore</translation>
    </message>
    <message>
        <source>恢复参数前</source>
        <translation>Before recall</translation>
    </message>
    <message>
        <source>恢复出厂前</source>
        <translation>Before factory reset</translation>
    </message>
    <message>
        <source>保存参数前</source>
        <translation>Before store</translation>
    </message>
</context>
<context>
    <name>TChart</name>
    <message>
        <source>输入电平/dBu</source>
        <translation>Input level/dBu</translation>
    </message>
    <message>
        <source>输出电平/dBu</source>
        <translation>Output level/dBu</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>工厂隐藏</source>
        <translation>Factory</translation>
    </message>
    <message>
        <source>主页</source>
        <translation>Main page</translation>
    </message>
    <message>
        <source>直通：此频段不起作用</source>
        <translation>Bypass: this band has no effect</translation>
    </message>
    <message>
        <source>高通分频：截止频率和滤波器类型</source>
        <translation>High-pass crossover: cut-off frequency and filter type</translation>
    </message>
    <message>
        <source>低通分频：截止频率和滤波器类型</source>
        <translation>Low-pass crossover: cut-off frequency and filter type</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>On</translation>
    </message>
    <message>
        <source>设备数据</source>
        <translation>Unit memory</translation>
    </message>
    <message>
        <source>保存参数</source>
        <translation>Store</translation>
    </message>
    <message>
        <source>恢复参数</source>
        <translation>Recall</translation>
    </message>
    <message>
        <source>电脑文件</source>
        <translation>Preset file</translation>
    </message>
    <message>
        <source>加载</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>把当前参数保存在设备中</source>
        <translation>Store the current parameters in the unit</translation>
    </message>
    <message>
        <source>设备恢复到上次保存的参数</source>
        <translation>Return the unit to the parameters it stored last</translation>
    </message>
    <message>
        <source>从电脑加载预设文件 (%1)</source>
        <translation>Load a preset file (%1)</translation>
    </message>
    <message>
        <source>把预设保存到电脑文件 (%1)</source>
        <translation>Save the parameters to a preset file (%1)</translation>
    </message>
    <message>
        <source>输入选择</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>蓝牙</source>
        <translation>Bluetooth</translation>
    </message>
    <message>
        <source>自动</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>设备未连接</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <source>     联机</source>
        <translation>     Connect</translation>
    </message>
    <message>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>电平指示</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>左声道电平</source>
        <translation>Left channel level</translation>
    </message>
    <message>
        <source>右声道电平</source>
        <translation>Right channel level</translation>
    </message>
    <message>
        <source>版本：v0.1.0</source>
        <translation>Version v0.1.0</translation>
    </message>
    <message>
        <source>辅助输出 </source>
        <translation>Aux output</translation>
    </message>
    <message>
        <source> 输出类型：</source>
        <translation>Output type:</translation>
    </message>
    <message>
        <source>主声道参数管理</source>
        <translation>Main channel dynamics</translation>
    </message>
    <message>
        <source>动态压缩使能：</source>
        <translation>Compressor:</translation>
    </message>
    <message>
        <source>压缩启动时间</source>
        <translation>Attack time</translation>
    </message>
    <message>
        <source>压缩释放时间</source>
        <translation>Release time</translation>
    </message>
    <message>
        <source>压缩释放时间，为启动时间的倍数（Atk x 8：启动时间的 8 倍）</source>
        <translation>Compressor release time as a multiple of the attack time (Atk x 8: eight times the attack time)</translation>
    </message>
    <message>
        <source>点</source>
        <translation>#</translation>
    </message>
    <message>
        <source>输入/dB</source>
        <translation>In/dB</translation>
    </message>
    <message>
        <source>输出/dB</source>
        <translation>Out/dB</translation>
    </message>
    <message>
        <source>复位</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>选择：</source>
        <translation>Show:</translation>
    </message>
    <message>
        <source>主声道</source>
        <translation>Main</translation>
    </message>
    <message>
        <source>辅助</source>
        <translation>Aux</translation>
    </message>
    <message>
        <source>EQ重置</source>
        <translation>EQ reset</translation>
    </message>
    <message>
        <source>EQ直通</source>
        <translation>EQ bypass</translation>
    </message>
    <message>
        <source>EQ直通：整个均衡器不起作用</source>
        <translation>EQ bypass: the whole equaliser has no effect</translation>
    </message>
    <message>
        <source>频率(Hz)</source>
        <translation>Freq (Hz)</translation>
    </message>
    <message>
        <source>Q值</source>
        <translation>Q</translation>
    </message>
    <message>
        <source>增益(dB)</source>
        <translation>Gain (dB)</translation>
    </message>
    <message>
        <source>EQ类型</source>
        <translation>EQ type</translation>
    </message>
    <message>
        <source>直通</source>
        <translation>Bypass</translation>
    </message>
    <message>
        <source>导入滤波器…</source>
        <translation>Import EQ…</translation>
    </message>
    <message>
        <source>导出滤波器…</source>
        <translation>Export EQ…</translation>
    </message>
    <message>
        <source>其它参数</source>
        <translation>Other settings</translation>
    </message>
    <message>
        <source>单声道</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>立体声</source>
        <translation>Stereo</translation>
    </message>
    <message>
        <source>辅助输出：</source>
        <translation>Aux output:</translation>
    </message>
    <message>
        <source>左右辅助相位：</source>
        <translation>Aux L/R phase:</translation>
    </message>
    <message>
        <source>左右通道相位：</source>
        <translation>L/R phase:</translation>
    </message>
    <message>
        <source>左辅助输出</source>
        <translation>Left aux output</translation>
    </message>
    <message>
        <source>右辅助输出</source>
        <translation>Right aux output</translation>
    </message>
    <message>
        <source>左通道</source>
        <translation>Left channel</translation>
    </message>
    <message>
        <source>右通道</source>
        <translation>Right channel</translation>
    </message>
    <message>
        <source>%1极性：+ 正相，- 反相；点击切换</source>
        <translation>%1 polarity: + normal, - inverted; click to switch</translation>
    </message>
    <message>
        <source>蓝牙名称：</source>
        <translation>Bluetooth name:</translation>
    </message>
    <message>
        <source>更改</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>蓝牙配对码：</source>
        <translation>Bluetooth PIN:</translation>
    </message>
    <message>
        <source> 低启动</source>
        <translation> Low</translation>
    </message>
    <message>
        <source>高启动</source>
        <translation>High</translation>
    </message>
    <message>
        <source>启动电平</source>
        <translation>Start level</translation>
    </message>
    <message>
        <source>截止电平</source>
        <translation>Full level</translation>
    </message>
    <message>
        <source>动态EQ直通：不起作用</source>
        <translation>Dynamic EQ bypass: no effect</translation>
    </message>
    <message>
        <source>主输出默认EQ</source>
        <translation>Main output default EQ</translation>
    </message>
    <message>
        <source>端口电平：</source>
        <translation>Port level:</translation>
    </message>
    <message>
        <source>发送测试码：</source>
        <translation>Test code:</translation>
    </message>
    <message>
        <source>发送</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>1. 启动电平：信号高于此电平时动态EQ开始动作。</source>
        <translation>1. Start level: above this level the dynamic EQ starts to act.</translation>
    </message>
    <message>
        <source>2. 截止电平：信号达到此电平时增益达到设定值。</source>
        <translation>2. Full level: at this level the gain reaches its set value.</translation>
    </message>
    <message>
        <source>3. 启动电平始终不高于截止电平。</source>
        <translation>3. The start level is never above the full level.</translation>
    </message>
    <message>
        <source>4. Pass：动态EQ直通，不起作用。</source>
        <translation>4. Pass: the dynamic EQ is bypassed and has no effect.</translation>
    </message>
    <message>
        <source>恢复出厂</source>
        <translation>Factory reset</translation>
    </message>
    <message>
        <source>导入滤波器</source>
        <translation>Import filters</translation>
    </message>
    <message>
        <source>滤波器文本 (*.txt);;所有文件 (*)</source>
        <translation>Filter text (*.txt);;All files (*)</translation>
    </message>
    <message>
        <source>导出滤波器</source>
        <translation>Export filters</translation>
    </message>
    <message>
        <source>版本号:</source>
        <translation>Version </translation>
    </message>
    <message>
        <source>确定要复位动态压缩曲线?</source>
        <translation>Reset the compressor curve?</translation>
    </message>
    <message>
        <source> 预设成功保存在</source>
        <translation>Preset saved to </translation>
    </message>
    <message>
        <source>请输入正确的名称</source>
        <translation>Enter a valid name</translation>
    </message>
    <message>
        <source>长度必须4位</source>
        <translation>The PIN must have 4 digits</translation>
    </message>
    <message>
        <source>按测量拟合…</source>
        <translation>Fit to measurement…</translation>
    </message>
    <message>
        <source>读取测量文件，在本机的频率、Q 和增益档位上拟合频段</source>
        <translation>Reads a measurement file and fits the bands on the unit&apos;s own frequency, Q and gain steps</translation>
    </message>
    <message>
        <source>隐藏测量曲线</source>
        <translation>Hide measurement</translation>
    </message>
    <message>
        <source>不再显示测量、目标和预测曲线</source>
        <translation>Stop showing the measured, target and predicted curves</translation>
    </message>
    <message>
        <source>按测量拟合</source>
        <translation>Fit to measurement</translation>
    </message>
    <message>
        <source>正在拟合…</source>
        <translation>Fitting…</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>测量数据 (*.txt *.csv *.frd);;所有文件 (*)</source>
        <translation>Measurements (*.txt *.csv *.frd);;All files (*)</translation>
    </message>
    <message>
        <source>历史</source>
        <translation>History</translation>
    </message>
    <message>
        <source>快照…</source>
        <translation>Snapshots…</translation>
    </message>
    <message>
        <source>设备在每次读取和覆盖前的参数：差异与恢复</source>
        <translation>The unit&apos;s parameters at every read and before every overwrite: differences and restore</translation>
    </message>
    <message>
        <source>与文件比较…</source>
        <translation>Compare with file…</translation>
    </message>
    <message>
        <source>预设文件与设备（无设备时与屏幕）的差异</source>
        <translation>How a preset file differs from the unit (from the screen without one)</translation>
    </message>
    <message>
        <source>鼠标滚轮调节：%1（拖动滑块或点选直通框后解除）</source>
        <translation>The mouse wheel changes: %1 (moving a slider or a bypass box releases it)</translation>
    </message>
    <message>
        <source>中心频率（Hz），可写 2.2k</source>
        <translation>Centre frequency in Hz (2.2k is 2200)</translation>
    </message>
    <message>
        <source>Q 值：越大频段越窄</source>
        <translation>Q: the higher, the narrower the band</translation>
    </message>
    <message>
        <source>增益，-24 dB 至 +12 dB</source>
        <translation>Gain, -24 dB to +12 dB</translation>
    </message>
    <message>
        <source>频段类型</source>
        <translation>Band type</translation>
    </message>
    <message>
        <source>输入选择：RCA 模拟输入</source>
        <translation>Input: RCA analogue input</translation>
    </message>
    <message>
        <source>输入选择：蓝牙</source>
        <translation>Input: Bluetooth</translation>
    </message>
    <message>
        <source>输入选择：自动，有蓝牙信号时用蓝牙</source>
        <translation>Input: automatic, Bluetooth whenever it plays</translation>
    </message>
    <message>
        <source>重新查找设备并联机</source>
        <translation>Look for the unit again and connect</translation>
    </message>
    <message>
        <source>辅助输出增益，-9 dB 至 +9 dB</source>
        <translation>Auxiliary output gain, -9 dB to +9 dB</translation>
    </message>
    <message>
        <source>界面语言（立即生效，下次启动时沿用）</source>
        <translation>Interface language (at once, and remembered for the next start)</translation>
    </message>
    <message>
        <source>界面语言</source>
        <translation>Interface language</translation>
    </message>
    <message>
        <source>动态压缩：打开后按下方曲线压缩主声道</source>
        <translation>Compressor: when on, the main channel follows the curve below</translation>
    </message>
    <message>
        <source>压缩启动时间，1 至 100 ms</source>
        <translation>Compressor attack time, 1 to 100 ms</translation>
    </message>
    <message>
        <source>压缩点 %1 输入</source>
        <translation>Compressor point %1 input</translation>
    </message>
    <message>
        <source>压缩点 %1 输出</source>
        <translation>Compressor point %1 output</translation>
    </message>
    <message>
        <source>从测量软件的参量均衡文本读入频段，应用前先核对</source>
        <translation>Read bands from a measurement program&apos;s parametric EQ text; you review them before they apply</translation>
    </message>
    <message>
        <source>把当前图上的频段写成参量均衡文本</source>
        <translation>Write the bands on the graph as parametric EQ text</translation>
    </message>
    <message>
        <source>设备在蓝牙中显示的名称，最多 %1 个字符</source>
        <translation>The name the unit shows over Bluetooth, at most %1 characters</translation>
    </message>
    <message>
        <source>把蓝牙名称发送到设备</source>
        <translation>Send the Bluetooth name to the unit</translation>
    </message>
    <message>
        <source>更改蓝牙名称</source>
        <translation>Change the Bluetooth name</translation>
    </message>
    <message>
        <source>蓝牙配对码，4 位数字</source>
        <translation>Bluetooth pairing code, 4 digits</translation>
    </message>
    <message>
        <source>把配对码发送到设备</source>
        <translation>Send the pairing code to the unit</translation>
    </message>
    <message>
        <source>更改蓝牙配对码</source>
        <translation>Change the pairing code</translation>
    </message>
    <message>
        <source>使用的设备</source>
        <translation>Unit in use</translation>
    </message>
</context>
<context>
    <name>TForm4</name>
    <message>
        <source>设备状态</source>
        <translation>Unit status</translation>
    </message>
    <message>
        <source>设备未连接</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <source>请稍等,可能需要几秒钟才能完成操作！</source>
        <translation>Please wait; this may take a few seconds.</translation>
    </message>
    <message>
        <source>完成之前不能更改参数。</source>
        <translation>No changes to parameters until it is done.</translation>
    </message>
</context>
<context>
    <name>TForm9</name>
    <message>
        <source>设备未连接</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <source>系统</source>
        <translation>System</translation>
    </message>
    <message>
        <source>连接</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>断开</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>离线模式</source>
        <translation>Offline mode</translation>
    </message>
    <message>
        <source> (自定义HID描述符=%1)</source>
        <translation> (custom HID descriptor=%1)</translation>
    </message>
</context>
<context>
    <name>WindowState</name>
    <message>
        <source>QZ系列 DSP控制软件 v3.4.2 Beta</source>
        <translation>QZ Series DSP Control Software v3.4.2 Beta</translation>
    </message>
</context>
</TS>
