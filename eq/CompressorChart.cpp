#include "eq/CompressorChart.h"

#include "eq/FilterMath.h"
#include "params/ParamCatalog.h"
#include "params/ParamImage.h"
#include "params/SendToUnit.h"
#include "params/UndoHistory.h"

#include <QComboBox>
#include <QFontMetricsF>
#include <QPainter>
#include <QSpinBox>

#include <algorithm>

ChartState Chart;

namespace {

constexpr double AxisMin = -90;
constexpr double AxisMax = 20;
constexpr double GridStep = 20;

const QColor CurveOn(36, 197, 209);
const QColor CurveOff(150, 150, 150);
const QColor MarkerColour(62, 240, 240);
const QColor ReferenceColour(255, 255, 128);

TChart* ChartWidget() {
    return Chart.Controls.Chart1;
}

void SpinEdits(QSpinBox* in[CurvePointCount], QSpinBox* out[CurvePointCount]) {
    for (int i = 0; i < CurvePointCount; ++i) {
        in[i] = Chart.Controls.InputEdits[i];
        out[i] = Chart.Controls.OutputEdits[i];
    }
}

} // namespace

QString ChartAxisText(double v) {
    // "#,##0.##": grouping, at most two decimals, trailing zeros dropped.
    QString s = QString::number(v, 'f', 2);
    while (s.contains(QLatin1Char('.')) && (s.endsWith(QLatin1Char('0'))))
        s.chop(1);
    if (s.endsWith(QLatin1Char('.'))) s.chop(1);
    const bool negative = s.startsWith(QLatin1Char('-'));
    if (negative) s.remove(0, 1);
    const auto dot = s.indexOf(QLatin1Char('.'));
    qsizetype intEnd = dot < 0 ? s.size() : dot;
    for (qsizetype pos = intEnd - 3; pos > 0; pos -= 3)
        s.insert(pos, QLatin1Char(','));
    if (s == QLatin1String("0")) return s;
    return negative ? QLatin1Char('-') + s : s;
}

TChart::TChart(QWidget* parent) : QWidget(parent) {
    Series1.Color = CurveOff;
    Series2.Color = MarkerColour;
    Series3.Color = ReferenceColour;
}

QRect TChart::PlotRect() const {
    return rect().adjusted(48, 22, -12, -36);
}

void TChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(48, 48, 48));
    const QRect plot = PlotRect();
    if (plot.width() <= 0 || plot.height() <= 0) return;
    auto toScreen = [&](double x, double y) {
        return QPointF(plot.left() + (x - AxisMin) / (AxisMax - AxisMin) * plot.width(),
                       plot.bottom() - (y - AxisMin) / (AxisMax - AxisMin) * plot.height());
    };
    p.fillRect(plot, QColor(30, 30, 30));

    // Grid and labels on the multiples of the step.
    QFont small = font();
    small.setPointSizeF(7.5);
    p.setFont(small);
    for (double v = -80; v <= AxisMax; v += GridStep) {
        const QPointF px = toScreen(v, AxisMin);
        const QPointF py = toScreen(AxisMin, v);
        p.setPen(QPen(QColor(90, 90, 90), 1, Qt::DotLine));
        p.drawLine(QPointF(px.x(), plot.top()), QPointF(px.x(), plot.bottom()));
        p.drawLine(QPointF(plot.left(), py.y()), QPointF(plot.right(), py.y()));
        p.setPen(Qt::white);
        const QString t = ChartAxisText(v);
        p.drawText(QRectF(px.x() - 20, plot.bottom() + 2, 40, 12), Qt::AlignCenter, t);
        p.drawText(QRectF(plot.left() - 34, py.y() - 6, 30, 12), Qt::AlignRight | Qt::AlignVCenter,
                   t);
    }
    p.setPen(QColor(160, 160, 160));
    p.drawRect(plot);

    p.setPen(Qt::white);
    p.drawText(QRectF(plot.left(), plot.bottom() + 16, plot.width(), 14), Qt::AlignCenter,
               tr("输入电平/dBu"));
    p.drawText(QRectF(plot.left(), 2, plot.width(), 16), Qt::AlignCenter,
               QStringLiteral("Compress Curve"));
    p.save();
    p.translate(10, plot.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-plot.height() / 2.0, -6, plot.height(), 14), Qt::AlignCenter,
               tr("输出电平/dBu"));
    p.restore();

    p.setClipRect(plot);
    p.setRenderHint(QPainter::Antialiasing, true);
    auto polyline = [&](const TChartSeries& s, const QPen& pen) {
        p.setPen(pen);
        for (int i = 1; i < s.Points.size(); ++i)
            p.drawLine(toScreen(s.Points[i - 1].X, s.Points[i - 1].Y),
                       toScreen(s.Points[i].X, s.Points[i].Y));
    };
    polyline(Series3, QPen(Series3.Color, 1, Qt::DotLine));
    polyline(Series1, QPen(Series1.Color, 2));
    // Levels beyond the axes (outputs below -90, the input 21 of point 4) put
    // their marker on the plot's edge; marker and label stay inside the plot.
    const QFontMetricsF fm(p.font());
    for (const ChartPoint& pt : Series2.Points) {
        const QPointF at = toScreen(pt.X, pt.Y);
        const QPointF c(std::clamp(at.x(), plot.left() + 3.0, plot.right() - 3.0),
                        std::clamp(at.y(), plot.top() + 3.0, plot.bottom() - 3.0));
        p.fillRect(QRectF(c.x() - 3, c.y() - 3, 6, 6), Series2.Color);
        const QSizeF text = fm.size(Qt::TextSingleLine, pt.Label);
        QRectF box(QPointF(c.x() + 5, c.y() - 4 - text.height()), text);
        if (box.right() > plot.right()) box.moveRight(c.x() - 5);
        if (box.top() < plot.top()) box.moveTop(c.y() + 4);
        p.setPen(Series2.Color);
        p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, pt.Label);
    }
}

void AttachCompressorChart(const CompressorChartControls& controls) {
    Chart.Controls = controls;
}

void DetachCompressorChart() {
    Chart.Controls = CompressorChartControls{};
}

void SetupCompressorChart() {
    TChart* chart = ChartWidget();
    if (!chart) return;
    chart->Series2.Clear();
    chart->Series2.Color = MarkerColour;
    // Ascending input level, so marker i carries the label of point i.
    chart->Series2.AddXY(-90, -90, QStringLiteral("0"));
    chart->Series2.AddXY(-80, -80, QStringLiteral("1"));
    chart->Series2.AddXY(-50, -50, QStringLiteral("2"));
    chart->Series2.AddXY(-20, -20, QStringLiteral("3"));
    chart->Series2.AddXY(6, 6, QStringLiteral("4"));
    chart->Series1.Clear();
    for (double v : {-90.0, -80.0, -50.0, -20.0, 6.0})
        chart->Series1.AddXY(v, v);
    chart->Series3.Clear();
    chart->Series3.Color = ReferenceColour;
    chart->Series3.AddXY(-90, -90);
    chart->Series3.AddXY(21, 21);
    chart->update();
}

void CurvePoint(int mode) {
    double* X = Chart.CurveInputLevels;
    double* Y = Chart.CurveOutputLevels;
    QSpinBox* inEdit[CurvePointCount];
    QSpinBox* outEdit[CurvePointCount];
    SpinEdits(inEdit, outEdit);

    Chart.CurveUpdating = true;
    if (mode == ChartFromImage) {
        for (int i = 0; i < CurvePointCount; ++i)
            UnpackCurvePoint(Params.ParamImage[1][CurveFirstSlot + i], X[i], Y[i]);
    } else if (mode == ChartFromEdits) {
        for (int i = 0; i < CurvePointCount; ++i) {
            if (inEdit[i]) X[i] = inEdit[i]->value();
            if (outEdit[i]) Y[i] = outEdit[i]->value();
        }
    }
    ShapeCurve(X, Y);
    for (int i = 0; i < CurvePointCount; ++i) {
        if (inEdit[i]) inEdit[i]->setValue(RoundEvenInt(X[i]));
        if (outEdit[i]) outEdit[i]->setValue(RoundEvenInt(Y[i]));
    }
    if (mode >= ChartFromEdits) {
        for (int i = 0; i < CurvePointCount; ++i)
            Params.ParamImage[1][CurveFirstSlot + i] = PackCurvePoint(X[i], Y[i]);
        // Only the slots that really changed go out, the last point first.
        for (int i = CurvePointCount - 1; i >= 0; --i) {
            const int slot = CurveFirstSlot + i;
            if (Params.ParamImage[1][slot] != Params.DeviceImage[1][slot])
                SendDatatoMCU(SlotAddress(1, slot), Params.ParamImage[1][slot]);
        }
    }
    TChart* chart = ChartWidget();
    if (chart) {
        chart->Series1.Clear();
        for (int i = 0; i < CurvePointCount; ++i)
            chart->Series1.AddXY(X[i], Y[i]);
        for (int i = 0; i < CurvePointCount && i < chart->Series2.Points.size(); ++i) {
            chart->Series2.Points[i].X = X[i];
            chart->Series2.Points[i].Y = Y[i];
        }
    }
    Chart.CurveUpdating = false;
    if (chart) {
        const QComboBox* rms = Chart.Controls.RMSBox;
        const bool on = rms && rms->currentIndex() == 1;
        chart->Series1.Color = on ? CurveOn : CurveOff;
        chart->update();
    }
}

void ResetCompressorCurve() {
    for (int i = 0; i < CurvePointCount; ++i) {
        Chart.CurveInputLevels[i] = StartCurve[i];
        Chart.CurveOutputLevels[i] = StartCurve[i];
    }
    CurvePoint(ChartFromLevels);
}

void RzSpinEdit2Change(QObject* Sender) {
    if (Chart.CurveUpdating) return;
    QSpinBox* in[CurvePointCount];
    QSpinBox* out[CurvePointCount];
    SpinEdits(in, out);
    int point = 0;
    int key = NoMerge;
    for (int i = 0; i < CurvePointCount; ++i) {
        // Steps on one spin edit merge; each edit is its own control.
        if (!Sender || (Sender != in[i] && Sender != out[i])) continue;
        point = i;
        key = 0x10000 + 2 * i + (Sender == out[i] ? 1 : 0);
    }
    UndoGesture gesture(ParamName(SlotAddress(1, CurveFirstSlot + point)), key);
    CurvePoint(ChartFromEdits);
}

void ResetChartState() {
    Chart = ChartState{};
}
