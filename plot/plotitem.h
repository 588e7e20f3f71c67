// The live plot: the three angles of the reports, or the three commanded rates, over the last 10,
// 30 or 60 seconds, drawn with QPainter polylines on either scene-graph backend. Each pixel column
// shows the minimum and maximum of its samples, so that a spike stays visible however fast the
// reports come. Values that are not numbers, and silences, are gaps in the lines; the value axis
// fits the finite values and is marked at round steps. It repaints on a timer of about 30 Hz while
// it is shown, not paused, and the history has something new, never once per report.
#pragma once

#include "axisticks.h"

#include <QQuickPaintedItem>
#include <QTimer>

class TelemetryHistory;

class PlotItem : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(QObject *history READ history WRITE setHistory NOTIFY historyChanged)
    // false: the angles as the reports carry them; true: the commanded rates in rad/s.
    Q_PROPERTY(bool showRates READ showRates WRITE setShowRates NOTIFY viewChanged)
    Q_PROPERTY(int spanSeconds READ spanSeconds WRITE setSpanSeconds NOTIFY viewChanged)
    Q_PROPERTY(bool paused READ paused WRITE setPaused NOTIFY viewChanged)
    // One bit for each of the three series that is drawn.
    Q_PROPERTY(int shownSeries READ shownSeries WRITE setShownSeries NOTIFY viewChanged)
    // The unit text of the value axis, for the view's caption.
    Q_PROPERTY(QString unit READ unit NOTIFY viewChanged)

public:
    static const QColor SeriesColors[3];

    explicit PlotItem(QQuickItem *parent = nullptr);

    QObject *history() const;
    void setHistory(QObject *history);
    bool showRates() const { return m_showRates; }
    void setShowRates(bool rates);
    int spanSeconds() const { return m_span; }
    void setSpanSeconds(int seconds);
    bool paused() const { return m_paused; }
    void setPaused(bool paused);
    int shownSeries() const { return m_shown; }
    void setShownSeries(int bits);
    QString unit() const;
    // Where the lines are drawn, in the item's coordinates: the axes' labels are outside it.
    QRectF plotArea() const;
    // The value axis as last drawn.
    const AxisTicks &axis() const { return m_axis; }

    void paint(QPainter *painter) override;

signals:
    void historyChanged();
    void viewChanged();

private:
    void refresh();
    void changeView();

    TelemetryHistory *m_history = nullptr;
    bool m_showRates = false;
    int m_span = 10;
    bool m_paused = false;
    int m_shown = 0b111;
    QTimer m_refresh;
    quint64 m_paintedRevision = 0;
    // The newest time drawn; it stands still while paused.
    double m_end = 0.0;
    AxisTicks m_axis{};
};
