#pragma once
// Puts the view into a main window in one call: the waveform view (to become
// the central widget) and the status strip docked under the toolbar, showing
// the view's readouts. The commands are the frame's to route (ViewCommands).
#include "document/syn_doc.h"

class QMainWindow;
class QScrollArea;
class QToolBar;

namespace lyr::view {

class CSYNView;
class StatusStrip;

struct ViewFrame {
    CSYNView* view = nullptr;          // not yet the central widget: the frame sets it
    StatusStrip* strip = nullptr;
    QToolBar* stripBar = nullptr;      // the bar holding the strip
    QScrollArea* stripScroller = nullptr;  // scrolls the strip in a narrow window
};

ViewFrame installView(QMainWindow& frame, document::CSYNDoc& doc);

// The strip shows the view's readouts from now on.
void showReadoutsOn(CSYNView& view, StatusStrip& strip);

}  // namespace lyr::view
