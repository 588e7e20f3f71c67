#include "plotitem.h"

#include "axisticks.h"
#include "telemetryhistory.h"
#include "valuetext.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

const QColor PlotItem::SeriesColors[3] = {QColor(0xd9, 0x53, 0x4f), QColor(0x00, 0xa1, 0x99),
                                          QColor(0x33, 0x66, 0xcc)};

namespace {
constexpr int RefreshMs = 33;
constexpr int LeftMargin = 80;
constexpr int BottomMargin = 22;
constexpr int TopMargin = 8;
constexpr int RightMargin = 12;
constexpr int GridLines = 4;

// The value axis's labels: at most this long, and this far left of the plot area.
constexpr int LabelCharacters = 9;
constexpr int LabelGap = 6;

// The ticks' labels, all with as many digits as the widest one leaves room for.
QStringList tickLabels(const AxisTicks &axis, const QFontMetricsF &metrics, double room)
{
    QStringList labels;
    for (int characters = LabelCharacters; characters > 0; --characters) {
        labels.clear();
        bool fit = true;
        for (const double value : axis.values) {
            labels.append(ValueText::compact(value, axis.decimals, characters));
            fit = fit && metrics.horizontalAdvance(labels.last()) <= room;
        }
        if (fit)
            break;
    }
    return labels;
}
} // namespace

PlotItem::PlotItem(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setOpaquePainting(true);
    setFillColor(Qt::white);
    m_refresh.setInterval(RefreshMs);
    connect(&m_refresh, &QTimer::timeout, this, &PlotItem::refresh);
    connect(this, &QQuickItem::visibleChanged, this, &PlotItem::changeView);
}

QObject *PlotItem::history() const
{
    return m_history;
}

void PlotItem::setHistory(QObject *history)
{
    m_history = qobject_cast<TelemetryHistory *>(history);
    emit historyChanged();
    changeView();
}

void PlotItem::setShowRates(bool rates)
{
    m_showRates = rates;
    changeView();
}

void PlotItem::setSpanSeconds(int seconds)
{
    m_span = std::clamp(seconds, 1, 60);
    changeView();
}

void PlotItem::setPaused(bool paused)
{
    m_paused = paused;
    changeView();
}

void PlotItem::setShownSeries(int bits)
{
    m_shown = bits & 0b111;
    changeView();
}

QString PlotItem::unit() const
{
    return m_showRates ? QStringLiteral("rad/s") : QString();
}

// Redraws at once and runs the refresh only while there is something live to show.
void PlotItem::changeView()
{
    if (m_history && !m_paused)
        m_end = m_history->now();
    if (m_history && isVisible() && !m_paused)
        m_refresh.start();
    else
        m_refresh.stop();
    m_paintedRevision = 0;
    emit viewChanged();
    update();
}

void PlotItem::refresh()
{
    if (m_history->revision() == m_paintedRevision)
        return;
    m_end = m_history->now();
    update();
}

QRectF PlotItem::plotArea() const
{
    return QRectF(LeftMargin, TopMargin, width() - LeftMargin - RightMargin,
                  height() - TopMargin - BottomMargin);
}

void PlotItem::paint(QPainter *painter)
{
    const QRectF area = plotArea();
    if (area.width() < 2 || area.height() < 2)
        return;
    const int columns = static_cast<int>(area.width());
    const double start = m_end - m_span;

    std::vector<Column> series[3];
    double low = 0.0;
    double high = 0.0;
    bool any = false;
    if (m_history) {
        m_paintedRevision = m_history->revision();
        const SampleHistory &history = m_showRates ? m_history->rates() : m_history->angles();
        for (int s = 0; s < 3; ++s) {
            if (!(m_shown & (1 << s)))
                continue;
            series[s] = reduceToColumns(history.samples(), s, start, m_end, columns);
            for (const Column &column : series[s]) {
                if (!column.valid)
                    continue;
                low = any ? std::min(low, double(column.min)) : column.min;
                high = any ? std::max(high, double(column.max)) : column.max;
                any = true;
            }
        }
    }
    m_axis = axisTicks(low, high, GridLines);
    const AxisTicks &axis = m_axis;
    const auto yOf = [&](double value) {
        return area.bottom() - (value - axis.bottom) / (axis.top - axis.bottom) * area.height();
    };

    painter->setRenderHint(QPainter::Antialiasing, false);
    const QFontMetricsF metrics(painter->font());
    const QStringList labels = tickLabels(axis, metrics, LeftMargin - LabelGap - 2);
    for (std::size_t i = 0; i < axis.values.size(); ++i) {
        const double y = yOf(axis.values[i]);
        painter->setPen(QColor(0xe4, 0xe7, 0xed));
        painter->drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter->setPen(QColor(0x60, 0x62, 0x66));
        const QString &label = labels[static_cast<int>(i)];
        painter->drawText(QPointF(area.left() - LabelGap - metrics.horizontalAdvance(label),
                                  y + metrics.ascent() / 2 - 1),
                          label);
    }
    const int tickSeconds = m_span <= 10 ? 2 : 10;
    for (int ago = 0; ago <= m_span; ago += tickSeconds) {
        const double x = area.right() - area.width() * ago / m_span;
        painter->setPen(QColor(0xe4, 0xe7, 0xed));
        painter->drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        painter->setPen(QColor(0x60, 0x62, 0x66));
        const QString label = ago == 0 ? QStringLiteral("0 s") : QStringLiteral("-%1 s").arg(ago);
        painter->drawText(
            QPointF(x - metrics.horizontalAdvance(label) / 2, area.bottom() + metrics.ascent() + 4),
            label);
    }
    painter->setPen(QColor(0xb1, 0xb1, 0xb1));
    painter->drawRect(area);

    painter->setClipRect(area);
    painter->setRenderHint(QPainter::Antialiasing, true);
    for (int s = 0; s < 3; ++s) {
        painter->setPen(QPen(SeriesColors[s], 1.5));
        // One line for each stretch without a gap; a stretch of one value is a dot.
        QPolygonF trace;
        const auto draw = [&] {
            if (trace.size() == 1)
                painter->drawPoint(trace.first());
            else
                painter->drawPolyline(trace);
            trace.clear();
        };
        for (int c = 0; c < static_cast<int>(series[s].size()); ++c) {
            const Column &column = series[s][static_cast<std::size_t>(c)];
            if (!column.valid)
                continue;
            if (column.gapBefore)
                draw();
            const double x = area.left() + c + 0.5;
            trace << QPointF(x, yOf(column.min));
            if (column.max != column.min)
                trace << QPointF(x, yOf(column.max));
        }
        draw();
    }
}
