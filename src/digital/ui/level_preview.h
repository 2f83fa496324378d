#pragma once
// The preview box of the digital editors: white, framed in black, with a
// drawing band 9 pixels inside the top and bottom edges, grey reference lines
// one pixel outside the band, level 1 at the band's top and level 0 at its
// bottom. It draws layers of level columns, the first underneath.
#include <QColor>
#include <QRect>
#include <QWidget>
#include <functional>
#include <vector>

#include "digital/level_columns.h"

namespace lyr::digital {

class LevelPreview : public QWidget {
    Q_OBJECT
public:
    struct Layer {
        const LevelColumns* columns = nullptr;
        QColor colour;
    };
    LevelPreview(QSize size, QWidget* parent = nullptr);
    // The band: the box less the frame at the sides and 9 pixels at top and bottom.
    QRect band() const;
    // What to draw, asked at every paint.
    std::function<std::vector<Layer>()> layers = [] { return std::vector<Layer>{}; };

protected:
    void paintEvent(QPaintEvent*) override;
};

QColor levelColour(std::uint32_t rgb);

}  // namespace lyr::digital
