#include "view/ui/view_frame.h"

#include <QMainWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>

#include "view/ui/status_strip.h"
#include "view/ui/syn_view.h"

namespace lyr::view {

namespace {

// Scrolls the strip sideways in a narrow window. It is as high as the strip,
// plus the scrollbar only while that bar is shown: a wide window keeps no
// empty row under the readouts.
class StripScroller : public QScrollArea {
public:
    explicit StripScroller(QWidget* parent) : QScrollArea(parent) {
        setFrameShape(QFrame::NoFrame);
        setWidgetResizable(true);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override { return {QScrollArea::sizeHint().width(), neededHeight()}; }
    QSize minimumSizeHint() const override { return {QScrollArea::minimumSizeHint().width(), neededHeight()}; }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QScrollArea::resizeEvent(event);
        // The bar comes and goes with the width; the height follows it.
        const bool shown = barShown();
        if (shown != barWasShown_) {
            barWasShown_ = shown;
            updateGeometry();
        }
    }

private:
    bool barShown() const { return horizontalScrollBar()->isVisibleTo(this); }
    int neededHeight() const {
        const int content = widget() ? widget()->sizeHint().height() : 0;
        return content + 2 * frameWidth() + (barShown() ? horizontalScrollBar()->sizeHint().height() : 0);
    }

    bool barWasShown_ = false;
};

}  // namespace

void showReadoutsOn(CSYNView& view, StatusStrip& strip) {
    auto show = [&view, &strip] { strip.showReadouts(view.readouts(), view.mouseReadout()); };
    QObject::connect(&view, &CSYNView::readoutsChanged, &strip, show);
    show();
}

ViewFrame installView(QMainWindow& frame, document::CSYNDoc& doc) {
    ViewFrame parts;
    parts.view = new CSYNView(doc, &frame);
    parts.strip = new StatusStrip(&frame);
    parts.stripBar = new QToolBar(QStringLiteral("StatusStrip"), &frame);
    parts.stripBar->setObjectName(QStringLiteral("StatusStripBar"));
    parts.stripBar->setMovable(true);
    // In a window narrower than the strip the bar scrolls sideways instead of
    // squeezing the readouts over each other.
    auto* scroller = new StripScroller(parts.stripBar);
    scroller->setObjectName(QStringLiteral("StatusStripScroller"));
    scroller->setWidget(parts.strip);
    parts.strip->setMinimumWidth(parts.strip->sizeHint().width());
    parts.stripBar->addWidget(scroller);
    parts.stripScroller = scroller;
    frame.addToolBarBreak(Qt::TopToolBarArea);
    frame.addToolBar(Qt::TopToolBarArea, parts.stripBar);
    showReadoutsOn(*parts.view, *parts.strip);
    return parts;
}

}  // namespace lyr::view
