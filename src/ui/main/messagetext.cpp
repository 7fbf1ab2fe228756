#include "main/messagetext.h"

#include "main/uitext.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace pigmora::ui {

namespace {

// Texts with a part filled in (%1, %2, %3: a name, a path, a detail); the
// parts are translated in turn, so a detail inside a message reads right.
constexpr const char *kPatterns[] = {
    QT_TRANSLATE_NOOP("core", "数据文件%1不见了, 但它上一次修改前的备份还在。是否恢复这个备份?"),
    QT_TRANSLATE_NOOP("core", "数据文件%1已损坏(%2)。是否恢复它上一次修改前的备份? 损坏的文件将被保留。"),
    QT_TRANSLATE_NOOP("core", "恢复%1失败: %2"),
    QT_TRANSLATE_NOOP("core", "数据文件夹不能写入，程序以只读方式运行: %1"),
    QT_TRANSLATE_NOOP("core", "图像文件已损坏：%1"),
    QT_TRANSLATE_NOOP("core", "不支持的图像格式：%1"),
    QT_TRANSLATE_NOOP("core", "图像尺寸无效（%1）"),
    QT_TRANSLATE_NOOP("core", "图像尺寸过大：%1（最大 %2 x %3）"),
    QT_TRANSLATE_NOOP("core", "内存不足，无法载入图像：%1"),
    QT_TRANSLATE_NOOP("core", "无法读取图像文件：%1"),
    QT_TRANSLATE_NOOP("core", "图像文件过大（最大 1 GB）：%1"),
    QT_TRANSLATE_NOOP("core", "内存不足，无法读取图像文件：%1"),
    QT_TRANSLATE_NOOP("core", "图像文件不存在：%1"),
    QT_TRANSLATE_NOOP("core", "不支持的图像文件类型：%1"),
    QT_TRANSLATE_NOOP("core", "压缩方式与%1不符"),
    QT_TRANSLATE_NOOP("core", "每像素 %1 位"),
    QT_TRANSLATE_NOOP("core", "位图压缩方式 %1"),
    QT_TRANSLATE_NOOP("core", "位图信息头长度 %1"),
    QT_TRANSLATE_NOOP("core", "JPEG 数据无法解码（%1）"),
    QT_TRANSLATE_NOOP("core", "JPEG 颜色空间（%1 个分量）"),
    QT_TRANSLATE_NOOP("core", "PNG 数据无法解码（%1）"),
};

// Whole texts, listed here so that the translation tools see them.
[[maybe_unused]] constexpr const char *kWholeTexts[] = {
    // stores
    QT_TRANSLATE_NOOP("core", "新建配置参数文件失败!"),
    QT_TRANSLATE_NOOP("core", "打开色板文件失败!"),
    QT_TRANSLATE_NOOP("core", "新建收藏夹文件失败!"),
    QT_TRANSLATE_NOOP("core", "取色板失败!"),
    QT_TRANSLATE_NOOP("core", "取色板夹失败!"),
    QT_TRANSLATE_NOOP("core", "相同名称的色板已经存在!"),
    QT_TRANSLATE_NOOP("core", "删除色板成功!"),
    QT_TRANSLATE_NOOP("core", "删除色板失败!"),
    QT_TRANSLATE_NOOP("core", "色板名称不能为空!"),
    QT_TRANSLATE_NOOP("core", "打开颜色盒文件失败!"),
    QT_TRANSLATE_NOOP("core", "新建颜色盒文件失败!"),
    QT_TRANSLATE_NOOP("core", "取颜色盒表失败!"),
    QT_TRANSLATE_NOOP("core", "打开颜色盒设置文件失败!"),
    QT_TRANSLATE_NOOP("core", "删除颜色盒成功!"),
    QT_TRANSLATE_NOOP("core", "删除颜色盒失败!"),
    QT_TRANSLATE_NOOP("core", "打开色谱文件失败!"),
    QT_TRANSLATE_NOOP("core", "新建色谱文件失败!"),
    QT_TRANSLATE_NOOP("core", "色谱中同名颜色存在!"),
    QT_TRANSLATE_NOOP("core", "增加色谱颜色失败!"),
    QT_TRANSLATE_NOOP("core", "系统颜色不能修改!"),
    QT_TRANSLATE_NOOP("core", "系统颜色不能删除!"),
    QT_TRANSLATE_NOOP("core", "色谱颜色在颜色盒中存在，不能删除!"),
    QT_TRANSLATE_NOOP("core", "颜色名称不能为空!"),
    // pictures
    QT_TRANSLATE_NOOP("core", "已取消"),
    QT_TRANSLATE_NOOP("core", "像素数据不完整"),
    QT_TRANSLATE_NOOP("core", "不支持的图像文件类型"),
    QT_TRANSLATE_NOOP("core", "图像解码结果无效!"),
    QT_TRANSLATE_NOOP("core", "文件头不完整"),
    QT_TRANSLATE_NOOP("core", "颜色掩码无效"),
    QT_TRANSLATE_NOOP("core", "不是位图文件"),
    QT_TRANSLATE_NOOP("core", "像素数据位置无效"),
    QT_TRANSLATE_NOOP("core", "调色板索引超出调色板"),
    QT_TRANSLATE_NOOP("core", "RLE 数据超出图像范围"),
    QT_TRANSLATE_NOOP("core", "内存不足，无法载入图像"),
    QT_TRANSLATE_NOOP("core", "JPEG 扫描段过多"),
    QT_TRANSLATE_NOOP("core", "JPEG 颜色空间"),
    QT_TRANSLATE_NOOP("core", "PNG 像素格式"),
    // the windows' own notices
    QT_TRANSLATE_NOOP("core", "文件不存在!"),
    QT_TRANSLATE_NOOP("core", "不能读入指定的图像文件!"),
    QT_TRANSLATE_NOOP("core", "色板已做了修改，是否保存?"),
    QT_TRANSLATE_NOOP("core", "要删除选中的色板色彩吗?"),
    QT_TRANSLATE_NOOP("core", "要清空当前色板中的所有色彩吗?"),
    QT_TRANSLATE_NOOP("core", "导出色板失败!"),
    QT_TRANSLATE_NOOP("core", "保存色板失败!"),
    QT_TRANSLATE_NOOP("core", "名称中含有不能保存的字符!"),
    // a pick's words
    QT_TRANSLATE_NOOP("core", "不可见"),
    QT_TRANSLATE_NOOP("core", "极接近"),
    QT_TRANSLATE_NOOP("core", "接近"),
    QT_TRANSLATE_NOOP("core", "可见差异"),
    QT_TRANSLATE_NOOP("core", "空间混色"),
    QT_TRANSLATE_NOOP("core", "颜料混色"),
    QT_TRANSLATE_NOOP("core", "减法混色"),
    QT_TRANSLATE_NOOP("core", "一点"),
};

// The core's own messages in English (the command line's), each with the
// Chinese text the windows show for it; the English translation gives the
// core's text back. %N are the parts filled in; parts listed in the mask
// (bit N-1) are messages themselves and are rendered in turn, the others
// (names, paths, numbers) are kept as they are. The first matching entry
// wins: whole texts and narrow patterns come before the wider ones.
struct EnglishMessage {
    const char *english;
    const char *chinese;
    unsigned messageParts = 0;
};

constexpr unsigned kPart1 = 1;
constexpr unsigned kPart2 = 2;

constexpr EnglishMessage kEnglishMessages[] = {
    // what a failed change adds
    {"%1; nothing was changed", QT_TRANSLATE_NOOP("core", "%1；未做任何改动"), kPart1},
    {"%1; the file is unchanged", QT_TRANSLATE_NOOP("core", "%1；文件未改动"), kPart1},
    {"%1; nothing was imported", QT_TRANSLATE_NOOP("core", "%1；没有导入任何内容"), kPart1},
    {"%1; move it away first", QT_TRANSLATE_NOOP("core", "%1；请先把它移走"), kPart1},
    // files and folders
    {"the disk is full", QT_TRANSLATE_NOOP("core", "磁盘已满")},
    {"no such file", QT_TRANSLATE_NOOP("core", "文件不存在")},
    {"the data folder is not writable", QT_TRANSLATE_NOOP("core", "数据文件夹不能写入")},
    {"%1 is a link to a file, which does not exist", QT_TRANSLATE_NOOP("core", "%1 是一个链接，它指向的文件不存在")},
    {"%1 is a link to %2, which does not exist", QT_TRANSLATE_NOOP("core", "%1 是指向 %2 的链接，而 %2 不存在")},
    {"%1 is a folder, not a data file", QT_TRANSLATE_NOOP("core", "%1 是文件夹，不是数据文件")},
    {"%1 is a folder, not a CSV file", QT_TRANSLATE_NOOP("core", "%1 是文件夹，不是 CSV 文件")},
    {"%1 is a folder", QT_TRANSLATE_NOOP("core", "%1 是文件夹")},
    {"%1 is not a regular file (a FIFO, socket or device)",
     QT_TRANSLATE_NOOP("core", "%1 不是普通文件（是管道、套接字或设备）")},
    {"%1 is too large", QT_TRANSLATE_NOOP("core", "%1 太大")},
    {"a folder, not a picture file", QT_TRANSLATE_NOOP("core", "是文件夹，不是图像文件")},
    {"not a regular file (a FIFO, socket or device)",
     QT_TRANSLATE_NOOP("core", "不是普通文件（是管道、套接字或设备）")},
    {"cannot open %1 for reading", QT_TRANSLATE_NOOP("core", "不能打开 %1 来读取")},
    {"cannot open %1: it keeps being replaced", QT_TRANSLATE_NOOP("core", "不能打开 %1：它不断被替换")},
    {"cannot open %1: %2", QT_TRANSLATE_NOOP("core", "不能打开 %1：%2"), kPart2},
    {"cannot read %1: %2", QT_TRANSLATE_NOOP("core", "不能读取 %1：%2"), kPart2},
    {"cannot read %1", QT_TRANSLATE_NOOP("core", "不能读取 %1")},
    {"cannot create %1: %2", QT_TRANSLATE_NOOP("core", "不能创建 %1：%2"), kPart2},
    {"cannot write the header of %1", QT_TRANSLATE_NOOP("core", "不能写入 %1 的文件头")},
    {"cannot write %1: %2", QT_TRANSLATE_NOOP("core", "不能写入 %1：%2"), kPart2},
    {"cannot write %1", QT_TRANSLATE_NOOP("core", "不能写入 %1")},
    {"cannot keep the backup %1: %2", QT_TRANSLATE_NOOP("core", "不能保留备份 %1：%2"), kPart2},
    {"cannot keep the damaged %1: too many damaged copies",
     QT_TRANSLATE_NOOP("core", "不能保留损坏的 %1：损坏的副本太多")},
    {"cannot keep the damaged %1: %2", QT_TRANSLATE_NOOP("core", "不能保留损坏的 %1：%2"), kPart2},
    {"cannot replace %1: %2", QT_TRANSLATE_NOOP("core", "不能替换 %1：%2"), kPart2},
    // the data folder and its lock
    {"the lock file %1 in %2 is a symbolic link; remove it (the programs make a new one)",
     QT_TRANSLATE_NOOP("core", "%2 中的锁文件 %1 是符号链接；请删除它（程序会重新建立）")},
    {"the lock file %1 in %2 is a folder; remove it (the programs make a new one)",
     QT_TRANSLATE_NOOP("core", "%2 中的锁文件 %1 是文件夹；请删除它（程序会重新建立）")},
    {"the lock file %1 in %2 is not a regular file (a socket, FIFO or device); remove it (the programs make a new one)",
     QT_TRANSLATE_NOOP("core", "%2 中的锁文件 %1 不是普通文件（是套接字、管道或设备）；请删除它（程序会重新建立）")},
    {"the data folder %1 does not exist or is not a folder",
     QT_TRANSLATE_NOOP("core", "数据文件夹 %1 不存在或不是文件夹")},
    {"the data folder %1 does not exist", QT_TRANSLATE_NOOP("core", "数据文件夹 %1 不存在")},
    {"the data folder %1 is read-only", QT_TRANSLATE_NOOP("core", "数据文件夹 %1 是只读的")},
    {"the data folder %1 is in use by another program (waited %2 s)",
     QT_TRANSLATE_NOOP("core", "数据文件夹 %1 正被另一个程序使用（已等待 %2 秒）")},
    {"%1 is missing; its backup %2.bak holds its last version",
     QT_TRANSLATE_NOOP("core", "%1 不见了；它的备份 %2.bak 保存着它的上一个版本")},
    {"%1 cannot be read (%2)", QT_TRANSLATE_NOOP("core", "%1 不能读取（%2）")},
    {"%1 is not a data file (QorConfig.bin, QorColorGroup.bin, QorColorbox.bin, QorPalette.bin or QorObservation.bin)",
     QT_TRANSLATE_NOOP("core",
                       "%1 不是数据文件（QorConfig.bin、QorColorGroup.bin、QorColorbox.bin、QorPalette.bin 或 "
                       "QorObservation.bin）")},
    {"%1 is not damaged", QT_TRANSLATE_NOOP("core", "%1 没有损坏")},
    {"there is no backup %1", QT_TRANSLATE_NOOP("core", "没有备份 %1")},
    {"the backup cannot be used either (%1)", QT_TRANSLATE_NOOP("core", "备份也不能使用（%1）"), kPart1},
    // the data files' structure
    {"not a colour box file", QT_TRANSLATE_NOOP("core", "不是颜色盒文件")},
    {"not a colour group file", QT_TRANSLATE_NOOP("core", "不是色谱文件")},
    {"not a palette file", QT_TRANSLATE_NOOP("core", "不是色板文件")},
    {"not a configuration file", QT_TRANSLATE_NOOP("core", "不是配置参数文件")},
    {"not an observation file", QT_TRANSLATE_NOOP("core", "不是混色记录文件")},
    {"the file is too large (more than 2 GiB)", QT_TRANSLATE_NOOP("core", "文件太大（超过 2 GiB）")},
    {"the file is shorter than its header", QT_TRANSLATE_NOOP("core", "文件比它的文件头还短")},
    {"the header's entry count or capacity is impossible",
     QT_TRANSLATE_NOOP("core", "文件头中的条目数或容量不可能成立")},
    {"the header's data offset does not match its directory",
     QT_TRANSLATE_NOOP("core", "文件头中的数据位置与目录不符")},
    {"the directory is shorter than its entry count", QT_TRANSLATE_NOOP("core", "目录比它的条目数短")},
    {"not enough memory for the directory", QT_TRANSLATE_NOOP("core", "内存不足，无法读入目录")},
    {"the directory is not sorted by name or holds a name twice",
     QT_TRANSLATE_NOOP("core", "目录没有按名称排序，或有重复的名称")},
    {"an entry's data lies outside the file", QT_TRANSLATE_NOOP("core", "某个条目的数据超出了文件")},
    {"an entry's record count does not fit its data", QT_TRANSLATE_NOOP("core", "某个条目的记录数与它的数据不符")},
    {"the entries' data overlap or leave gaps", QT_TRANSLATE_NOOP("core", "条目的数据互相重叠或留有空隙")},
    {"the data area holds bytes no entry owns", QT_TRANSLATE_NOOP("core", "数据区含有不属于任何条目的字节")},
    {"an empty entry points inside another entry's data",
     QT_TRANSLATE_NOOP("core", "一个空条目指向另一个条目的数据内部")},
    {"an entry's data could not be read in full", QT_TRANSLATE_NOOP("core", "某个条目的数据没能完整读出")},
    {"the change could not be flushed to the disk (%1)", QT_TRANSLATE_NOOP("core", "修改没能写入磁盘（%1）"), kPart1},
    {"the working copy cannot be opened", QT_TRANSLATE_NOOP("core", "不能打开工作副本")},
    {"the directory could not be grown", QT_TRANSLATE_NOOP("core", "目录不能扩大")},
    {"the directory could not be shrunk", QT_TRANSLATE_NOOP("core", "目录不能缩小")},
    {"the directory could not be resized", QT_TRANSLATE_NOOP("core", "不能改变目录的大小")},
    {"the directory could not be written", QT_TRANSLATE_NOOP("core", "不能写入目录")},
    {"an entry's data could not be written", QT_TRANSLATE_NOOP("core", "不能写入条目的数据")},
    {"an entry's data could not be cut out", QT_TRANSLATE_NOOP("core", "不能删去条目的数据")},
    // settings
    {"it is not open", QT_TRANSLATE_NOOP("core", "它没有打开")},
    {"the settings were not read from %1 (%2), so they are not stored",
     QT_TRANSLATE_NOOP("core", "设置没有从 %1 读入（%2），所以不能保存"), kPart2},
    {"the settings could not be written", QT_TRANSLATE_NOOP("core", "不能写入设置")},
    {"the settings could not be stored", QT_TRANSLATE_NOOP("core", "不能保存设置")},
    {"%1 lacks the setting's key, so the setting is not stored",
     QT_TRANSLATE_NOOP("core", "%1 中没有这项设置的键，所以不能保存这项设置")},
    // palettes, colour boxes, colour groups and their imports
    {"the palette holds too many colours", QT_TRANSLATE_NOOP("core", "色板中的颜色太多")},
    {"the palette name cannot be stored", QT_TRANSLATE_NOOP("core", "色板名称不能保存")},
    {"too many colours", QT_TRANSLATE_NOOP("core", "颜色太多")},
    {"no palette file", QT_TRANSLATE_NOOP("core", "没有色板文件")},
    {"the palette file cannot be changed", QT_TRANSLATE_NOOP("core", "色板文件不能修改")},
    {"the colour name holds a control character (%1)", QT_TRANSLATE_NOOP("core", "颜色名称中含有控制字符（%1）")},
    {"the colour name holds characters the palette records cannot store",
     QT_TRANSLATE_NOOP("core", "颜色名称中含有色板记录不能保存的字符")},
    {"the palette name holds a control character (%1)", QT_TRANSLATE_NOOP("core", "色板名称中含有控制字符（%1）")},
    {"the palette name holds characters the palette file cannot store",
     QT_TRANSLATE_NOOP("core", "色板名称中含有色板文件不能保存的字符")},
    {"the file holds no colours", QT_TRANSLATE_NOOP("core", "文件中没有颜色")},
    {"the file holds %1 colours; a palette holds at most %2",
     QT_TRANSLATE_NOOP("core", "文件中有 %1 种颜色；一个色板最多容纳 %2 种")},
    {"not valid UTF-8 text", QT_TRANSLATE_NOOP("core", "不是有效的 UTF-8 文本")},
    {"not a GIMP palette (the first line must be \"GIMP Palette\")",
     QT_TRANSLATE_NOOP("core", "不是 GIMP 调色板（第一行必须是 \"GIMP Palette\"）")},
    {"not a GIMP palette (the file is empty)", QT_TRANSLATE_NOOP("core", "不是 GIMP 调色板（文件是空的）")},
    {"expected a colour: three whole numbers 0..255 and a name",
     QT_TRANSLATE_NOOP("core", "这里应是一个颜色：三个 0..255 的整数和一个名称")},
    {"line %1: %2", QT_TRANSLATE_NOOP("core", "第 %1 行：%2"), kPart2},
    {"cannot make the palette's zip container: %1", QT_TRANSLATE_NOOP("core", "不能生成色板的 zip 容器：%1"), kPart1},
    {"cannot read the palette's zip container back", QT_TRANSLATE_NOOP("core", "不能读回色板的 zip 容器")},
    {"a quoted field is not closed", QT_TRANSLATE_NOOP("core", "引号中的字段没有结束")},
    {"no header row", QT_TRANSLATE_NOOP("core", "没有标题行")},
    {"the header row must be %1", QT_TRANSLATE_NOOP("core", "标题行必须是 %1")},
    {"r, g and b must be whole numbers 0..255", QT_TRANSLATE_NOOP("core", "r、g、b 必须是 0..255 的整数")},
    {"the name holds a control character (%1)", QT_TRANSLATE_NOOP("core", "名称中含有控制字符（%1）")},
    {"the name holds characters the paint records cannot store",
     QT_TRANSLATE_NOOP("core", "名称中含有颜料记录不能保存的字符")},
    {"the name holds a character the paint records cannot store",
     QT_TRANSLATE_NOOP("core", "名称中有一个字符不能存入颜料记录")},
    {"no colour group '%1'", QT_TRANSLATE_NOOP("core", "没有色谱组“%1”")},
    {"a user paint's code is not a number", QT_TRANSLATE_NOOP("core", "某个用户颜料的编号不是数字")},
    {"the colour group file could not be written", QT_TRANSLATE_NOOP("core", "不能写入色谱文件")},
    {"no colour box is loaded", QT_TRANSLATE_NOOP("core", "没有载入颜色盒")},
    // recorded mixes
    {"its measured colour is outside 0..255", QT_TRANSLATE_NOOP("core", "它测得的颜色超出 0..255")},
    {"a paint's code or parts are missing or not a positive number",
     QT_TRANSLATE_NOOP("core", "某种颜料的编号或份数缺失，或不是正数")},
    {"a paint's colour is outside 0..255", QT_TRANSLATE_NOOP("core", "某种颜料的颜色超出 0..255")},
    {"it names fewer than two paints", QT_TRANSLATE_NOOP("core", "它列出的颜料少于两种")},
    {"an observation is a mix of two or three paints", QT_TRANSLATE_NOOP("core", "一次混色记录只能是两种或三种颜料")},
    {"the measured colour must be 0..255", QT_TRANSLATE_NOOP("core", "测得的颜色必须在 0..255 之间")},
    {"paint '%1' has a code or name the file cannot keep",
     QT_TRANSLATE_NOOP("core", "颜料“%1”的编号或名称不能存入文件")},
    {"the parts of paint '%1' must be a positive number", QT_TRANSLATE_NOOP("core", "颜料“%1”的份数必须是正数")},
    {"paint '%1' has a colour outside 0..255 or no colour group",
     QT_TRANSLATE_NOOP("core", "颜料“%1”的颜色超出 0..255，或没有色谱组")},
    {"the observations' data does not match their number", QT_TRANSLATE_NOOP("core", "记录的混色数据与记录数不符")},
    {"observation %1 is damaged (%2)", QT_TRANSLATE_NOOP("core", "第 %1 条混色记录已损坏（%2）"), kPart2},
    {"there are no observations yet", QT_TRANSLATE_NOOP("core", "还没有记录的混色")},
    {"the recorded mixes were changed by another program; look again",
     QT_TRANSLATE_NOOP("core", "记录的混色已被另一个程序修改；请重新查看")},
    {"there is no observation %1 (the file holds %2)",
     QT_TRANSLATE_NOOP("core", "没有第 %1 条混色记录（文件中有 %2 条）")},
    // white balance and the colour chart
    {"the white reference is outside the picture", QT_TRANSLATE_NOOP("core", "白色参考点在图像之外")},
    {"not enough memory for the white reference", QT_TRANSLATE_NOOP("core", "内存不足，无法取白色参考")},
    {"the white reference is too dark (luminance %1, at least 2 % is needed)",
     QT_TRANSLATE_NOOP("core", "白色参考太暗（亮度 %1，至少需要 2 %）")},
    {"the white reference is clipped (a channel at 255): pick a part of it that is not burnt out",
     QT_TRANSLATE_NOOP("core", "白色参考已过曝（有通道为 255）：请点它没有过曝的部分")},
    {"the white reference is too strongly coloured to be taken for a neutral",
     QT_TRANSLATE_NOOP("core", "白色参考的颜色太重，不能当作中性色")},
    {"not enough memory for the correction", QT_TRANSLATE_NOOP("core", "内存不足，无法校正")},
    {"a chart corner lies outside the picture", QT_TRANSLATE_NOOP("core", "色卡的一个角在图像之外")},
    {"a chart patch lies outside the picture", QT_TRANSLATE_NOOP("core", "色卡的一个色块在图像之外")},
    {"too many chart patches are clipped (%1 of 24): photograph the chart with less exposure",
     QT_TRANSLATE_NOOP("core", "过曝的色块太多（24 块中有 %1 块）：请减少曝光重拍色卡")},
    {"the chart's patches do not tell the colours apart: the corners are probably wrong",
     QT_TRANSLATE_NOOP("core", "色卡的色块分不出颜色：四个角可能点错了")},
    {"not enough memory for the chart correction", QT_TRANSLATE_NOOP("core", "内存不足，无法做色卡校正")},
    {"the chart fit is poor (mean ΔE00 %1 over the patches, at most 10 is accepted): the corners are probably wrong",
     QT_TRANSLATE_NOOP("core", "色卡拟合太差（色块的平均 ΔE00 为 %1，最多允许 10）：四个角可能点错了")},
    {"the chart corners are not points of a picture", QT_TRANSLATE_NOOP("core", "色卡的角不是图像上的点")},
    {"the four chart corners do not make a quadrilateral in the order patch 1, 6, 24, 19 (top left, top right, bottom "
     "right, bottom left)",
     QT_TRANSLATE_NOOP("core", "四个角按色块 1、6、24、19（左上、右上、右下、左下）的顺序围不成四边形")},
    {"the chart is too small: its patches are %1 pixels apart, at least 4 are needed so that they do not overlap",
     QT_TRANSLATE_NOOP("core", "色卡太小：色块相距只有 %1 像素，至少要 4 像素才不会重叠")},
    // a file name or other subject, then what is wrong with it
    {"%1: %2", QT_TRANSLATE_NOOP("core", "%1：%2"), kPart2},
};

constexpr int kMaxDepth = 6; // the deepest nesting of messages the stores build

// The text's expression: its %N become lazy captures, the rest literal.
QRegularExpression patternExpression(const QString &pattern)
{
    QString expression = QStringLiteral("^");
    static const QRegularExpression placeholder(QStringLiteral("%[1-9]"));
    qsizetype at = 0;
    for (auto match = placeholder.globalMatch(pattern); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        expression += QRegularExpression::escape(pattern.mid(at, m.capturedStart() - at)) + QStringLiteral("(.*?)");
        at = m.capturedEnd();
    }
    expression += QRegularExpression::escape(pattern.mid(at)) + QStringLiteral("$");
    return QRegularExpression(expression, QRegularExpression::DotMatchesEverythingOption);
}

// A text the core may give: how to recognise it, the source text shown for
// it, and which of its parts are messages in turn.
struct KnownText {
    QRegularExpression expression;
    const char *source;
    unsigned messageParts;
    bool hasWords; // more than parts and punctuation
    bool english; // a core message in English: only for texts with Latin letters
};

bool hasWords(const char *pattern)
{
    static const QRegularExpression placeholder(QStringLiteral("%[1-9]"));
    return QString::fromUtf8(pattern).remove(placeholder).contains(QRegularExpression(QStringLiteral("\\w")));
}

// Chinese patterns first (their parts are all rendered in turn), then the
// English messages; compiled once.
const std::vector<KnownText> &knownTexts()
{
    static const std::vector<KnownText> texts = [] {
        std::vector<KnownText> made;
        for (const char *pattern : kPatterns)
            made.push_back({patternExpression(QString::fromUtf8(pattern)), pattern, ~0u, true, false});
        for (const EnglishMessage &message : kEnglishMessages)
            made.push_back({patternExpression(QString::fromUtf8(message.english)), message.chinese,
                            message.messageParts, hasWords(message.english), true});
        return made;
    }();
    return texts;
}

// pattern with every %N replaced by parts[N - 1] in one pass, so a part
// holding "%1" is never filled in again.
QString filledIn(const QString &pattern, const QStringList &parts)
{
    QString result;
    for (qsizetype at = 0; at < pattern.size(); ++at) {
        const QChar c = pattern[at];
        if (c == u'%' && at + 1 < pattern.size() && pattern[at + 1] >= u'1' && pattern[at + 1] <= u'9') {
            const qsizetype n = pattern[at + 1].unicode() - u'1';
            if (n < parts.size()) {
                result += parts[n];
                ++at;
                continue;
            }
        }
        result += c;
    }
    return result;
}

QString translated(const QString &text, int depth)
{
    const QByteArray utf8 = text.toUtf8();
    const QString whole = QCoreApplication::translate("core", utf8.constData());
    if (whole != text || depth > kMaxDepth)
        return whole;
    if (text.contains(u'\n')) { // a message with a detail on its own line
        QStringList lines = text.split(u'\n');
        for (QString &line : lines)
            line = translated(line, depth + 1);
        return lines.join(u'\n');
    }
    // A pick's words and the like come here for every pick: a text without
    // Latin letters is no English message and skips their expressions.
    const bool latin = std::any_of(text.begin(), text.end(),
                                   [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); });
    for (const KnownText &known : knownTexts()) {
        if (known.english && !latin)
            continue;
        const QRegularExpressionMatch m = known.expression.match(text);
        if (!m.hasMatch())
            continue;
        QStringList parts;
        bool rendered = false;
        for (int n = 1; n <= m.lastCapturedIndex(); ++n) {
            const bool message = (known.messageParts >> (n - 1) & 1u) != 0;
            parts << (message ? translated(m.captured(n), depth + 1) : m.captured(n));
            rendered = rendered || parts.back() != m.captured(n);
        }
        // Punctuation alone ("%1: %2") is no message: a text whose parts are
        // not the core's stays as it is.
        if (!known.hasWords && !rendered)
            return text;
        return filledIn(QCoreApplication::translate("core", known.source), parts);
    }
    return text;
}

} // namespace

QString coreText(std::string_view utf8)
{
    return translated(fromUtf8(utf8), 0);
}

} // namespace pigmora::ui
