#pragma once
// Puts the view into a main window in one call: the waveform view (to become
// the central widget), the status strip docked under the toolbar, and the
// "ズーム(&Z)", "カーソル(&C)" and "タイムマーク(&T)" menus.
#include "document/syn_doc.h"

class QAction;
class QMainWindow;
class QToolBar;

namespace lyr::view {

class CSYNView;
class StatusStrip;
class ViewCommands;

struct ViewFrame {
    CSYNView* view = nullptr;          // not yet the central widget: the frame sets it
    StatusStrip* strip = nullptr;
    QToolBar* stripBar = nullptr;      // the bar holding the strip
    ViewCommands* commands = nullptr;  // owned by the view
};

// The menus go before menuBefore (e.g. the help menu's action), or last.
ViewFrame installView(QMainWindow& frame, document::CSYNDoc& doc, QAction* menuBefore = nullptr);

}  // namespace lyr::view
