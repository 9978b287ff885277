// A platform without a screen: draws nothing, replays a scripted sequence of events and answers.
// SPDX-License-Identifier: GPL-3.0-or-later
// Used by the unit tests, the benchmarks and the collection tool.
#pragma once

#include "platform/platform.h"

#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace nonari {

class HeadlessPlatform : public Platform {
public:
    struct MenuEntry {
        enum Kind { Item, Separator, Popup } kind = Item;
        int id = 0;
        std::string caption;
        MenuId popup = 0;
    };
    struct Form {
        FormLayout desc;
        int x = 0, y = 0;
        std::map<std::string, std::string> texts;
        std::map<std::string, bool> values;
        std::map<std::string, std::vector<std::vector<std::string>>> rows;
        std::map<std::string, int> tabs;
        std::string focus;
    };

    // One step per waitEvent. A step returns the input event it stands for.
    using Step = std::function<InputEvent()>;
    std::deque<Step> script;
    // The script is used up: appEnding() turns true so that every loop returns.
    bool endWhenScriptEmpty = true;

    void pushInput(InputEvent event);
    void pushClick(EventKind button, double x, double y);
    void pushKeyUp(int virtualKey, int modifiers = 0);
    void pushChar(int code);
    void pushMenu(int id);
    // Runs the handler "<control>_<event>" (or "<form>_Close") of the open form with that name.
    void pushFormEvent(const std::string& form, const std::string& handler, int key = 0);
    void pushStep(std::function<void()> step);

    std::deque<int> messageBoxAnswers;  // answers in order; when empty the default button
    std::vector<std::string> messages;  // texts of the message boxes shown
    int beeps = 0;
    int drawCalls = 0;
    bool mouseHeld = false;
    bool ending = false;
    bool windowOpen = false;
    bool windowEnabled = true;
    std::string title;
    int windowX = 0, windowY = 0, windowWidth = 0, windowHeight = 0;
    int screenW = 1024, screenH = 768;
    std::map<MenuId, std::vector<MenuEntry>> menus;
    MenuId menuBar = 0;
    std::map<int, bool> checks;
    std::map<FormId, Form> forms;
    std::vector<std::size_t> backgroundPictures;  // the size of each picture handed over
    std::vector<std::string> helpShown;  // "file#topic" or "file?keyword"
    bool helpSucceeds = true;
    std::uint32_t version = 0x0000000A;
    bool printerAvailable = false;
    std::size_t printerBreaksAfterTexts = SIZE_MAX;  // a printer that fails once it has taken that many texts
    std::vector<std::string> printedTexts;  // texts drawn while the printer is the target
    bool recordTexts = false;
    std::vector<std::string> drawnTexts;    // texts drawn on the window while recordTexts

    Form* findForm(const std::string& name);
    std::vector<std::string> listRows(const std::string& form, const std::string& control, int row);

    // Platform
    void setTitle(const std::string& text) override { title = text; }
    int screenWidth() override { return screenW; }
    int screenHeight() override { return screenH; }
    void openMainWindow(int x, int y, int width, int height) override;
    void sizeMainWindow(int width, int height) override;
    int mainWindowLeft() override { return windowX; }
    int mainWindowTop() override { return windowY; }
    void setBackgroundColour(Rgb) override {}
    bool setBackgroundPicture(const std::vector<unsigned char>& picture) override {
        backgroundPictures.push_back(picture.size());
        return false;
    }
    void setMainWindowEnabled(bool enabled) override { windowEnabled = enabled; }
    void activateMainWindow() override {}
    void setMainWindowHandlers(MainWindowHandlers h) override { handlers = std::move(h); }
    bool mainWindowExists() override { return windowOpen; }
    void closeMainWindow() override { windowOpen = false; }

    MenuId createMenuBar() override;
    MenuId createPopup() override;
    bool appendMenuItem(MenuId menu, int id, const std::string& caption) override;
    bool appendMenuSeparator(MenuId menu) override;
    bool appendMenuPopup(MenuId menu, MenuId popup, const std::string& caption) override;
    MenuId setMenuBar(MenuId bar) override;
    void destroyMenu(MenuId menu) override;
    void checkMenuItem(int id, bool checked) override { checks[id] = checked; }

    InputEvent waitEvent() override;
    InputEvent currentEvent() override { return current; }
    bool mouseButtonHeld() override { return mouseHeld; }
    bool appEnding() override { return ending; }
    void quit() override;

    int messageBox(const std::string& text, MessageIcon icon, int defaultButton,
                   const std::string& captions) override;
    void beep() override { ++beeps; }

    void setPenColour(Rgb) override {}
    void setFillColour(Rgb) override {}
    void setLineWidth(int) override {}
    void setRasterMode(RasterMode) override {}
    void setTextOpaque(bool) override {}
    void selectFont(const FontRequest&) override {}
    int systemFixedFontHeight() override { return 12; }
    void drawLine(int, int, int, int) override { ++drawCalls; }
    void drawBox(int, int, int, int) override { ++drawCalls; }
    void drawFilledBox(int, int, int, int) override { ++drawCalls; }
    void drawText(int, int, const std::string& text) override;
    void showPointer(bool) override {}
    SavedAreaId saveArea(int, int, int, int) override { return ++lastArea; }
    void restoreArea(SavedAreaId, int, int) override {}
    void discardArea(SavedAreaId) override {}

    LabelId createLabel(const std::string& name, int x, int y, int width, int height,
                        const std::string& fontFace, double points, Rgb background) override;
    void setLabelText(LabelId label, const std::string& text) override;
    std::string labelText(LabelId label) override;

    FormId loadForm(const FormLayout& desc, int x, int y) override;
    bool formExists(FormId form) override { return forms.count(form) != 0; }
    void closeForm(FormId form) override;
    void setControlText(FormId form, const std::string& control, const std::string& text) override;
    std::string controlText(FormId form, const std::string& control) override;
    void setControlValue(FormId form, const std::string& control, bool value) override;
    bool controlValue(FormId form, const std::string& control) override;
    void focusControl(FormId form, const std::string& control) override;
    void addListRow(FormId form, const std::string& control,
                    const std::vector<std::string>& cells) override;
    int selectedTab(FormId form, const std::string& control) override;
    void selectTab(FormId form, const std::string& control, int tab) override;

    bool selectPrinter() override { printing = printerAvailable; return printerAvailable; }
    bool startDocument(const std::string&) override { return printerAvailable; }
    bool startPage() override { return printerAvailable; }
    void setPrinterFont(const std::string&, double) override {}
    int targetResolutionX() override { return 4960; }
    int targetResolutionY() override { return 7016; }
    bool endPage() override { return printerAvailable; }
    bool endDocument() override { return printerAvailable; }
    void abortDocument() override {}
    bool printerFailed() override { return !printerAvailable || printedTexts.size() >= printerBreaksAfterTexts; }
    void targetWindow() override { printing = false; }

    std::uint32_t systemVersion() override { return version; }
    bool showHtmlHelp(const std::string& file, const std::string& topic) override;
    bool showWinHelp(const std::string& file, const std::string& keyword) override;
    void closeWinHelp(const std::string&) override {}

private:
    MainWindowHandlers handlers;
    InputEvent current;
    MenuId lastMenu = 0;
    FormId lastForm = 0;
    SavedAreaId lastArea = 0;
    std::mutex labelMutex;
    std::map<LabelId, std::string> labels;
    LabelId lastLabel = 0;
    bool printing = false;
};

}  // namespace nonari
