#pragma once
// Freehand strokes over a drawing that may start in a margin around it: a
// press lands on whatever lies under the mouse there (a label, the group
// box, the dialog), so the presses, moves and releases that reach the
// drawing or any widget holding it are handed on in the drawing's
// coordinates. The form decides which points count.
#include <QObject>
#include <QPoint>
#include <functional>

class QWidget;

namespace lyr::forms {

class StrokeMargin : public QObject {
    Q_OBJECT
public:
    struct Handlers {
        std::function<bool(QPoint)> press;              // true when a stroke starts
        std::function<void(QPoint, bool held)> move;    // held: the left button is down
        std::function<void()> release;
    };
    // Watches the drawing and every widget up to its window; lives as long as the drawing.
    StrokeMargin(QWidget* drawing, Handlers handlers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* drawing_;
    Handlers handlers_;
    bool stroking_ = false;  // started by a press beside the drawing
};

}  // namespace lyr::forms
