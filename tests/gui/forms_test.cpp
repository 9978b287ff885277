// Dialog forms on Qt: controls built from a description, handlers by name, closing, lists and tabs.
#include "platform/qt/qt_forms.h"

#include <QApplication>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace nonari {
namespace {

ControlSpec control(ControlKind kind, const std::string& name, const std::string& caption, int x, int y, int width,
                    int height) {
    ControlSpec c;
    c.kind = kind;
    c.name = name;
    c.caption = caption;
    c.x = x;
    c.y = y;
    c.width = width;
    c.height = height;
    return c;
}

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner = std::make_unique<QWidget>();
        owner->setGeometry(50, 40, 862, 694);
        ownerButton = new QPushButton(QStringLiteral("main"), owner.get());
        ownerButton->setGeometry(10, 10, 80, 30);
        QObject::connect(ownerButton, &QPushButton::clicked, [this] { calls.push_back("owner"); });
        owner->show();
        forms = std::make_unique<QtForms>(owner.get());
    }

    void TearDown() override {
        forms.reset();
        owner.reset();
    }

    // A slot dialog: four option buttons, two command buttons, a label and a text box.
    FormSpec slotForm() {
        FormSpec spec;
        spec.name = "frm1";
        spec.caption = "Sichern unter ...";
        spec.width = 180;
        spec.height = 200;
        spec.fontPoints = 10;
        for (int n = 1; n <= 4; ++n)
            spec.controls.push_back(control(ControlKind::OptionButton, "opt" + std::to_string(n),
                                            "Nr. &" + std::to_string(n), 20, 10 + 30 * (n - 1), 120, 24));
        spec.controls.push_back(control(ControlKind::CommandButton, "cmd1", "&OK", 10, 130, 75, 28));
        spec.controls.push_back(control(ControlKind::CommandButton, "cmd2", "&Abbruch", 95, 130, 75, 28));
        spec.controls.push_back(control(ControlKind::Label, "lbl2", "Glückwunsch!", 10, 165, 160, 14));
        spec.controls.push_back(control(ControlKind::TextBox, "ed1", "Jörg", 10, 180, 160, 18));
        for (const char* name : {"opt1", "opt2", "opt3", "opt4", "cmd1", "cmd2"})
            spec.handlers[std::string(name) + "_Click"] = [this, name](const FormEventArgs&) {
                calls.push_back(std::string(name) + "_Click");
            };
        for (const char* name : {"opt1", "opt2"})
            spec.handlers[std::string(name) + "_KeyPress"] = [this, name](const FormEventArgs& args) {
                calls.push_back(std::string(name) + "_KeyPress " + std::to_string(args.key));
            };
        spec.handlers["frm1_Close"] = [this](const FormEventArgs&) { calls.push_back("frm1_Close"); };
        return spec;
    }

    // A hall-of-fame dialog: five list views on the pages of a tab strip.
    FormSpec listForm() {
        FormSpec spec;
        spec.name = "ruhm";
        spec.caption = "Ruhmeshalle";
        spec.width = 464;
        spec.height = 357;
        for (int d = 1; d <= 5; ++d) {
            ControlSpec list = control(ControlKind::ListView, "lv" + std::to_string(d), "", 0, 0, 422, 257);
            list.page = d;
            list.fontPoints = 12;
            list.columns = {{"#", 28}, {"Name", 207}, {"Datum", 93}, {"Zeit", 90}};
            spec.controls.push_back(list);
        }
        ControlSpec tabs = control(ControlKind::TabStrip, "tbs1", "", 16, 12, 426, 266);
        tabs.tabs = {"Leicht", "Mittel", "Schwer", "Extrem", "Teuflisch"};
        spec.controls.push_back(tabs);
        spec.controls.push_back(control(ControlKind::CommandButton, "cmd3", "&OK", 91, 288, 141, 31));
        spec.controls.push_back(control(ControlKind::CommandButton, "cmd4", "&Löschen", 232, 288, 141, 31));
        return spec;
    }

    std::unique_ptr<QWidget> owner;
    QPushButton* ownerButton = nullptr;
    std::unique_ptr<QtForms> forms;
    std::vector<std::string> calls;
};

TEST_F(FormsTest, BuildsTheWindowAndItsControlsFromTheDescription) {
    const FormId id = forms->loadForm(slotForm(), 700, 300);
    ASSERT_TRUE(forms->formExists(id));
    QWidget* window = forms->formWidget(id);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->parentWidget(), owner.get());
    EXPECT_EQ(window->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Sichern unter ..."));
    EXPECT_EQ(window->size(), QSize(180, 200));
    EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(700, 300));
    EXPECT_EQ(QFontInfo(window->font()).family(), QStringLiteral("Liberation Sans"));
    EXPECT_DOUBLE_EQ(window->font().pointSizeF(), 10.0);

    auto* opt3 = qobject_cast<QRadioButton*>(forms->controlWidget(id, "opt3"));
    ASSERT_NE(opt3, nullptr);
    EXPECT_EQ(opt3->text(), QStringLiteral("Nr. &3"));
    EXPECT_EQ(opt3->geometry(), QRect(20, 70, 120, 24));
    auto* cmd2 = qobject_cast<QPushButton*>(forms->controlWidget(id, "cmd2"));
    ASSERT_NE(cmd2, nullptr);
    EXPECT_EQ(cmd2->text(), QStringLiteral("&Abbruch"));
    EXPECT_NE(qobject_cast<QLabel*>(forms->controlWidget(id, "lbl2")), nullptr);
    EXPECT_EQ(forms->controlText(id, "lbl2"), "Glückwunsch!");
    EXPECT_NE(qobject_cast<QLineEdit*>(forms->controlWidget(id, "ed1")), nullptr);
    EXPECT_EQ(forms->controlText(id, "ed1"), "Jörg");
    EXPECT_EQ(forms->controlWidget(id, "nothing"), nullptr);

    // The option buttons form one group; setting a value is not a click.
    forms->setControlValue(id, "opt3", true);
    forms->setControlValue(id, "opt1", true);
    EXPECT_TRUE(forms->controlValue(id, "opt1"));
    EXPECT_FALSE(forms->controlValue(id, "opt3"));
    forms->setControlValue(id, "opt1", false);
    EXPECT_FALSE(forms->controlValue(id, "opt1"));
    EXPECT_TRUE(calls.empty());

    forms->setControlText(id, "frm1", "Welches Brett laden?");
    forms->setControlText(id, "ed1", "Zoë Müller");
    forms->setControlText(id, "cmd1", "&Weiter");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Welches Brett laden?"));
    EXPECT_EQ(forms->controlText(id, "frm1"), "Welches Brett laden?");
    EXPECT_EQ(forms->controlText(id, "ed1"), "Zoë Müller");
    EXPECT_EQ(forms->controlText(id, "cmd1"), "&Weiter");

    forms->focusControl(id, "opt2");
    EXPECT_EQ(window->focusWidget(), forms->controlWidget(id, "opt2"));

    EXPECT_FALSE(forms->formExists(id + 1));
    EXPECT_EQ(forms->controlText(id + 1, "ed1"), "");
    forms->setControlText(id + 1, "ed1", "x");  // an unknown form is ignored
}

TEST_F(FormsTest, TheFormStaysUsableWhileItsOwnerIsDisabledAndBlocksTheOwner) {
    owner->setEnabled(false);  // the game disables the main window before it loads a form
    const FormId id = forms->loadForm(slotForm(), 700, 300);
    QWidget* window = forms->formWidget(id);
    EXPECT_TRUE(window->isEnabled());
    QTest::mouseClick(forms->controlWidget(id, "cmd1"), Qt::LeftButton);
    EXPECT_EQ(calls, std::vector<std::string>{"cmd1_Click"});

    owner->setEnabled(true);
    owner->setEnabled(false);  // disabled again while the form is open
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(forms->controlWidget(id, "cmd2")->isEnabled());

    owner->setEnabled(true);
    calls.clear();
    // Through the window system, where modality applies.
    const QPoint onButton = ownerButton->geometry().center();
    QTest::mouseClick(owner->windowHandle(), Qt::LeftButton, {}, onButton);
    EXPECT_TRUE(calls.empty()) << "the main window took a click while a form was open";
    forms->closeForm(id);
    calls.clear();
    QTest::mouseClick(owner->windowHandle(), Qt::LeftButton, {}, onButton);
    EXPECT_EQ(calls, std::vector<std::string>{"owner"});
}

TEST_F(FormsTest, ClicksRunTheClickHandlerOfTheControl) {
    FormSpec spec = slotForm();
    FormId second = 0;
    bool checkedInHandler = false;
    spec.handlers["opt2_Click"] = [&](const FormEventArgs&) {
        calls.push_back("opt2_Click");
        checkedInHandler = forms->controlValue(second, "opt2");
    };
    second = forms->loadForm(spec, 700, 300);

    const QPoint onIndicator(8, 12);
    QTest::mouseClick(forms->controlWidget(second, "opt2"), Qt::LeftButton, {}, onIndicator);
    EXPECT_TRUE(checkedInHandler);
    QTest::mouseClick(forms->controlWidget(second, "opt4"), Qt::LeftButton, {}, onIndicator);
    EXPECT_TRUE(forms->controlValue(second, "opt4"));
    EXPECT_FALSE(forms->controlValue(second, "opt2"));
    QTest::mouseClick(forms->controlWidget(second, "cmd2"), Qt::LeftButton);
    QTest::mouseClick(forms->controlWidget(second, "lbl2"), Qt::LeftButton);  // no handler
    // Enter on a focused button presses it.
    QTest::keyClick(forms->controlWidget(second, "cmd1"), Qt::Key_Return);
    EXPECT_EQ(calls, (std::vector<std::string>{"opt2_Click", "opt4_Click", "cmd2_Click", "cmd1_Click"}));
}

TEST_F(FormsTest, KeyPressHandlersGetTheCharacterCodeAndConsumeTheKey) {
    const FormId id = forms->loadForm(slotForm(), 700, 300);
    QWidget* opt1 = forms->controlWidget(id, "opt1");
    QWidget* opt2 = forms->controlWidget(id, "opt2");
    QTest::keyClick(opt2, Qt::Key_3);
    QTest::keyClick(opt2, Qt::Key_Return);
    QTest::keyClick(opt2, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(opt1, Qt::Key_A);
    QKeyEvent umlaut(QEvent::KeyPress, Qt::Key_Adiaeresis, Qt::NoModifier, QStringLiteral("ä"));
    QApplication::sendEvent(opt1, &umlaut);
    // Space would click the option button; its handler takes it instead.
    QTest::keyClick(opt1, Qt::Key_Space);
    EXPECT_FALSE(forms->controlValue(id, "opt1"));
    // Keys without a character (focus moves, accelerators) are not handed on.
    QTest::keyClick(opt2, Qt::Key_Tab);
    QTest::keyClick(opt2, Qt::Key_4, Qt::AltModifier);
    EXPECT_EQ(calls, (std::vector<std::string>{"opt2_KeyPress 51", "opt2_KeyPress 13", "opt2_KeyPress 13",
                                               "opt1_KeyPress 97", "opt1_KeyPress 228", "opt1_KeyPress 32"}));

    // Controls without a handler keep their keys.
    auto* edit = qobject_cast<QLineEdit*>(forms->controlWidget(id, "ed1"));
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("Ab1"));
    EXPECT_EQ(forms->controlText(id, "ed1"), "Ab1");
    calls.clear();
    QTest::keyClick(forms->controlWidget(id, "opt3"), Qt::Key_Space);
    EXPECT_EQ(calls, std::vector<std::string>{"opt3_Click"});
}

TEST_F(FormsTest, EnterAndEscapeNobodyTookPressTheDefaultAndCancelButtons) {
    FormSpec spec = slotForm();
    spec.defaultButton = "cmd1";
    spec.cancelButton = "cmd2";
    const FormId id = forms->loadForm(spec, 700, 300);
    QWidget* edit = forms->controlWidget(id, "ed1");
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Escape);
    // An option button with its own key handler keeps Enter and Escape for itself.
    QTest::keyClick(forms->controlWidget(id, "opt1"), Qt::Key_Escape);
    EXPECT_EQ(calls, (std::vector<std::string>{"cmd1_Click", "cmd2_Click", "opt1_KeyPress 27"}));

    // Without a default button Enter in the text box does nothing.
    calls.clear();
    const FormId plain = forms->loadForm(slotForm(), 700, 300);
    QTest::keyClick(forms->controlWidget(plain, "ed1"), Qt::Key_Return);
    EXPECT_TRUE(calls.empty());
}

TEST_F(FormsTest, CloseBoxAndCloseRequestRunTheCloseHandlerOnce) {
    const FormId boxed = forms->loadForm(slotForm(), 700, 300);
    QPointer<QWidget> boxedWindow = forms->formWidget(boxed);
    boxedWindow->close();
    EXPECT_EQ(calls, std::vector<std::string>{"frm1_Close"});
    EXPECT_FALSE(forms->formExists(boxed));
    EXPECT_EQ(forms->formWidget(boxed), nullptr);
    ASSERT_FALSE(boxedWindow.isNull());
    EXPECT_FALSE(boxedWindow->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(boxedWindow.isNull());

    calls.clear();
    const FormId requested = forms->loadForm(slotForm(), 700, 300);
    QPointer<QWidget> requestedWindow = forms->formWidget(requested);
    forms->closeForm(requested);
    forms->closeForm(requested);
    EXPECT_EQ(calls, std::vector<std::string>{"frm1_Close"});
    EXPECT_FALSE(forms->formExists(requested));
    EXPECT_FALSE(requestedWindow->isVisible());

    // A close handler that sends the close request itself.
    calls.clear();
    FormSpec spec = slotForm();
    FormId self = 0;
    spec.handlers["frm1_Close"] = [&](const FormEventArgs&) {
        calls.push_back("frm1_Close");
        forms->closeForm(self);
    };
    self = forms->loadForm(spec, 700, 300);
    forms->formWidget(self)->close();
    EXPECT_EQ(calls, std::vector<std::string>{"frm1_Close"});
    EXPECT_FALSE(forms->formExists(self));
    forms->closeForm(12345);
}

TEST_F(FormsTest, AHandlerMayCloseItsOwnFormAndOpenAnother) {
    FormSpec spec = slotForm();
    FormId first = 0;
    FormId second = 0;
    bool buttonAliveInHandler = false;
    QPointer<QWidget> button;
    spec.handlers["cmd2_Click"] = [&](const FormEventArgs&) {
        forms->closeForm(first);
        // The next dialog waits in a loop of its own, still inside this click.
        second = forms->loadForm(slotForm(), 710, 310);
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
        buttonAliveInHandler = !button.isNull();
    };
    first = forms->loadForm(spec, 700, 300);
    button = forms->controlWidget(first, "cmd2");
    QTest::mouseClick(button, Qt::LeftButton);

    EXPECT_TRUE(buttonAliveInHandler);
    EXPECT_EQ(calls, std::vector<std::string>{"frm1_Close"});
    EXPECT_FALSE(forms->formExists(first));
    ASSERT_TRUE(forms->formExists(second));
    EXPECT_NE(second, first);
    EXPECT_TRUE(forms->formWidget(second)->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(button.isNull());
    QTest::mouseClick(forms->controlWidget(second, "cmd1"), Qt::LeftButton);
    EXPECT_EQ(calls.back(), "cmd1_Click");
}

TEST_F(FormsTest, ListViewsSitOnTheirTabPagesAndTakeRows) {
    const FormId id = forms->loadForm(listForm(), 118, 176);
    auto* tabs = qobject_cast<QTabWidget*>(forms->controlWidget(id, "tbs1"));
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 5);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Leicht"));
    EXPECT_EQ(tabs->tabText(4), QStringLiteral("Teuflisch"));
    EXPECT_EQ(tabs->geometry(), QRect(16, 12, 426, 266));

    auto* lv3 = qobject_cast<QTreeWidget*>(forms->controlWidget(id, "lv3"));
    ASSERT_NE(lv3, nullptr);
    EXPECT_TRUE(tabs->widget(2)->isAncestorOf(lv3));
    EXPECT_FALSE(tabs->widget(1)->isAncestorOf(lv3));
    EXPECT_EQ(lv3->headerItem()->text(1), QStringLiteral("Name"));
    EXPECT_EQ(lv3->headerItem()->text(3), QStringLiteral("Zeit"));
    EXPECT_EQ(lv3->columnWidth(0), 28);
    EXPECT_EQ(lv3->columnWidth(2), 93);
    EXPECT_DOUBLE_EQ(lv3->font().pointSizeF(), 12.0);
    EXPECT_FALSE(lv3->rootIsDecorated());
    EXPECT_EQ(lv3->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(lv3->editTriggers(), QAbstractItemView::NoEditTriggers);
    tabs->widget(2)->layout()->activate();
    EXPECT_EQ(lv3->geometry(), tabs->widget(2)->rect());

    forms->addListRow(id, "lv2", {" 1.", "Jürgen", "01.02.2024", "00:03:12.5"});
    forms->addListRow(id, "lv2", {" 2.", "Anna", "03.02.2024", "00:04:00.0"});
    forms->addListRow(id, "cmd3", {"ignored"});
    auto* lv2 = qobject_cast<QTreeWidget*>(forms->controlWidget(id, "lv2"));
    ASSERT_EQ(lv2->topLevelItemCount(), 2);
    EXPECT_EQ(lv2->topLevelItem(0)->text(1), QStringLiteral("Jürgen"));
    EXPECT_EQ(lv2->topLevelItem(1)->text(0), QStringLiteral(" 2."));
    EXPECT_EQ(lv2->topLevelItem(1)->text(3), QStringLiteral("00:04:00.0"));
    EXPECT_EQ(lv3->topLevelItemCount(), 0);

    EXPECT_EQ(forms->selectedTab(id, "tbs1"), 1);
    forms->selectTab(id, "tbs1", 4);
    EXPECT_EQ(forms->selectedTab(id, "tbs1"), 4);
    EXPECT_TRUE(tabs->currentWidget()->isAncestorOf(forms->controlWidget(id, "lv4")));
    forms->selectTab(id, "tbs1", 0);
    forms->selectTab(id, "tbs1", 6);
    EXPECT_EQ(forms->selectedTab(id, "tbs1"), 4);
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(1).center());
    EXPECT_EQ(forms->selectedTab(id, "tbs1"), 2);
    EXPECT_EQ(forms->selectedTab(id, "lv2"), 0);
    EXPECT_EQ(forms->selectedTab(id + 1, "tbs1"), 0);
}

}  // namespace
}  // namespace nonari
