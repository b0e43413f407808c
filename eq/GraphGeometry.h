#pragma once
// Pure geometry of the response graph: axis mappings, handle placement, the
// readout's text and place, the spline's control points. Standard library only.

#include <string>
#include <vector>

constexpr int DbBottom = -24;
constexpr int DbTop = 12;

// scale = image pixels per logical pixel; height = image height.
double FreqToXAt(double f, double scale);
double XToFreqAt(double x, double scale);
double DbToYAt(double db, int height);
double YToDbAt(double y, int height);

struct HandlePlace {
    int Handle = 0; // index into the handle table
    int Left = 0;
    int Top = 0;
};

// Bands with a gain (peaking, shelves, also bypassed) sit at their gain; VariQ
// bands and crossovers on the 0 dB line.
bool TypeHasGain(int type);
HandlePlace PlaceHandle(int slot, int type, double freq, double gain, int handleHeight,
                        double scale, int imageHeight);

// Three-line readout (lines broken by "\n") for gain bands in slots 0..8, the
// frequency alone otherwise.
bool ReadoutHasGain(int slot, int type);
std::string ReadoutText(int slot, int type, double freq, double gain, double q);
struct ReadoutPlace {
    int Left = 0;
    int Top = 0;
};
ReadoutPlace PlaceReadout(int slot, int type, double gain, int handleLeft, int handleTop,
                          int handleWidth, int handleHeight, int labelWidth, int labelHeight);

// Axis label texts: "-24dB", "6dB".
std::string DbLabelText(int db);

struct PointD {
    double x = 0;
    double y = 0;
};
struct BezierSegment {
    PointD c1, c2, end;
};
// Cardinal spline through pts as cubic Bezier segments (the first point is
// the path's start); the end points reuse themselves as outer neighbours.
std::vector<BezierSegment> CardinalToBezier(const std::vector<PointD>& pts, double tension);

// Where the summed curve leaves the dB scale: a run of points above DbTop
// (Top) or below DbBottom, with the point that lies farthest out.
struct ScaleExit {
    bool Top = true;
    int First = 0; // indexes into the curve's points
    int Last = 0;
    int Peak = 0;
    double PeakDb = 0;
};
std::vector<ScaleExit> ScaleExits(const std::vector<double>& sumsDb);
// The peak's text on the mark, "15.7dB".
std::string ScaleExitText(double db);
