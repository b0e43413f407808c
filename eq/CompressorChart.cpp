#include "eq/CompressorChart.h"

// Stand-ins until the chart lands.
TChart::TChart(QWidget* parent) : QWidget(parent) {}
void TChart::paintEvent(QPaintEvent*) {}
void CurvePoint(int) {}
void SetupCompressorChart() {}
void ResetCompressorCurve() {}
void RzSpinEdit2Change(QObject*) {}
void ResetChartState() {}
