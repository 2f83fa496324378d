#include "document/ui/message_prompter.h"
#include "support/qt_app.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

namespace lyr::ui {
namespace {

struct SeenBox {
    QString title, text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Asks through a real message box and answers it with `answer` once it is up.
PromptAnswer askAndAnswer(const std::string& text, PromptButtons buttons, PromptIcon icon,
                          std::function<void(QMessageBox&)> answer, SeenBox& seen) {
    QWidget parent;
    MessagePrompter prompter(&parent);
    bool found = false;
    std::function<void()> poll;
    poll = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            QTimer::singleShot(5, poll);
            return;
        }
        found = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.buttons = box->standardButtons();
        seen.icon = box->icon();
        answer(*box);
    };
    QTimer::singleShot(0, poll);
    const PromptAnswer result = prompter.ask(text, buttons, icon);
    EXPECT_TRUE(found);
    return result;
}

std::function<void(QMessageBox&)> click(QMessageBox::StandardButton b) {
    return [b](QMessageBox& box) { box.button(b)->click(); };
}

TEST(MessagePrompterTest, TitleTextButtonsAndEachAnswer) {
    lyr::test::qtApp();
    struct Case {
        PromptButtons buttons;
        PromptIcon icon;
        QMessageBox::StandardButton clicked;
        PromptAnswer answer;
        QMessageBox::StandardButtons shown;
        QMessageBox::Icon shownIcon;
    };
    const Case cases[] = {
        {PromptButtons::Ok, PromptIcon::Warning, QMessageBox::Ok, PromptAnswer::Ok, QMessageBox::Ok,
         QMessageBox::Warning},
        {PromptButtons::OkCancel, PromptIcon::Question, QMessageBox::Cancel, PromptAnswer::Cancel,
         QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Question},
        {PromptButtons::YesNo, PromptIcon::None, QMessageBox::No, PromptAnswer::No,
         QMessageBox::Yes | QMessageBox::No, QMessageBox::NoIcon},
        {PromptButtons::YesNoCancel, PromptIcon::Error, QMessageBox::Yes, PromptAnswer::Yes,
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Critical},
    };
    for (const Case& c : cases) {
        SeenBox seen;
        EXPECT_EQ(askAndAnswer("不正なパラメータです。", c.buttons, c.icon, click(c.clicked), seen), c.answer);
        EXPECT_EQ(seen.title, QStringLiteral("LYR"));
        EXPECT_EQ(seen.text, QStringLiteral("不正なパラメータです。"));
        EXPECT_EQ(seen.buttons, c.shown);
        EXPECT_EQ(seen.icon, c.shownIcon);
    }
}

TEST(MessagePrompterTest, EscapeGivesTheSafeAnswer) {
    lyr::test::qtApp();
    SeenBox seen;
    auto escape = [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); };
    EXPECT_EQ(askAndAnswer("q", PromptButtons::YesNoCancel, PromptIcon::None, escape, seen),
              PromptAnswer::Cancel);
    EXPECT_EQ(askAndAnswer("q", PromptButtons::YesNo, PromptIcon::None, escape, seen), PromptAnswer::No);
    EXPECT_EQ(askAndAnswer("q", PromptButtons::OkCancel, PromptIcon::None, escape, seen),
              PromptAnswer::Cancel);
}

TEST(MessagePrompterTest, TheActiveWindowIsActiveAgainAfterTheBox) {
    lyr::test::qtApp();
    QWidget window;
    window.resize(300, 200);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    MessagePrompter prompter(&window);
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        box->button(QMessageBox::Cancel)->click();
    });
    EXPECT_EQ(prompter.ask("変更を保存しますか？", PromptButtons::YesNoCancel, PromptIcon::Warning),
              PromptAnswer::Cancel);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window, 2000));  // shortcuts reach it again
}

}  // namespace
}  // namespace lyr::ui
