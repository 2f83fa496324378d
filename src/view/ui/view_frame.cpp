#include "view/ui/view_frame.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>

#include "view/ui/status_strip.h"
#include "view/ui/syn_view.h"
#include "view/ui/view_commands.h"

namespace lyr::view {

ViewFrame installView(QMainWindow& frame, document::CSYNDoc& doc, QAction* menuBefore) {
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
    frame.addToolBarBreak(Qt::TopToolBarArea);
    frame.addToolBar(Qt::TopToolBarArea, parts.stripBar);
    parts.commands = new ViewCommands(*parts.view, parts.strip, &frame);
    parts.commands->addMenusTo(frame.menuBar(), menuBefore);
    return parts;
}

}  // namespace lyr::view
