#pragma once
// Geometry of the waveform view: the regions laid out from the client size,
// the time-axis mapping, the per-column reduction of samples to strokes and
// the time grid. Plain data and functions; the widget paints from them.
#include <array>
#include <cstdint>
#include <string>

namespace lyr::view {

inline constexpr int kMaxColumns = 4000;
inline constexpr int kLaneCount = 8;
// Lane names are drawn at this pixel size, smaller in short lanes, but never
// below the smallest size that still reads.
inline constexpr int kLaneFontPx = 14;
inline constexpr int kMinLaneFontPx = 8;

// Inclusive pixel rectangle (right and bottom belong to it).
struct Rect {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

// Sizes of the two handle images, needed to lay out their strips.
struct HandleSizes {
    int cursorWidth = 11;
    int cursorHeight = 10;
    int markWidth = 11;
    int markHeight = 10;
};

struct Layout {
    int clientWidth = 0;
    int clientHeight = 0;
    HandleSizes handles;
    Rect timeLabels;    // 18 px strip with the time labels
    Rect separator;     // 4 px strip; black line on its lower edge
    Rect cursorStrip;   // strip holding the cursor handle
    Rect markStrip;     // strip holding the time-mark handle
    Rect voltLabels;    // voltage-label column left of the plot
    Rect plot;          // analog trace
    std::array<Rect, kLaneCount> laneArea;   // white area of each lane
    std::array<Rect, kLaneCount> laneFrame;  // black frame
    std::array<Rect, kLaneCount> laneBand;   // trace band inside the frame
    std::array<Rect, kLaneCount> laneLabel;  // "CHn" label area
    // Where each name goes: laneFontPx rows, right edge 4 px inside the label
    // area. Empty for a lane whose name would run into its neighbour's.
    std::array<Rect, kLaneCount> laneName;
    int laneFontPx = kLaneFontPx;
    int bottomOfLines = 0;                   // cursor and mark lines end here (bottom of CH7)

    int columns() const { return plot.width(); }  // W
    bool valid() const { return plot.width() > 0 && plot.height() > 1; }
};

// Regions from the client size; W never exceeds kMaxColumns.
Layout layoutView(int clientWidth, int clientHeight, const HandleSizes& handles = {});

// The visible part of the waveform and where the plot lies on screen.
struct Viewport {
    std::uint32_t scroll = 0;  // first visible sample
    std::uint32_t span = 1;    // visible samples
    int left = 0;              // plot columns left ... right
    int right = -1;
    int columns() const { return right - left + 1; }
};

// Time axis: index -> x and x -> index.
int sampleToX(const Viewport& vp, std::uint32_t index);
std::uint32_t xToSample(const Viewport& vp, int x);

// One stroke per column: smallest and largest y of the samples in it and the
// y of its last sample; the analog plot adds a clip flag per column.
struct ColumnBuffer {
    int count = 0;  // columns in use (W)
    std::array<int, kMaxColumns> last{};
    std::array<int, kMaxColumns> minY{};
    std::array<int, kMaxColumns> maxY{};
    std::array<std::uint8_t, kMaxColumns> clip{};  // 0 none, 1 below range, 2 above range
};

enum ClipFlag : std::uint8_t { kClipNone = 0, kClipBelow = 1, kClipAbove = 2 };

// The y of a voltage in a plot from top to bottom (range -1.2 V ... +1.2 V).
int analogY(double volts, int top, int bottom);

// Reduce samples [scroll, scroll + span) of an analog track into W columns
// of a plot spanning top..bottom.
void reduceAnalog(const double* samples, std::uint32_t scroll, std::uint32_t span, int columns,
                  int top, int bottom, ColumnBuffer& out);

// Reduce a digital lane: level 1 at bandTop, any other byte at bandBottom.
void reduceDigital(const std::uint8_t* levels, std::uint32_t scroll, std::uint32_t span,
                   int columns, int bandTop, int bandBottom, ColumnBuffer& out);

// Time grid: step in ns (1, 2 or 5 times a power of ten) and in samples.
struct GridStep {
    std::int64_t stepNs = 0;
    std::uint32_t stepSamples = 1;
};
GridStep timeGridStep(std::int64_t samplingNs, std::uint32_t span);

// Sample indices that carry a grid line and label in the current viewport,
// in increasing order.
struct GridLines {
    int count = 0;
    std::array<std::uint32_t, 64> index{};
};
GridLines timeGridLines(const Viewport& vp, const GridStep& step);

// The label unit of a waveform: chosen from the digits of its total time.
int labelUnit(std::int64_t totalNs);
// "%s %s" of a time in the label unit.
std::string timeLabelText(std::int64_t ns, int unit);

// A lane's label is bold when its channel is part of the device word.
inline bool laneAllocated(int analogResolution, int lane) { return analogResolution + lane < 16; }

}  // namespace lyr::view
