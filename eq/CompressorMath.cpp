#include "eq/CompressorMath.h"

#include "eq/FilterMath.h"

#include <algorithm>

void ShapeCurve(double X[CurvePointCount], double Y[CurvePointCount]) {
    for (int i = 0; i < CurvePointCount; ++i) {
        X[i] = std::clamp<double>(X[i], PointInMin, PointInMax);
        Y[i] = std::clamp<double>(Y[i], PointOutMin, PointOutMax);
        if (Y[i] > X[i] + PointLift) Y[i] = X[i] + PointLift;
    }
    X[0] = PointInMin;
    X[CurvePointCount - 1] = PointInMax;
    // One pass each: a value lowered later is not carried back in this call.
    X[1] = std::min(X[1], X[2]);
    X[2] = std::min(X[2], X[3]);
    X[3] = std::min(X[3], X[4]);
    Y[0] = std::min(Y[0], Y[1]);
    Y[1] = std::min(Y[1], Y[2]);
    Y[2] = std::min(Y[2], Y[3]);
    Y[3] = std::min(Y[3], Y[4]);
}

int32_t PackCurvePoint(double x, double y) {
    return (RoundEvenInt(x) + PointBias) * 256 + (RoundEvenInt(y) + PointBias);
}

void UnpackCurvePoint(int32_t value, double& x, double& y) {
    x = value / 256 - PointBias;
    y = value % 256 - PointBias;
}
