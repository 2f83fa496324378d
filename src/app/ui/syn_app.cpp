#include "app/ui/syn_app.h"

#include <QApplication>
#include <string>

#include "app/ui/main_frame.h"
#include "document/syn_doc.h"
#include "document/ui/message_prompter.h"
#include "document/ui/ui_fonts.h"

namespace lyr::app {

std::unique_ptr<document::CSYNDoc> createDocument(Prompter& prompter,
                                                  document::CSYNDoc::BlockAllocator allocate) {
    std::string message;
    std::unique_ptr<document::CSYNDoc> doc = document::CSYNDoc::create(message, allocate);
    if (!doc) prompter.tell(message, PromptIcon::Error);
    return doc;
}

int runApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("LYR"));
    QApplication::setFont(ui::japaneseUiFont());

    // The document lives for the whole run; without its tracks there is
    // nothing to edit, so start-up stops here.
    ui::MessagePrompter startupPrompter;
    std::unique_ptr<document::CSYNDoc> doc = createDocument(startupPrompter);
    if (!doc) return 1;

    CMainFrame frame(*doc);
    frame.showMaximized();
    return app.exec();
}

}  // namespace lyr::app
