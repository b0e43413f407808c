#include "eq/EqGraph.h"

#include "app/Components.h"
#include "app/WindowState.h"
#include "eq/EqDrag.h"
#include "eq/FitOverlay.h"
#include "eq/GraphGeometry.h"
#include "params/DispatchState.h"
#include "params/Dispatcher.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <vector>

#include <cstring>

EqGraphState EqGraph;

namespace {

const QColor BackColour(154, 148, 142);
const QColor MajorColour(80, 80, 80);
const QColor MinorColour(100, 100, 100);
const QColor CurveColour(212, 120, 34, 255);
const QColor HandleText(255, 140, 0);
const QColor HandleBack(60, 60, 60);
const QColor ExitColour(200, 20, 20);

const EqGraphControls& C() {
    return EqGraph.Controls;
}

TImage* Image() {
    return C().Image1;
}

int ImageHeight() {
    TImage* img = Image();
    return img ? img->height() : 270;
}

QWidget* Handle(int n) {
    return n >= 0 && n < 17 ? Window.EqHandles[n] : nullptr;
}

// Plain 1 px line between rounded end points, as the grid wants it.
void GridLine(QPainter& p, const QColor& colour, double x1, double y1, double x2, double y2) {
    p.setPen(QPen(colour, 1));
    p.drawLine(QPoint(RoundEvenInt(x1), RoundEvenInt(y1)),
               QPoint(RoundEvenInt(x2), RoundEvenInt(y2)));
}

void DrawGrid(QImage& img) {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    const int w = img.width();
    const int h = img.height();
    for (int db = DbBottom; db <= DbTop; db += 3) {
        const bool major = db == DbBottom || db == 0 || db == DbTop;
        GridLine(p, major ? MajorColour : MinorColour, 0, DbToY(db), w, DbToY(db));
    }
    const double right = CurveWidth * EqGraph.GraphScale - 1;
    for (double x : {0.0, FreqToX(100), FreqToX(1000), FreqToX(10000), right})
        GridLine(p, MajorColour, x, 0, x, h);
    for (int decade = 10; decade <= 1000; decade *= 10)
        for (int m = 2; m <= 9; ++m)
            GridLine(p, MinorColour, FreqToX(m * decade), 0, FreqToX(m * decade), h);
    GridLine(p, MinorColour, FreqToX(20000), 0, FreqToX(20000), h);
    GridLine(p, MajorColour, 0, DbToY(DbTop), w, DbToY(DbTop));
    GridLine(p, MajorColour, 0, DbToY(DbBottom), w, DbToY(DbBottom));
}

QLabel* AxisLabel(QWidget* parent, const QString& name, const QString& text, int w, int h,
                  Qt::Alignment align) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    l->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    l->setAlignment(align);
    l->resize(w, h);
    l->setVisible(true);
    return l;
}

void BuildAxisLabels() {
    QWidget* panel = C().EQAdvPanel;
    if (!panel || !C().AdvPanel2) return;
    const QPoint origin = C().AdvPanel2->pos();
    for (int k = 0; k < 7; ++k) {
        const int db = DbBottom + 6 * k;
        if (!EqGraph.DbLabels[k])
            EqGraph.DbLabels[k] = AxisLabel(panel, QStringLiteral("EQLabelY%1").arg(k),
                                            QString::fromStdString(DbLabelText(db)), 32, 13,
                                            Qt::AlignRight | Qt::AlignVCenter);
        EqGraph.DbLabels[k]->move(origin.x() - 32 - 2,
                                  RoundEvenInt(DbToY(db)) + origin.y() - 13 / 2);
    }
    static const struct {
        int f;
        const char* text;
    } freqs[10] = {{20, "20Hz"},     {50, "50Hz"},    {100, "100Hz"}, {200, "200Hz"},
                   {500, "500Hz"},   {1000, "1KHz"},  {2000, "2KHz"}, {5000, "5KHz"},
                   {10000, "10KHz"}, {20000, "20KHz"}};
    for (int k = 0; k < 10; ++k) {
        if (!EqGraph.FreqLabels[k])
            EqGraph.FreqLabels[k] =
                AxisLabel(panel, QStringLiteral("EQLabelX%1").arg(11 + k),
                          QString::fromLatin1(freqs[k].text), 36, 13, Qt::AlignCenter);
        EqGraph.FreqLabels[k]->move(RoundEvenInt(FreqToX(freqs[k].f)) + origin.x() - 36 / 2,
                                    origin.y() + ImageHeight());
    }
}

void CopyGridIntoImage() {
    TImage* img = Image();
    if (!img || EqGraph.GridBackground.isNull()) return;
    QImage& pic = img->Picture;
    if (pic.size() != EqGraph.GridBackground.size() || pic.format() != QImage::Format_RGB32) {
        pic = EqGraph.GridBackground.copy();
        return;
    }
    // Copy into the existing buffer: no allocation on every drag step.
    std::memcpy(pic.bits(), EqGraph.GridBackground.constBits(),
                static_cast<size_t>(pic.sizeInBytes()));
}

QImage HandleIcon(int size, const QString& text, bool disc) {
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(HandleBack);
    if (disc)
        p.drawEllipse(QRectF(0.5, 0.5, size - 1.0, size - 1.0));
    else
        p.drawRect(QRectF(1, 5, size - 2, size - 10));
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(disc ? 12 : 9);
    p.setFont(f);
    p.setPen(HandleText);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, text);
    return icon;
}

void PrepareHandles() {
    for (int n = 0; n < 9; ++n) {
        TImage* band = C().Bands[n];
        if (!band) continue;
        band->resize(18, 18);
        band->Picture = HandleIcon(18, QString::number(n + 1), true);
        band->update();
    }
    for (TImage* x : {C().HPF.data(), C().LPF.data()}) {
        if (!x) continue;
        x->resize(24, 24);
        x->Picture =
            HandleIcon(24, x == C().HPF ? QStringLiteral("HPF") : QStringLiteral("LPF"), false);
        x->update();
    }
}

// The panel carries no mouse signals of its own.
class GraphMouseFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        QWidget* panel = C().EQAdvPanel;
        if (!panel) return false;
        if (event->type() == QEvent::MouseButtonRelease && watched == panel) {
            auto* e = static_cast<QMouseEvent*>(event);
            const QPoint pos = e->position().toPoint();
            EQAdvPanelMouseUp(watched, e->button(), pos.x(), pos.y());
        }
        return false;
    }
};

void ConnectMouse() {
    QObject* owner = C().Owner;
    TImage* handles[11];
    std::copy(std::begin(C().Bands), std::end(C().Bands), handles);
    handles[9] = C().HPF;
    handles[10] = C().LPF;
    for (TImage* h : handles) {
        if (!h) continue;
        QObject::connect(h, &TImage::mouseDown, owner,
                         [h](Qt::MouseButton b, Qt::MouseButtons, Qt::KeyboardModifiers, int x,
                             int y) { EP1MouseDown(h, b, x, y); });
        QObject::connect(h, &TImage::mouseMove, owner,
                         [h](Qt::MouseButtons bs, Qt::KeyboardModifiers, int x, int y) {
                             EP1MouseMove(h, bs, x, y);
                         });
        QObject::connect(h, &TImage::mouseUp, owner,
                         [h](Qt::MouseButton b, Qt::MouseButtons, Qt::KeyboardModifiers, int x,
                             int y) { EP1MouseUp(h, b, x, y); });
    }
    if (TImage* img = C().Image1) {
        QObject::connect(img, &TImage::mouseMove, owner,
                         [img](Qt::MouseButtons bs, Qt::KeyboardModifiers, int x, int y) {
                             Image1MouseMove(img, bs, x, y);
                         });
        QObject::connect(img, &TImage::mouseUp, owner,
                         [img](Qt::MouseButton b, Qt::MouseButtons, Qt::KeyboardModifiers, int x,
                               int y) { Image1MouseUp(img, b, x, y); });
    }
    if (QWidget* panel = C().EQAdvPanel) panel->installEventFilter(new GraphMouseFilter(owner));
}

// The banner and the readout are drawn over the graph but never take the
// mouse: what lies under them (a handle or the graph) gets it. The handles
// stay above every label.
void StackGraphControls() {
    for (QLabel* l : {C().EQlabel.data(), C().EQPassLabel.data(), C().Label2.data()}) {
        if (!l) continue;
        l->setAttribute(Qt::WA_TransparentForMouseEvents, true);
        l->lower();
    }
    if (TImage* img = C().Image1) img->lower();
    for (QWidget* h : Window.EqHandles)
        if (h) h->raise();
}

void PlaceSlotHandle(int s) {
    const CurveSlot& cs = EqGraph.CurveSlots[s];
    const int type = cs.Type;
    const int n = type < 100 ? s : (type < 200 ? 9 : 10);
    QWidget* h = Handle(n);
    if (!h) return;
    const HandlePlace pl =
        PlaceHandle(s, type, cs.Freq, cs.Gain, h->height(), EqGraph.GraphScale, ImageHeight());
    h->move(pl.Left, pl.Top);
}

void UpdateReadout(int s, int module) {
    QLabel* label = C().EQlabel;
    if (!label) return;
    EqGraph.ReadoutModule = module;
    EqGraph.ReadoutSlot = s;
    const CurveSlot& cs = EqGraph.CurveSlots[s];
    const int type = cs.Type;
    QWidget* h = Handle(type < 100 ? s : (type < 200 ? 9 : 10));
    if (!h) return;
    const QString text = QString::fromStdString(ReadoutText(s, type, cs.Freq, cs.Gain, cs.Q));
    if (label->text() != text) {
        label->setText(text);
        label->adjustSize();
    }
    const ReadoutPlace pl = PlaceReadout(s, type, cs.Gain, h->x(), h->y(), h->width(), h->height(),
                                         label->width(), label->height());
    label->move(pl.Left, pl.Top);
}

// Where the summed curve runs off the scale: a bar along that edge over the
// run and the farthest value at its peak, so a clipped peak never reads as
// the edge's value.
void DrawScaleExits(QImage& pic, const std::vector<double>& sums) {
    const std::vector<ScaleExit> exits = ScaleExits(sums);
    if (exits.empty()) return;
    QPainter p(&pic);
    p.setRenderHint(QPainter::Antialiasing, true);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(11);
    p.setFont(f);
    const QFontMetrics fm(f);
    for (const ScaleExit& e : exits) {
        const int x1 = EqGraph.CurveX[e.First];
        const int x2 = std::max(EqGraph.CurveX[e.Last], x1 + 1);
        const int peak = EqGraph.CurveX[e.Peak];
        const int edge = e.Top ? 0 : pic.height() - 1;
        const int in = e.Top ? 1 : -1; // into the graph
        p.fillRect(QRect(QPoint(x1, e.Top ? 0 : edge - 2), QPoint(x2, e.Top ? 2 : edge)),
                   ExitColour);
        p.setPen(Qt::NoPen);
        p.setBrush(ExitColour);
        const QPointF tip(peak + 0.5, edge + in * 3);
        p.drawPolygon(QPolygonF{tip, QPointF(peak - 5.5, edge + in * 10),
                                QPointF(peak + 6.5, edge + in * 10)});
        // The value beside the bar, away from the peak's handle and readout.
        const QString text = QString::fromStdString(ScaleExitText(e.PeakDb));
        const int w = fm.horizontalAdvance(text);
        int left = x1 - 6 - w;
        if (left < 2) left = x2 + 6;
        const int base = e.Top ? edge + 3 + fm.ascent() : edge - 3 - fm.descent();
        p.setPen(ExitColour);
        p.drawText(left, base, text);
    }
}

} // namespace

double FreqToX(double f) {
    return FreqToXAt(f, EqGraph.GraphScale);
}
double XToFreq(double x) {
    return XToFreqAt(x, EqGraph.GraphScale);
}
double DbToY(double db) {
    return DbToYAt(db, ImageHeight());
}
double YToDb(double y) {
    return YToDbAt(y, ImageHeight());
}

void ResetEqState() {
    EqGraph = EqGraphState{};
}

void DetachEqGraph() {
    EqGraph.Controls = EqGraphControls{};
}

void AttachEqGraph(const EqGraphControls& controls) {
    EqGraph.Controls = controls;
    TImage* img = controls.Image1;
    if (!controls.Owner || !img) return;
    img->Picture = QImage(img->width(), img->height(), QImage::Format_RGB32);
    SetupEqGraph(GraphBuild);
    PrepareHandles();
    ConnectMouse();
    StackGraphControls();
}

const CrossoverControls& GraphCrossover(int module) {
    return module == 1 ? C().MusCrossover : C().AuxCrossover;
}

void SetupEqGraph(int mode) {
    TImage* img = Image();
    if (!img) return;
    if (mode == GraphBuild) {
        EqGraph.GraphScale = static_cast<double>(img->width()) / CurveWidth;
        QImage bg(img->width(), img->height(), QImage::Format_RGB32);
        bg.fill(BackColour);
        DrawGrid(bg);
        EqGraph.GridBackground = bg;
        BuildAxisLabels();
    }
    CopyGridIntoImage();
    img->update();
}

void DrawCurveSpline() {
    TImage* img = Image();
    if (!img || img->Picture.isNull()) return;
    std::vector<PointD> pts(CurveWidth);
    for (int j = 0; j < CurveWidth; ++j)
        pts[j] = {static_cast<double>(EqGraph.CurveX[j]), static_cast<double>(EqGraph.CurveY[j])};
    QPainterPath path;
    path.moveTo(pts[0].x, pts[0].y);
    for (const BezierSegment& b : CardinalToBezier(pts, 0.4))
        path.cubicTo(b.c1.x, b.c1.y, b.c2.x, b.c2.y, b.end.x, b.end.y);
    QPainter p(&img->Picture);
    p.setRenderHint(QPainter::Antialiasing, true);
    // Integer points on pixel centres, as the grid lines lie.
    p.translate(0.5, 0.5);
    p.setPen(QPen(CurveColour, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void RedrawEqCurve(int slot, int module) {
    TImage* img = Image();
    if (slot < 0 || slot > AllSlots || Dispatch.ScreenBusy == 1 || module > 2 || module < 1 || !img)
        return;
    QLabel* readout = C().EQlabel;
    if (QLabel* pass = C().EQPassLabel)
        pass->setVisible(Dispatch.PassState[module] != 0 && module != 2);
    const int last = CollectCurveSlots(module);
    if (slot == AllSlots) {
        // The readout belongs to the module it was written for; another
        // module's band is not described on this graph.
        if (readout && EqGraph.ReadoutModule != module) {
            readout->clear();
            EqGraph.ReadoutModule = module;
            EqGraph.ReadoutSlot = -1;
        }
        for (int n = 2; n <= 8; ++n)
            if (QWidget* h = Handle(n)) h->setVisible(module == 1);
        for (int n : {0, 1, 9, 10})
            if (QWidget* h = Handle(n)) h->setVisible(true);
    }
    SetupEqGraph(GraphWipe);
    for (int s = 0; s <= last; ++s) {
        if (slot != AllSlots && slot != s) continue;
        const CurveSlot& cs = EqGraph.CurveSlots[s];
        BandResponse(EqGraph.SlotResponse[s].data(), RoundEvenInt(cs.Freq),
                     static_cast<uint8_t>(cs.Type & 0xFF), cs.Q, cs.Gain);
        PlaceSlotHandle(s);
    }
    // Slots beyond the module's band table hold another module's data.
    if (slot != AllSlots && slot <= last) UpdateReadout(slot, module);
    // A full redraw follows values changed wholesale: the readout goes with
    // its band's new values, or away when its band is not on this graph.
    if (slot == AllSlots && readout) {
        if (EqGraph.ReadoutSlot >= 0 && EqGraph.ReadoutSlot <= last &&
            EqGraph.ReadoutModule == module)
            UpdateReadout(EqGraph.ReadoutSlot, module);
        else
            readout->clear();
    }

    const float k = static_cast<float>(img->width()) / CurveWidth;
    const int height = ImageHeight();
    std::vector<double> sums(CurveWidth);
    for (int j = 0; j < CurveWidth; ++j) {
        float sum = 0;
        for (int s = 0; s <= last; ++s)
            sum += EqGraph.SlotResponse[s][j];
        sums[static_cast<std::size_t>(j)] = sum;
        EqGraph.CurveX[j] = RoundEvenInt(static_cast<double>(static_cast<float>(j) * k));
        EqGraph.CurveY[j] = RoundEvenInt(DbToYAt(sum, height));
    }
    DrawFitOverlay(img->Picture, module, sums); // behind the response curve
    DrawCurveSpline();
    DrawScaleExits(img->Picture, sums);
    img->update();
}

void EqRedrawCheck() {
    if (Window.LastCurveWrite == Window.DrawnCurveWrite) return;
    Window.DrawnCurveWrite = Window.LastCurveWrite;
    const int address = Window.DrawnCurveWrite.Address;
    const int band = BandOfAddress(address);
    if ((band & 0xFF) == 255) return;
    RedrawEqCurve(band >> 8, address / 256);
}
