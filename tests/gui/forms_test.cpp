// Dialog forms on Qt: placement, handlers by name, Enter and Escape, modality and closing from a handler.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_forms.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace nonari {
namespace {

ControlLayout control(ControlKind kind, const std::string& name, const std::string& caption, int x, int y) {
    ControlLayout c;
    c.kind = kind, c.name = name, c.caption = caption;
    c.x = x, c.y = y, c.width = kind == ControlKind::TextBox ? 160 : 75, c.height = 24;
    return c;
}

TEST(Forms, ModalFormCallsHandlersByNameEnterAndEscapePressItsButtonsAndAHandlerMayCloseIt) {
    std::vector<std::string> calls;
    QWidget owner;
    owner.setGeometry(50, 40, 862, 694);
    auto* ownerButton = new QPushButton(QStringLiteral("main"), &owner);
    ownerButton->setGeometry(10, 10, 80, 30);
    QObject::connect(ownerButton, &QPushButton::clicked, [&] { calls.push_back("owner"); });
    owner.show();
    QtForms forms(&owner);

    FormLayout desc;
    desc.name = "frm1";
    desc.width = 180, desc.height = 200;
    desc.controls = {control(ControlKind::CommandButton, "cmd1", "&OK", 10, 130),
                     control(ControlKind::CommandButton, "cmd2", "&Abbruch", 95, 130),
                     control(ControlKind::TextBox, "ed1", "Jörg", 10, 170)};
    desc.defaultButton = "cmd1", desc.cancelButton = "cmd2";
    for (std::string handler : {"cmd1_Click", "frm1_Close"})
        desc.handlers[handler] = [&calls, handler](const FormEventArgs&) { calls.push_back(handler); };
    // Cancel closes its own form and opens the next one, which would run a loop of its own: the clicked
    // button must outlive its handler, and the close handler runs once.
    FormId id = 0, next = 0;
    QPointer<QWidget> cancel;
    bool cancelAliveInHandler = false;
    desc.handlers["cmd2_Click"] = [&](const FormEventArgs&) {
        forms.closeForm(id);
        next = forms.loadForm(desc, 710, 310);
        QCoreApplication::processEvents();
        cancelAliveInHandler = !cancel.isNull();
    };

    owner.setEnabled(false);  // the game disables the main window before it loads a form
    id = forms.loadForm(desc, 700, 300);
    ASSERT_NE(forms.formWidget(id), nullptr);
    EXPECT_EQ(forms.formWidget(id)->frameGeometry().topLeft(), QPoint(700, 300));
    owner.setEnabled(true);
    // Through the window system, where modality applies.
    QTest::mouseClick(owner.windowHandle(), Qt::LeftButton, {}, ownerButton->geometry().center());
    EXPECT_TRUE(calls.empty()) << "the main window took a click while a form was open";

    // Key handlers of controls by name are run by the slot dialog test in dialogs_test.
    QWidget* edit = forms.controlWidget(id, "ed1");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(calls, (std::vector<std::string>{"cmd1_Click"}));
    cancel = forms.controlWidget(id, "cmd2");
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_TRUE(cancelAliveInHandler);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "frm1_Close"), 1);
    EXPECT_FALSE(forms.formExists(id));
    ASSERT_TRUE(forms.formExists(next));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(cancel.isNull());
    forms.closeForm(next);
    QTest::mouseClick(owner.windowHandle(), Qt::LeftButton, {}, ownerButton->geometry().center());
    EXPECT_EQ(calls.back(), "owner");
}

}  // namespace
}  // namespace nonari
