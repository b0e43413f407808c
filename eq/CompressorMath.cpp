#include "eq/CompressorMath.h"

#include "eq/FilterMath.h"

#include <algorithm>

void ShapeCurve(double X[CurvePointCount], double Y[CurvePointCount]) {
    for (int i = 0; i < CurvePointCount; ++i) {
        X[i] = std::clamp(X[i], -90.0, 21.0);
        Y[i] = std::clamp(Y[i], -113.0, 21.0);
        if (Y[i] > X[i] + 20) Y[i] = X[i] + 20;
    }
    X[0] = -90;
    X[4] = 21;
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
    return (RoundEvenInt(x) + 200) * 256 + (RoundEvenInt(y) + 200);
}

void UnpackCurvePoint(int32_t value, double& x, double& y) {
    x = value / 256 - 200;
    y = value % 256 - 200;
}
