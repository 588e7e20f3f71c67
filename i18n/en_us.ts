<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>GimbalLine</name>
    <message>
        <source>已达横滚限位</source>
        <translation>at roll limit</translation>
    </message>
    <message>
        <source>已达俯仰限位</source>
        <translation>at pitch limit</translation>
    </message>
    <message>
        <source>已达航向限位</source>
        <translation>at yaw limit</translation>
    </message>
    <message>
        <source>编码器故障</source>
        <translation>encoder error</translation>
    </message>
    <message>
        <source>电源故障</source>
        <translation>power error</translation>
    </message>
    <message>
        <source>电机故障</source>
        <translation>motor error</translation>
    </message>
    <message>
        <source>软件故障</source>
        <translation>software error</translation>
    </message>
    <message>
        <source>通信故障</source>
        <translation>comms error</translation>
    </message>
    <message>
        <source>正在校准</source>
        <translation>calibrating</translation>
    </message>
    <message>
        <source>无云台管理器</source>
        <translation>no gimbal manager</translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>云台静默（超过 1 秒无状态）</source>
        <translation>gimbal silent (no status for more than 1 s)</translation>
    </message>
    <message>
        <source>等待状态</source>
        <translation>waiting for its status</translation>
    </message>
    <message>
        <source>状态正常</source>
        <translation>status ok</translation>
    </message>
    <message>
        <source>（手动指定）</source>
        <translation> (forced)</translation>
    </message>
    <message>
        <source>协议：GIMBAL_REPORT</source>
        <translation>Protocol: GIMBAL_REPORT</translation>
    </message>
    <message>
        <source>协议：v2</source>
        <translation>Protocol: v2</translation>
    </message>
    <message>
        <source> · 尚未发现云台</source>
        <translation> · no gimbal found yet</translation>
    </message>
    <message>
        <source> · 云台 %1 · %2</source>
        <translation> · gimbal %1 · %2</translation>
    </message>
    <message>
        <source> · 设备信息请求 %1 次均无应答</source>
        <translation> · no answer to %1 device information requests</translation>
    </message>
    <message>
        <source>协议：识别中（每秒发送地面站心跳）</source>
        <translation>Protocol: identifying (a ground station heartbeat each second)</translation>
    </message>
    <message>
        <source>协议：v2 %1</source>
        <translation>Protocol: v2 %1</translation>
    </message>
</context>
<context>
    <name>GimbalDeviceInfo</name>
    <message>
        <source>收起</source>
        <translation>retract</translation>
    </message>
    <message>
        <source>回中</source>
        <translation>neutral</translation>
    </message>
    <message>
        <source>横滚轴</source>
        <translation>roll axis</translation>
    </message>
    <message>
        <source>横滚跟随</source>
        <translation>roll follow</translation>
    </message>
    <message>
        <source>横滚锁定</source>
        <translation>roll lock</translation>
    </message>
    <message>
        <source>俯仰轴</source>
        <translation>pitch axis</translation>
    </message>
    <message>
        <source>俯仰跟随</source>
        <translation>pitch follow</translation>
    </message>
    <message>
        <source>俯仰锁定</source>
        <translation>pitch lock</translation>
    </message>
    <message>
        <source>航向轴</source>
        <translation>yaw axis</translation>
    </message>
    <message>
        <source>航向跟随</source>
        <translation>yaw follow</translation>
    </message>
    <message>
        <source>航向锁定</source>
        <translation>yaw lock</translation>
    </message>
    <message>
        <source>航向无限旋转</source>
        <translation>infinite yaw</translation>
    </message>
    <message>
        <source>地理坐标系航向</source>
        <translation>yaw in earth frame</translation>
    </message>
    <message>
        <source>遥控输入</source>
        <translation>RC inputs</translation>
    </message>
    <message>
        <source>指向本地位置</source>
        <translation>point at a local position</translation>
    </message>
    <message>
        <source>指向全球位置</source>
        <translation>point at a global position</translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>无</source>
        <translation>none</translation>
    </message>
    <message>
        <source>尚未发现 v2 云台。</source>
        <translation>No v2 gimbal found yet.</translation>
    </message>
    <message>
        <source>已请求设备信息 %1 次，设备没有应答。</source>
        <translation>Asked %1 times for the device information; the device has not answered.</translation>
    </message>
    <message>
        <source>正在请求设备信息（已请求 %1 次）…</source>
        <translation>Asking for the device information (%1 requests so far)…</translation>
    </message>
    <message>
        <source>厂商</source>
        <translation>Vendor</translation>
    </message>
    <message>
        <source>型号</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>固件版本</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>硬件版本</source>
        <translation>Hardware</translation>
    </message>
    <message>
        <source>横滚范围</source>
        <translation>Roll range</translation>
    </message>
    <message>
        <source>俯仰范围</source>
        <translation>Pitch range</translation>
    </message>
    <message>
        <source>航向范围</source>
        <translation>Yaw range</translation>
    </message>
    <message>
        <source>能力</source>
        <translation>Can do</translation>
    </message>
    <message>
        <source>：</source>
        <translation>: </translation>
    </message>
</context>
<context>
    <name>GimbalControls</name>
    <message>
        <source>端口未打开</source>
        <translation>The port is not open</translation>
    </message>
    <message>
        <source>仅适用于 v2 云台</source>
        <translation>Only for a v2 gimbal</translation>
    </message>
    <message>
        <source>尚未发现 v2 云台</source>
        <translation>No v2 gimbal found yet</translation>
    </message>
    <message>
        <source>尚未收到设备信息</source>
        <translation>The device information has not come yet</translation>
    </message>
    <message>
        <source>正在回中</source>
        <translation>Going to neutral</translation>
    </message>
    <message>
        <source>正在收起</source>
        <translation>Retracting</translation>
    </message>
    <message>
        <source>正在转到 俯仰 %1° 航向 %2° 横滚 %3°</source>
        <translation>Going to pitch %1° yaw %2° roll %3°</translation>
    </message>
    <message>
        <source>摇杆控制角速度</source>
        <translation>The sticks set the rates</translation>
    </message>
    <message>
        <source>协议</source>
        <translation>Protocol</translation>
    </message>
    <message>
        <source>自动识别</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>云台</source>
        <translation>Gimbal</translation>
    </message>
    <message>
        <source>角度单位</source>
        <translation>Angle unit</translation>
    </message>
    <message>
        <source>弧度</source>
        <translation>radians</translation>
    </message>
    <message>
        <source>度</source>
        <translation>degrees</translation>
    </message>
    <message>
        <source>设备未表示接受地理坐标系航向</source>
        <translation>The device does not say it accepts an earth-frame yaw</translation>
    </message>
    <message>
        <source>航向锁定（地理坐标系）</source>
        <translation>Yaw lock (earth frame)</translation>
    </message>
    <message>
        <source>设备没有回中功能</source>
        <translation>The device has no neutral position</translation>
    </message>
    <message>
        <source>回中</source>
        <translation>Centre</translation>
    </message>
    <message>
        <source>设备没有收起功能</source>
        <translation>The device cannot retract</translation>
    </message>
    <message>
        <source>收起</source>
        <translation>Retract</translation>
    </message>
    <message>
        <source>俯仰°</source>
        <translation>Pitch°</translation>
    </message>
    <message>
        <source>航向°</source>
        <translation>Yaw°</translation>
    </message>
    <message>
        <source>横滚°</source>
        <translation>Roll°</translation>
    </message>
    <message>
        <source>设备没有横滚轴</source>
        <translation>The device has no roll axis</translation>
    </message>
    <message>
        <source>转到</source>
        <translation>Go to angle</translation>
    </message>
    <message>
        <source>回放中：不发送任何命令</source>
        <translation>Replaying: nothing is sent</translation>
    </message>
</context>
<context>
    <name>GimbalView</name>
    <message>
        <source>云台</source>
        <translation>Gimbal</translation>
    </message>
    <message>
        <source>设备信息</source>
        <translation>Device information</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>InputSettingsView</name>
    <message>
        <source>键盘与手柄</source>
        <translation>Keyboard and gamepad</translation>
    </message>
    <message>
        <source>手柄：%1</source>
        <translation>Gamepad: %1</translation>
    </message>
    <message>
        <source>未连接手柄</source>
        <translation>No gamepad connected</translation>
    </message>
    <message>
        <source>死区 %1%</source>
        <translation>Dead zone %1%</translation>
    </message>
    <message>
        <source>指数曲线 %1%</source>
        <translation>Expo %1%</translation>
    </message>
    <message>
        <source>速度上限 %1%（对所有输入）</source>
        <translation>Speed limit %1% (every input)</translation>
    </message>
    <message>
        <source>反转 X</source>
        <translation>Invert X</translation>
    </message>
    <message>
        <source>反转 Y</source>
        <translation>Invert Y</translation>
    </message>
    <message>
        <source>反转 Z</source>
        <translation>Invert Z</translation>
    </message>
    <message>
        <source>方向键：X 与 Y · A/D：Z · 右摇杆：X 与 Y · 左摇杆横向：Z</source>
        <translation>Arrow keys: X and Y · A/D: Z · right stick: X and Y · left stick across: Z</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>手柄不可用：%1</source>
        <translation>Gamepad unavailable: %1</translation>
    </message>
    <message>
        <source>未找到 SDL2 库</source>
        <translation>SDL2 library not found</translation>
    </message>
</context>
<context>
    <name>OpenFailure</name>
    <message>
        <source>无法打开 %1：找不到该端口（%2）。请检查端口名称以及云台是否已连接。</source>
        <translation>Cannot open %1: there is no such port (%2). Check the port name and that the gimbal is plugged in.</translation>
    </message>
    <message>
        <source>无法打开 %1：端口被其他程序占用（%2）。请关闭该程序后重试。</source>
        <translation>Cannot open %1: another program is using it (%2). Close that program and try again.</translation>
    </message>
    <message>
        <source>无法打开 %1：没有权限（%2）。请用 &quot;sudo usermod -aG dialout $USER&quot; 加入 dialout 组，然后重新登录。</source>
        <translation>Cannot open %1: permission denied (%2). Join the dialout group with &quot;sudo usermod -aG dialout $USER&quot;, then log in again.</translation>
    </message>
    <message>
        <source>无法打开 %1：%2。</source>
        <translation>Cannot open %1: %2.</translation>
    </message>
</context>
<context>
    <name>ParamDiff</name>
    <message>
        <source>%1 无法经 4 字节的值字段准确传送</source>
        <translation>%1 cannot be carried exactly in the 4-byte value field</translation>
    </message>
</context>
<context>
    <name>ParamDownload</name>
    <message>
        <source>组件没有回应参数列表请求</source>
        <translation>the component did not answer the request for its parameter list</translation>
    </message>
    <message>
        <source>%1 个参数各请求 %2 次后仍未收到，索引：%3</source>
        <translation>%1 parameters still missing after %2 requests each, indices: %3</translation>
    </message>
</context>
<context>
    <name>ParamEncoding</name>
    <message>
        <source>按字节编码（设备在 AUTOPILOT_VERSION 中声明）</source>
        <translation>byte-wise encoding (announced in AUTOPILOT_VERSION)</translation>
    </message>
    <message>
        <source>C 转换编码（设备在 AUTOPILOT_VERSION 中声明）</source>
        <translation>C-cast encoding (announced in AUTOPILOT_VERSION)</translation>
    </message>
    <message>
        <source>C 转换编码（ArduPilot 自动驾驶仪）</source>
        <translation>C-cast encoding (ArduPilot autopilot)</translation>
    </message>
    <message>
        <source>按字节编码（PX4 自动驾驶仪）</source>
        <translation>byte-wise encoding (PX4 autopilot)</translation>
    </message>
    <message>
        <source>按字节编码（v2 云台设备）</source>
        <translation>byte-wise encoding (v2 gimbal device)</translation>
    </message>
    <message>
        <source>按字节编码（设备未声明，按默认）</source>
        <translation>byte-wise encoding (not announced; assumed)</translation>
    </message>
</context>
<context>
    <name>ParamFile</name>
    <message>
        <source>应为五个以制表符分隔的字段：系统、组件、名称、值、类型</source>
        <translation>expected five tab-separated fields: system, component, name, value, type</translation>
    </message>
    <message>
        <source>“%1”不是 0 至 255 的编号</source>
        <translation>&quot;%1&quot; is not an id from 0 to 255</translation>
    </message>
    <message>
        <source>“%1”不是参数类型（1 至 10）</source>
        <translation>&quot;%1&quot; is not a parameter type (1 to 10)</translation>
    </message>
    <message>
        <source>应为“名称,值”</source>
        <translation>expected name,value</translation>
    </message>
    <message>
        <source>“%1”不是参数名（1 至 16 个 ASCII 字符，不含空格）</source>
        <translation>&quot;%1&quot; is not a parameter name (1 to 16 ASCII characters, no spaces)</translation>
    </message>
    <message>
        <source>组件 %1/%2 与第 %3 行的 %4/%5 不同</source>
        <translation>component %1/%2 differs from %4/%5 on line %3</translation>
    </message>
    <message>
        <source>%1 已在第 %2 行出现</source>
        <translation>%1 already appears on line %2</translation>
    </message>
    <message>
        <source>第 %1 行：%2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message>
        <source>无法保存 %1：%2</source>
        <translation>Cannot save %1: %2</translation>
    </message>
    <message>
        <source>无法读取 %1：%2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>%1 不是参数文件：大于 %2 MiB</source>
        <translation>%1 is not a parameter file: larger than %2 MiB</translation>
    </message>
</context>
<context>
    <name>ParamValue</name>
    <message>
        <source>“%1”超出 %2 的范围（%3 至 %4）</source>
        <translation>&quot;%1&quot; is outside the range of %2 (%3 to %4)</translation>
    </message>
    <message>
        <source>“%1”不是整数</source>
        <translation>&quot;%1&quot; is not a whole number</translation>
    </message>
    <message>
        <source>未知的参数类型 %1</source>
        <translation>unknown parameter type %1</translation>
    </message>
    <message>
        <source>“%1”不是数字</source>
        <translation>&quot;%1&quot; is not a number</translation>
    </message>
    <message>
        <source>“%1”不是有限数</source>
        <translation>&quot;%1&quot; is not a finite number</translation>
    </message>
</context>
<context>
    <name>ParamWriter</name>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>已写入 %1 个</source>
        <translation>%1 written</translation>
    </message>
    <message>
        <source>%1 个被拒绝：%2</source>
        <translation>%1 refused: %2</translation>
    </message>
    <message>
        <source>%1 个未确认：%2</source>
        <translation>%1 unconfirmed: %2</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
</context>
<context>
    <name>ParamComponent</name>
    <message>
        <source>v2 云台设备</source>
        <translation>v2 gimbal device</translation>
    </message>
    <message>
        <source>云台（GIMBAL_REPORT）</source>
        <translation>gimbal (GIMBAL_REPORT)</translation>
    </message>
    <message>
        <source>自动驾驶仪</source>
        <translation>autopilot</translation>
    </message>
    <message>
        <source>组件</source>
        <translation>component</translation>
    </message>
</context>
<context>
    <name>ParamChanges</name>
    <message>
        <source>设备没有此参数</source>
        <translation>the device has no such parameter</translation>
    </message>
    <message>
        <source>不同的值：%1</source>
        <translation>differing values: %1</translation>
    </message>
    <message>
        <source>设备没有的名称：%1</source>
        <translation>names the device lacks: %1</translation>
    </message>
    <message>
        <source>不合类型的值：%1</source>
        <translation>values that do not fit: %1</translation>
    </message>
    <message>
        <source>无法读取的行：%1</source>
        <translation>lines not read: %1</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
</context>
<context>
    <name>ParamPanel</name>
    <message>
        <source>%1 / %2 · %3 秒</source>
        <translation>%1 / %2 · %3 s</translation>
    </message>
    <message>
        <source>正在询问链路上的组件…</source>
        <translation>Asking the components on the link…</translation>
    </message>
    <message>
        <source>还没有组件回应参数请求</source>
        <translation>No component has answered the parameter request yet</translation>
    </message>
    <message>
        <source>已读取全部参数</source>
        <translation>All parameters read</translation>
    </message>
    <message>
        <source>正在读取…</source>
        <translation>Reading…</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>参数尚未全部读取，未保存</source>
        <translation>Not every parameter has been read; nothing saved</translation>
    </message>
    <message>
        <source>已将 %1 个参数保存到 %2</source>
        <translation>Saved %1 parameters to %2</translation>
    </message>
    <message>
        <source>正在写入 %1 个参数…</source>
        <translation>Writing %1 parameters…</translation>
    </message>
    <message>
        <source>无法经值字段准确传送，未写入：%1</source>
        <translation>Not written, the value field cannot carry them exactly: %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
</context>
<context>
    <name>ParamCommand</name>
    <message>
        <source>%1 秒内 %2 上没有组件回应参数请求</source>
        <translation>no component on %2 answered the parameter request within %1 s</translation>
    </message>
    <message>
        <source>被信号中止</source>
        <translation>stopped by a signal</translation>
    </message>
    <message>
        <source>%1 没有回应参数请求</source>
        <translation>%1 did not answer the parameter request</translation>
    </message>
    <message>
        <source>%1：%2 个参数，用时 %3 秒；%4</source>
        <translation>%1: %2 parameters in %3 s; %4</translation>
    </message>
    <message>
        <source>已将 %1 个参数保存到 %2</source>
        <translation>Saved %1 parameters to %2</translation>
    </message>
    <message>
        <source>%1：设备没有此参数</source>
        <translation>%1: the device has no such parameter</translation>
    </message>
    <message>
        <source>%1 个值与文件不同；未写入（加 --yes 写入）</source>
        <translation>%1 values differ from the file; nothing written (--yes writes them)</translation>
    </message>
    <message>
        <source>%1：被设备拒绝，仍为 %2</source>
        <translation>%1: refused by the device, which keeps %2</translation>
    </message>
    <message>
        <source>%1：写入未得到确认</source>
        <translation>%1: the write was not confirmed</translation>
    </message>
    <message>
        <source>链路已断开</source>
        <translation>the link went away</translation>
    </message>
</context>
<context>
    <name>ParamsView</name>
    <message>
        <source>待写入</source>
        <translation>to write</translation>
    </message>
    <message>
        <source>写入中</source>
        <translation>writing</translation>
    </message>
    <message>
        <source>已写入</source>
        <translation>written</translation>
    </message>
    <message>
        <source>被拒绝</source>
        <translation>refused</translation>
    </message>
    <message>
        <source>未确认</source>
        <translation>unconfirmed</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>组件</source>
        <translation>Component</translation>
    </message>
    <message>
        <source>重新读取</source>
        <translation>Read again</translation>
    </message>
    <message>
        <source>按名称搜索</source>
        <translation>Search by name</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>写入</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>参数文件</source>
        <translation>Parameter file</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>载入</source>
        <translation>Load</translation>
    </message>
</context>
<context>
    <name>ParamChangesView</name>
    <message>
        <source>不同</source>
        <translation>differs</translation>
    </message>
    <message>
        <source>设备无此名</source>
        <translation>not on the device</translation>
    </message>
    <message>
        <source>不合类型</source>
        <translation>does not fit</translation>
    </message>
    <message>
        <source>无法读取</source>
        <translation>not read</translation>
    </message>
    <message>
        <source>载入的文件与设备的参数比较</source>
        <translation>The loaded file against the device's parameters</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>设备的值</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>文件的值</source>
        <translation>File</translation>
    </message>
    <message>
        <source>说明</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>写入更改</source>
        <translation>Write changes</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>PlotView</name>
    <message>
        <source>Pitch</source>
        <translation>Pitch</translation>
    </message>
    <message>
        <source>Roll</source>
        <translation>Roll</translation>
    </message>
    <message>
        <source>Yaw</source>
        <translation>Yaw</translation>
    </message>
    <message>
        <source>曲线</source>
        <translation>Plot</translation>
    </message>
    <message>
        <source>角度（上报原值）</source>
        <translation>Angles (as reported)</translation>
    </message>
    <message>
        <source>指令角速度 (rad/s)</source>
        <translation>Commanded rates (rad/s)</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
</context>
<context>
    <name>Ravik</name>
    <message>
        <source>请您先打开串口</source>
        <translation>Please Open Serial First</translation>
    </message>
    <message>
        <source>云台与电脑连接异常，请检查USB连接</source>
        <translation>The gimbal is experiencing abnormal connection with the computer, please check the USB connection.</translation>
    </message>
    <message>
        <source>云台已重新连接：%1 已再次打开。</source>
        <translation>The gimbal is back: %1 is open again.</translation>
    </message>
</context>
<context>
    <name>RavikCombox</name>
    <message>
        <source>相机朝上</source>
        <translation>Camera Upward</translation>
    </message>
    <message>
        <source>相机朝下</source>
        <translation>Camera Downward</translation>
    </message>
</context>
<context>
    <name>RecordView</name>
    <message>
        <source>录制</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>文件夹</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>CSV</source>
        <translation>CSV</translation>
    </message>
    <message>
        <source>遥测日志 (tlog)</source>
        <translation>Telemetry log (tlog)</translation>
    </message>
    <message>
        <source>CSV 与遥测日志</source>
        <translation>CSV and telemetry log</translation>
    </message>
    <message>
        <source>CSV：每个收到的报告与心跳、每条发出的指令各占一行。</source>
        <translation>CSV: every received report and heartbeat and every sent command is a row.</translation>
    </message>
    <message>
        <source>遥测日志：收发的每一帧原样记录，附时间。</source>
        <translation>Telemetry log: every frame received and sent, byte for byte, with its time.</translation>
    </message>
    <message>
        <source>%1 → %2</source>
        <translation>%1 → %2</translation>
    </message>
    <message>
        <source>回放遥测日志</source>
        <translation>Replay a telemetry log</translation>
    </message>
    <message>
        <source>日志文件的路径（.tlog）</source>
        <translation>The log file's path (.tlog)</translation>
    </message>
    <message>
        <source>回放</source>
        <translation>Replay</translation>
    </message>
    <message>
        <source>停止录制</source>
        <translation>Stop recording</translation>
    </message>
    <message>
        <source>开始录制</source>
        <translation>Start recording</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>Recorder</name>
    <message>
        <source>无法录制到 %1：%2。</source>
        <translation>Cannot record to %1: %2.</translation>
    </message>
    <message>
        <source>开始录制：%1</source>
        <translation>Recording to %1</translation>
    </message>
    <message>
        <source>录制已结束：%2 中有 %1 行</source>
        <translation>Recording stopped: %1 rows in %2</translation>
    </message>
    <message>
        <source>录制已结束（%1）：%3 中有 %2 行</source>
        <translation>Recording stopped, the %1: %2 rows in %3</translation>
    </message>
    <message>
        <source>端口已关闭</source>
        <translation>port closed</translation>
    </message>
    <message>
        <source>程序已退出</source>
        <translation>tool ended</translation>
    </message>
    <message>
        <source>录制失败：%1。%2 中保留了 %3 行。</source>
        <translation>Recording failed: %1. %2 holds %3 rows.</translation>
    </message>
    <message>
        <source>录制已结束：%2 中有 %1 帧</source>
        <translation>Recording stopped: %1 frames in %2</translation>
    </message>
    <message>
        <source>录制已结束（%1）：%3 中有 %2 帧</source>
        <translation>Recording stopped, the %1: %2 frames in %3</translation>
    </message>
    <message>
        <source>录制失败：%1。%2 中保留了 %3 帧。</source>
        <translation>Recording failed: %1. %2 holds %3 frames.</translation>
    </message>
    <message>
        <source>%1 行</source>
        <translation>%1 rows</translation>
    </message>
    <message>
        <source>%1 帧</source>
        <translation>%1 frames</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>无法写入配置文件夹 %1：设置不会被保存。</source>
        <translation>Cannot write the configuration folder %1: settings will not be kept.</translation>
    </message>
</context>
<context>
    <name>StatusView</name>
    <message>
        <source>未初始化</source>
        <translation>uninitialised</translation>
    </message>
    <message>
        <source>启动中</source>
        <translation>booting</translation>
    </message>
    <message>
        <source>校准中</source>
        <translation>calibrating</translation>
    </message>
    <message>
        <source>待机</source>
        <translation>standby</translation>
    </message>
    <message>
        <source>运行</source>
        <translation>active</translation>
    </message>
    <message>
        <source>严重故障</source>
        <translation>critical</translation>
    </message>
    <message>
        <source>紧急状态</source>
        <translation>emergency</translation>
    </message>
    <message>
        <source>正在关机</source>
        <translation>powering off</translation>
    </message>
    <message>
        <source>已终止</source>
        <translation>terminated</translation>
    </message>
    <message>
        <source>状态 %1</source>
        <translation>status %1</translation>
    </message>
    <message>
        <source>校验错误 %1 · 丢失 %2</source>
        <translation>%1 bad · %2 lost</translation>
    </message>
    <message>
        <source> · 设备停读 %1 次</source>
        <translation> · device stalled %1 times</translation>
    </message>
    <message>
        <source> · 重复 %1</source>
        <translation> · %1 repeated</translation>
    </message>
    <message>
        <source>%1 已打开，尚未收到数据</source>
        <translation>%1 open, nothing received yet</translation>
    </message>
    <message>
        <source>接收 %1 帧报告/秒 · %2</source>
        <translation>Receiving %1 reports/s · %2</translation>
    </message>
    <message>
        <source>云台静默 %1 秒 · %2</source>
        <translation>Gimbal silent for %1 s · %2</translation>
    </message>
    <message>
        <source>等待 %1 重新连接…</source>
        <translation>Waiting for %1 to come back…</translation>
    </message>
    <message>
        <source>端口未打开</source>
        <translation>Port closed</translation>
    </message>
    <message>
        <source>2 秒内未收到有效数据：请检查波特率、线缆和端口。</source>
        <translation>No valid frame for 2 s: check the baud rate, the cable and the port.</translation>
    </message>
    <message>
        <source>心跳 %1/%2：%3 · 已收到 %4 次</source>
        <translation>Heartbeat from %1/%2: %3 · %4 seen</translation>
    </message>
    <message>
        <source>手柄：%1</source>
        <translation>Gamepad: %1</translation>
    </message>
    <message>
        <source>录制中：%1</source>
        <translation>Recording: %1</translation>
    </message>
    <message>
        <source>回放 %1</source>
        <translation>Replay of %1</translation>
    </message>
    <message>
        <source>回放 %1（已暂停）</source>
        <translation>Replay of %1 (paused)</translation>
    </message>
    <message>
        <source>手柄不可用：%1</source>
        <translation>Gamepad unavailable: %1</translation>
    </message>
    <message>
        <source>未找到 SDL2 库</source>
        <translation>SDL2 library not found</translation>
    </message>
    <message>
        <source> · 已忽略另一发送方 %1/%2</source>
        <translation> · another sender %1/%2 ignored</translation>
    </message>
    <message>
        <source>UDP %1，来自 %2</source>
        <translation>UDP %1 from %2</translation>
    </message>
    <message>
        <source>UDP %1</source>
        <translation>UDP %1</translation>
    </message>
    <message>
        <source>UDP 发往 %1</source>
        <translation>UDP to %1</translation>
    </message>
    <message>
        <source>TCP %1</source>
        <translation>TCP %1</translation>
    </message>
    <message>
        <source>正在 UDP %1 上监听</source>
        <translation>listening on UDP %1</translation>
    </message>
    <message>
        <source>%1，尚未收到数据</source>
        <translation>%1, no data yet</translation>
    </message>
    <message>
        <source>正在连接 %1…</source>
        <translation>connecting to %1…</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Ravik Mavlink</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>端口号</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud</translation>
    </message>
    <message>
        <source>波特率“%1”无效：须为正整数</source>
        <translation>Baud rate &quot;%1&quot; is not a positive number</translation>
    </message>
    <message>
        <source>语言(Language)</source>
        <translation>Language(语言)</translation>
    </message>
    <message>
        <source>微信公众号</source>
        <translation>WeChat Official Account</translation>
    </message>
    <message>
        <source>bilibili</source>
        <translation>bilibili</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>曲线</source>
        <translation>Plot</translation>
    </message>
    <message>
        <source>● 录制中</source>
        <translation>● Recording</translation>
    </message>
    <message>
        <source>录制</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>版本号:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>角度信息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pitch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Roll</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yaw</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>控制</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>消息</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>Close</source>
        <translation></translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Open</source>
        <translation></translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>CH1</source>
        <translation></translation>
    </message>
    <message>
        <source>CH2</source>
        <translation></translation>
    </message>
    <message>
        <source>CH3</source>
        <translation></translation>
    </message>
    <message>
        <source>CH4</source>
        <translation></translation>
    </message>
    <message>
        <source>CH5</source>
        <translation></translation>
    </message>
    <message>
        <source>CH6</source>
        <translation></translation>
    </message>
    <message>
        <source>CH7</source>
        <translation></translation>
    </message>
    <message>
        <source>CH8</source>
        <translation></translation>
    </message>
    <message>
        <source>CH9</source>
        <translation></translation>
    </message>
    <message>
        <source>CH10</source>
        <translation></translation>
    </message>
    <message>
        <source>CH11</source>
        <translation></translation>
    </message>
    <message>
        <source>CH12</source>
        <translation></translation>
    </message>
    <message>
        <source>CH13</source>
        <translation></translation>
    </message>
    <message>
        <source>CH14</source>
        <translation></translation>
    </message>
    <message>
        <source>CH15</source>
        <translation></translation>
    </message>
    <message>
        <source>CH16</source>
        <translation></translation>
    </message>
    <message>
        <source>Ravik</source>
        <translation></translation>
    </message>
    <message>
        <source>NONE</source>
        <translation></translation>
    </message>
    <message>
        <source>PWM通道配置</source>
        <translation>PWM Channel Setting</translation>
    </message>
    <message>
        <source>SBUS通道配置</source>
        <translation>SBUS Channel Setting</translation>
    </message>
    <message>
        <source>俯仰</source>
        <translation>Pitch</translation>
    </message>
    <message>
        <source>停止电机</source>
        <translation>Stop Motor</translation>
    </message>
    <message>
        <source>写入</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>加速度计校准</source>
        <translation>Start Acc Cali</translation>
    </message>
    <message>
        <source>升级</source>
        <translation>Upgrade</translation>
    </message>
    <message>
        <source>回中</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>开始升级</source>
        <translation>Start Upgrade</translation>
    </message>
    <message>
        <source>文件路径:</source>
        <translation>FilePath:</translation>
    </message>
    <message>
        <source>查询版本号</source>
        <translation>Query Version</translation>
    </message>
    <message>
        <source>校准</source>
        <translation>Calibration</translation>
    </message>
    <message>
        <source>模式</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>激活</source>
        <translation>Activate</translation>
    </message>
    <message>
        <source>相机</source>
        <translation>Camera</translation>
    </message>
    <message>
        <source>相机上置</source>
        <translation>Camera Upward</translation>
    </message>
    <message>
        <source>相机下置</source>
        <translation>Camera Downward</translation>
    </message>
    <message>
        <source>相机设置</source>
        <translation>Camera Setting</translation>
    </message>
    <message>
        <source>航向</source>
        <translation>Yaw</translation>
    </message>
    <message>
        <source>角度模式</source>
        <translation>Angle Mode</translation>
    </message>
    <message>
        <source>请先选择升级文件</source>
        <translation>Please select the upgrade file first</translation>
    </message>
    <message>
        <source>请按照停止电机、霍尔校准、加速度计校准，激活，重启的顺序依次操作，完成校准</source>
        <translation>Please proceed with the calibration in the following order: stop the motor, Hall calibration, accelerometer calibration, activate, and then restart.</translation>
    </message>
    <message>
        <source>读取</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>进度:</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>选择文件</source>
        <translation>Select File</translation>
    </message>
    <message>
        <source>速度模式</source>
        <translation>Speed Mode</translation>
    </message>
    <message>
        <source>重启</source>
        <translation>Restart</translation>
    </message>
    <message>
        <source>霍尔校准</source>
        <translation>Start Hall Cali</translation>
    </message>
    <message>
        <source>云台</source>
        <translation>Gimbal</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Parameters</translation>
    </message>
</context>
<context>
    <name>LinkAddress</name>
    <message>
        <source>缺少端口号</source>
        <translation>the port is missing</translation>
    </message>
    <message>
        <source>端口须为 1 到 65535 之间的数字</source>
        <translation>the port must be a number from 1 to 65535</translation>
    </message>
    <message>
        <source>缺少主机地址</source>
        <translation>the host is missing</translation>
    </message>
    <message>
        <source>监听地址须为 IP 地址，如 127.0.0.1</source>
        <translation>a listening address must be an IP address, such as 127.0.0.1</translation>
    </message>
    <message>
        <source>地址“%1”无效：%2。</source>
        <translation>The address &quot;%1&quot; is not valid: %2.</translation>
    </message>
</context>
<context>
    <name>SocketFailure</name>
    <message>
        <source>UDP 端口 %1 已被另一个程序占用（也许是另一个地面站）：请关闭它或换一个端口。</source>
        <translation>UDP port %1 is in use by another program (perhaps another ground station): close it or use another port.</translation>
    </message>
    <message>
        <source>本机没有地址 %1。</source>
        <translation>This computer has no address %1.</translation>
    </message>
    <message>
        <source>找不到主机 %1。</source>
        <translation>Host %1 not found.</translation>
    </message>
    <message>
        <source>TCP %1 拒绝连接：对方没有在该端口监听。</source>
        <translation>TCP %1 refused the connection: nothing listens on that port.</translation>
    </message>
    <message>
        <source>TCP %1 关闭了连接。</source>
        <translation>TCP %1 closed the connection.</translation>
    </message>
    <message>
        <source>无权使用 %1：%2</source>
        <translation>Not allowed to use %1: %2</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>ReplayLink</name>
    <message>
        <source>无法回放 %1：%2</source>
        <translation>Cannot replay %1: %2</translation>
    </message>
    <message>
        <source>开始回放：%1</source>
        <translation>Replaying %1</translation>
    </message>
    <message>
        <source>%1 在帧中途截断：回放到最后一个完整帧为止。</source>
        <translation>%1 ends in the middle of a frame: the replay ends with its last whole frame.</translation>
    </message>
    <message>
        <source>回放中断：%1</source>
        <translation>Replay stopped: %1</translation>
    </message>
    <message>
        <source>回放结束：%1（跳过了 %2 字节非帧数据）</source>
        <translation>Replay ended: %1 (%2 bytes that were no frame skipped)</translation>
    </message>
    <message>
        <source>回放结束：%1</source>
        <translation>Replay ended: %1</translation>
    </message>
</context>
<context>
    <name>ReplayView</name>
    <message>
        <source>回放：%1</source>
        <translation>Replay: %1</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>播放</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>最快</source>
        <translation>Fastest</translation>
    </message>
    <message>
        <source>文件在帧中途截断：回放到最后一个完整帧为止。</source>
        <translation>The file ends in the middle of a frame: the replay ends with its last whole frame.</translation>
    </message>
</context>
<context>
    <name>TlogReader</name>
    <message>
        <source>不是遥测日志：前 %1 KiB 中没有带时间的 MAVLink 帧</source>
        <translation>Not a telemetry log: no MAVLink frame with a time in its first %1 KiB</translation>
    </message>
</context>
<context>
    <name>ManagerControls</name>
    <message>
        <source>无人</source>
        <translation>nobody</translation>
    </message>
    <message>
        <source>本面板</source>
        <translation>this panel</translation>
    </message>
    <message>
        <source>另一个地面站（%1）</source>
        <translation>another ground station (%1)</translation>
    </message>
    <message>
        <source>自动驾驶仪（%1）</source>
        <translation>the autopilot (%1)</translation>
    </message>
    <message>
        <source>尚未收到云台管理器的状态</source>
        <translation>not known yet: no status from the gimbal manager</translation>
    </message>
    <message>
        <source>暂时拒绝</source>
        <translation>temporarily rejected</translation>
    </message>
    <message>
        <source>拒绝</source>
        <translation>denied</translation>
    </message>
    <message>
        <source>不支持</source>
        <translation>unsupported</translation>
    </message>
    <message>
        <source>执行失败</source>
        <translation>failed</translation>
    </message>
    <message>
        <source>云台管理器未接受：%1</source>
        <translation>The gimbal manager did not accept: %1</translation>
    </message>
    <message>
        <source>控制权：%1</source>
        <translation>Control: %1</translation>
    </message>
    <message>
        <source>本面板在飞行器链路上的 ID：%1</source>
        <translation>This panel's ids on the vehicle link: %1</translation>
    </message>
    <message>
        <source>取得控制权</source>
        <translation>Take control</translation>
    </message>
    <message>
        <source>交还控制权</source>
        <translation>Give control back</translation>
    </message>
    <message>
        <source>%1 正在控制此云台。仍要取得控制权吗？</source>
        <translation>%1 controls this gimbal. Take control anyway?</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>SteeringNote</name>
    <message>
        <source>摇杆无效：正在等待自动驾驶仪答复是否管理此云台</source>
        <translation>Sticks off: waiting for the autopilot to say whether it manages this gimbal</translation>
    </message>
    <message>
        <source>摇杆无效：本面板没有此云台的控制权，请在云台视图中取得</source>
        <translation>Sticks off: this panel does not control this gimbal; take control in the gimbal view</translation>
    </message>
    <message>
        <source>横滚摇杆无效：云台管理器只受俯仰和航向控制</source>
        <translation>Roll stick off: the gimbal manager takes pitch and yaw only</translation>
    </message>
</context>
<context>
    <name>V2Devices</name>
    <message>
        <source>直连</source>
        <translation>direct</translation>
    </message>
    <message>
        <source>等待自动驾驶仪答复</source>
        <translation>waiting for the autopilot's answer</translation>
    </message>
    <message>
        <source>经自动驾驶仪 %1</source>
        <translation>via autopilot %1</translation>
    </message>
    <message>
        <source>经自动驾驶仪 %1（%2）</source>
        <translation>via autopilot %1 (%2)</translation>
    </message>
    <message>
        <source>识别中</source>
        <translation>being identified</translation>
    </message>
</context>
</TS>
