#include "eq/GraphGeometry.h"

#include "eq/FilterMath.h"
#include "params/ValueScales.h"

#include <cmath>

double FreqToXAt(double f, double scale) {
    return (std::log10(f) - 1.0) / FreqDecades * CurveWidth * scale;
}

double XToFreqAt(double x, double scale) {
    return std::pow(10.0, x * FreqDecades / (CurveWidth * scale) + 1.0);
}

double DbToYAt(double db, int height) {
    return (DbTop - db) / (DbTop - DbBottom) * (height - 1);
}

double YToDbAt(double y, int height) {
    return DbTop - y / (height - 1) * (DbTop - DbBottom);
}

bool TypeHasGain(int type) {
    return type < 100 && type % 10 < 3;
}

HandlePlace PlaceHandle(int slot, int type, double freq, double gain, int handleHeight,
                        double scale, int imageHeight) {
    HandlePlace p;
    p.Handle = type < 100 ? slot : (type < 200 ? 9 : 10);
    const int d = handleHeight / 2;
    p.Left = RoundEvenInt(FreqToXAt(freq, scale) - d);
    p.Top = RoundEvenInt(DbToYAt(TypeHasGain(type) ? gain : 0.0, imageHeight) - d);
    return p;
}

bool ReadoutHasGain(int slot, int type) {
    return TypeHasGain(type) && slot >= 0 && slot <= 8;
}

std::string ReadoutText(int slot, int type, double freq, double gain, double q) {
    if (ReadoutHasGain(slot, type))
        return FormatFixed(gain, 1) + "dB\nQ:" + FormatFixed(q, 2) + "\n" + FormatFixed(freq, 2) +
               "Hz";
    return FormatFixed(freq, 2) + "Hz";
}

ReadoutPlace PlaceReadout(int slot, int type, double gain, int handleLeft, int handleTop,
                          int handleWidth, int handleHeight, int labelWidth, int labelHeight) {
    ReadoutPlace p;
    p.Left = handleLeft - labelWidth / 2 + handleWidth / 2;
    if (ReadoutHasGain(slot, type))
        p.Top = gain >= 0 ? handleTop + handleHeight : handleTop - labelHeight - 1;
    else
        p.Top = handleTop + handleHeight - 5;
    return p;
}

std::string DbLabelText(int db) {
    return std::to_string(db) + "dB";
}

std::vector<BezierSegment> CardinalToBezier(const std::vector<PointD>& pts, double tension) {
    std::vector<BezierSegment> out;
    const size_t n = pts.size();
    if (n < 2) return out;
    out.reserve(n - 1);
    const double k = tension / 3.0;
    for (size_t i = 0; i + 1 < n; ++i) {
        const PointD& p0 = pts[i == 0 ? 0 : i - 1];
        const PointD& p1 = pts[i];
        const PointD& p2 = pts[i + 1];
        const PointD& p3 = pts[i + 2 < n ? i + 2 : n - 1];
        BezierSegment s;
        s.c1 = {p1.x + k * (p2.x - p0.x), p1.y + k * (p2.y - p0.y)};
        s.c2 = {p2.x - k * (p3.x - p1.x), p2.y - k * (p3.y - p1.y)};
        s.end = p2;
        out.push_back(s);
    }
    return out;
}

std::vector<ScaleExit> ScaleExits(const std::vector<double>& sumsDb) {
    std::vector<ScaleExit> out;
    const int n = static_cast<int>(sumsDb.size());
    for (int j = 0; j < n;) {
        const double v = sumsDb[static_cast<std::size_t>(j)];
        const bool top = v > DbTop;
        if (!top && !(v < DbBottom)) {
            ++j;
            continue;
        }
        ScaleExit e;
        e.Top = top;
        e.First = e.Peak = j;
        e.PeakDb = v;
        for (; j < n; ++j) {
            const double w = sumsDb[static_cast<std::size_t>(j)];
            if (top ? !(w > DbTop) : !(w < DbBottom)) break;
            if (top ? w > e.PeakDb : w < e.PeakDb) {
                e.PeakDb = w;
                e.Peak = j;
            }
            e.Last = j;
        }
        out.push_back(e);
    }
    return out;
}

std::string ScaleExitText(double db) {
    return FormatFixed(db, 1) + "dB";
}
