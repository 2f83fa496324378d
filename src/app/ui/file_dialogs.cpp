#include "app/ui/file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include "document/ui/ui_text.h"

namespace lyr::app {

QString qtFilter(const std::string& filter) {
    QStringList list;
    for (const auto& e : filterEntries(filter)) list << ui::tr(e);
    return list.join(QStringLiteral(";;"));
}

std::optional<std::string> QtFileDialogs::openFileName(const std::string& filter) {
    QFileDialog dlg(parent_, ui::tr("開く"), directory_, qtFilter(filter));
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setOption(QFileDialog::ReadOnly, false);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    const QString path = dlg.selectedFiles().first();
    directory_ = QFileInfo(path).absolutePath();
    return path.toStdString();
}

std::optional<std::string> QtFileDialogs::saveFileName(const std::string& filter, const std::string&,
                                                       const std::string& initialName) {
    QFileDialog dlg(parent_, ui::tr("名前を付けて保存"), directory_, qtFilter(filter));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    dlg.selectFile(QString::fromStdString(initialName));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    const QString path = dlg.selectedFiles().first();
    directory_ = QFileInfo(path).absolutePath();
    return path.toStdString();
}

}  // namespace lyr::app
