#include "main/messagetext.h"

#include "main/uitext.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

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

// The pattern's expression: its %N become lazy captures, the rest literal.
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

QString translated(const QString &text, int depth)
{
    const QByteArray utf8 = text.toUtf8();
    const QString whole = QCoreApplication::translate("core", utf8.constData());
    if (whole != text || depth > 2)
        return whole;
    for (const char *pattern : kPatterns) {
        const QString source = QString::fromUtf8(pattern);
        const QRegularExpressionMatch m = patternExpression(source).match(text);
        if (!m.hasMatch())
            continue;
        // All parts at once: a part holding "%1" is never filled in again.
        QStringList parts;
        for (int n = 1; n <= m.lastCapturedIndex(); ++n)
            parts << translated(m.captured(n), depth + 1);
        const QString result = QCoreApplication::translate("core", pattern);
        switch (parts.size()) {
        case 1:
            return result.arg(parts[0]);
        case 2:
            return result.arg(parts[0], parts[1]);
        default:
            return result.arg(parts[0], parts[1], parts[2]);
        }
    }
    return text;
}

} // namespace

QString coreText(std::string_view utf8)
{
    return translated(fromUtf8(utf8), 0);
}

} // namespace pigmora::ui
