#include "view/ui/view_frame.h"

#include <QMainWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>

#include "view/ui/status_strip.h"
#include "view/ui/syn_view.h"

namespace lyr::view {

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
    auto* scroller = new QScrollArea(parts.stripBar);
    scroller->setObjectName(QStringLiteral("StatusStripScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroller->setWidget(parts.strip);
    parts.strip->setMinimumWidth(parts.strip->sizeHint().width());
    scroller->setMinimumHeight(parts.strip->sizeHint().height() +
                               scroller->horizontalScrollBar()->sizeHint().height());
    parts.stripBar->addWidget(scroller);
    parts.stripScroller = scroller;
    frame.addToolBarBreak(Qt::TopToolBarArea);
    frame.addToolBar(Qt::TopToolBarArea, parts.stripBar);
    showReadoutsOn(*parts.view, *parts.strip);
    return parts;
}

}  // namespace lyr::view
