// A platform without a screen that replays scripted events, for tests and tools.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/headless_platform.h"

#include "platform/system.h"

#include <algorithm>

namespace nonari {

void HeadlessPlatform::pushInput(InputEvent event) {
    script.push_back([event] { return event; });
}

void HeadlessPlatform::pushClick(EventKind button, double x, double y) {
    pushInput(InputEvent{button, 0, x, y});
}

void HeadlessPlatform::pushKeyUp(int virtualKey, int modifiers) {
    pushInput(InputEvent{EventKind::KeyUp, virtualKey, 0, 0, modifiers});
}

void HeadlessPlatform::pushChar(int code) { pushInput(InputEvent{EventKind::Char, code, 0, 0}); }

void HeadlessPlatform::pushMenu(int id) {
    script.push_back([this, id] {
        if (handlers.menuEvent) handlers.menuEvent(id);
        return InputEvent{};
    });
}

void HeadlessPlatform::pushFormEvent(const std::string& form, const std::string& handler, int key) {
    script.push_back([this, form, handler, key] {
        Form* f = findForm(form);
        if (f == nullptr) return InputEvent{};
        FormId id = 0;
        for (auto& [fid, candidate] : forms)
            if (&candidate == f) id = fid;
        if (handler == form + "_Close") {
            closeForm(id);
            return InputEvent{};
        }
        auto it = f->desc.handlers.find(handler);
        if (it != f->desc.handlers.end()) {
            // Clicking an option button checks it, as the real control does.
            std::string control = handler.substr(0, handler.find('_'));
            if (handler.ends_with("_Click"))
                for (const auto& c : f->desc.controls)
                    if (c.name == control && c.kind == ControlKind::OptionButton) setControlValue(id, control, true);
            auto handler = it->second;  // the handler may close its own form
            handler(FormEventArgs{key});
        }
        return InputEvent{};
    });
}

void HeadlessPlatform::pushStep(std::function<void()> step) {
    script.push_back([step] {
        step();
        return InputEvent{};
    });
}

HeadlessPlatform::Form* HeadlessPlatform::findForm(const std::string& name) {
    for (auto& [id, form] : forms)
        if (form.desc.name == name) return &form;
    return nullptr;
}

std::vector<std::string> HeadlessPlatform::listRows(const std::string& form, const std::string& control, int row) {
    Form* f = findForm(form);
    if (f == nullptr) return {};
    auto& rows = f->rows[control];
    if (row < 0 || row >= static_cast<int>(rows.size())) return {};
    return rows[static_cast<std::size_t>(row)];
}

void HeadlessPlatform::openMainWindow(int x, int y, int width, int height) {
    windowX = x;
    windowY = y;
    windowWidth = width;
    windowHeight = height;
    windowOpen = true;
}

void HeadlessPlatform::sizeMainWindow(int width, int height) {
    windowWidth = width;
    windowHeight = height;
}

MenuId HeadlessPlatform::createMenuBar() {
    menus[++lastMenu] = {};
    return lastMenu;
}

MenuId HeadlessPlatform::createPopup() { return createMenuBar(); }

bool HeadlessPlatform::appendMenuItem(MenuId menu, int id, const std::string& caption) {
    if (!menus.count(menu)) return false;
    menus[menu].push_back({MenuEntry::Item, id, caption, 0});
    return true;
}

bool HeadlessPlatform::appendMenuSeparator(MenuId menu) {
    if (!menus.count(menu)) return false;
    menus[menu].push_back({MenuEntry::Separator, 0, "", 0});
    return true;
}

bool HeadlessPlatform::appendMenuPopup(MenuId menu, MenuId popup, const std::string& caption) {
    if (!menus.count(menu) || !menus.count(popup)) return false;
    menus[menu].push_back({MenuEntry::Popup, 0, caption, popup});
    return true;
}

MenuId HeadlessPlatform::setMenuBar(MenuId bar) {
    MenuId old = menuBar;
    menuBar = bar;
    return old;
}

void HeadlessPlatform::destroyMenu(MenuId menu) {
    auto it = menus.find(menu);
    if (it == menus.end()) return;
    std::vector<MenuEntry> entries = it->second;
    menus.erase(it);
    for (const auto& entry : entries)
        if (entry.kind == MenuEntry::Popup) destroyMenu(entry.popup);
}

InputEvent HeadlessPlatform::waitEvent() {
    if (endSignalled() && !ending && handlers.endSignalled) {
        handlers.endSignalled();
        current = InputEvent{};
        return current;
    }
    if (script.empty()) {
        if (endWhenScriptEmpty) ending = true;
        current = InputEvent{};
        return current;
    }
    Step step = std::move(script.front());
    script.pop_front();
    InputEvent event = step();
    bool mouse = event.kind == EventKind::Move || event.kind == EventKind::LeftPress ||
                 event.kind == EventKind::RightPress;
    if (mouse && handlers.mouseMove) handlers.mouseMove(0, 0, event.x, event.y);
    current = event;
    return event;
}

void HeadlessPlatform::quit() {
    ending = true;
    windowOpen = false;
}

int HeadlessPlatform::messageBox(const std::string& text, MessageIcon, int defaultButton, const std::string&) {
    messages.push_back(text);
    if (messageBoxAnswers.empty()) return defaultButton;
    int answer = messageBoxAnswers.front();
    messageBoxAnswers.pop_front();
    return answer;
}

void HeadlessPlatform::drawText(int, int, const std::string& text) {
    ++drawCalls;
    if (printing) printedTexts.push_back(text);
    else if (recordTexts) drawnTexts.push_back(text);
}

LabelId HeadlessPlatform::createLabel(const std::string&, int, int, int, int, const std::string&, double, Rgb) {
    std::lock_guard<std::mutex> lock(labelMutex);
    labels[++lastLabel] = "";
    return lastLabel;
}

void HeadlessPlatform::setLabelText(LabelId label, const std::string& text) {
    std::lock_guard<std::mutex> lock(labelMutex);
    labels[label] = text;
}

std::string HeadlessPlatform::labelText(LabelId label) {
    std::lock_guard<std::mutex> lock(labelMutex);
    auto it = labels.find(label);
    return it == labels.end() ? std::string() : it->second;
}

FormId HeadlessPlatform::loadForm(const FormLayout& desc, int x, int y) {
    Form form;
    form.desc = desc;
    form.x = x;
    form.y = y;
    for (const auto& control : desc.controls) {
        form.texts[control.name] = control.caption;
        if (control.kind == ControlKind::TabStrip) form.tabs[control.name] = 1;
    }
    forms[++lastForm] = std::move(form);
    return lastForm;
}

void HeadlessPlatform::closeForm(FormId form) {
    auto it = forms.find(form);
    if (it == forms.end()) return;
    auto handler = it->second.desc.handlers.find(it->second.desc.name + "_Close");
    if (handler != it->second.desc.handlers.end()) {
        auto run = handler->second;  // the handler may close or reopen forms
        run(FormEventArgs{});
    }
    forms.erase(form);
}

void HeadlessPlatform::setControlText(FormId form, const std::string& control, const std::string& text) {
    if (forms.count(form)) forms[form].texts[control] = text;
}

std::string HeadlessPlatform::controlText(FormId form, const std::string& control) {
    if (!forms.count(form)) return {};
    return forms[form].texts[control];
}

void HeadlessPlatform::setControlValue(FormId form, const std::string& control, bool value) {
    auto it = forms.find(form);
    if (it == forms.end()) return;
    Form& f = it->second;
    if (value)  // option buttons of a form form one group
        for (const auto& c : f.desc.controls)
            if (c.kind == ControlKind::OptionButton) f.values[c.name] = false;
    f.values[control] = value;
}

bool HeadlessPlatform::controlValue(FormId form, const std::string& control) {
    if (!forms.count(form)) return false;
    return forms[form].values[control];
}

void HeadlessPlatform::focusControl(FormId form, const std::string& control) {
    if (forms.count(form)) forms[form].focus = control;
}

void HeadlessPlatform::addListRow(FormId form, const std::string& control, const std::vector<std::string>& cells) {
    if (forms.count(form)) forms[form].rows[control].push_back(cells);
}

int HeadlessPlatform::selectedTab(FormId form, const std::string& control) {
    if (!forms.count(form)) return 0;
    return forms[form].tabs[control];
}

void HeadlessPlatform::selectTab(FormId form, const std::string& control, int tab) {
    if (forms.count(form)) forms[form].tabs[control] = tab;
}

bool HeadlessPlatform::showHtmlHelp(const std::string& file, const std::string& topic) {
    helpShown.push_back(file + "#" + topic);
    return helpSucceeds;
}

bool HeadlessPlatform::showWinHelp(const std::string& file, const std::string& keyword) {
    helpShown.push_back(file + "?" + keyword);
    return helpSucceeds;
}

}  // namespace nonari
