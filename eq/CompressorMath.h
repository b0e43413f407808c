#pragma once
// Shape rules of the compressor's five-point curve. Standard library only.

#include <cstdint>

constexpr int CurvePointCount = 5;
constexpr int CurveFirstSlot = 8; // module 1, slots 8..12

// Brings the points into a valid shape: levels held to their ranges, no point
// lifting the signal by more than 20 dB, fixed end inputs, then one forward
// pass of each ordering.
void ShapeCurve(double X[CurvePointCount], double Y[CurvePointCount]);

// Slot value of a point: (X + 200) * 256 + (Y + 200).
int32_t PackCurvePoint(double x, double y);
void UnpackCurvePoint(int32_t value, double& x, double& y);
