#pragma once
// The file dialogs of the document commands, as Qt file dialogs with the
// filters, default extension and initial name the commands give.
#include <QString>
#include <QWidget>

#include "app/lifecycle.h"

namespace lyr::app {

class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent) : parent_(parent) {}
    std::optional<std::string> openFileName(const std::string& filter) override;
    // The overwrite question is asked by the command itself, after the
    // default extension has been added.
    std::optional<std::string> saveFileName(const std::string& filter, const std::string& defaultExtension,
                                            const std::string& initialName) override;

    // The folder the next dialog starts in (the last one used).
    QString directory() const { return directory_; }

private:
    QWidget* parent_;
    QString directory_;
};

// The Qt form of a "description|pattern|...||" filter.
QString qtFilter(const std::string& filter);

}  // namespace lyr::app
