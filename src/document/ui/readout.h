#pragma once
// Read-only readouts as assistive technology reads them: a readout's
// accessible name is the text it shows (what it is while it shows nothing),
// and what it is goes into its accessible description.
#include <QString>

class QLabel;
class QLineEdit;

namespace lyr::ui {

// The line edit's name follows its text from now on.
void makeReadout(QLineEdit* edit, const QString& what);
// A label is named by its text; only the description is set.
void makeReadout(QLabel* label, const QString& what);

}  // namespace lyr::ui
