// Dialog forms realised as Qt windows from their descriptions; handlers are called by name.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/platform.h"

#include <QPointer>
#include <QWidget>

#include <map>
#include <string>
#include <vector>

namespace nonari {

class QtFormWindow;

class QtForms {
public:
    explicit QtForms(QWidget* owner) : owner(owner) {}
    ~QtForms();

    FormId loadForm(const FormLayout& desc, int x, int y);
    bool formExists(FormId form);
    void closeForm(FormId form);
    void setControlText(FormId form, const std::string& control, const std::string& text);
    std::string controlText(FormId form, const std::string& control);
    void setControlValue(FormId form, const std::string& control, bool value);
    bool controlValue(FormId form, const std::string& control);
    void focusControl(FormId form, const std::string& control);
    void addListRow(FormId form, const std::string& control, const std::vector<std::string>& cells);
    int selectedTab(FormId form, const std::string& control);
    void selectTab(FormId form, const std::string& control, int tab);

    // For tests: the window of an open form, and one of its controls.
    QWidget* formWidget(FormId form);
    QWidget* controlWidget(FormId form, const std::string& control);

private:
    QtFormWindow* window(FormId form);

    QWidget* owner;
    std::map<FormId, QPointer<QWidget>> forms;
    FormId lastForm = 0;
};

}  // namespace nonari
