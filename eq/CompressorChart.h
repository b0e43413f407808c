#pragma once
// Compressor curve chart: the chart widget and CurvePoint.

#include "eq/CompressorMath.h"

#include <QColor>
#include <QPointer>
#include <QString>
#include <QVector>
#include <QWidget>

struct ChartPoint {
    double X = 0;
    double Y = 0;
    QString Label;
};

// A series is plain data; the chart only paints it.
struct TChartSeries {
    QVector<ChartPoint> Points;
    QColor Color;
    void Clear() { Points.clear(); }
    void AddXY(double x, double y, const QString& label = QString()) {
        Points.push_back({x, y, label});
    }
};

class TChart : public QWidget {
    Q_OBJECT
public:
    explicit TChart(QWidget* parent = nullptr);
    TChartSeries Series1; // the curve
    TChartSeries Series2; // the labelled markers
    TChartSeries Series3; // the dotted 1:1 reference

    // Area inside the axes.
    QRect PlotRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Axis label text by the pattern "#,##0.##".
QString ChartAxisText(double v);

class QComboBox;
class QSpinBox;

// The main window's controls the chart shows and reads.
struct CompressorChartControls {
    QPointer<TChart> Chart1;
    QPointer<QComboBox> RMSBox;                      // item 1: the compressor is on
    QPointer<QSpinBox> InputEdits[CurvePointCount];  // RzSpinEdit1, 3, 5, 7, 9
    QPointer<QSpinBox> OutputEdits[CurvePointCount]; // RzSpinEdit2, 4, 6, 8, 10
};

struct ChartState {
    CompressorChartControls Controls;
    double CurveInputLevels[5]{};
    double CurveOutputLevels[5]{};
    // Set while CurvePoint writes the spin edits, whose change handler would
    // otherwise start it again.
    bool CurveUpdating = false;
};

extern ChartState Chart;

// Modes of CurvePoint: where the points come from. From the spin edits and
// from the level arrays (as the caller left them) store and send.
constexpr int ChartFromImage = 0;
constexpr int ChartFromEdits = 2;
constexpr int ChartFromLevels = 3;
void CurvePoint(int mode);

// The chart takes the main window's controls; Detach lets go of them.
void AttachCompressorChart(const CompressorChartControls& controls);
void DetachCompressorChart();

// Creation step 5: the chart's start content.
void SetupCompressorChart();

// Both level arrays := the default points, then CurvePoint(ChartFromLevels).
void ResetCompressorCurve();

// Change handler of the enabled spin edits.
void RzSpinEdit2Change(QObject* Sender);

void ResetChartState();
