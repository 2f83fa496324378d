#include "forms/ui/stroke_margin.h"

#include <QMouseEvent>
#include <QWidget>

namespace lyr::forms {

StrokeMargin::StrokeMargin(QWidget* drawing, Handlers handlers)
    : QObject(drawing), drawing_(drawing), handlers_(std::move(handlers)) {
    for (QWidget* w = drawing; w; w = w->isWindow() ? nullptr : w->parentWidget()) w->installEventFilter(this);
}

bool StrokeMargin::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return false;
    auto* w = static_cast<QWidget*>(watched);
    auto* e = static_cast<QMouseEvent*>(event);
    const bool onDrawing = w == drawing_;
    // Beside the drawing only what a press there started is taken; the rest
    // goes on to the widget's own handling.
    if (!onDrawing && type != QEvent::MouseButtonPress && !stroking_) return false;
    const QPoint p = drawing_->mapFrom(w, e->position().toPoint());
    switch (type) {
    case QEvent::MouseButtonPress: {
        if (e->button() != Qt::LeftButton) return false;
        const bool started = handlers_.press(p);
        stroking_ = started && !onDrawing;
        return started || onDrawing;
    }
    case QEvent::MouseMove: {
        const bool held = e->buttons() & Qt::LeftButton;
        handlers_.move(p, held);
        if (!held) stroking_ = false;
        return true;
    }
    default:
        if (e->button() != Qt::LeftButton) return onDrawing;
        handlers_.release();
        stroking_ = false;
        return true;
    }
}

}  // namespace lyr::forms
