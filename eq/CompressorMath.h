#pragma once
// Shape rules of the compressor's five-point curve. Standard library only.

#include <cstdint>

constexpr int CurvePointCount = 5;
constexpr int CurveFirstSlot = 8; // module 1, slots 8..12

// A point's levels in dB: inputs -90..21 (the first point at -90, the last at
// 21), outputs -113..21, and no point lifts the signal by more than 20 dB.
// A slot holds each level + PointBias in a byte.
constexpr int PointInMin = -90, PointInMax = 21, PointOutMin = -113, PointOutMax = 21;
constexpr int PointLift = 20;
constexpr int PointBias = 200;
// The curve the console starts with and the reset brings back: 1:1 through
// -90, -70, -40, 0 and 21 dB.
constexpr int StartCurve[CurvePointCount] = {-90, -70, -40, 0, 21};

// Brings the points into a valid shape: levels held to their ranges, no point
// lifting the signal by more than 20 dB, fixed end inputs, then one forward
// pass of each ordering.
void ShapeCurve(double X[CurvePointCount], double Y[CurvePointCount]);

// Slot value of a point: (X + 200) * 256 + (Y + 200).
int32_t PackCurvePoint(double x, double y);
void UnpackCurvePoint(int32_t value, double& x, double& y);
