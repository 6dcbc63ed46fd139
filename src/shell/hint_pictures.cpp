#include "shell/hint_pictures.h"
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <algorithm>
#include <vector>

namespace shell {

namespace {

const QColor kPanel(0xF2, 0xF2, 0xF2);
const QColor kChoice(0xFF, 0xFF, 0xFF);
const QColor kChosen(0xFF, 0xF0, 0xC0);
const QColor kMark(0xE0, 0x20, 0x20);

void heading(QPainter& p, const QRect& r, const QString& text) {
    QFont f = p.font();
    f.setPointSize(10);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
}

QPixmap blank(QSize size) {
    QPixmap pm(size);
    pm.fill(Qt::white);
    return pm;
}

void start(QPainter& p, QSize size, const QString& title) {
    p.setRenderHint(QPainter::Antialiasing);
    heading(p, QRect(8, 2, size.width() - 16, 22), title);
}

// One row of a settings panel: a name and its choices; the recommended one is ringed.
int choiceRow(QPainter& p, int x, int y, const QString& name, const QStringList& choices, int chosen) {
    QFont f = p.font();
    f.setPointSize(9);
    f.setBold(false);
    p.setFont(f);
    const QFontMetrics fm(f);
    p.setPen(Qt::black);
    p.drawText(QRect(x, y, 70, 22), Qt::AlignLeft | Qt::AlignVCenter, name);
    int cx = x + 74;
    for (int i = 0; i < choices.size(); ++i) {
        const int w = fm.horizontalAdvance(choices[i]) + 16;
        const QRect box(cx, y + 2, w, 18);
        p.setPen(QColor(0x90, 0x90, 0x90));
        p.setBrush(i == chosen ? kChosen : kChoice);
        p.drawRect(box);
        p.setPen(Qt::black);
        p.drawText(box, Qt::AlignCenter, choices[i]);
        if (i == chosen) {
            p.setPen(QPen(kMark, 2));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(box.adjusted(-7, -5, 7, 5));
        }
        cx += w + 6;
    }
    return cx;
}

void remark(QPainter& p, int x, int y, const QString& text) {
    p.setPen(kMark);
    p.drawText(QRect(x, y, 260, 22), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("← ") + text);
}

void panel(QPainter& p, const QRect& r, const QString& title) {
    p.setPen(QColor(0xA0, 0xA0, 0xA0));
    p.setBrush(kPanel);
    p.drawRoundedRect(r, 4, 4);
    QFont f = p.font();
    f.setPointSize(8);
    p.setFont(f);
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.drawText(r.adjusted(8, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, title);
}

// A calm, repeatable price series: a slow rise with swings.
std::vector<double> closes(int n) {
    std::vector<double> c(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        c[size_t(i)] = 1000 + 2.2 * i + 60 * qSin(i / 9.0) + 25 * qSin(i / 3.1) + 12 * qCos(i * 1.7);
    return c;
}

double midOf(const std::vector<double>& hi, const std::vector<double>& lo, int end, int span) {
    double h = hi[size_t(end)], l = lo[size_t(end)];
    for (int k = std::max(0, end - span + 1); k <= end; ++k) {
        h = std::max(h, hi[size_t(k)]);
        l = std::min(l, lo[size_t(k)]);
    }
    return (h + l) / 2;
}

}  // namespace

QPixmap dailyChartSettingsPicture(QSize size) {
    QPixmap pm = blank(size);
    QPainter p(&pm);
    start(p, size, QStringLiteral("日足チャートの推奨条件"));
    panel(p, QRect(6, 26, size.width() - 12, size.height() - 32), QStringLiteral("チャート設定"));
    int y = 44;
    int end = choiceRow(p, 20, y, QStringLiteral("足の種類"),
                        {QStringLiteral("日足"), QStringLiteral("週足"), QStringLiteral("月足")}, 0);
    remark(p, end + 14, y, QStringLiteral("日足を選ぶ"));
    y += 30;
    end = choiceRow(p, 20, y, QStringLiteral("期間"),
                    {QStringLiteral("60"), QStringLiteral("120"), QStringLiteral("240"), QStringLiteral("480")}, 1);
    remark(p, end + 14, y, QStringLiteral("120本を表示"));
    y += 30;
    choiceRow(p, 20, y, QStringLiteral("チャート"), {QStringLiteral("ローソク足"), QStringLiteral("ライン")}, -1);
    y += 30;
    choiceRow(p, 20, y, QStringLiteral("追加"),
              {QStringLiteral("移動平均"), QStringLiteral("ボリンジャーバンド"), QStringLiteral("出来高")}, -1);
    return pm;
}

QPixmap ichimokuChartPicture(QSize size) {
    QPixmap pm = blank(size);
    QPainter p(&pm);
    start(p, size, QStringLiteral("日足の一目均衡表 推奨条件"));

    const int panelWidth = 250;
    // The window shows this picture cut at its lower edge: everything stands in the upper part.
    const int height = size.height() - 28;
    panel(p, QRect(6, 26, panelWidth, height - 28), QStringLiteral("チャート設定"));
    choiceRow(p, 16, 46, QStringLiteral("足の種類"), {QStringLiteral("日足"), QStringLiteral("週足")}, 0);
    choiceRow(p, 16, 80, QStringLiteral("指標"), {QStringLiteral("一目均衡表")}, 0);
    choiceRow(p, 16, 114, QStringLiteral("期間"), {QStringLiteral("120")}, 0);

    // The chart: candles, 転換線 (9), 基準線 (26), the cloud of 先行スパン (26 ahead), 遅行スパン.
    const int bars = 120, lead = 26;
    const std::vector<double> c = closes(bars + 52);
    std::vector<double> o(c.size()), hi(c.size()), lo(c.size());
    for (size_t i = 0; i < c.size(); ++i) {
        o[i] = i ? c[i - 1] : c[i];
        hi[i] = std::max(o[i], c[i]) + 6 + 4 * qAbs(qSin(double(i)));
        lo[i] = std::min(o[i], c[i]) - 6 - 4 * qAbs(qCos(double(i)));
    }
    const int first = 52;   // the first shown bar: the longest span has its history
    const QRect frame(panelWidth + 16, 26, size.width() - panelWidth - 24, height - 28);
    const QRect area = frame.adjusted(2, 20, -2, -4);   // room for the legend above the prices
    double top = 0, bottom = 1e9;
    for (int i = first - lead; i < int(c.size()); ++i) {
        top = std::max(top, hi[size_t(i)]);
        bottom = std::min(bottom, lo[size_t(i)]);
    }
    const int slotCount = bars + lead;
    const double step = double(area.width()) / slotCount;
    auto X = [&](int slot) { return area.left() + (slot + 0.5) * step; };
    auto Y = [&](double v) { return area.bottom() - (v - bottom) / (top - bottom) * area.height(); };

    p.setPen(QColor(0xC8, 0xC8, 0xC8));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame);

    QPainterPath spanA, spanB;
    for (int s = lead; s < slotCount; ++s) {
        const int src = first + s - lead;
        const double a = (midOf(hi, lo, src, 9) + midOf(hi, lo, src, 26)) / 2;
        const double b = midOf(hi, lo, src, 52);
        if (s == lead) {
            spanA.moveTo(X(s), Y(a));
            spanB.moveTo(X(s), Y(b));
        } else {
            spanA.lineTo(X(s), Y(a));
            spanB.lineTo(X(s), Y(b));
        }
    }
    QPainterPath cloud = spanA;
    cloud.connectPath(spanB.toReversed());
    cloud.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xB0, 0xD8, 0xF0, 0x90));
    p.drawPath(cloud);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x40, 0x90, 0xD0), 1));
    p.drawPath(spanA);
    p.setPen(QPen(QColor(0x90, 0x60, 0xC0), 1));
    p.drawPath(spanB);

    for (int s = 0; s < bars; ++s) {
        const size_t i = size_t(first + s);
        const bool up = c[i] >= o[i];
        p.setPen(QColor(0x40, 0x40, 0x40));
        p.drawLine(QPointF(X(s), Y(hi[i])), QPointF(X(s), Y(lo[i])));
        const QRectF body(X(s) - step * 0.35, Y(std::max(o[i], c[i])), step * 0.7,
                          std::max(1.0, Y(std::min(o[i], c[i])) - Y(std::max(o[i], c[i]))));
        p.fillRect(body, up ? QColor(0xE0, 0x40, 0x40) : QColor(0x30, 0x70, 0xD0));
    }
    auto line = [&](int span, const QColor& color) {
        QPainterPath path;
        for (int s = 0; s < bars; ++s) {
            const QPointF pt(X(s), Y(midOf(hi, lo, first + s, span)));
            s ? path.lineTo(pt) : path.moveTo(pt);
        }
        p.setPen(QPen(color, 1.5));
        p.drawPath(path);
    };
    line(9, QColor(0xE0, 0x30, 0x30));   // 転換線
    line(26, QColor(0x20, 0x40, 0xC0));  // 基準線
    QPainterPath lagging;
    for (int s = 0; s + lead < bars; ++s) {
        const QPointF pt(X(s), Y(c[size_t(first + s + lead)]));
        s ? lagging.lineTo(pt) : lagging.moveTo(pt);
    }
    p.setPen(QPen(QColor(0x20, 0xA0, 0x40), 1.2));
    p.drawPath(lagging);

    QFont f = p.font();
    f.setPointSize(8);
    f.setBold(false);
    p.setFont(f);
    const struct { const char* text; QColor color; } legend[] = {
        {"転換線", QColor(0xE0, 0x30, 0x30)},
        {"基準線", QColor(0x20, 0x40, 0xC0)},
        {"先行スパン（雲）", QColor(0x40, 0x90, 0xD0)},
        {"遅行スパン", QColor(0x20, 0xA0, 0x40)},
    };
    int lx = frame.left() + 6;
    for (const auto& l : legend) {
        p.setPen(l.color);
        const QString t = QString::fromUtf8(l.text);
        p.drawText(QPointF(lx, frame.top() + 14), t);
        lx += QFontMetrics(f).horizontalAdvance(t) + 14;
    }
    return pm;
}

}  // namespace shell
