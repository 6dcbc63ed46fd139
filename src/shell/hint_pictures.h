#pragma once
#include <QPixmap>
#include <QSize>

namespace shell {

// The two pictures of the chart hint window, drawn by the program itself.
// A chart-settings panel with the recommended choices for a daily chart marked (日足, 120).
QPixmap dailyChartSettingsPicture(QSize size);
// A daily 一目均衡表 chart with the recommended choices marked.
QPixmap ichimokuChartPicture(QSize size);

}  // namespace shell
