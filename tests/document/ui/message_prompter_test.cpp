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

TEST(MessagePrompterTest, TitleTextButtonsAndEachAnswer) {
    lyr::test::qtApp();
    struct Case {
        PromptButtons buttons;
        PromptIcon icon;
        QMessageBox::StandardButton clicked;  // NoButton: Esc, which gives the safe answer
        PromptAnswer answer;
        QMessageBox::StandardButtons shown;
        QMessageBox::Icon shownIcon;
    };
    const auto okCancel = QMessageBox::Ok | QMessageBox::Cancel, yesNo = QMessageBox::Yes | QMessageBox::No;
    const Case cases[] = {
        {PromptButtons::Ok, PromptIcon::Warning, QMessageBox::Ok, PromptAnswer::Ok, QMessageBox::Ok,
         QMessageBox::Warning},
        {PromptButtons::OkCancel, PromptIcon::Question, QMessageBox::Cancel, PromptAnswer::Cancel, okCancel,
         QMessageBox::Question},
        {PromptButtons::YesNo, PromptIcon::None, QMessageBox::No, PromptAnswer::No, yesNo, QMessageBox::NoIcon},
        {PromptButtons::YesNoCancel, PromptIcon::Error, QMessageBox::Yes, PromptAnswer::Yes,
         yesNo | QMessageBox::Cancel, QMessageBox::Critical},
        {PromptButtons::YesNoCancel, PromptIcon::None, QMessageBox::NoButton, PromptAnswer::Cancel,
         yesNo | QMessageBox::Cancel, QMessageBox::NoIcon},
        {PromptButtons::YesNo, PromptIcon::None, QMessageBox::NoButton, PromptAnswer::No, yesNo, QMessageBox::NoIcon},
        {PromptButtons::OkCancel, PromptIcon::None, QMessageBox::NoButton, PromptAnswer::Cancel, okCancel,
         QMessageBox::NoIcon},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "buttons " << int(c.buttons) << ", clicked " << int(c.clicked));
        SeenBox seen;
        auto answer = [b = c.clicked](QMessageBox& box) {
            if (b == QMessageBox::NoButton)
                QTest::keyClick(&box, Qt::Key_Escape);
            else
                box.button(b)->click();
        };
        EXPECT_EQ(askAndAnswer("不正なパラメータです。", c.buttons, c.icon, answer, seen), c.answer);
        EXPECT_EQ(seen.title, QStringLiteral("LYR"));
        EXPECT_EQ(seen.text, QStringLiteral("不正なパラメータです。"));
        EXPECT_EQ(seen.buttons, c.shown);
        EXPECT_EQ(seen.icon, c.shownIcon);
    }
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
