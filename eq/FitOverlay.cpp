#include "eq/FitOverlay.h"

#include "app/WindowState.h"
#include "eq/EqGraph.h"
#include "eq/FilterMath.h"
#include "eq/GraphGeometry.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QToolButton>
#include <cmath>

namespace {

struct OverlayState {
    bool Shown = false;
    FitOverlayCurves Curves;
    bool Preview = false;
    std::vector<double> PreviewSum;
    QPointer<QToolButton> Close;
};
OverlayState S;

const QColor MeasuredColour(30, 70, 150);
const QColor TargetColour(240, 240, 240);
const QColor PredictedColour(0, 95, 55);

void RedrawShown() {
    RedrawEqCurve(AllSlots, Window.CurrentModule == 2 ? 2 : 1);
}

// The curve through the pixels that hold a value; gaps break it.
QPainterPath CurvePath(const std::array<float, 463>& values, const double* add, double k,
                       int height) {
    QPainterPath path;
    bool open = false;
    for (int j = 0; j < CurveWidth; ++j) {
        const float v = values[static_cast<std::size_t>(j)];
        if (std::isnan(v)) {
            open = false;
            continue;
        }
        const QPointF p(j * k, DbToYAt(v + (add ? add[j] : 0.0), height));
        if (open)
            path.lineTo(p);
        else
            path.moveTo(p);
        open = true;
    }
    return path;
}

void Legend(QPainter& p, int left) {
    const struct {
        QColor Colour;
        Qt::PenStyle Style;
        const char* Text;
    } items[] = {
        {MeasuredColour, Qt::SolidLine, QT_TRANSLATE_NOOP("FitOverlay", "测量")},
        {TargetColour, Qt::DashLine, QT_TRANSLATE_NOOP("FitOverlay", "目标")},
        {PredictedColour, Qt::SolidLine, QT_TRANSLATE_NOOP("FitOverlay", "预测")},
    };
    QFont f = p.font();
    f.setPixelSize(11);
    p.setFont(f);
    int x = left;
    for (const auto& item : items) {
        p.setPen(QPen(item.Colour, 1.5, item.Style));
        p.drawLine(x, 12, x + 18, 12);
        const QString text = QCoreApplication::translate("FitOverlay", item.Text);
        p.setPen(Qt::white);
        p.drawText(x + 22, 16, text);
        x += 30 + p.fontMetrics().horizontalAdvance(text);
    }
}

} // namespace

void AttachFitOverlay(QToolButton* closeButton) {
    S.Close = closeButton;
}

void ShowFitOverlay(const FitOverlayCurves& curves) {
    S.Shown = true;
    S.Curves = curves;
    RedrawShown();
}

void SetFitOverlayPreview(const std::array<float, 463>* summed) {
    S.Preview = summed != nullptr;
    if (summed) S.PreviewSum.assign(summed->begin(), summed->end());
    if (S.Shown) RedrawShown();
}

void DismissFitOverlay() {
    if (!S.Shown) return;
    S.Shown = false;
    S.Preview = false;
    if (S.Close) S.Close->hide();
    RedrawShown();
}

bool FitOverlayShown() {
    return S.Shown;
}

void DrawFitOverlay(QImage& picture, int module, const std::vector<double>& sums) {
    const bool here = S.Shown && module == S.Curves.Module;
    if (S.Close) S.Close->setVisible(here);
    if (!here || picture.isNull()) return;
    const double k = static_cast<double>(picture.width()) / CurveWidth;
    const int height = picture.height();
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.translate(0.5, 0.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(TargetColour, 1.0, Qt::DashLine));
    p.drawPath(CurvePath(S.Curves.Target, nullptr, k, height));
    p.setPen(QPen(MeasuredColour, 1.0));
    p.drawPath(CurvePath(S.Curves.Measured, nullptr, k, height));
    p.setPen(QPen(PredictedColour, 1.2));
    p.drawPath(CurvePath(S.Curves.Measured, (S.Preview ? S.PreviewSum : sums).data(), k, height));
    Legend(p, 6);
}
