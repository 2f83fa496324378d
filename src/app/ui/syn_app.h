#pragma once

namespace lyr::app {
// Starts the editor: the application object, the document and the main window.
int runApplication(int argc, char** argv);
}
