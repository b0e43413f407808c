#pragma once
// Band responses of the equaliser graph. Every shape is built once from a
// normalised biquad prototype with its corner at a quarter of the sampling
// rate and then slid along the logarithmic axis onto the band's frequency, so
// a shape's width in pixels depends on type and Q only. Standard library only.

#include <array>
#include <cstdint>

class QWidget;

constexpr int CurveWidth = 462; // logical width W; responses have W + 1 points
constexpr int CurvePoints = CurveWidth + 1;
constexpr int CurveHalf = 231;                    // shape index that carries the prototype's corner
constexpr double FreqDecades = 3.380211241711606; // log10(2400): 10 Hz .. 24 kHz
constexpr int CurveSlotCount = 17;

using ResponseArray = std::array<float, CurvePoints>;

// Nearest integer, halves to the even neighbour.
double RoundEven(double x);
int RoundEvenInt(double x);

// Logical pixel of a frequency and back (double precision, logical pixels).
double FreqToPixel(double f);
double PixelToFreq(double x);

// Crossover filter families of the shape builders.
enum class PassMode { Off, Bessel, Butterworth, VariQ, FirstOrder, ButterworthSection };

// Shape builders: each writes out[0 .. CurveWidth].
void PeakResponse(float* out, int freqHz, float q, float gain);
void ShelfResponse(float* out, int freqHz, bool high, float q, float gain);
// For ButterworthSection, order and section pick the section (N, k).
void HighPassResponse(float* out, int freqHz, PassMode mode, float q, int order = 4,
                      int section = 0);
void LowPassResponse(float* out, int freqHz, PassMode mode, float q, int order = 4,
                     int section = 0);

// One slot's response by band type code (0..4 bands, 10..14 bypassed,
// 100..106 high-pass, 200..206 low-pass).
void BandResponse(float* out, int freqHz, uint8_t type, float q, float gain);

// Q remap of the five highest Q table values (the shapes would otherwise
// become needles narrower than a pixel).
float RemapQ(float q);

// One entry of the band table of the displayed module.
struct CurveSlot {
    int32_t Type = 0;
    float Gain = 0;
    float Freq = 0;
    float Q = 0;
    QWidget* FreqEdit = nullptr;
    QWidget* GainEdit = nullptr;
    QWidget* QEdit = nullptr;
};
