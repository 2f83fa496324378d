#pragma once
// The drawn form of a segment: one vertical stroke per pixel column from the
// lowest to the highest value that falls into it, over a -1.2 V ... +1.2 V
// scale, with a clip flag where a value lay outside that scale.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lyr::analog {

// Pixel rectangle, edges included.
struct PlotRect {
    int left = 0, top = 0, right = -1, bottom = -1;
    int width() const { return right - left + 1; }
};

enum ClipFlag : std::uint8_t { kClipNone = 0, kClipBelow = 1, kClipAbove = 2 };

struct PreviewColumns {
    PlotRect rect;
    std::vector<int> lastY, minY, maxY;
    std::vector<std::uint8_t> clip;

    // Sizes the arrays for rect once; computing never allocates after that.
    void reserveFor(const PlotRect& r);
    int columns() const { return static_cast<int>(lastY.size()); }
};

// Reduces count samples to the columns of rect (sized by reserveFor).
void computePreviewColumns(const PlotRect& rect, const double* values, std::size_t count, PreviewColumns& out);

// Row of a level v on the plot: truncate(v * scale + y0).
int levelRow(const PlotRect& rect, double volts);

// Colours (0xRRGGBB) of the preview: current and pale.
constexpr std::uint32_t kLineCurrent = 0x0000FF;
constexpr std::uint32_t kMarkerCurrent = 0xFFFF00;
constexpr std::uint32_t kLinePale = 0xC8C8FF;
constexpr std::uint32_t kMarkerPale = 0xFFFFC8;
constexpr std::uint32_t kGridGrey = 0xC8C8C8;
constexpr std::uint32_t kReferenceTan = 0xCDB38B;  // the copy as taken, beneath the one being reshaped

// A sketch's annotations: at most 50 lines and 20 labels, positioned in
// thousandths of the sketch frame.
struct SketchLine {
    int x1, y1, x2, y2;       // thousandths
    std::uint32_t colour;     // 0xRRGGBB
    int style;                // 0 plain; 1 up head at first, 2 down head at second, 5 both;
                              // 3 left head at first, 4 right head at second, 6 both
};

enum class SketchAlign { Left, Centre, Right };

struct SketchLabel {
    std::string text;
    int x, y;                 // thousandths
    SketchAlign align = SketchAlign::Centre;
    std::uint32_t colour = 0x000000;
    std::uint32_t background = 0xFFFFFF;
};

struct Pixel {
    int x, y;
};

class SketchDisplayList {
public:
    static constexpr std::size_t kMaxLines = 50;
    static constexpr std::size_t kMaxLabels = 20;

    void begin(const PlotRect& frame);
    void addLine(int x1, int y1, int x2, int y2, std::uint32_t colour, int style = 0);
    void addLabel(std::string text, int x, int y, SketchAlign align = SketchAlign::Centre,
                  std::uint32_t colour = 0x000000, std::uint32_t background = 0xFFFFFF);

    const PlotRect& frame() const { return frame_; }
    const std::vector<SketchLine>& lines() const { return lines_; }
    const std::vector<SketchLabel>& labels() const { return labels_; }

    // Thousandths of the frame to pixels, clamped to the frame.
    int mapX(int x) const;
    int mapY(int y) const;

    // The pixels of one line: the stroke from the first point to the second
    // extended by one pixel in each direction the points differ in, then
    // its heads of eight pixels each.
    std::vector<Pixel> linePixels(const SketchLine& line) const;

private:
    PlotRect frame_;
    std::vector<SketchLine> lines_;
    std::vector<SketchLabel> labels_;
};

// Thousandths of a sketch frame for sample j of count and for a level.
int sketchXOf(double j, double count);
int sketchYOf(double volts);

}  // namespace lyr::analog
