#include "digital/ui/level_preview.h"

#include <QPainter>

namespace lyr::digital {

QColor levelColour(std::uint32_t c) { return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

LevelPreview::LevelPreview(QSize size, QWidget* parent) : QWidget(parent) {
    setFixedSize(size);
    setAccessibleName(QStringLiteral("プレビュー"));
    setMouseTracking(true);  // a move without the button ends a stroke
}

QRect LevelPreview::band() const {
    return QRect(1, kBandInset, width() - 2, height() - 2 * kBandInset);
}

void LevelPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect b = band();
    p.setPen(levelColour(kLevelReference));
    p.drawLine(b.left(), b.top() - 1, b.right(), b.top() - 1);
    p.drawLine(b.left(), b.bottom() + 1, b.right(), b.bottom() + 1);
    for (const Layer& layer : layers()) {
        if (!layer.columns) continue;
        p.setPen(layer.colour);
        const LevelColumns& c = *layer.columns;
        for (int col = 0; col < c.width() && col < b.width(); ++col) {
            const bool lo = c.low[static_cast<std::size_t>(col)], hi = c.high[static_cast<std::size_t>(col)];
            if (!lo && !hi) continue;
            const int x = b.left() + col;
            p.drawLine(x, hi ? b.top() : b.bottom(), x, lo ? b.bottom() : b.top());
        }
    }
}

}  // namespace lyr::digital
