#pragma once
// The one place where a text the user sees is put into the chosen language.
// The core keeps its Japanese texts; the English catalogue (translations/
// lyr_en.ts, context "LYR") is keyed by them. Without a catalogue (Japanese)
// every function returns its text unchanged.
#include <QString>
#include <string>

class QObject;
class QTranslator;
class QWidget;

namespace lyr::ui {

// The catalogue tr() reads; nullptr: none (the Japanese texts as they are).
void setTextCatalogue(const QTranslator* catalogue);
bool textCatalogueActive();

// The text in the chosen language. A text the catalogue lacks is looked up
// with its numbers as %1, %2, ... (they are put back as they were written),
// then line by line; what still has no entry is shown as it is.
QString tr(const QString& text);
QString tr(const std::string& text);
QString tr(const char* text);

// The shown texts of a widget and its children (captions, labels, buttons,
// choices, headers, tips, accessible names) and of its actions, put into
// the chosen language. Texts without Japanese characters are left alone.
void translateWidgetTree(QWidget* root);

// True when the text holds a Japanese (CJK or full-/half-width) character.
bool hasJapanese(const QString& text);

// Translates each window as it is shown, for windows whose texts are built
// from the forms; installed on the application only when a catalogue is.
QObject* installWindowTranslator(QObject* application);

}  // namespace lyr::ui
