#include "main/chartclicks.h"

#include <QCoreApplication>

#include <algorithm>

namespace pigmora::ui {

std::optional<std::array<chart::Point, ChartClicks::kCorners>> ChartClicks::add(chart::Point point)
{
    m_points.push_back(point);
    if (m_points.size() < kCorners)
        return std::nullopt;
    std::array<chart::Point, kCorners> corners;
    std::copy_n(m_points.begin(), kCorners, corners.begin());
    m_points.clear();
    return corners;
}

QString ChartClicks::hint(std::size_t clicked)
{
    static const char *const patches[kCorners] = {
        QT_TRANSLATE_NOOP("ChartClicks", "左上角的深肤色块"),
        QT_TRANSLATE_NOOP("ChartClicks", "右上角的蓝绿色块"),
        QT_TRANSLATE_NOOP("ChartClicks", "右下角的黑色块"),
        QT_TRANSLATE_NOOP("ChartClicks", "左下角的白色块"),
    };
    const std::size_t next = std::min(clicked, kCorners - 1);
    return QCoreApplication::translate("ChartClicks", "色卡校正 %1/4：请点%2的中心（Esc 取消）")
        .arg(next + 1)
        .arg(QCoreApplication::translate("ChartClicks", patches[next]));
}

} // namespace pigmora::ui
