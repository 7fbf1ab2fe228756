<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>ChartClicks</name>
    <message>
        <source>左上角的深肤色块</source>
        <translation>the dark skin patch at the top left</translation>
    </message>
    <message>
        <source>右上角的蓝绿色块</source>
        <translation>the bluish green patch at the top right</translation>
    </message>
    <message>
        <source>右下角的黑色块</source>
        <translation>the black patch at the bottom right</translation>
    </message>
    <message>
        <source>左下角的白色块</source>
        <translation>the white patch at the bottom left</translation>
    </message>
    <message>
        <source>色卡校正 %1/4：请点%2的中心（Esc 取消）</source>
        <translation>Chart calibration %1/4: click the centre of %2 (Esc cancels)</translation>
    </message>
</context>
<context>
    <name>MessageBoxNotifier</name>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>是(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>否(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
</context>
<context>
    <name>MixTexts</name>
    <message>
        <source>一点</source>
        <translation>a touch</translation>
    </message>
    <message>
        <source>整份 ΔE00 %1
差一份 ΔE00 %2</source>
        <translation>Whole parts ΔE00 %1
One part off ΔE00 %2</translation>
    </message>
    <message>
        <source>整份：按各颜料下方的整份数调配时，混色与原色的色差 ΔE00。
差一份：任一颜料多一份或少一份时，混色最多变化的 ΔE00；越小，配方越经得起调错。</source>
        <translation>Whole parts: the ΔE00 between the target and the mix made with the whole parts shown under each paint.
One part off: the most the mix changes (ΔE00) when any paint gets one part more or less; the smaller, the more forgiving the recipe.</translation>
    </message>
    <message>
        <source>无法改善 (ΔE00 %1)</source>
        <translation>Nothing helps (ΔE00 %1)</translation>
    </message>
    <message>
        <source>建议: 加 %1 (ΔE00 %2 → %3)</source>
        <translation>Suggestion: add %1 (ΔE00 %2 → %3)</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>着色力 1 (尚无记录的混色)</source>
        <translation>Tinting strength 1 (no recorded mixes yet)</translation>
    </message>
    <message>
        <source>着色力 %1 (%2 次混色)</source>
        <translation>Tinting strength %1 (%2 mixes)</translation>
    </message>
    <message numerus="yes">
        <source>%n 份</source>
        <translation>
            <numerusform>%n part</numerusform>
            <numerusform>%n parts</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 份 %1</source>
        <translation>
            <numerusform>%n part of %1</numerusform>
            <numerusform>%n parts of %1</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 份</source>
        <translation>%1 parts</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>ΔE00（CIEDE2000）：按人眼感知计算的色差。
小于 1 不可见，1 至 2 极接近，2 至 5 接近，5 以上可见差异。</source>
        <translation>ΔE00 (CIEDE2000): the colour difference as the eye perceives it.
Below 1 invisible, 1 to 2 very close, 2 to 5 close, above 5 a visible difference.</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>原图 X : %1  Y : %2</source>
        <translation>Picture X : %1  Y : %2</translation>
    </message>
    <message>
        <source>图像太大，不能按此比例显示!</source>
        <translation>The picture is too large to show at this zoom!</translation>
    </message>
    <message>
        <source>原色</source>
        <translation>Target</translation>
    </message>
    <message>
        <source>混合色差</source>
        <translation>Mix deviation</translation>
    </message>
    <message>
        <source>潘通号</source>
        <translation>Pantone</translation>
    </message>
    <message>
        <source>应有 4 项 (名称,r,g,b)，实有 %1 项</source>
        <translation>4 fields expected (name,r,g,b), %1 found</translation>
    </message>
    <message>
        <source>r、g、b 须为 0 到 255 的整数</source>
        <translation>r, g and b must be whole numbers from 0 to 255</translation>
    </message>
    <message>
        <source>颜色名称不能为空!</source>
        <translation>The colour name cannot be empty!</translation>
    </message>
    <message>
        <source>名称中含有控制字符 (U+%1)!</source>
        <translation>The name holds a control character (U+%1)!</translation>
    </message>
    <message>
        <source>色谱中同名颜色存在!</source>
        <translation>A colour of that name is already in the colour group!</translation>
    </message>
    <message>
        <source>名称超过 %1 个字节，将保存为 &quot;%2&quot;。是否继续?</source>
        <translation>The name is longer than %1 bytes and will be stored as &quot;%2&quot;. Continue?</translation>
    </message>
    <message>
        <source>是否删除%1 &quot;%2&quot; 吗?</source>
        <translation>Delete %1 &quot;%2&quot;?</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>core</name>
    <message>
        <source>数据文件%1不见了, 但它上一次修改前的备份还在。是否恢复这个备份?</source>
        <translation>The data file %1 is missing, but the backup made before its last change is still there. Restore this backup?</translation>
    </message>
    <message>
        <source>数据文件%1已损坏(%2)。是否恢复它上一次修改前的备份? 损坏的文件将被保留。</source>
        <translation>The data file %1 is damaged (%2). Restore the backup made before its last change? The damaged file will be kept.</translation>
    </message>
    <message>
        <source>恢复%1失败: %2</source>
        <translation>Restoring %1 failed: %2</translation>
    </message>
    <message>
        <source>数据文件夹不能写入，程序以只读方式运行: %1</source>
        <translation>The data folder cannot be written; the program runs read-only: %1</translation>
    </message>
    <message>
        <source>图像文件已损坏：%1</source>
        <translation>The picture file is damaged: %1</translation>
    </message>
    <message>
        <source>不支持的图像格式：%1</source>
        <translation>Unsupported picture format: %1</translation>
    </message>
    <message>
        <source>图像尺寸无效（%1）</source>
        <translation>Invalid picture size (%1)</translation>
    </message>
    <message>
        <source>图像尺寸过大：%1（最大 %2 x %3）</source>
        <translation>The picture is too large: %1 (at most %2 x %3)</translation>
    </message>
    <message>
        <source>内存不足，无法载入图像：%1</source>
        <translation>Not enough memory to load the picture: %1</translation>
    </message>
    <message>
        <source>无法读取图像文件：%1</source>
        <translation>Cannot read the picture file: %1</translation>
    </message>
    <message>
        <source>图像文件过大（最大 1 GB）：%1</source>
        <translation>The picture file is too large (at most 1 GB): %1</translation>
    </message>
    <message>
        <source>内存不足，无法读取图像文件：%1</source>
        <translation>Not enough memory to read the picture file: %1</translation>
    </message>
    <message>
        <source>图像文件不存在：%1</source>
        <translation>The picture file does not exist: %1</translation>
    </message>
    <message>
        <source>不支持的图像文件类型：%1</source>
        <translation>Unsupported picture file type: %1</translation>
    </message>
    <message>
        <source>压缩方式与%1不符</source>
        <translation>the compression does not match %1</translation>
    </message>
    <message>
        <source>每像素 %1 位</source>
        <translation>%1 bits per pixel</translation>
    </message>
    <message>
        <source>位图压缩方式 %1</source>
        <translation>bitmap compression %1</translation>
    </message>
    <message>
        <source>位图信息头长度 %1</source>
        <translation>bitmap info header length %1</translation>
    </message>
    <message>
        <source>JPEG 数据无法解码（%1）</source>
        <translation>the JPEG data cannot be decoded (%1)</translation>
    </message>
    <message>
        <source>JPEG 颜色空间（%1 个分量）</source>
        <translation>JPEG colour space (%1 components)</translation>
    </message>
    <message>
        <source>PNG 数据无法解码（%1）</source>
        <translation>the PNG data cannot be decoded (%1)</translation>
    </message>
    <message>
        <source>新建配置参数文件失败!</source>
        <translation>Creating the settings file failed!</translation>
    </message>
    <message>
        <source>打开色板文件失败!</source>
        <translation>Opening the palette file failed!</translation>
    </message>
    <message>
        <source>新建收藏夹文件失败!</source>
        <translation>Creating the palette file failed!</translation>
    </message>
    <message>
        <source>取色板失败!</source>
        <translation>Reading the palettes failed!</translation>
    </message>
    <message>
        <source>取色板夹失败!</source>
        <translation>Reading the palette failed!</translation>
    </message>
    <message>
        <source>相同名称的色板已经存在!</source>
        <translation>A palette of that name already exists!</translation>
    </message>
    <message>
        <source>删除色板成功!</source>
        <translation>The palette was deleted.</translation>
    </message>
    <message>
        <source>删除色板失败!</source>
        <translation>Deleting the palette failed!</translation>
    </message>
    <message>
        <source>色板名称不能为空!</source>
        <translation>The palette name cannot be empty!</translation>
    </message>
    <message>
        <source>打开颜色盒文件失败!</source>
        <translation>Opening the colour box file failed!</translation>
    </message>
    <message>
        <source>新建颜色盒文件失败!</source>
        <translation>Creating the colour box file failed!</translation>
    </message>
    <message>
        <source>取颜色盒表失败!</source>
        <translation>Reading the list of colour boxes failed!</translation>
    </message>
    <message>
        <source>打开颜色盒设置文件失败!</source>
        <translation>Opening the colour box file failed!</translation>
    </message>
    <message>
        <source>删除颜色盒成功!</source>
        <translation>The colour box was deleted.</translation>
    </message>
    <message>
        <source>删除颜色盒失败!</source>
        <translation>Deleting the colour box failed!</translation>
    </message>
    <message>
        <source>打开色谱文件失败!</source>
        <translation>Opening the colour group file failed!</translation>
    </message>
    <message>
        <source>新建色谱文件失败!</source>
        <translation>Creating the colour group file failed!</translation>
    </message>
    <message>
        <source>色谱中同名颜色存在!</source>
        <translation>A colour of that name is already in the colour group!</translation>
    </message>
    <message>
        <source>增加色谱颜色失败!</source>
        <translation>Adding the colour to the colour group failed!</translation>
    </message>
    <message>
        <source>系统颜色不能修改!</source>
        <translation>A built-in colour cannot be changed!</translation>
    </message>
    <message>
        <source>系统颜色不能删除!</source>
        <translation>A built-in colour cannot be deleted!</translation>
    </message>
    <message>
        <source>色谱颜色在颜色盒中存在，不能删除!</source>
        <translation>The colour is in a colour box and cannot be deleted!</translation>
    </message>
    <message>
        <source>颜色名称不能为空!</source>
        <translation>The colour name cannot be empty!</translation>
    </message>
    <message>
        <source>已取消</source>
        <translation>cancelled</translation>
    </message>
    <message>
        <source>像素数据不完整</source>
        <translation>the pixel data is incomplete</translation>
    </message>
    <message>
        <source>不支持的图像文件类型</source>
        <translation>Unsupported picture file type</translation>
    </message>
    <message>
        <source>图像解码结果无效!</source>
        <translation>The decoded picture is invalid!</translation>
    </message>
    <message>
        <source>文件头不完整</source>
        <translation>the file header is incomplete</translation>
    </message>
    <message>
        <source>颜色掩码无效</source>
        <translation>invalid colour masks</translation>
    </message>
    <message>
        <source>不是位图文件</source>
        <translation>not a bitmap file</translation>
    </message>
    <message>
        <source>像素数据位置无效</source>
        <translation>invalid pixel data offset</translation>
    </message>
    <message>
        <source>调色板索引超出调色板</source>
        <translation>a colour table index lies beyond the colour table</translation>
    </message>
    <message>
        <source>RLE 数据超出图像范围</source>
        <translation>the RLE data runs beyond the picture</translation>
    </message>
    <message>
        <source>内存不足，无法载入图像</source>
        <translation>Not enough memory to load the picture</translation>
    </message>
    <message>
        <source>JPEG 扫描段过多</source>
        <translation>too many JPEG scans</translation>
    </message>
    <message>
        <source>JPEG 颜色空间</source>
        <translation>JPEG colour space</translation>
    </message>
    <message>
        <source>PNG 像素格式</source>
        <translation>PNG pixel format</translation>
    </message>
    <message>
        <source>文件不存在!</source>
        <translation>The file does not exist!</translation>
    </message>
    <message>
        <source>不能读入指定的图像文件!</source>
        <translation>Cannot read the picture file!</translation>
    </message>
    <message>
        <source>色板已做了修改，是否保存?</source>
        <translation>The palette was changed. Save it?</translation>
    </message>
    <message>
        <source>要删除选中的色板色彩吗?</source>
        <translation>Remove the selected colour from the palette?</translation>
    </message>
    <message>
        <source>要清空当前色板中的所有色彩吗?</source>
        <translation>Remove all colours from this palette?</translation>
    </message>
    <message>
        <source>导出色板失败!</source>
        <translation>Exporting the palette failed!</translation>
    </message>
    <message>
        <source>保存色板失败!</source>
        <translation>Saving the palette failed!</translation>
    </message>
    <message>
        <source>名称中含有不能保存的字符!</source>
        <translation>The name holds characters that cannot be stored!</translation>
    </message>
    <message>
        <source>不可见</source>
        <translation>invisible</translation>
    </message>
    <message>
        <source>极接近</source>
        <translation>very close</translation>
    </message>
    <message>
        <source>接近</source>
        <translation>close</translation>
    </message>
    <message>
        <source>可见差异</source>
        <translation>visible difference</translation>
    </message>
    <message>
        <source>空间混色</source>
        <translation>Spatial</translation>
    </message>
    <message>
        <source>颜料混色</source>
        <translation>Pigment</translation>
    </message>
    <message>
        <source>减法混色</source>
        <translation>Subtract.</translation>
    </message>
    <message>
        <source>一点</source>
        <translation>a touch</translation>
    </message>
    <message>
        <source>%1；未做任何改动</source>
        <translation>%1; nothing was changed</translation>
    </message>
    <message>
        <source>%1；文件未改动</source>
        <translation>%1; the file is unchanged</translation>
    </message>
    <message>
        <source>%1；没有导入任何内容</source>
        <translation>%1; nothing was imported</translation>
    </message>
    <message>
        <source>%1；请先把它移走</source>
        <translation>%1; move it away first</translation>
    </message>
    <message>
        <source>磁盘已满</source>
        <translation>the disk is full</translation>
    </message>
    <message>
        <source>文件不存在</source>
        <translation>no such file</translation>
    </message>
    <message>
        <source>数据文件夹不能写入</source>
        <translation>the data folder is not writable</translation>
    </message>
    <message>
        <source>%1 是一个链接，它指向的文件不存在</source>
        <translation>%1 is a link to a file, which does not exist</translation>
    </message>
    <message>
        <source>%1 是指向 %2 的链接，而 %2 不存在</source>
        <translation>%1 is a link to %2, which does not exist</translation>
    </message>
    <message>
        <source>%1 是文件夹，不是数据文件</source>
        <translation>%1 is a folder, not a data file</translation>
    </message>
    <message>
        <source>%1 是文件夹，不是 CSV 文件</source>
        <translation>%1 is a folder, not a CSV file</translation>
    </message>
    <message>
        <source>%1 是文件夹</source>
        <translation>%1 is a folder</translation>
    </message>
    <message>
        <source>%1 不是普通文件（是管道、套接字或设备）</source>
        <translation>%1 is not a regular file (a FIFO, socket or device)</translation>
    </message>
    <message>
        <source>%1 太大</source>
        <translation>%1 is too large</translation>
    </message>
    <message>
        <source>是文件夹，不是图像文件</source>
        <translation>a folder, not a picture file</translation>
    </message>
    <message>
        <source>不是普通文件（是管道、套接字或设备）</source>
        <translation>not a regular file (a FIFO, socket or device)</translation>
    </message>
    <message>
        <source>不能打开 %1 来读取</source>
        <translation>cannot open %1 for reading</translation>
    </message>
    <message>
        <source>不能打开 %1：它不断被替换</source>
        <translation>cannot open %1: it keeps being replaced</translation>
    </message>
    <message>
        <source>不能打开 %1：%2</source>
        <translation>cannot open %1: %2</translation>
    </message>
    <message>
        <source>不能读取 %1：%2</source>
        <translation>cannot read %1: %2</translation>
    </message>
    <message>
        <source>不能读取 %1</source>
        <translation>cannot read %1</translation>
    </message>
    <message>
        <source>不能创建 %1：%2</source>
        <translation>cannot create %1: %2</translation>
    </message>
    <message>
        <source>不能写入 %1 的文件头</source>
        <translation>cannot write the header of %1</translation>
    </message>
    <message>
        <source>不能写入 %1：%2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <source>不能写入 %1</source>
        <translation>cannot write %1</translation>
    </message>
    <message>
        <source>不能保留备份 %1：%2</source>
        <translation>cannot keep the backup %1: %2</translation>
    </message>
    <message>
        <source>不能保留损坏的 %1：损坏的副本太多</source>
        <translation>cannot keep the damaged %1: too many damaged copies</translation>
    </message>
    <message>
        <source>不能保留损坏的 %1：%2</source>
        <translation>cannot keep the damaged %1: %2</translation>
    </message>
    <message>
        <source>不能替换 %1：%2</source>
        <translation>cannot replace %1: %2</translation>
    </message>
    <message>
        <source>%2 中的锁文件 %1 是符号链接；请删除它（程序会重新建立）</source>
        <translation>the lock file %1 in %2 is a symbolic link; remove it (the programs make a new one)</translation>
    </message>
    <message>
        <source>%2 中的锁文件 %1 是文件夹；请删除它（程序会重新建立）</source>
        <translation>the lock file %1 in %2 is a folder; remove it (the programs make a new one)</translation>
    </message>
    <message>
        <source>%2 中的锁文件 %1 不是普通文件（是套接字、管道或设备）；请删除它（程序会重新建立）</source>
        <translation>the lock file %1 in %2 is not a regular file (a socket, FIFO or device); remove it (the programs make a new one)</translation>
    </message>
    <message>
        <source>数据文件夹 %1 不存在或不是文件夹</source>
        <translation>the data folder %1 does not exist or is not a folder</translation>
    </message>
    <message>
        <source>数据文件夹 %1 不存在</source>
        <translation>the data folder %1 does not exist</translation>
    </message>
    <message>
        <source>数据文件夹 %1 是只读的</source>
        <translation>the data folder %1 is read-only</translation>
    </message>
    <message>
        <source>数据文件夹 %1 正被另一个程序使用（已等待 %2 秒）</source>
        <translation>the data folder %1 is in use by another program (waited %2 s)</translation>
    </message>
    <message>
        <source>%1 不见了；它的备份 %2.bak 保存着它的上一个版本</source>
        <translation>%1 is missing; its backup %2.bak holds its last version</translation>
    </message>
    <message>
        <source>%1 不能读取（%2）</source>
        <translation>%1 cannot be read (%2)</translation>
    </message>
    <message>
        <source>%1 不是数据文件（QorConfig.bin、QorColorGroup.bin、QorColorbox.bin、QorPalette.bin 或 QorObservation.bin）</source>
        <translation>%1 is not a data file (QorConfig.bin, QorColorGroup.bin, QorColorbox.bin, QorPalette.bin or QorObservation.bin)</translation>
    </message>
    <message>
        <source>%1 没有损坏</source>
        <translation>%1 is not damaged</translation>
    </message>
    <message>
        <source>没有备份 %1</source>
        <translation>there is no backup %1</translation>
    </message>
    <message>
        <source>备份也不能使用（%1）</source>
        <translation>the backup cannot be used either (%1)</translation>
    </message>
    <message>
        <source>不是颜色盒文件</source>
        <translation>not a colour box file</translation>
    </message>
    <message>
        <source>不是色谱文件</source>
        <translation>not a colour group file</translation>
    </message>
    <message>
        <source>不是色板文件</source>
        <translation>not a palette file</translation>
    </message>
    <message>
        <source>不是配置参数文件</source>
        <translation>not a configuration file</translation>
    </message>
    <message>
        <source>不是混色记录文件</source>
        <translation>not an observation file</translation>
    </message>
    <message>
        <source>文件太大（超过 2 GiB）</source>
        <translation>the file is too large (more than 2 GiB)</translation>
    </message>
    <message>
        <source>文件比它的文件头还短</source>
        <translation>the file is shorter than its header</translation>
    </message>
    <message>
        <source>文件头中的条目数或容量不可能成立</source>
        <translation>the header&apos;s entry count or capacity is impossible</translation>
    </message>
    <message>
        <source>文件头中的数据位置与目录不符</source>
        <translation>the header&apos;s data offset does not match its directory</translation>
    </message>
    <message>
        <source>目录比它的条目数短</source>
        <translation>the directory is shorter than its entry count</translation>
    </message>
    <message>
        <source>内存不足，无法读入目录</source>
        <translation>not enough memory for the directory</translation>
    </message>
    <message>
        <source>目录没有按名称排序，或有重复的名称</source>
        <translation>the directory is not sorted by name or holds a name twice</translation>
    </message>
    <message>
        <source>某个条目的数据超出了文件</source>
        <translation>an entry&apos;s data lies outside the file</translation>
    </message>
    <message>
        <source>某个条目的记录数与它的数据不符</source>
        <translation>an entry&apos;s record count does not fit its data</translation>
    </message>
    <message>
        <source>条目的数据互相重叠或留有空隙</source>
        <translation>the entries&apos; data overlap or leave gaps</translation>
    </message>
    <message>
        <source>数据区含有不属于任何条目的字节</source>
        <translation>the data area holds bytes no entry owns</translation>
    </message>
    <message>
        <source>一个空条目指向另一个条目的数据内部</source>
        <translation>an empty entry points inside another entry&apos;s data</translation>
    </message>
    <message>
        <source>某个条目的数据没能完整读出</source>
        <translation>an entry&apos;s data could not be read in full</translation>
    </message>
    <message>
        <source>修改没能写入磁盘（%1）</source>
        <translation>the change could not be flushed to the disk (%1)</translation>
    </message>
    <message>
        <source>不能打开工作副本</source>
        <translation>the working copy cannot be opened</translation>
    </message>
    <message>
        <source>目录不能扩大</source>
        <translation>the directory could not be grown</translation>
    </message>
    <message>
        <source>目录不能缩小</source>
        <translation>the directory could not be shrunk</translation>
    </message>
    <message>
        <source>不能改变目录的大小</source>
        <translation>the directory could not be resized</translation>
    </message>
    <message>
        <source>不能写入目录</source>
        <translation>the directory could not be written</translation>
    </message>
    <message>
        <source>不能写入条目的数据</source>
        <translation>an entry&apos;s data could not be written</translation>
    </message>
    <message>
        <source>不能删去条目的数据</source>
        <translation>an entry&apos;s data could not be cut out</translation>
    </message>
    <message>
        <source>它没有打开</source>
        <translation>it is not open</translation>
    </message>
    <message>
        <source>设置没有从 %1 读入（%2），所以不能保存</source>
        <translation>the settings were not read from %1 (%2), so they are not stored</translation>
    </message>
    <message>
        <source>不能写入设置</source>
        <translation>the settings could not be written</translation>
    </message>
    <message>
        <source>不能保存设置</source>
        <translation>the settings could not be stored</translation>
    </message>
    <message>
        <source>%1 中没有这项设置的键，所以不能保存这项设置</source>
        <translation>%1 lacks the setting&apos;s key, so the setting is not stored</translation>
    </message>
    <message>
        <source>色板中的颜色太多</source>
        <translation>the palette holds too many colours</translation>
    </message>
    <message>
        <source>色板名称不能保存</source>
        <translation>the palette name cannot be stored</translation>
    </message>
    <message>
        <source>颜色太多</source>
        <translation>too many colours</translation>
    </message>
    <message>
        <source>没有色板文件</source>
        <translation>no palette file</translation>
    </message>
    <message>
        <source>色板文件不能修改</source>
        <translation>the palette file cannot be changed</translation>
    </message>
    <message>
        <source>颜色名称中含有控制字符（%1）</source>
        <translation>the colour name holds a control character (%1)</translation>
    </message>
    <message>
        <source>颜色名称中含有色板记录不能保存的字符</source>
        <translation>the colour name holds characters the palette records cannot store</translation>
    </message>
    <message>
        <source>色板名称中含有控制字符（%1）</source>
        <translation>the palette name holds a control character (%1)</translation>
    </message>
    <message>
        <source>色板名称中含有色板文件不能保存的字符</source>
        <translation>the palette name holds characters the palette file cannot store</translation>
    </message>
    <message>
        <source>文件中没有颜色</source>
        <translation>the file holds no colours</translation>
    </message>
    <message>
        <source>文件中有 %1 种颜色；一个色板最多容纳 %2 种</source>
        <translation>the file holds %1 colours; a palette holds at most %2</translation>
    </message>
    <message>
        <source>不是有效的 UTF-8 文本</source>
        <translation>not valid UTF-8 text</translation>
    </message>
    <message>
        <source>不是 GIMP 调色板（第一行必须是 &quot;GIMP Palette&quot;）</source>
        <translation>not a GIMP palette (the first line must be &quot;GIMP Palette&quot;)</translation>
    </message>
    <message>
        <source>不是 GIMP 调色板（文件是空的）</source>
        <translation>not a GIMP palette (the file is empty)</translation>
    </message>
    <message>
        <source>这里应是一个颜色：三个 0..255 的整数和一个名称</source>
        <translation>expected a colour: three whole numbers 0..255 and a name</translation>
    </message>
    <message>
        <source>第 %1 行：%2</source>
        <translation>line %1: %2</translation>
    </message>
    <message>
        <source>不能生成色板的 zip 容器：%1</source>
        <translation>cannot make the palette&apos;s zip container: %1</translation>
    </message>
    <message>
        <source>不能读回色板的 zip 容器</source>
        <translation>cannot read the palette&apos;s zip container back</translation>
    </message>
    <message>
        <source>引号中的字段没有结束</source>
        <translation>a quoted field is not closed</translation>
    </message>
    <message>
        <source>没有标题行</source>
        <translation>no header row</translation>
    </message>
    <message>
        <source>标题行必须是 %1</source>
        <translation>the header row must be %1</translation>
    </message>
    <message>
        <source>r、g、b 必须是 0..255 的整数</source>
        <translation>r, g and b must be whole numbers 0..255</translation>
    </message>
    <message>
        <source>名称中含有控制字符（%1）</source>
        <translation>the name holds a control character (%1)</translation>
    </message>
    <message>
        <source>名称中含有颜料记录不能保存的字符</source>
        <translation>the name holds characters the paint records cannot store</translation>
    </message>
    <message>
        <source>没有色谱组“%1”</source>
        <translation>no colour group &apos;%1&apos;</translation>
    </message>
    <message>
        <source>某个用户颜料的编号不是数字</source>
        <translation>a user paint&apos;s code is not a number</translation>
    </message>
    <message>
        <source>不能写入色谱文件</source>
        <translation>the colour group file could not be written</translation>
    </message>
    <message>
        <source>没有载入颜色盒</source>
        <translation>no colour box is loaded</translation>
    </message>
    <message>
        <source>它测得的颜色超出 0..255</source>
        <translation>its measured colour is outside 0..255</translation>
    </message>
    <message>
        <source>某种颜料的编号或份数缺失，或不是正数</source>
        <translation>a paint&apos;s code or parts are missing or not a positive number</translation>
    </message>
    <message>
        <source>某种颜料的颜色超出 0..255</source>
        <translation>a paint&apos;s colour is outside 0..255</translation>
    </message>
    <message>
        <source>它列出的颜料少于两种</source>
        <translation>it names fewer than two paints</translation>
    </message>
    <message>
        <source>一次混色记录只能是两种或三种颜料</source>
        <translation>an observation is a mix of two or three paints</translation>
    </message>
    <message>
        <source>测得的颜色必须在 0..255 之间</source>
        <translation>the measured colour must be 0..255</translation>
    </message>
    <message>
        <source>颜料“%1”的编号或名称不能存入文件</source>
        <translation>paint &apos;%1&apos; has a code or name the file cannot keep</translation>
    </message>
    <message>
        <source>颜料“%1”的份数必须是正数</source>
        <translation>the parts of paint &apos;%1&apos; must be a positive number</translation>
    </message>
    <message>
        <source>颜料“%1”的颜色超出 0..255，或没有色谱组</source>
        <translation>paint &apos;%1&apos; has a colour outside 0..255 or no colour group</translation>
    </message>
    <message>
        <source>记录的混色数据与记录数不符</source>
        <translation>the observations&apos; data does not match their number</translation>
    </message>
    <message>
        <source>第 %1 条混色记录已损坏（%2）</source>
        <translation>observation %1 is damaged (%2)</translation>
    </message>
    <message>
        <source>还没有记录的混色</source>
        <translation>there are no observations yet</translation>
    </message>
    <message>
        <source>记录的混色已被另一个程序修改；请重新查看</source>
        <translation>the recorded mixes were changed by another program; look again</translation>
    </message>
    <message>
        <source>没有第 %1 条混色记录（文件中有 %2 条）</source>
        <translation>there is no observation %1 (the file holds %2)</translation>
    </message>
    <message>
        <source>白色参考点在图像之外</source>
        <translation>the white reference is outside the picture</translation>
    </message>
    <message>
        <source>内存不足，无法取白色参考</source>
        <translation>not enough memory for the white reference</translation>
    </message>
    <message>
        <source>白色参考太暗（亮度 %1，至少需要 2 %）</source>
        <translation>the white reference is too dark (luminance %1, at least 2 % is needed)</translation>
    </message>
    <message>
        <source>白色参考已过曝（有通道为 255）：请点它没有过曝的部分</source>
        <translation>the white reference is clipped (a channel at 255): pick a part of it that is not burnt out</translation>
    </message>
    <message>
        <source>白色参考的颜色太重，不能当作中性色</source>
        <translation>the white reference is too strongly coloured to be taken for a neutral</translation>
    </message>
    <message>
        <source>内存不足，无法校正</source>
        <translation>not enough memory for the correction</translation>
    </message>
    <message>
        <source>色卡的一个角在图像之外</source>
        <translation>a chart corner lies outside the picture</translation>
    </message>
    <message>
        <source>色卡的一个色块在图像之外</source>
        <translation>a chart patch lies outside the picture</translation>
    </message>
    <message>
        <source>过曝的色块太多（24 块中有 %1 块）：请减少曝光重拍色卡</source>
        <translation>too many chart patches are clipped (%1 of 24): photograph the chart with less exposure</translation>
    </message>
    <message>
        <source>色卡的色块分不出颜色：四个角可能点错了</source>
        <translation>the chart&apos;s patches do not tell the colours apart: the corners are probably wrong</translation>
    </message>
    <message>
        <source>内存不足，无法做色卡校正</source>
        <translation>not enough memory for the chart correction</translation>
    </message>
    <message>
        <source>色卡拟合太差（色块的平均 ΔE00 为 %1，最多允许 10）：四个角可能点错了</source>
        <translation>the chart fit is poor (mean ΔE00 %1 over the patches, at most 10 is accepted): the corners are probably wrong</translation>
    </message>
    <message>
        <source>色卡的角不是图像上的点</source>
        <translation>the chart corners are not points of a picture</translation>
    </message>
    <message>
        <source>四个角按色块 1、6、24、19（左上、右上、右下、左下）的顺序围不成四边形</source>
        <translation>the four chart corners do not make a quadrilateral in the order patch 1, 6, 24, 19 (top left, top right, bottom right, bottom left)</translation>
    </message>
    <message>
        <source>色卡太小：色块相距只有 %1 像素，至少要 4 像素才不会重叠</source>
        <translation>the chart is too small: its patches are %1 pixels apart, at least 4 are needed so that they do not overlap</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>名称中有一个字符不能存入颜料记录</source>
        <translation>the name holds a character the paint records cannot store</translation>
    </message>
</context>
<context>
    <name>language</name>
    <message>
        <source>中文</source>
        <translation>English</translation>
    </message>
</context>
<context>
    <name>pigmora::ui</name>
    <message>
        <source>文件不存在, 也无法创建</source>
        <translation>the file does not exist and cannot be created</translation>
    </message>
    <message>
        <source>文件不存在, 它的备份保存着最后的版本</source>
        <translation>the file is missing; its backup holds its last version</translation>
    </message>
    <message>
        <source>在它的位置上是一个文件夹</source>
        <translation>a folder stands in its place</translation>
    </message>
    <message>
        <source>它是指向不存在的文件的符号链接</source>
        <translation>it is a symbolic link to a file that does not exist</translation>
    </message>
    <message>
        <source>在它的位置上是一个特殊文件 (管道、套接字或设备)</source>
        <translation>a special file (a pipe, socket or device) stands in its place</translation>
    </message>
    <message>
        <source>程序没有读取它的权限</source>
        <translation>the program may not read it</translation>
    </message>
    <message>
        <source>另一个程序占用数据文件夹太久</source>
        <translation>another program has held the data folder too long</translation>
    </message>
    <message>
        <source>文件已损坏</source>
        <translation>the file is damaged</translation>
    </message>
    <message>
        <source>用备份恢复它: pigmora-cli restore %1 (损坏的文件会被保留)</source>
        <translation>restore it from its backup: pigmora-cli restore %1 (the damaged file is kept)</translation>
    </message>
    <message>
        <source>; 或者</source>
        <translation>; or</translation>
    </message>
    <message>
        <source>把它移到别处 (保留它), 下次启动时以默认内容重新创建</source>
        <translation>move it elsewhere (keep it); it is made anew with its defaults at the next start</translation>
    </message>
    <message>
        <source>让链接指向数据文件或删除链接, 然后重新启动</source>
        <translation>point the link at the data file or remove the link, then start again</translation>
    </message>
    <message>
        <source>给本程序读写它的权限, 然后重新启动</source>
        <translation>give this program permission to read and write it, then start again</translation>
    </message>
    <message>
        <source>数据文件夹必须允许创建文件 (或用 --data-dir 指定另一个文件夹)</source>
        <translation>the data folder must allow files to be created (or name another folder with --data-dir)</translation>
    </message>
    <message>
        <source>关闭另一个程序或稍等, 然后重新启动</source>
        <translation>close the other program or wait a moment, then start again</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>可以这样做: %1</source>
        <translation>What you can do: %1</translation>
    </message>
    <message>
        <source>保留我的</source>
        <translation>Keep mine</translation>
    </message>
    <message>
        <source>采用对方的</source>
        <translation>Take theirs</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>%1已被另一个程序修改并保存。
保留我的: 用本窗口的内容覆盖它;
采用对方的: 显示对方保存的内容, 本窗口的修改不保存;
取消: 本窗口的修改暂不保存。</source>
        <translation>%1 was changed and saved by another program.
Keep mine: overwrite it with this window&apos;s contents;
Take theirs: show what the other program saved; this window&apos;s changes are not saved;
Cancel: this window&apos;s changes stay unsaved for now.</translation>
    </message>
</context>
<context>
    <name>pigmora::ui::ChartFitDialog</name>
    <message>
        <source>色卡校正结果</source>
        <translation>Colour chart fit</translation>
    </message>
    <message>
        <source>色块</source>
        <translation>Patch</translation>
    </message>
    <message>
        <source>照片</source>
        <translation>Photo</translation>
    </message>
    <message>
        <source>校正后</source>
        <translation>Corrected</translation>
    </message>
    <message>
        <source>参照</source>
        <translation>Reference</translation>
    </message>
    <message>
        <source>ΔE00</source>
        <translation>ΔE00</translation>
    </message>
    <message>
        <source>过曝，未用</source>
        <translation>clipped, not used</translation>
    </message>
    <message>
        <source>%1 个色块参与拟合，ΔE00 平均 %2，最大 %3</source>
        <translation>%1 patches fitted, ΔE00 mean %2, max %3</translation>
    </message>
</context>
<context>
    <name>pigmora::ui::ColorSwatch</name>
    <message>
        <source>复制 RGB</source>
        <translation>Copy RGB</translation>
    </message>
    <message>
        <source>复制十六进制</source>
        <translation>Copy hex</translation>
    </message>
    <message>
        <source>复制 CMYK</source>
        <translation>Copy CMYK</translation>
    </message>
</context>
<context>
    <name>pigmora::ui::PickController</name>
    <message>
        <source>搜索配色 %p%</source>
        <translation>Searching for a mix %p%</translation>
    </message>
</context>
<context>
    <name>pigmora::ui::PictureController</name>
    <message>
        <source>黑白图</source>
        <translation>Gray</translation>
    </message>
    <message>
        <source>彩色图</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>不能按这一点做白平衡：%1</source>
        <translation>Cannot white-balance on this point: %1</translation>
    </message>
    <message>
        <source>色卡校正失败：%1</source>
        <translation>Chart calibration failed: %1</translation>
    </message>
    <message>
        <source>白平衡：请点照片中本应是白色或灰色的地方（Esc 取消）</source>
        <translation>White balance: click a spot in the photo that should be white or grey (Esc cancels)</translation>
    </message>
    <message>
        <source>校正未显示：照片原样</source>
        <translation>Correction hidden: photo as taken</translation>
    </message>
    <message>
        <source>已校正：白平衡</source>
        <translation>Corrected: white balance</translation>
    </message>
    <message>
        <source>已校正：色卡（ΔE00 平均 %1，最大 %2）</source>
        <translation>Corrected: colour chart (ΔE00 mean %1, max %2)</translation>
    </message>
</context>
<context>
    <name>pigmora::ui::RecordMixDialog</name>
    <message>
        <source>记录实际混色</source>
        <translation>Record the actual mix</translation>
    </message>
    <message>
        <source>原色：</source>
        <translation>Target:</translation>
    </message>
    <message>
        <source>配方 (份)</source>
        <translation>Recipe (parts)</translation>
    </message>
    <message>
        <source> 份</source>
        <translation> parts</translation>
    </message>
    <message>
        <source>实际混出的颜色</source>
        <translation>Colour actually mixed</translation>
    </message>
    <message>
        <source>从图片取色</source>
        <translation>Pick from the picture</translation>
    </message>
    <message>
        <source>按下后在照片上点击混出的颜色 (例如混色的照片)。</source>
        <translation>Press, then click the mixed colour in the picture (a photo of the mix, for example).</translation>
    </message>
    <message>
        <source>颜料混色模式按这些着色力计算；未学到的颜料按 1。</source>
        <translation>Pigment mixing uses these tinting strengths; paints not yet learnt count as 1.</translation>
    </message>
    <message>
        <source>纠正建议</source>
        <translation>Suggest a correction</translation>
    </message>
    <message>
        <source>要加哪种颜料、加几份，才能更接近原色 (颜料加进去就取不出来)。</source>
        <translation>Which paint to add, and how many parts, to come closer to the target (paint added cannot be taken out).</translation>
    </message>
    <message>
        <source>记录</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>把这次混色记入数据文件夹，据此学习颜料的着色力。</source>
        <translation>Record this mix in the data folder, to learn the tinting strengths of the paints from it.</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>不能记录这次混色：%1</source>
        <translation>Cannot record this mix: %1</translation>
    </message>
    <message>
        <source>已记录。</source>
        <translation>Recorded.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>读不出记录的混色：%1</source>
        <translation>Cannot read the recorded mixes: %1</translation>
    </message>
</context>
<context>
    <name>pigmora::ui::RecordedMixesDialog</name>
    <message>
        <source>还没有记录的混色</source>
        <translation>No mixes recorded yet</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>记录的混色</source>
        <translation>Recorded mixes</translation>
    </message>
    <message>
        <source>混出的颜色</source>
        <translation>Colour got</translation>
    </message>
    <message>
        <source>配方</source>
        <translation>Recipe</translation>
    </message>
    <message>
        <source>ΔE00</source>
        <translation>ΔE00</translation>
    </message>
    <message>
        <source>记录时间</source>
        <translation>Recorded</translation>
    </message>
    <message>
        <source>混出的颜色与按学到的着色力算出的这个配方之差：模型离这次混色还有多远。</source>
        <translation>The difference between the colour got and this recipe as computed with the learnt strengths: how far the model still is from this mix.</translation>
    </message>
    <message>
        <source>忘掉选中的混色 (例如记错的)；着色力据其余的记录重新学习。</source>
        <translation>Forget the selected mixes (those recorded by mistake, for example); the strengths are learnt again from the rest.</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>只显示含%1的混色</source>
        <translation>Only mixes with %1</translation>
    </message>
    <message>
        <source>读不出记录的混色：%1</source>
        <translation>Cannot read the recorded mixes: %1</translation>
    </message>
    <message>
        <source>还没有含%1的记录的混色</source>
        <translation>No recorded mixes with %1 yet</translation>
    </message>
    <message numerus="yes">
        <source>删除选中的 %n 条混色记录？着色力将据其余的记录重新学习。</source>
        <translation>
            <numerusform>Delete the selected recorded mix? The strengths will be learnt again from the remaining records.</numerusform>
            <numerusform>Delete the %n selected recorded mixes? The strengths will be learnt again from the remaining records.</numerusform>
        </translation>
    </message>
    <message>
        <source>不能删除记录的混色：%1</source>
        <translation>Cannot delete the recorded mixes: %1</translation>
    </message>
</context>
<context>
    <name>pigmora::ui::ResultPanel</name>
    <message>
        <source>原色</source>
        <translation>Target</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>颜色</source>
        <translation>Paint </translation>
    </message>
    <message>
        <source>混合色</source>
        <translation>Mix</translation>
    </message>
    <message>
        <source>颜色偏差：</source>
        <translation>Deviation:</translation>
    </message>
    <message>
        <source>原色 / 混合色</source>
        <translation>Target / mix</translation>
    </message>
    <message>
        <source>原图颜色</source>
        <translation>Picture colour</translation>
    </message>
    <message>
        <source>明度视图中取色：配方按照片原来的颜色计算。</source>
        <translation>Picked in a value view: the recipe matches the photograph&apos;s own colour.</translation>
    </message>
    <message>
        <source>只需一点：比最多份数的半份还少；整份配方至少给它一份。</source>
        <translation>Just a touch: less than half a part of the largest total; the whole-part recipe still gives it one part.</translation>
    </message>
    <message>
        <source>记录实际混色</source>
        <translation>Record the actual mix</translation>
    </message>
    <message>
        <source>记下照这个配方实际混出的颜色：学习颜料的着色力，并给出纠正建议。</source>
        <translation>Record the colour this recipe actually gave: learns the tinting strengths of your paints and suggests a correction.</translation>
    </message>
    <message>
        <source>校正前照片里的颜色</source>
        <translation>The colour in the photo before correction</translation>
    </message>
    <message>
        <source>照片 %1</source>
        <translation>Photo %1</translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_About</name>
    <message>
        <source>关于 Pigmora</source>
        <translation>About Pigmora</translation>
    </message>
    <message>
        <source>&lt;h2&gt;Pigmora&lt;/h2&gt;&lt;p&gt;版本 %1&lt;/p&gt;&lt;p&gt;照片取色与颜料调色&lt;/p&gt;</source>
        <translation>&lt;h2&gt;Pigmora&lt;/h2&gt;&lt;p&gt;Version %1&lt;/p&gt;&lt;p&gt;Colours of a photograph as mixes of your paints&lt;/p&gt;</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Qt %1&lt;/b&gt; — GNU LGPL 3.0 (The Qt Company Ltd. and other contributors). Pigmora links Qt dynamically; Qt&apos;s source is available from qt.io.&lt;/p&gt;&lt;p&gt;&lt;b&gt;libjpeg-turbo&lt;/b&gt; — IJG licence and modified (3-clause) BSD licence. This software is based in part on the work of the Independent JPEG Group.&lt;/p&gt;&lt;p&gt;&lt;b&gt;libpng&lt;/b&gt; — PNG Reference Library License version 2 (Copyright © 1995-2024 The PNG Reference Library Authors).&lt;/p&gt;&lt;p&gt;&lt;b&gt;zlib&lt;/b&gt; (through libpng and libzip) — zlib licence (© Jean-loup Gailly and Mark Adler).&lt;/p&gt;&lt;p&gt;&lt;b&gt;libzip&lt;/b&gt; — 3-clause BSD licence (© Dieter Baron and Thomas Klausner).&lt;/p&gt;&lt;p&gt;&lt;b&gt;色卡数据&lt;/b&gt; — the colour card values are facts gathered from published lists; each value&apos;s origin and licence is named in data/cards/SOURCES.md.&lt;/p&gt;&lt;p&gt;&lt;b&gt;示例照片&lt;/b&gt; — portrait photograph by NASA, public domain (no known copyright restrictions). Photo: NASA.&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Qt %1&lt;/b&gt; — GNU LGPL 3.0 (The Qt Company Ltd. and other contributors). Pigmora links Qt dynamically; Qt&apos;s source is available from qt.io.&lt;/p&gt;&lt;p&gt;&lt;b&gt;libjpeg-turbo&lt;/b&gt; — IJG licence and modified (3-clause) BSD licence. This software is based in part on the work of the Independent JPEG Group.&lt;/p&gt;&lt;p&gt;&lt;b&gt;libpng&lt;/b&gt; — PNG Reference Library License version 2 (Copyright © 1995-2024 The PNG Reference Library Authors).&lt;/p&gt;&lt;p&gt;&lt;b&gt;zlib&lt;/b&gt; (through libpng and libzip) — zlib licence (© Jean-loup Gailly and Mark Adler).&lt;/p&gt;&lt;p&gt;&lt;b&gt;libzip&lt;/b&gt; — 3-clause BSD licence (© Dieter Baron and Thomas Klausner).&lt;/p&gt;&lt;p&gt;&lt;b&gt;Colour card data&lt;/b&gt; — the colour card values are facts gathered from published lists; each value&apos;s origin and licence is named in data/cards/SOURCES.md.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Sample photograph&lt;/b&gt; — portrait photograph by NASA, public domain (no known copyright restrictions). Photo: NASA.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_TintoraMain</name>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>打开照片(&amp;O)</source>
        <translation>&amp;Open photograph...</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>设置(&amp;O)</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>设置网格格数(&amp;G)</source>
        <translation>&amp;Grid...</translation>
    </message>
    <message>
        <source>设置混色模式(&amp;M)</source>
        <translation>&amp;Mixing mode...</translation>
    </message>
    <message>
        <source>工具(&amp;T)</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>颜料盒管理(&amp;C)</source>
        <translation>&amp;Colour boxes...</translation>
    </message>
    <message>
        <source>色板管理(&amp;R)</source>
        <translation>Pale&amp;ttes...</translation>
    </message>
    <message>
        <source>色谱管理(&amp;O)</source>
        <translation>Colour &amp;groups...</translation>
    </message>
    <message>
        <source>关于(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>打开照片</source>
        <translation>Open a photograph</translation>
    </message>
    <message>
        <source>黑白</source>
        <translation>Gray</translation>
    </message>
    <message>
        <source>黑白显示</source>
        <translation>Show in black and white</translation>
    </message>
    <message>
        <source>缩小</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>放大</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>实际大小</source>
        <translation>Actual size</translation>
    </message>
    <message>
        <source>显示网格</source>
        <translation>Show the grid</translation>
    </message>
    <message>
        <source>放大镜</source>
        <translation>Magnifier</translation>
    </message>
    <message>
        <source>显示色板</source>
        <translation>Show the palette</translation>
    </message>
    <message>
        <source>颜料盒</source>
        <translation>Colour box</translation>
    </message>
    <message>
        <source>当前调色颜色盒</source>
        <translation>The colour box to mix from</translation>
    </message>
    <message>
        <source>载入照片 %p%</source>
        <translation>Loading photograph %p%</translation>
    </message>
    <message>
        <source>近似潘通色</source>
        <translation>Nearest Pantone</translation>
    </message>
    <message>
        <source>近似劳尔色</source>
        <translation>Nearest RAL</translation>
    </message>
    <message>
        <source>近似中建色</source>
        <translation>Nearest building colour</translation>
    </message>
    <message>
        <source>图像文件 (*.jpg *.jpeg *.bmp *.dib *.png *.JPG *.JPEG *.BMP *.DIB *.PNG);;JPEG (*.jpg *.jpeg *.JPG *.JPEG);;位图 (*.bmp *.dib *.BMP *.DIB);;PNG (*.png *.PNG)</source>
        <translation>Pictures (*.jpg *.jpeg *.bmp *.dib *.png *.JPG *.JPEG *.BMP *.DIB *.PNG);;JPEG (*.jpg *.jpeg *.JPG *.JPEG);;Bitmap (*.bmp *.dib *.BMP *.DIB);;PNG (*.png *.PNG)</translation>
    </message>
    <message>
        <source>视图(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>适合窗口(&amp;W)</source>
        <translation>Fit to &amp;window</translation>
    </message>
    <message>
        <source>彩色(&amp;C)</source>
        <translation>&amp;Colour</translation>
    </message>
    <message>
        <source>黑白(&amp;B)</source>
        <translation>&amp;Black and white</translation>
    </message>
    <message>
        <source>明度(&amp;L)</source>
        <translation>Va&amp;lue</translation>
    </message>
    <message>
        <source>明度 3 级(&amp;3)</source>
        <translation>Value in &amp;3 steps</translation>
    </message>
    <message>
        <source>明度 5 级(&amp;5)</source>
        <translation>Value in &amp;5 steps</translation>
    </message>
    <message>
        <source>明度 9 级(&amp;9)</source>
        <translation>Value in &amp;9 steps</translation>
    </message>
    <message>
        <source>适合窗口</source>
        <translation>Fit to window</translation>
    </message>
    <message>
        <source>明度视图</source>
        <translation>Value view</translation>
    </message>
    <message>
        <source>语言 / Language</source>
        <translation>Language / 语言</translation>
    </message>
    <message>
        <source>跟随系统</source>
        <translation>As the system</translation>
    </message>
    <message>
        <source>语言设置未能保存!</source>
        <translation>The language setting could not be stored!</translation>
    </message>
    <message>
        <source>语言将在下次启动程序时生效。
The language applies when the program starts next.</source>
        <translation>The language applies when the program starts next.</translation>
    </message>
    <message>
        <source>记录实际混色(&amp;J)...</source>
        <translation>Record the actual mi&amp;x...</translation>
    </message>
    <message>
        <source>取色范围：取这么多像素的平均色</source>
        <translation>Sample size: the mean colour of this many pixels</translation>
    </message>
    <message>
        <source>取色范围(&amp;S)</source>
        <translation>&amp;Sample size</translation>
    </message>
    <message>
        <source>1 像素</source>
        <translation>1 pixel</translation>
    </message>
    <message>
        <source>%1 x %1</source>
        <translation>%1 x %1</translation>
    </message>
    <message>
        <source>校正(&amp;C)</source>
        <translation>&amp;Correction</translation>
    </message>
    <message>
        <source>点选白色参照</source>
        <translation>Pick white reference</translation>
    </message>
    <message>
        <source>点选色卡四角</source>
        <translation>Pick colour chart corners</translation>
    </message>
    <message>
        <source>显示校正后的照片</source>
        <translation>Show corrected photo</translation>
    </message>
    <message>
        <source>清除校正</source>
        <translation>Clear correction</translation>
    </message>
    <message>
        <source>设置未保存</source>
        <translation>Settings not saved</translation>
    </message>
    <message>
        <source>设置未能保存: %1
本次运行仍按所选设置进行; 下次保存成功时一并保存。</source>
        <translation>The settings could not be saved: %1
This run goes on with the chosen settings; they are saved with the next save that succeeds.</translation>
    </message>
    <message>
        <source>设置暂未读取: 数据文件夹正被另一个程序使用, 稍后自动重试</source>
        <translation>Settings not read yet: another program is using the data folder; trying again shortly</translation>
    </message>
    <message>
        <source>在读取之前, 程序使用默认设置, 不会覆盖已保存的设置。</source>
        <translation>Until they are read the program uses the default settings and never overwrites the stored ones.</translation>
    </message>
    <message>
        <source>记录的混色(&amp;H)...</source>
        <translation>Recorded mi&amp;xes...</translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_addGroupColor</name>
    <message>
        <source>增加色谱颜色</source>
        <translation>Add a colour to the group</translation>
    </message>
    <message>
        <source>输入或粘贴 #RRGGBB 形式的颜色</source>
        <translation>Type or paste a colour as #RRGGBB</translation>
    </message>
    <message>
        <source>选色...</source>
        <translation>Pick...</translation>
    </message>
    <message>
        <source>从系统颜色对话框中选取颜色</source>
        <translation>Pick the colour in the system&apos;s colour dialog</translation>
    </message>
    <message>
        <source>红(R):</source>
        <translation>Red (R):</translation>
    </message>
    <message>
        <source>绿(G):</source>
        <translation>Green (G):</translation>
    </message>
    <message>
        <source>蓝(B):</source>
        <translation>Blue (B):</translation>
    </message>
    <message>
        <source>颜色名称:</source>
        <translation>Colour name:</translation>
    </message>
    <message>
        <source>近似潘通色号:</source>
        <translation>Nearest Pantone:</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>修改色谱颜色</source>
        <translation>Change a colour of the group</translation>
    </message>
    <message>
        <source>选择颜色</source>
        <translation>Choose a colour</translation>
    </message>
    <message>
        <source>颜色名称不能为空!</source>
        <translation>The colour name cannot be empty!</translation>
    </message>
    <message>
        <source>色谱类别名称不能为空!</source>
        <translation>The colour group name cannot be empty!</translation>
    </message>
    <message>
        <source>色谱中颜色不存在!</source>
        <translation>The colour is not in the colour group!</translation>
    </message>
    <message>
        <source>修改色谱颜色失败!</source>
        <translation>Changing the colour failed!</translation>
    </message>
    <message>
        <source>修改色谱颜色成功!</source>
        <translation>The colour was changed.</translation>
    </message>
    <message>
        <source>色谱中同名颜色存在!</source>
        <translation>A colour of that name is already in the colour group!</translation>
    </message>
    <message>
        <source>增加色谱颜色失败!</source>
        <translation>Adding the colour to the colour group failed!</translation>
    </message>
    <message>
        <source>增加色谱颜色成功!</source>
        <translation>The colour was added.</translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_colorBoxManager</name>
    <message>
        <source>颜色盒管理</source>
        <translation>Colour boxes</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Set up</translation>
    </message>
    <message>
        <source>改名</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>新建</source>
        <translation>New</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>颜色盒列表</source>
        <translation>Colour boxes</translation>
    </message>
    <message>
        <source>不能删除系统颜色盒!</source>
        <translation>A built-in colour box cannot be deleted!</translation>
    </message>
    <message>
        <source>系统颜色盒不能改名!</source>
        <translation>A built-in colour box cannot be renamed!</translation>
    </message>
    <message>
        <source>颜色盒</source>
        <comment>what is deleted</comment>
        <translation>the colour box</translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_colorBoxRename</name>
    <message>
        <source>颜色盒改名</source>
        <translation>Rename a colour box</translation>
    </message>
    <message>
        <source>颜色盒名称不能为空!</source>
        <translation>The colour box name cannot be empty!</translation>
    </message>
    <message>
        <source>相同名称的颜色盒已经存在!</source>
        <translation>A colour box of that name already exists!</translation>
    </message>
    <message>
        <source>颜色盒改名失败!</source>
        <translation>Renaming the colour box failed!</translation>
    </message>
    <message>
        <source>原颜色盒名称：</source>
        <translation>Colour box name:</translation>
    </message>
    <message>
        <source>新颜色盒名称：</source>
        <translation>New name:</translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_colorCardFace</name>
    <message>
        <source>照片取色 · 颜料调色</source>
        <translation>Colours from photographs · mixed from your paints</translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_colorGroupManager</name>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>色谱设置</source>
        <translation>Colour groups</translation>
    </message>
    <message>
        <source>增加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>导入...</source>
        <translation>Import...</translation>
    </message>
    <message>
        <source>从 CSV 文件 (name,r,g,b) 导入颜料到当前色谱</source>
        <translation>Import paints from a CSV file (name,r,g,b) into this colour group</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>色谱类别：</source>
        <translation>Colour group:</translation>
    </message>
    <message>
        <source>色谱颜色</source>
        <translation>Colours in the group</translation>
    </message>
    <message>
        <source>删除色谱颜色失败!</source>
        <translation>Deleting the colour failed!</translation>
    </message>
    <message>
        <source>删除色谱颜色成功!</source>
        <translation>The colour was deleted.</translation>
    </message>
    <message>
        <source>导入颜料表</source>
        <translation>Import a paint list</translation>
    </message>
    <message>
        <source>CSV 文件 (*.csv);;所有文件 (*)</source>
        <translation>CSV files (*.csv);;All files (*)</translation>
    </message>
    <message>
        <source>不能读入颜料表: %1</source>
        <translation>Cannot read the paint list: %1</translation>
    </message>
    <message>
        <source>颜料表格式不对: %1</source>
        <translation>The paint list is not in the expected form: %1</translation>
    </message>
    <message>
        <source>第 %1 行</source>
        <translation>line %1</translation>
    </message>
    <message>
        <source>增加色谱颜色失败!: %1

</source>
        <translation>Adding the colours failed!: %1

</translation>
    </message>
    <message>
        <source>…… 另有 %1 行</source>
        <translation>… and %1 more lines</translation>
    </message>
    <message>
        <source>已增加 %1 种颜料到 %2，%3 行被拒绝。</source>
        <translation>%1 paints added to %2, %3 lines refused.</translation>
    </message>
    <message>
        <source>

已增加:
</source>
        <translation>

Added:
</translation>
    </message>
    <message>
        <source>

被拒绝:
</source>
        <translation>

Refused:
</translation>
    </message>
    <message>
        <source>色谱颜色</source>
        <comment>what is deleted</comment>
        <translation>the colour</translation>
    </message>
    <message>
        <source>从记录的实际混色学到的着色力 (颜料混色模式用它)；1 为未学到。</source>
        <translation>Tinting strength learnt from the recorded mixes (used by pigment mixing); 1 when not learnt.</translation>
    </message>
    <message>
        <source>查看…</source>
        <translation>View…</translation>
    </message>
    <message>
        <source>这种颜料的记录的混色：查看，删除记错的。</source>
        <translation>This paint&apos;s recorded mixes: view them, delete those recorded by mistake.</translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_colorPanelManager</name>
    <message>
        <source>色板管理</source>
        <translation>Palettes</translation>
    </message>
    <message>
        <source>改名</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>新建</source>
        <translation>New</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>色板列表</source>
        <translation>Palettes</translation>
    </message>
    <message>
        <source>不能删除系统色板!</source>
        <translation>A built-in palette cannot be deleted!</translation>
    </message>
    <message>
        <source>系统色板不能改名!</source>
        <translation>A built-in palette cannot be renamed!</translation>
    </message>
    <message>
        <source>色板</source>
        <comment>what is deleted</comment>
        <translation>the palette</translation>
    </message>
    <message>
        <source>导入…</source>
        <translation>Import…</translation>
    </message>
    <message>
        <source>把 GIMP 色板文件 (.gpl) 导入为新色板</source>
        <translation>Import a GIMP palette file (.gpl) as a new palette</translation>
    </message>
    <message>
        <source>导入色板</source>
        <translation>Import a palette</translation>
    </message>
    <message>
        <source>GIMP 色板 (*.gpl);;所有文件 (*)</source>
        <translation>GIMP palettes (*.gpl);;All files (*)</translation>
    </message>
    <message>
        <source>新色板名称：</source>
        <translation>Name of the new palette:</translation>
    </message>
    <message>
        <source>导入色板失败: %1</source>
        <translation>Importing the palette failed: %1</translation>
    </message>
    <message numerus="yes">
        <source>已导入 %n 种颜色到色板“%1”。</source>
        <translation>
            <numerusform>%n colour imported into the palette &quot;%1&quot;.</numerusform>
            <numerusform>%n colours imported into the palette &quot;%1&quot;.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_colorPanelRename</name>
    <message>
        <source>色板改名</source>
        <translation>Rename a palette</translation>
    </message>
    <message>
        <source>色板名称不能为空!</source>
        <translation>The palette name cannot be empty!</translation>
    </message>
    <message>
        <source>相同名称的色板已经存在!</source>
        <translation>A palette of that name already exists!</translation>
    </message>
    <message>
        <source>色板改名失败!</source>
        <translation>Renaming the palette failed!</translation>
    </message>
    <message>
        <source>原色板名称：</source>
        <translation>Palette name:</translation>
    </message>
    <message>
        <source>新色板名称：</source>
        <translation>New name:</translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_colorProperties</name>
    <message>
        <source>色彩属性</source>
        <translation>Colour properties</translation>
    </message>
    <message>
        <source>十六进制：</source>
        <translation>Hex:</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_createColorBox</name>
    <message>
        <source>新建颜色盒</source>
        <translation>New colour box</translation>
    </message>
    <message>
        <source>颜色盒名称不能为空!</source>
        <translation>The colour box name cannot be empty!</translation>
    </message>
    <message>
        <source>相同名称的颜色盒已经存在!</source>
        <translation>A colour box of that name already exists!</translation>
    </message>
    <message>
        <source>新建颜色盒失败!</source>
        <translation>Creating the colour box failed!</translation>
    </message>
    <message>
        <source>颜色类别：</source>
        <translation>Colour group:</translation>
    </message>
    <message>
        <source>新建颜色盒名称：</source>
        <translation>Name of the new colour box:</translation>
    </message>
    <message>
        <source>请选择颜色类别!</source>
        <translation>Please choose a colour group!</translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_createColorPanel</name>
    <message>
        <source>新建色板</source>
        <translation>New palette</translation>
    </message>
    <message>
        <source>色板名称不能为空!</source>
        <translation>The palette name cannot be empty!</translation>
    </message>
    <message>
        <source>相同名称的色板已经存在!</source>
        <translation>A palette of that name already exists!</translation>
    </message>
    <message>
        <source>新建色板失败!</source>
        <translation>Creating the palette failed!</translation>
    </message>
    <message>
        <source>新建色板名称：</source>
        <translation>Name of the new palette:</translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_magnifier</name>
    <message>
        <source>放大镜</source>
        <translation>Magnifier</translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_paletteManger</name>
    <message>
        <source>色板</source>
        <translation>Palette</translation>
    </message>
    <message>
        <source>选择色板：</source>
        <translation>Palette:</translation>
    </message>
    <message>
        <source>获取色彩</source>
        <translation>Take the colour</translation>
    </message>
    <message>
        <source>删除色彩</source>
        <translation>Remove the colour</translation>
    </message>
    <message>
        <source>色板颜色</source>
        <translation>Palette colours</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>导出色板...</source>
        <translation>Export palette...</translation>
    </message>
    <message>
        <source>把色板导出为 GIMP 色板文件（.gpl），每个颜色带上它的配方</source>
        <translation>Export the palette as a GIMP palette file (.gpl), each colour with its recipe</translation>
    </message>
    <message>
        <source>增加色彩</source>
        <translation>Add the colour</translation>
    </message>
    <message>
        <source>色彩属性</source>
        <translation>Colour properties</translation>
    </message>
    <message>
        <source>清空色板</source>
        <translation>Clear the palette</translation>
    </message>
    <message>
        <source>色板已导出到：%1</source>
        <translation>The palette was exported to: %1</translation>
    </message>
    <message>
        <source>GIMP 色板 (*.gpl)</source>
        <translation>GIMP palette (*.gpl)</translation>
    </message>
    <message>
        <source>Adobe 色板交换文件 (*.ase)</source>
        <translation>Adobe swatch exchange (*.ase)</translation>
    </message>
    <message>
        <source>Krita 色板 (*.kpl)</source>
        <translation>Krita palette (*.kpl)</translation>
    </message>
    <message>
        <source>导出色板</source>
        <translation>Export palette</translation>
    </message>
    <message>
        <source>色板“%1”</source>
        <translation>The palette &quot;%1&quot; </translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_setColorBox</name>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>设置颜料盒</source>
        <translation>Set up a colour box</translation>
    </message>
    <message>
        <source>选取</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>不选</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>全部不选</source>
        <translation>Remove all</translation>
    </message>
    <message>
        <source>全部选择</source>
        <translation>Add all</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>颜色群名称：</source>
        <translation>Colour box:</translation>
    </message>
    <message>
        <source>待选颜色</source>
        <translation>Paints to choose from</translation>
    </message>
    <message>
        <source>已选颜色</source>
        <translation>Paints in the box</translation>
    </message>
    <message>
        <source>颜色盒已做了修改，是否保存?</source>
        <translation>The colour box was changed. Save it?</translation>
    </message>
    <message>
        <source>保存颜色盒设置失败!</source>
        <translation>Saving the colour box failed!</translation>
    </message>
    <message>
        <source>颜色盒“%1”</source>
        <translation>The colour box &quot;%1&quot; </translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_setColorMixing</name>
    <message>
        <source>混色模式设置</source>
        <translation>Mixing mode</translation>
    </message>
    <message>
        <source>混色模式</source>
        <translation>Mixing mode</translation>
    </message>
    <message>
        <source>空间混色模式</source>
        <translation>Spatial mixing</translation>
    </message>
    <message>
        <source>减法混色模式</source>
        <translation>Subtractive mixing</translation>
    </message>
    <message>
        <source>颜料混色模式</source>
        <translation>Pigment mixing</translation>
    </message>
    <message>
        <source>整份配方最多份数：</source>
        <translation>Most parts in a recipe:</translation>
    </message>
    <message>
        <source>配方按整份给出时，各颜料份数之和的上限。</source>
        <translation>The largest total of parts of a whole-part recipe.</translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_setGridCount</name>
    <message>
        <source>设置网格格数</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>网格行数：</source>
        <translation>Rows:</translation>
    </message>
    <message>
        <source>网格列数：</source>
        <translation>Columns:</translation>
    </message>
    <message>
        <source>正方形网格</source>
        <translation>Square cells</translation>
    </message>
    <message>
        <source>格子取两个方向中较小的一格，画成正方形</source>
        <translation>Each cell takes the smaller of the two directions and is drawn square</translation>
    </message>
</context>
</TS>
