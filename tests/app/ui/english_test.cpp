// The program in English: every menu, every window its commands open and the
// messages they give read without a Japanese character (but the language
// submenu's own title, which names both languages), and each menu's
// accelerators are unique. LYR_SCREENSHOT_DIR set: the windows are saved there.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <map>
#include <set>

#include "app/command_table.h"
#include "app/lifecycle_fake.h"
#include "app/ui/command_router.h"
#include "app/ui/main_frame.h"
#include "document/ui/ui_text.h"
#include "support/main_frame.h"

namespace lyr::app {
namespace {

void check(QStringList& found, const QString& where, const QString& text) {
    if (ui::hasJapanese(text)) found << where + QStringLiteral(": ") + text;
}

QString name(const QObject* o) {
    return QString::fromLatin1(o->metaObject()->className()) + QLatin1Char(' ') + o->objectName();
}

// Every text of a window an eye or an assistive tool reads.
QStringList japaneseIn(QWidget& window) {
    QStringList found;
    QList<QWidget*> all = window.findChildren<QWidget*>();
    all.prepend(&window);
    for (QWidget* w : all) {
        if (qobject_cast<QMenu*>(w)) continue;  // menus are read on their own
        const QString n = name(w);
        check(found, n + QStringLiteral(" title"), w->windowTitle());
        check(found, n + QStringLiteral(" name"), w->accessibleName());
        check(found, n + QStringLiteral(" description"), w->accessibleDescription());
        check(found, n + QStringLiteral(" tip"), w->toolTip());
        if (auto* l = qobject_cast<QLabel*>(w)) check(found, n, l->text());
        if (auto* b = qobject_cast<QAbstractButton*>(w)) check(found, n, b->text());
        if (auto* g = qobject_cast<QGroupBox*>(w)) check(found, n, g->title());
        if (auto* e = qobject_cast<QLineEdit*>(w)) check(found, n, e->text());
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i) check(found, n, c->itemText(i));
        if (auto* v = qobject_cast<QAbstractItemView*>(w); v && v->model())
            for (int i = 0; i < v->model()->columnCount(); ++i)
                check(found, n + QStringLiteral(" header"), v->model()->headerData(i, Qt::Horizontal).toString());
    }
    return found;
}

// A menu's entries, its submenus', and their accelerators, unique within each menu.
void readMenu(QMenu* menu, QStringList& found, QStringList& clashes) {
    std::set<QChar> keys;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator() || !a->isVisible()) continue;
        const QString where = menu->title() + QStringLiteral(" > ") + a->text();
        // The language submenu names itself in both languages, and its tip repeats that name.
        if (a->text() != QString::fromUtf8(kLanguageMenuTitle)) {
            check(found, where, a->text());
            check(found, where + QStringLiteral(" tip"), a->toolTip());
        }
        check(found, where + QStringLiteral(" prompt"), a->statusTip());
        const qsizetype amp = a->text().indexOf(QLatin1Char('&'));
        if (amp >= 0 && amp + 1 < a->text().size()) {
            const QChar key = a->text().at(amp + 1).toLower();
            if (!keys.insert(key).second) clashes << where;
        }
        if (a->menu()) readMenu(a->menu(), found, clashes);
    }
}

class English : public lyr::test::SimulatedUnitFrameTest {
protected:
    void SetUp() override {
        lyr::test::qtApp();
        ASSERT_TRUE(catalogue_.load(QStringLiteral(":/i18n/lyr_en.qm")));
        ui::setTextCatalogue(&catalogue_);
        filter_ = ui::installWindowTranslator(qApp);
        SimulatedUnitFrameTest::SetUp();
    }
    void TearDown() override {
        SimulatedUnitFrameTest::TearDown();
        ui::setTextCatalogue(nullptr);
        delete filter_;
    }

    void shoot(QWidget& w, const QString& name) {
        const QString dir = qEnvironmentVariable("LYR_SCREENSHOT_DIR");
        if (!dir.isEmpty()) w.grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
    }

    // Runs `open`; every dialog it shows is read and closed.
    void walk(const QString& what, const std::function<void()>& open) {
        auto readAndClose = [this, what] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* dlg = qobject_cast<QDialog*>(w);
                if (!dlg || !dlg->isVisible()) continue;
                found_ << japaneseIn(*dlg);
                titles_ << dlg->windowTitle();
                // Texts that follow the entries: each field given a text no field takes.
                for (QLineEdit* e : dlg->findChildren<QLineEdit*>()) {
                    if (!e->isVisible() || !e->isEnabled() || e->isReadOnly()) continue;
                    e->selectAll();
                    QTest::keyClicks(e, QStringLiteral("9x"));
                }
                found_ << japaneseIn(*dlg);
                shoot(*dlg, QString(what).remove(QLatin1Char('&')).remove(QLatin1Char('.')).replace(
                                QLatin1Char(' '), QLatin1Char('_')));
                dlg->reject();
            }
        };
        QTimer::singleShot(0, frame.get(), readAndClose);
        open();
        readAndClose();
        QApplication::processEvents();
    }

    QTranslator catalogue_;
    QObject* filter_ = nullptr;
    test::FakeWaveTime chooser_;
    QStringList found_;
    QStringList titles_;
};

TEST_F(English, EveryMenuWindowAndMessageReadsInEnglish) {
    walk(QStringLiteral("device selection"), [this] { frame->selectDevice(2, settingsFile()); });
    frame->selectDevice(1, settingsFile());
    walk(QStringLiteral("new"), [this] { frame->newAction()->trigger(); });
    chooser_.answerTs = 10;
    chooser_.answerN = 100000;
    frame->setWaveTimeChooser(&chooser_);
    ASSERT_TRUE(frame->lifecycle().newWaveform());
    frame->updateCommandStates();
    QApplication::processEvents();
    found_ << japaneseIn(*frame);
    shoot(*frame, QStringLiteral("main_window"));

    QStringList clashes;
    for (QAction* a : frame->menuBar()->actions()) {
        ASSERT_TRUE(a->menu());
        check(found_, QStringLiteral("menu bar"), a->text());
        readMenu(a->menu(), found_, clashes);
    }
    for (PopupKind kind : {PopupKind::Cursor, PopupKind::TimeMark, PopupKind::Zoom})
        readMenu(frame->popup(kind), found_, clashes);
    for (int ch = 0; ch < kChannelCount; ++ch) readMenu(frame->popup(PopupKind::Channel, ch), found_, clashes);
    EXPECT_TRUE(clashes.isEmpty()) << "same accelerator twice: " << clashes.join(QStringLiteral(" | ")).toStdString();

    const std::set<CommandId> skipped = {CommandId::FileNew, CommandId::FileOpen, CommandId::FileSave,
                                         CommandId::FileSaveAs, CommandId::AppExit, CommandId::EditLock,
                                         CommandId::Undo, CommandId::LanguageJapanese};
    int commands = 0;
    for (const CommandRow& c : frame->router().rows()) {
        QAction* action = frame->commandAction(c.id);
        if (skipped.count(c.id) || !action || !action->isVisible()) continue;
        frame->updateCommandStates();
        if (!action->isEnabled()) continue;
        ++commands;
        walk(action->text(), [action] { action->trigger(); });
    }
    EXPECT_GE(commands, 20);
    EXPECT_GE(titles_.size(), 14) << titles_.join(QStringLiteral(" | ")).toStdString();

    // A file that does not open, the question before New discards the edits.
    frame->openStartupFile(dir.path() + QStringLiteral("/missing.lyr"));
    prompter.script({PromptAnswer::Cancel});
    frame->newAction()->trigger();
    ASSERT_GE(prompter.asked.size(), 3u);
    for (const auto& q : prompter.asked) check(found_, QStringLiteral("message"), ui::tr(q.text));

    EXPECT_TRUE(found_.isEmpty()) << found_.size() << " Japanese texts:\n"
                                  << found_.join(QLatin1Char('\n')).toStdString();
}

// The numbers of a text come back as they were written, whatever the entry's order.
TEST_F(English, NumbersKeepTheirFormInTheTranslation) {
    EXPECT_EQ(ui::tr(std::string("12ビット")), QStringLiteral("12 bits"));
    EXPECT_EQ(ui::tr(std::string("0～3")), QStringLiteral("0–3"));
    EXPECT_EQ(ui::tr(std::string("アナログ分解能：10ビット")), QStringLiteral("Analog resolution: 10 bits"));
    // Unknown texts and texts without Japanese stay as they are.
    EXPECT_EQ(ui::tr(std::string("未知の文 1.5")), QStringLiteral("未知の文 1.5"));
    EXPECT_EQ(ui::tr(std::string("CH3")), QStringLiteral("CH3"));
    // Lines are translated one by one when the whole has no entry.
    EXPECT_EQ(ui::tr(std::string("/tmp/x.lyr\nファイルオープンエラーです。")),
              QStringLiteral("/tmp/x.lyr\nThe file could not be opened."));
}

// The choice under "Language / 言語": stored as "Language" in section "LYR",
// checked, and said in the language chosen; the texts shown stay as they are.
class MapStore : public SettingsStore {
public:
    std::string value(const std::string& section, const std::string& key) const override {
        const auto it = values.find(section + "/" + key);
        return it == values.end() ? std::string() : it->second;
    }
    void setValue(const std::string& section, const std::string& key, const std::string& value) override {
        values[section + "/" + key] = value;
    }
    std::map<std::string, std::string> values;
};

using LanguageChoice = lyr::test::MainFrameTest;

TEST_F(LanguageChoice, StoresTheKeyAndSaysItTakesEffectAtTheNextStart) {
    MapStore store;
    frame->setSettingsStore(&store);
    QAction* japanese = frame->commandAction(CommandId::LanguageJapanese);
    QAction* english = frame->commandAction(CommandId::LanguageEnglish);
    ASSERT_TRUE(japanese && english);
    EXPECT_TRUE(japanese->isChecked());
    EXPECT_FALSE(english->isChecked());
    const QString menuText = frame->menuBar()->actions().last()->menu()->actions().last()->text();
    EXPECT_EQ(menuText, QString::fromUtf8(kLanguageMenuTitle));

    struct Case {
        QAction* action;
        const char* stored;
        const char* says;
    };
    for (const Case& c : {Case{english, "en", "next start"}, Case{japanese, "ja", "次回の起動"}}) {
        frame->updateCommandStates();
        ASSERT_TRUE(c.action->isEnabled());
        c.action->trigger();
        EXPECT_EQ(store.values["LYR/Language"], c.stored);
        EXPECT_TRUE(c.action->isChecked());
        ASSERT_FALSE(prompter.asked.empty());
        EXPECT_NE(prompter.asked.back().text.find(c.says), std::string::npos) << prompter.asked.back().text;
    }
    EXPECT_EQ(prompter.asked.size(), 2u);
    // The window's own texts do not change before the next start.
    EXPECT_EQ(frame->menuBar()->actions().first()->text(), QStringLiteral("ファイル(&F)"));
}

}  // namespace
}  // namespace lyr::app
