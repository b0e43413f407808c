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
        <translation>Drag high-pass</translation>
    </message>
    <message>
        <source>拖动 低通</source>
        <translation>Drag low-pass</translation>
    </message>
    <message>
        <source>拖动 频段 %1</source>
        <translation>Drag band %1</translation>
    </message>
    <message>
        <source>导入滤波器</source>
        <translation>Import filters</translation>
    </message>
    <message>
        <source>EQ重置</source>
        <translation>EQ reset</translation>
    </message>
    <message>
        <source>复位压缩曲线</source>
        <translation>Compressor curve reset</translation>
    </message>
    <message>
        <source>参数 %1</source>
        <translation>Parameter %1</translation>
    </message>
    <message>
        <source>加载预设</source>
        <translation>Load preset</translation>
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
        <source>界面语言（下次启动时生效）</source>
        <translation>Interface language (applies from the next start)</translation>
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
