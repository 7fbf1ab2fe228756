<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>MessageBoxNotifier</name>
    <message>
        <source>提示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>是(&amp;Y)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>否(&amp;N)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>ΔE00（CIEDE2000）：按人眼感知计算的色差。
小于 1 不可见，1 至 2 极接近，2 至 5 接近，5 以上可见差异。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>原图 X : %1  Y : %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图像太大，不能按此比例显示!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>原色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>混合色差</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>潘通号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>应有 4 项 (名称,r,g,b)，实有 %1 项</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>r、g、b 须为 0 到 255 的整数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜色名称不能为空!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>名称中含有控制字符 (U+%1)!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色谱中同名颜色存在!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>名称超过 %1 个字节，将保存为 &quot;%2&quot;。是否继续?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>是否删除%1 &quot;%2&quot; 吗?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确认</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>core</name>
    <message>
        <source>数据文件%1不见了, 但它上一次修改前的备份还在。是否恢复这个备份?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据文件%1已损坏(%2)。是否恢复它上一次修改前的备份? 损坏的文件将被保留。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>恢复%1失败: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据文件夹不能写入，程序以只读方式运行: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图像文件已损坏：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不支持的图像格式：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图像尺寸无效（%1）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图像尺寸过大：%1（最大 %2 x %3）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>内存不足，无法载入图像：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法读取图像文件：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图像文件过大（最大 1 GB）：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>内存不足，无法读取图像文件：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图像文件不存在：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不支持的图像文件类型：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>压缩方式与%1不符</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>每像素 %1 位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>位图压缩方式 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>位图信息头长度 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JPEG 数据无法解码（%1）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JPEG 颜色空间（%1 个分量）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG 数据无法解码（%1）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新建配置参数文件失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开色板文件失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新建收藏夹文件失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取色板失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取色板夹失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>相同名称的色板已经存在!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除色板成功!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除色板失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色板名称不能为空!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开颜色盒文件失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新建颜色盒文件失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取颜色盒表失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开颜色盒设置文件失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除颜色盒成功!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除颜色盒失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开色谱文件失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新建色谱文件失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色谱中同名颜色存在!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>增加色谱颜色失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系统颜色不能修改!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系统颜色不能删除!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色谱颜色在颜色盒中存在，不能删除!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜色名称不能为空!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已取消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>像素数据不完整</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不支持的图像文件类型</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图像解码结果无效!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件头不完整</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜色掩码无效</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不是位图文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>像素数据位置无效</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>调色板索引超出调色板</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RLE 数据超出图像范围</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>内存不足，无法载入图像</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JPEG 扫描段过多</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JPEG 颜色空间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG 像素格式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件不存在!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不能读入指定的图像文件!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色板已做了修改，是否保存?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>要删除选中的色板色彩吗?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>要清空当前色板中的所有色彩吗?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出色板失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存色板失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>名称中含有不能保存的字符!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不可见</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>极接近</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>接近</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>可见差异</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>空间混色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜料混色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>减法混色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>一点</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pigmora::ui::ColorSwatch</name>
    <message>
        <source>复制 RGB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>复制十六进制</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>复制 CMYK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pigmora::ui::PictureController</name>
    <message>
        <source>黑白图</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>彩色图</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pigmora::ui::ResultPanel</name>
    <message>
        <source>原色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>混合色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜色偏差：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>原色 / 混合色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>原图颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>明度视图中取色：配方按照片原来的颜色计算。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_About</name>
    <message>
        <source>关于 Pigmora</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;h2&gt;Pigmora&lt;/h2&gt;&lt;p&gt;版本 %1&lt;/p&gt;&lt;p&gt;照片取色与颜料调色&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Qt %1&lt;/b&gt; — GNU LGPL 3.0 (The Qt Company Ltd. and other contributors). Pigmora links Qt dynamically; Qt&apos;s source is available from qt.io.&lt;/p&gt;&lt;p&gt;&lt;b&gt;libjpeg-turbo&lt;/b&gt; — IJG licence and modified (3-clause) BSD licence. This software is based in part on the work of the Independent JPEG Group.&lt;/p&gt;&lt;p&gt;&lt;b&gt;libpng&lt;/b&gt; — PNG Reference Library License version 2 (Copyright © 1995-2024 The PNG Reference Library Authors).&lt;/p&gt;&lt;p&gt;&lt;b&gt;zlib&lt;/b&gt; (through libpng and libzip) — zlib licence (© Jean-loup Gailly and Mark Adler).&lt;/p&gt;&lt;p&gt;&lt;b&gt;libzip&lt;/b&gt; — 3-clause BSD licence (© Dieter Baron and Thomas Klausner).&lt;/p&gt;&lt;p&gt;&lt;b&gt;色卡数据&lt;/b&gt; — the colour card values are facts gathered from published lists; each value&apos;s origin and licence is named in data/cards/SOURCES.md.&lt;/p&gt;&lt;p&gt;&lt;b&gt;示例照片&lt;/b&gt; — portrait photograph by NASA, public domain (no known copyright restrictions). Photo: NASA.&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_TintoraMain</name>
    <message>
        <source>文件(&amp;F)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开照片(&amp;O)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设置(&amp;O)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设置网格格数(&amp;G)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设置混色模式(&amp;M)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工具(&amp;T)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜料盒管理(&amp;C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色板管理(&amp;R)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色谱管理(&amp;O)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关于(&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开照片</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>黑白</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>黑白显示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>缩小</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>放大</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>实际大小</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>显示网格</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>放大镜</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>显示色板</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜料盒</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>当前调色颜色盒</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>载入照片 %p%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>近似潘通色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>近似劳尔色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>近似中建色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图像文件 (*.jpg *.jpeg *.bmp *.dib *.png *.JPG *.JPEG *.BMP *.DIB *.PNG);;JPEG (*.jpg *.jpeg *.JPG *.JPEG);;位图 (*.bmp *.dib *.BMP *.DIB);;PNG (*.png *.PNG)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>视图(&amp;V)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>适合窗口(&amp;W)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>彩色(&amp;C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>黑白(&amp;B)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>明度(&amp;L)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>明度 3 级(&amp;3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>明度 5 级(&amp;5)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>明度 9 级(&amp;9)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>适合窗口</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>明度视图</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_addGroupColor</name>
    <message>
        <source>增加色谱颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>输入或粘贴 #RRGGBB 形式的颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>选色...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>从系统颜色对话框中选取颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>红(R):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>绿(G):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>蓝(B):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜色名称:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>近似潘通色号:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确认</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>修改色谱颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>选择颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜色名称不能为空!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色谱类别名称不能为空!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色谱中颜色不存在!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>修改色谱颜色失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>修改色谱颜色成功!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色谱中同名颜色存在!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>增加色谱颜色失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>增加色谱颜色成功!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_colorBoxManager</name>
    <message>
        <source>颜色盒管理</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>改名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新建</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关闭</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜色盒列表</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不能删除系统颜色盒!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜色盒</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系统颜色盒不能改名!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_colorBoxRename</name>
    <message>
        <source>颜色盒改名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜色盒名称不能为空!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>相同名称的颜色盒已经存在!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜色盒改名失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>原颜色盒名称：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新颜色盒名称：</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_colorCardFace</name>
    <message>
        <source>照片取色 · 颜料调色</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_colorGroupManager</name>
    <message>
        <source>删除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>修改</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色谱设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>增加</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导入...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>从 CSV 文件 (name,r,g,b) 导入颜料到当前色谱</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关闭</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色谱类别：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色谱颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除色谱颜色失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除色谱颜色成功!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导入颜料表</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV 文件 (*.csv);;所有文件 (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不能读入颜料表: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜料表格式不对: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>第 %1 行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>增加色谱颜色失败!: %1

</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>…… 另有 %1 行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已增加 %1 种颜料到 %2，%3 行被拒绝。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

已增加:
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

被拒绝:
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_colorPanelManager</name>
    <message>
        <source>色板管理</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>改名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新建</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关闭</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色板列表</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不能删除系统色板!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色板</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系统色板不能改名!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_colorPanelRename</name>
    <message>
        <source>色板改名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色板名称不能为空!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>相同名称的色板已经存在!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色板改名失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>原色板名称：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新色板名称：</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_colorProperties</name>
    <message>
        <source>色彩属性</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>十六进制：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关闭</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_createColorBox</name>
    <message>
        <source>新建颜色盒</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜色盒名称不能为空!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>相同名称的颜色盒已经存在!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新建颜色盒失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜色类别：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新建颜色盒名称：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请选择颜色类别!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_createColorPanel</name>
    <message>
        <source>新建色板</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色板名称不能为空!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>相同名称的色板已经存在!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新建色板失败!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新建色板名称：</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_magnifier</name>
    <message>
        <source>放大镜</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_paletteManger</name>
    <message>
        <source>色板</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>选择色板：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>获取色彩</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除色彩</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色板颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关闭</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出色板...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>把色板导出为 GIMP 色板文件（.gpl），每个颜色带上它的配方</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>增加色彩</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色彩属性</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>清空色板</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色板已导出到：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GIMP 色板 (*.gpl)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adobe 色板交换文件 (*.ase)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Krita 色板 (*.kpl)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出色板</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_setColorBox</name>
    <message>
        <source>保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设置颜料盒</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>选取</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不选</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全部不选</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全部选择</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确认</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜色群名称：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>待选颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已选颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜色盒已做了修改，是否保存?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存颜色盒设置失败!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_setColorMixing</name>
    <message>
        <source>混色模式设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>混色模式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>空间混色模式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>减法混色模式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜料混色模式</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pigmora::ui::TForm_setGridCount</name>
    <message>
        <source>设置网格格数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>网格行数：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>网格列数：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>正方形网格</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>格子取两个方向中较小的一格，画成正方形</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
