#include "app/ui/command_icons.h"

#include <QFont>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

#include "document/command_row.h"

namespace lyr::app {

namespace {

// Every glyph is drawn on a 16 x 16 grid and scaled to the requested size.
void drawGlyph(QPainter& p, Glyph glyph, const QColor& ink) {
    QPen pen(ink, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QColor wave = ink == Qt::black ? QColor(0, 0, 200) : ink;  // analog traces in the view's blue
    const QColor bits = ink == Qt::black ? QColor(0, 120, 0) : ink;  // digital patterns in green
    auto polyline = [&p](std::initializer_list<QPointF> pts, const QColor& c) {
        QPen q = p.pen();
        q.setColor(c);
        p.setPen(q);
        p.drawPolyline(std::data(pts), static_cast<int>(pts.size()));
    };
    auto curve = [&p](auto f, double x0, double x1, const QColor& c) {
        QPainterPath path;
        for (int i = 0; i <= 32; ++i) {
            const double x = x0 + (x1 - x0) * i / 32.0;
            const QPointF pt(x, f(x));
            if (i == 0) path.moveTo(pt);
            else path.lineTo(pt);
        }
        QPen q = p.pen();
        q.setColor(c);
        p.setPen(q);
        p.drawPath(path);
    };
    auto magnifier = [&p, &ink] {
        p.setPen(QPen(ink, 1.3));
        p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
        p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
        p.setPen(QPen(ink, 1.3, Qt::SolidLine, Qt::RoundCap));
    };
    auto pencil = [&p, &ink] {
        p.setPen(QPen(ink, 1.0));
        p.setBrush(QColor(230, 180, 40));
        const QPointF body[] = {{9, 14}, {15, 8}, {13, 6}, {7, 12}};
        p.drawPolygon(body, 4);
        p.setBrush(ink);
        const QPointF tip[] = {{7, 12}, {9, 14}, {6.5, 14.5}};
        p.drawPolygon(tip, 3);
        p.setBrush(Qt::NoBrush);
    };
    switch (glyph) {
        case Glyph::New: {
            const QPointF page[] = {{3, 1.5}, {10, 1.5}, {13, 4.5}, {13, 14.5}, {3, 14.5}};
            p.setBrush(Qt::white);
            p.drawPolygon(page, 5);
            p.drawPolyline(std::data({QPointF(10, 1.5), QPointF(10, 4.5), QPointF(13, 4.5)}), 3);
            break;
        }
        case Glyph::Open: {
            p.setBrush(QColor(240, 200, 80));
            const QPointF back[] = {{1.5, 3.5}, {6, 3.5}, {7.5, 5}, {13, 5}, {13, 13.5}, {1.5, 13.5}};
            p.drawPolygon(back, 6);
            p.setBrush(QColor(250, 225, 130));
            const QPointF front[] = {{1.5, 13.5}, {4, 7.5}, {15, 7.5}, {13, 13.5}};
            p.drawPolygon(front, 4);
            break;
        }
        case Glyph::Save: {
            p.setBrush(QColor(70, 90, 160));
            p.drawRect(QRectF(2, 2, 12, 12));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4.5, 2, 7, 4.5));
            p.setBrush(QColor(200, 200, 200));
            p.drawRect(QRectF(4.5, 9.5, 7, 4.5));
            break;
        }
        case Glyph::Undo: {
            QPainterPath arc;
            arc.moveTo(4, 7);
            arc.cubicTo(QPointF(7, 3), QPointF(14, 4), QPointF(13, 10));
            arc.cubicTo(QPointF(12.5, 13), QPointF(9, 14), QPointF(6, 13));
            p.drawPath(arc);
            p.setBrush(ink);
            const QPointF head[] = {{1.5, 4}, {6.5, 4.5}, {3.5, 9}};
            p.drawPolygon(head, 3);
            break;
        }
        case Glyph::Sine:
            curve([](double x) { return 8 - 5.5 * std::sin((x - 1.5) / 13.0 * 2 * M_PI); }, 1.5, 14.5, wave);
            break;
        case Glyph::Rectangle:
            polyline({{1.5, 12}, {4, 12}, {4, 4}, {8, 4}, {8, 12}, {12, 12}, {12, 4}, {14.5, 4}}, wave);
            break;
        case Glyph::Dc:
            polyline({{1.5, 5}, {14.5, 5}}, wave);
            p.setPen(QPen(ink, 0.8, Qt::DotLine));
            p.drawLine(QPointF(1.5, 12), QPointF(14.5, 12));
            break;
        case Glyph::Ramp:
            polyline({{1.5, 13}, {8, 3}, {8, 13}, {14.5, 3}}, wave);
            break;
        case Glyph::Exp:
            curve([](double x) { return 13.5 - 10.5 * (1 - std::exp(-(x - 1.5) / 3.0)); }, 1.5, 14.5, wave);
            break;
        case Glyph::Noise:
            polyline({{1.5, 8}, {2.8, 4}, {4, 11}, {5, 6}, {6.3, 13}, {7.5, 5}, {8.6, 9}, {9.8, 3},
                      {11, 12}, {12.2, 7}, {13.3, 10}, {14.5, 6}},
                     wave);
            break;
        case Glyph::Manual:  // a pencil over the wave
            curve([](double x) { return 7 - 4 * std::sin((x - 1.5) / 13.0 * 2 * M_PI); }, 1.5, 14.5, wave);
            pencil();
            break;
        case Glyph::External: {  // a page of numbers into a wave
            p.setBrush(Qt::white);
            p.drawRect(QRectF(1.5, 1.5, 7, 9));
            p.setPen(QPen(ink, 0.8));
            for (double y : {4.0, 6.0, 8.0}) p.drawLine(QPointF(3, y), QPointF(7, y));
            p.setPen(QPen(ink, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawLine(QPointF(9.5, 6), QPointF(12.5, 6));
            p.setBrush(ink);
            const QPointF head[] = {{12, 4}, {14.5, 6}, {12, 8}};
            p.drawPolygon(head, 3);
            curve([](double x) { return 12.5 - 2 * std::sin((x - 4) / 10.5 * 2 * M_PI); }, 4, 14.5, wave);
            break;
        }
        case Glyph::Equation: {  // equation: an italic f over a curve
            QFont f(QStringLiteral("serif"));
            f.setItalic(true);
            f.setBold(true);
            f.setPixelSize(10);
            p.setFont(f);
            p.drawText(QRectF(0.5, 0, 9, 10), Qt::AlignCenter, QStringLiteral("f"));
            curve([](double x) { return 11.5 - 3 * std::sin((x - 1.5) / 13.0 * 2 * M_PI); }, 1.5, 14.5, wave);
            break;
        }
        case Glyph::DigitalClock:
            polyline({{1.5, 12}, {3, 12}, {3, 4}, {5.5, 4}, {5.5, 12}, {8, 12}, {8, 4}, {10.5, 4}, {10.5, 12},
                      {13, 12}, {13, 4}, {14.5, 4}},
                     bits);
            break;
        case Glyph::DigitalSerial:
            polyline({{1.5, 12}, {3.5, 12}, {3.5, 4}, {5.5, 4}, {5.5, 12}, {7.5, 12}, {7.5, 4}, {11.5, 4},
                      {11.5, 12}, {14.5, 12}},
                     bits);
            p.setPen(QPen(ink, 0.8));
            p.drawLine(QPointF(1.5, 14.5), QPointF(14.5, 14.5));
            break;
        case Glyph::DigitalParallel:
            polyline({{1.5, 5}, {4, 5}, {4, 2}, {9, 2}, {9, 5}, {14.5, 5}}, bits);
            polyline({{1.5, 10}, {6.5, 10}, {6.5, 7}, {11.5, 7}, {11.5, 10}, {14.5, 10}}, bits);
            polyline({{1.5, 15}, {3, 15}, {3, 12}, {7, 12}, {7, 15}, {12, 15}, {12, 12}, {14.5, 12}}, bits);
            break;
        case Glyph::DigitalModify:
            polyline({{1.5, 9}, {4, 9}, {4, 3}, {8, 3}, {8, 9}, {11, 9}}, bits);
            pencil();
            break;
        case Glyph::DigitalSwap: {
            polyline({{1.5, 4}, {14.5, 4}}, bits);
            polyline({{1.5, 12}, {14.5, 12}}, bits);
            p.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(5, 5.5), QPointF(11, 10.5));
            p.drawLine(QPointF(11, 5.5), QPointF(5, 10.5));
            p.setBrush(ink);
            const QPointF a[] = {{11.8, 11.3}, {9, 11}, {11.5, 8.6}};
            const QPointF b[] = {{4.2, 4.7}, {7, 5}, {4.5, 7.4}};
            p.drawPolygon(a, 3);
            p.drawPolygon(b, 3);
            break;
        }
        case Glyph::WholeView:
            p.drawRect(QRectF(1.5, 3.5, 13, 9));
            polyline({{3, 8}, {13, 8}}, ink);
            polyline({{5, 6}, {3, 8}, {5, 10}}, ink);
            polyline({{11, 6}, {13, 8}, {11, 10}}, ink);
            break;
        case Glyph::StandardZoom:
            magnifier();
            p.drawLine(QPointF(4, 5), QPointF(8, 5));
            p.drawLine(QPointF(4, 7.5), QPointF(8, 7.5));
            break;
        case Glyph::MaxZoom:
            magnifier();
            p.setBrush(ink);
            p.drawEllipse(QRectF(4, 4, 4, 4));
            break;
        case Glyph::ZoomIn:
            magnifier();
            p.drawLine(QPointF(4, 6), QPointF(8, 6));
            p.drawLine(QPointF(6, 4), QPointF(6, 8));
            break;
        case Glyph::ZoomOut:
            magnifier();
            p.drawLine(QPointF(4, 6), QPointF(8, 6));
            break;
        case Glyph::Output: {
            p.setBrush(QColor(200, 200, 200));
            p.drawRect(QRectF(1.5, 4.5, 8, 8));
            p.setBrush(Qt::NoBrush);
            curve([](double x) { return 8.5 - 2 * std::sin((x - 2.5) / 6.0 * 2 * M_PI); }, 2.5, 8.5, wave);
            p.setPen(QPen(ink, 1.3, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(10, 8.5), QPointF(13, 8.5));
            p.setBrush(ink);
            const QPointF head[] = {{12.5, 6.3}, {15, 8.5}, {12.5, 10.7}};
            p.drawPolygon(head, 3);
            break;
        }
        case Glyph::About: {
            p.setBrush(QColor(230, 240, 255));
            p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
            QPainterPath q;
            q.moveTo(5.8, 6);
            q.cubicTo(QPointF(5.8, 3), QPointF(10.5, 3), QPointF(10.2, 6));
            q.cubicTo(QPointF(10, 7.5), QPointF(8, 7.8), QPointF(8, 9.5));
            p.setBrush(Qt::NoBrush);
            p.drawPath(q);
            p.setBrush(ink);
            p.drawEllipse(QRectF(7.3, 11, 1.4, 1.4));
            break;
        }
        case Glyph::None: break;
    }
}

class GlyphEngine : public QIconEngine {
public:
    explicit GlyphEngine(Glyph glyph) : glyph_(glyph) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 16.0, rect.height() / 16.0);
        drawGlyph(*painter, glyph_, mode == QIcon::Disabled ? QColor(160, 160, 160) : QColor(Qt::black));
        painter->restore();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        QPixmap pm(size * scale);
        pm.setDevicePixelRatio(scale);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        paint(&p, QRect(QPoint(0, 0), size), mode, state);
        return pm;
    }
    QIconEngine* clone() const override { return new GlyphEngine(glyph_); }

private:
    Glyph glyph_;
};

}  // namespace

QIcon commandIcon(Glyph glyph) {
    if (glyph == Glyph::None) return {};
    return QIcon(new GlyphEngine(glyph));
}

}  // namespace lyr::app
