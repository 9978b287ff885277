// Dialog forms on Qt: controls built from a description, handlers by name, keys, modality and closing.
#include "platform/qt/qt_forms.h"

#include <QApplication>
#include <QFontInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nonari {
namespace {

ControlLayout control(ControlKind kind, const std::string& name, const std::string& caption, QRect at) {
    ControlLayout c;
    c.kind = kind, c.name = name, c.caption = caption;
    c.x = at.x(), c.y = at.y(), c.width = at.width(), c.height = at.height();
    return c;
}

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner.setGeometry(50, 40, 862, 694);
        ownerButton->setGeometry(10, 10, 80, 30);
        QObject::connect(ownerButton, &QPushButton::clicked, [this] { calls.push_back("owner"); });
        owner.show();
    }

    // A slot dialog: two option buttons (one with a key handler), OK and cancel, a label and a text box.
    FormLayout slotForm() {
        FormLayout desc;
        desc.name = "frm1";
        desc.width = 180, desc.height = 200, desc.fontPoints = 10;
        desc.controls = {control(ControlKind::OptionButton, "opt1", "Nr. &1", {20, 10, 120, 24}),
                         control(ControlKind::OptionButton, "opt2", "Nr. &2", {20, 40, 120, 24}),
                         control(ControlKind::CommandButton, "cmd1", "&OK", {10, 130, 75, 28}),
                         control(ControlKind::CommandButton, "cmd2", "&Abbruch", {95, 130, 75, 28}),
                         control(ControlKind::Label, "lbl2", "Glückwunsch!", {10, 165, 160, 14}),
                         control(ControlKind::TextBox, "ed1", "Jörg", {10, 180, 160, 18})};
        for (std::string handler : {"opt1_Click", "opt2_Click", "cmd1_Click", "cmd2_Click", "frm1_Close"})
            desc.handlers[handler] = [this, handler](const FormEventArgs&) { calls.push_back(handler); };
        desc.handlers["opt2_KeyPress"] = [this](const FormEventArgs& e) { calls.push_back(std::to_string(e.key)); };
        return desc;
    }

    std::vector<std::string> calls;  // the handlers run, in order
    QWidget owner;
    QPushButton* ownerButton = new QPushButton(QStringLiteral("main"), &owner);
    QtForms forms{&owner};
};

TEST_F(FormsTest, BuildsTheFormRunsHandlersByNameAndBlocksItsOwnerWhileOpen) {
    owner.setEnabled(false);  // the game disables the main window before it loads a form
    FormLayout desc = slotForm();
    desc.defaultButton = "cmd1", desc.cancelButton = "cmd2";
    FormId id = 0;  // a click handler sees its option button already checked
    desc.handlers["opt2_Click"] = [&](auto&) { calls.push_back(forms.controlValue(id, "opt2") ? "on" : "off"); };
    id = forms.loadForm(desc, 700, 300);
    QWidget* window = forms.formWidget(id);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->size(), QSize(180, 200));
    EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(700, 300));
    EXPECT_EQ(QFontInfo(window->font()).family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(forms.controlWidget(id, "opt2")->geometry(), QRect(20, 40, 120, 24));
    EXPECT_EQ(forms.controlText(id, "lbl2"), "Glückwunsch!");
    // The option buttons form one group; setting a value is not a click.
    forms.setControlValue(id, "opt2", true);
    forms.setControlValue(id, "opt1", true);
    EXPECT_FALSE(forms.controlValue(id, "opt2"));
    EXPECT_TRUE(calls.empty());

    QWidget* opt2 = forms.controlWidget(id, "opt2");
    QTest::mouseClick(opt2, Qt::LeftButton, {}, QPoint(8, 12));
    QTest::mouseClick(forms.controlWidget(id, "lbl2"), Qt::LeftButton);  // no handler
    QTest::keyClick(forms.controlWidget(id, "cmd2"), Qt::Key_Return);    // Enter on a focused button presses it
    QTest::keyClick(forms.controlWidget(id, "opt1"), Qt::Key_Space);     // no key handler: a click
    // A control with a key handler keeps Enter, Escape and Space for itself; keys without a character
    // (focus moves, accelerators) are not handed on.
    for (Qt::Key key : {Qt::Key_3, Qt::Key_Return, Qt::Key_Escape, Qt::Key_Space, Qt::Key_Tab})
        QTest::keyClick(opt2, key);
    QTest::keyClick(opt2, Qt::Key_4, Qt::AltModifier);
    QTest::keyClick(opt2, Qt::Key_Enter, Qt::KeypadModifier);
    QKeyEvent umlaut(QEvent::KeyPress, Qt::Key_Adiaeresis, Qt::NoModifier, QStringLiteral("ä"));
    QApplication::sendEvent(opt2, &umlaut);
    EXPECT_EQ(calls, (std::vector<std::string>{"on", "cmd2_Click", "opt1_Click", "51", "13", "27", "32", "13", "228"}));

    // Enter and Escape that no control took press the default and cancel buttons; other keys stay in the box.
    calls.clear();
    auto* edit = qobject_cast<QLineEdit*>(forms.controlWidget(id, "ed1"));
    QTest::keyClicks(edit, QStringLiteral("Ab1"));
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(forms.controlText(id, "ed1"), "JörgAb1");
    EXPECT_EQ(calls, (std::vector<std::string>{"cmd1_Click", "cmd2_Click"}));

    owner.setEnabled(true);
    owner.setEnabled(false);  // disabled again while the form is open
    QCoreApplication::processEvents();
    EXPECT_TRUE(forms.controlWidget(id, "cmd2")->isEnabled());
    owner.setEnabled(true);
    calls.clear();
    const QPoint onButton = ownerButton->geometry().center();  // through the window system, where modality applies
    QTest::mouseClick(owner.windowHandle(), Qt::LeftButton, {}, onButton);
    EXPECT_TRUE(calls.empty()) << "the main window took a click while a form was open";
    forms.closeForm(id);
    QTest::mouseClick(owner.windowHandle(), Qt::LeftButton, {}, onButton);
    QTest::keyClick(forms.controlWidget(forms.loadForm(slotForm(), 700, 300), "ed1"), Qt::Key_Return);
    EXPECT_EQ(calls, (std::vector<std::string>{"frm1_Close", "owner"})) << "Enter without a default button pressed one";
}

TEST_F(FormsTest, CloseBoxAndCloseRequestRunTheCloseHandlerOnceAlsoWhenHandlersCloseTheirOwnForm) {
    // The close handler sends the close request itself; the click handler closes its form and opens the
    // next dialog, which waits in a loop of its own while the clicked button must stay alive.
    FormLayout desc = slotForm();
    FormId first = 0, second = 0;
    QPointer<QWidget> button;
    bool buttonAliveInHandler = false;
    desc.handlers["frm1_Close"] = [&](const FormEventArgs&) {
        calls.push_back("close");
        forms.closeForm(first);
    };
    desc.handlers["cmd2_Click"] = [&](const FormEventArgs&) {
        forms.closeForm(first);
        second = forms.loadForm(slotForm(), 710, 310);
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
        buttonAliveInHandler = !button.isNull();
    };
    forms.formWidget(first = forms.loadForm(desc, 700, 300))->close();
    EXPECT_EQ(calls.size(), 1u);

    first = forms.loadForm(desc, 700, 300);
    button = forms.controlWidget(first, "cmd2");
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(buttonAliveInHandler);
    EXPECT_EQ(calls, std::vector<std::string>(2, "close"));
    EXPECT_FALSE(forms.formExists(first));
    ASSERT_TRUE(forms.formExists(second));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(button.isNull());
    QTest::mouseClick(forms.controlWidget(second, "cmd1"), Qt::LeftButton);
    EXPECT_EQ(calls.back(), "cmd1_Click");
}

}  // namespace
}  // namespace nonari
