#include "document/ui/readout.h"

#include <QLabel>
#include <QLineEdit>

namespace lyr::ui {

namespace {
void nameByText(QLineEdit* edit) {
    const QString name = edit->text().isEmpty() ? edit->accessibleDescription() : edit->text();
    if (edit->accessibleName() != name) edit->setAccessibleName(name);
}
}  // namespace

void makeReadout(QLineEdit* edit, const QString& what) {
    edit->setAccessibleDescription(what);
    nameByText(edit);
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit] { nameByText(edit); });
}

void makeReadout(QLabel* label, const QString& what) {
    label->setAccessibleName(QString());
    label->setAccessibleDescription(what);
}

}  // namespace lyr::ui
