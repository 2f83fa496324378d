#pragma once
#include <memory>

#include "document/prompter.h"
#include "document/syn_doc.h"

namespace lyr::app {

// Starts the editor: the application object, the document and the main window.
int runApplication(int argc, char** argv);

// The program's one document with every track reserved. When the memory
// cannot be had, tells the user why and returns nullptr: start-up stops.
std::unique_ptr<document::CSYNDoc> createDocument(Prompter& prompter,
                                                  document::CSYNDoc::BlockAllocator allocate = nullptr);

}  // namespace lyr::app
