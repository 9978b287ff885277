// The single list of what the game asks of the machine: window, events, drawing, dialog forms, printer, help viewer.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace nonari {

// Colours are 0xRRGGBB.
using Rgb = std::uint32_t;

// Raster modes for lines and rectangles; text always paints in the pen colour.
enum class RasterMode { CopyPen = 13, XorPen = 7, MergePen = 15 };

// A font either by pixel cell height and average character width (height > 0)
// or by face and point size (points > 0).
struct FontRequest {
    std::string face;      // "ARIAL", "Terminal", "Fixedsys", "System"
    int height = 0;        // character cell height in pixels
    int width = 0;         // average character width in pixels
    int weight = 400;
    bool fixedPitch = false;
    double points = 0;
};

// Input events as the play loops see them; the values are the Windows message ids.
enum class EventKind {
    None = 0,           // something else was dispatched (paint, timer, menu command ...)
    Move = 0x200,
    LeftPress = 0x201,
    RightPress = 0x204,
    KeyUp = 0x101,      // code: virtual-key code (letters 'A'..'Z', digits, 27 Escape, 13 Return)
    Char = 0x102,       // code: character code of the typed character (27 for Escape, 13 for Return)
    Hidden = 0x18,      // the main window was minimised or hidden
};

// Virtual-key codes beyond letters and digits that the play loops read.
enum VirtualKey : int {
    KeyBackspace = 0x08, KeyReturn = 0x0D, KeyEscape = 0x1B, KeySpace = 0x20, KeyEnd = 0x23, KeyHome = 0x24,
    KeyArrowLeft = 0x25, KeyArrowUp = 0x26, KeyArrowRight = 0x27, KeyArrowDown = 0x28, KeyDelete = 0x2E, KeyPad0 = 0x60,  // .. 0x69
};

// Modifier keys, as bits of InputEvent::modifiers and of the mouse handler's shift mask.
inline constexpr int shiftHeld = 1, ctrlHeld = 2, altHeld = 4;

struct InputEvent {
    EventKind kind = EventKind::None;
    int code = 0;
    double x = 0;  // client coordinates of mouse events
    double y = 0;
    int modifiers = 0;  // KeyUp: the modifier keys held when the key went down
};

enum class MessageIcon { None = 0, Exclamation = 1, Question = 2, Stop = 3, Information = 4 };

// Handlers of the main window (window 0).
struct MainWindowHandlers {
    std::function<void(int id)> menuEvent;                                       // Win_0_MenuEvent
    std::function<void(int button, int shift, double x, double y)> mouseMove;    // Win_0_MouseMove
    std::function<void()> close;                                                 // Win_0_Close
    std::function<void()> endSignalled = {};  // a signal to end came (catchEndSignals); run from the event wait
};

// Dialog forms are described by the subsystem that owns them and realised by the platform.
enum class ControlKind { Label, TextBox, CommandButton, OptionButton, ListView, TabStrip };

struct ListColumn {
    std::string header;
    int width = 0;  // pixels
};

struct ControlLayout {
    ControlKind kind = ControlKind::Label;
    std::string name;      // "cmd1", "opt2", "ed1", "lv3", "tbs1" ...
    std::string caption;   // '&' marks the accelerator
    int x = 0, y = 0, width = 0, height = 0;  // pixels in the form's client area
    int page = 0;          // 1..n: placed on that page of the form's tab strip
    double fontPoints = 0; // 0: the form's font
    std::vector<ListColumn> columns;  // list views: report view with these columns
    std::vector<std::string> tabs;    // tab strips: one page per caption
};

struct FormEventArgs {
    int key = 0;  // KeyPress: character code (13 for Enter)
};

// Handlers by name: "<control>_Click", "<control>_KeyPress", "<form>_Close".
using FormHandlers = std::map<std::string, std::function<void(const FormEventArgs&)>>;

struct FormLayout {
    std::string name;     // "frm1", "ruhm", "champ", "Inf"
    std::string caption;
    int width = 0, height = 0;  // client size in pixels
    std::string fontFace = "Arial";
    double fontPoints = 9;
    std::vector<ControlLayout> controls;
    FormHandlers handlers;
    std::string defaultButton;  // Enter not taken by a control presses this button
    std::string cancelButton;   // Escape not taken by a control presses this button
};

using FormId = int;       // 0 = none
using SavedAreaId = int;  // 0 = none
using LabelId = int;      // 0 = none
using MenuId = int;       // 0 = none

class Platform {
public:
    virtual ~Platform() = default;

    // --- Main window ---------------------------------------------------------
    virtual void setTitle(const std::string& title) = 0;
    virtual int screenWidth() = 0;
    virtual int screenHeight() = 0;
    // Opens window 0 with its frame's top-left at (x, y); width and height are the outer size.
    virtual void openMainWindow(int x, int y, int width, int height) = 0;
    virtual void sizeMainWindow(int width, int height) = 0;
    virtual int mainWindowLeft() = 0;
    virtual int mainWindowTop() = 0;
    virtual void setBackgroundColour(Rgb colour) = 0;
    // Tiles the picture (a file's bytes, its header checked) over the client area; false when it cannot be decoded.
    virtual bool setBackgroundPicture(const std::vector<unsigned char>& picture) = 0;
    virtual void setMainWindowEnabled(bool enabled) = 0;
    virtual void activateMainWindow() = 0;
    virtual void setMainWindowHandlers(MainWindowHandlers handlers) = 0;
    virtual bool mainWindowExists() = 0;
    virtual void closeMainWindow() = 0;

    // --- Menu (native menu operations) ---------------------------------------
    virtual MenuId createMenuBar() = 0;
    virtual MenuId createPopup() = 0;
    virtual bool appendMenuItem(MenuId menu, int id, const std::string& caption) = 0;
    virtual bool appendMenuSeparator(MenuId menu) = 0;
    virtual bool appendMenuPopup(MenuId menu, MenuId popup, const std::string& caption) = 0;
    // Installs the bar as the window's menu and returns the menu it had before (0: none).
    virtual MenuId setMenuBar(MenuId bar) = 0;
    virtual void destroyMenu(MenuId menu) = 0;
    virtual void checkMenuItem(int id, bool checked) = 0;

    // --- Events --------------------------------------------------------------
    // Waits for the next event and dispatches it; menu commands, mouse moves and form
    // handlers run from inside this call. Returns the input event that was dispatched.
    virtual InputEvent waitEvent() = 0;
    virtual InputEvent currentEvent() = 0;
    virtual bool mouseButtonHeld() = 0;
    // True once the program is ending: every nested loop returns at its next look.
    virtual bool appEnding() = 0;
    // Starts ending the program: sets the flag above and closes the main window.
    virtual void quit() = 0;

    // --- Message boxes and sound ---------------------------------------------
    // captions: "&JA|&NEIN"; defaultButton 1-based; returns the 1-based button pressed.
    virtual int messageBox(const std::string& text, MessageIcon icon, int defaultButton,
                           const std::string& captions) = 0;
    virtual void beep() = 0;

    // --- Drawing (on the backing image of the client area, or on the printer) ---
    virtual void setPenColour(Rgb colour) = 0;
    virtual void setFillColour(Rgb colour) = 0;
    virtual void setLineWidth(int width) = 0;
    virtual void setRasterMode(RasterMode mode) = 0;
    virtual void setTextOpaque(bool opaque) = 0;
    virtual void selectFont(const FontRequest& font) = 0;
    // Pixel height of the system's fixed-pitch stock font at the screen's resolution.
    virtual int systemFixedFontHeight() = 0;
    // Corner points are inclusive: a line covers both end points, a box outline runs
    // through both corners, a filled box is outlined in the pen colour and filled.
    virtual void drawLine(int x1, int y1, int x2, int y2) = 0;
    virtual void drawBox(int x1, int y1, int x2, int y2) = 0;
    virtual void drawFilledBox(int x1, int y1, int x2, int y2) = 0;
    // Text with its top-left corner at (x, y), UTF-8.
    virtual void drawText(int x, int y, const std::string& text) = 0;
    virtual void showPointer(bool visible) = 0;
    // Saved screen rectangles, inclusive corners; restored pixel for pixel.
    virtual SavedAreaId saveArea(int x1, int y1, int x2, int y2) = 0;
    virtual void restoreArea(SavedAreaId area, int x, int y) = 0;
    virtual void discardArea(SavedAreaId area) = 0;

    // --- Labels (the clock) --------------------------------------------------
    virtual LabelId createLabel(const std::string& name, int x, int y, int width, int height,
                                const std::string& fontFace, double points, Rgb background) = 0;
    // May be called from any thread; the text reaches the label on the GUI thread.
    virtual void setLabelText(LabelId label, const std::string& text) = 0;
    virtual std::string labelText(LabelId label) = 0;

    // --- Dialog forms --------------------------------------------------------
    // Loads and shows the form with its top-left at screen position (x, y), owned by window 0.
    virtual FormId loadForm(const FormLayout& desc, int x, int y) = 0;
    virtual bool formExists(FormId form) = 0;
    // The close request (WM_CLOSE): runs "<form>_Close", then the form is gone.
    virtual void closeForm(FormId form) = 0;
    virtual void setControlText(FormId form, const std::string& control, const std::string& text) = 0;
    virtual std::string controlText(FormId form, const std::string& control) = 0;
    virtual void setControlValue(FormId form, const std::string& control, bool value) = 0;
    virtual bool controlValue(FormId form, const std::string& control) = 0;
    virtual void focusControl(FormId form, const std::string& control) = 0;
    virtual void addListRow(FormId form, const std::string& control,
                            const std::vector<std::string>& cells) = 0;
    virtual int selectedTab(FormId form, const std::string& control) = 0;  // 1-based
    virtual void selectTab(FormId form, const std::string& control, int tab) = 0;

    // --- Printer -------------------------------------------------------------
    // Makes the printer the drawing target; with no usable printer it lets the
    // player choose one. False when no printer can be used.
    virtual bool selectPrinter() = 0;
    virtual bool startDocument(const std::string& name) = 0;
    virtual bool startPage() = 0;
    virtual void setPrinterFont(const std::string& face, double points) = 0;
    virtual int targetResolutionX() = 0;  // device pixels across the page
    virtual int targetResolutionY() = 0;  // device pixels down the page
    virtual bool endPage() = 0;
    virtual bool endDocument() = 0;
    virtual void abortDocument() = 0;
    virtual bool printerFailed() = 0;     // a drawing call on the printer failed since startDocument
    virtual void targetWindow() = 0;      // the main window is the drawing target again

    // --- Help ----------------------------------------------------------------
    virtual std::uint32_t systemVersion() = 0;  // low byte major, high bit set outside the NT family
    virtual bool showHtmlHelp(const std::string& file, const std::string& topic) = 0;
    virtual bool showWinHelp(const std::string& file, const std::string& keyword) = 0;
    virtual void closeWinHelp(const std::string& file) = 0;
};

// The platform the game runs on; set once before the game starts.
Platform& platform();
void installPlatform(Platform* implementation);

}  // namespace nonari
