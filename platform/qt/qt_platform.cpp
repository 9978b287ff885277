// The platform realised on Qt 6: window 0, menus, the event wait, drawing, labels, message boxes.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_platform.h"

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_events.h"
#include "platform/qt/qt_fonts.h"
#include "platform/qt/qt_forms.h"
#include "platform/qt/qt_help_viewer.h"
#include "platform/qt/qt_printer.h"
#include "platform/qt/qt_testing.h"
#include "platform/qt/qt_window.h"
#include "platform/picture_check.h"
#include "platform/system.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>  // QtPrinter holds one by pointer
#include <QPushButton>
#include <QScreen>
#include <QSocketNotifier>
#include <QThread>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstring>
#include <langinfo.h>
#include <unistd.h>
#include <map>
#include <mutex>

namespace nonari {

namespace {

QColor toColor(Rgb colour) { return QColor::fromRgb(0xFF000000u | (colour & 0x00FFFFFFu)); }

QString toQString(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QMessageBox::Icon toIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Stop: return QMessageBox::Critical;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::None:
    default: return QMessageBox::NoIcon;
    }
}

constexpr const char* gameCheckProperty = "nonariChecked";

double screenDpiY() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
}

}  // namespace

class QtPlatform final : public Platform {
public:
    QtPlatform(int& argc, char** argv);
    ~QtPlatform() override;

    void setTitle(const std::string& text) override;
    int screenWidth() override;
    int screenHeight() override;
    void openMainWindow(int x, int y, int width, int height) override;
    void sizeMainWindow(int, int) override {}
    int mainWindowLeft() override { return window->x(); }
    int mainWindowTop() override { return window->y(); }
    void setBackgroundColour(Rgb colour) override;
    bool setBackgroundPicture(const std::vector<unsigned char>& picture) override;
    void setMainWindowEnabled(bool enabled) override;
    void activateMainWindow() override;
    void setMainWindowHandlers(MainWindowHandlers h) override;
    bool mainWindowExists() override { return opened && !closed && !ending; }
    void closeMainWindow() override;

    MenuId createMenuBar() override { return registerMenu(new QMenuBar); }
    MenuId createPopup() override { return registerMenu(new QMenu); }
    bool appendMenuItem(MenuId menu, int id, const std::string& caption) override;
    bool appendMenuSeparator(MenuId menu) override;
    bool appendMenuPopup(MenuId menu, MenuId popup, const std::string& caption) override;
    MenuId setMenuBar(MenuId bar) override;
    void destroyMenu(MenuId menu) override;
    void checkMenuItem(int id, bool checked) override;

    InputEvent waitEvent() override;
    InputEvent currentEvent() override { return current; }
    bool mouseButtonHeld() override { return QGuiApplication::mouseButtons() != Qt::NoButton; }
    bool appEnding() override { return ending; }
    void quit() override;

    int messageBox(const std::string& text, MessageIcon icon, int defaultButton, const std::string& captions) override;
    void beep() override { QApplication::beep(); }

    void setPenColour(Rgb colour) override { pen = colour; }
    void setFillColour(Rgb colour) override { fill = colour; }
    void setLineWidth(int width) override { lineWidth = std::max(1, width); }
    void setRasterMode(RasterMode mode) override { raster = mode; }
    void setTextOpaque(bool opaque) override { textOpaque = opaque; }
    void selectFont(const FontRequest& desc) override { font = &fonts.resolve(desc); }
    int systemFixedFontHeight() override { return fixedStockFontHeight(screenDpiY()); }
    void drawLine(int x1, int y1, int x2, int y2) override;
    void drawBox(int x1, int y1, int x2, int y2) override;
    void drawFilledBox(int x1, int y1, int x2, int y2) override;
    void drawText(int x, int y, const std::string& text) override;
    void showPointer(bool visible) override;
    SavedAreaId saveArea(int x1, int y1, int x2, int y2) override;
    void restoreArea(SavedAreaId area, int x, int y) override;
    void discardArea(SavedAreaId area) override { areas.erase(area); }

    LabelId createLabel(const std::string& name, int x, int y, int width, int height, const std::string& fontFace,
                        double points, Rgb background) override;
    void setLabelText(LabelId label, const std::string& text) override;
    std::string labelText(LabelId label) override;

    FormId loadForm(const FormLayout& desc, int x, int y) override { return forms->loadForm(desc, x, y); }
    bool formExists(FormId form) override { return forms->formExists(form); }
    void closeForm(FormId form) override { forms->closeForm(form); }
    void setControlText(FormId form, const std::string& control, const std::string& text) override {
        forms->setControlText(form, control, text);
    }
    std::string controlText(FormId form, const std::string& control) override {
        return forms->controlText(form, control);
    }
    void setControlValue(FormId form, const std::string& control, bool value) override {
        forms->setControlValue(form, control, value);
    }
    bool controlValue(FormId form, const std::string& control) override { return forms->controlValue(form, control); }
    void focusControl(FormId form, const std::string& control) override { forms->focusControl(form, control); }
    void addListRow(FormId form, const std::string& control, const std::vector<std::string>& cells) override {
        forms->addListRow(form, control, cells);
    }
    int selectedTab(FormId form, const std::string& control) override { return forms->selectedTab(form, control); }
    void selectTab(FormId form, const std::string& control, int tab) override { forms->selectTab(form, control, tab); }

    bool selectPrinter() override;
    bool startDocument(const std::string& name) override { return printer->startDocument(name); }
    bool startPage() override { return printer->startPage(); }
    void setPrinterFont(const std::string& face, double points) override { printer->setFont(face, points); }
    int targetResolutionX() override { return printing ? printer->resolutionX() : canvasWidth; }
    int targetResolutionY() override { return printing ? printer->resolutionY() : canvasHeight; }
    bool endPage() override { return printer->endPage(); }
    bool endDocument() override { return printer->endDocument(); }
    void abortDocument() override { printer->abortDocument(); }
    bool printerFailed() override { return printer->failed(); }
    void targetWindow() override;

    std::uint32_t systemVersion() override { return 0x0000000A; }
    bool showHtmlHelp(const std::string& file, const std::string& topic) override { return help->show(file, topic); }
    bool showWinHelp(const std::string&, const std::string&) override { return false; }
    void closeWinHelp(const std::string&) override {}

    // Reached by the GUI tests through qt_testing.
    QImage& image() { return window->canvas()->image(); }
    QtMainWindow* mainWindow() { return window.get(); }
    QMenu* popup(MenuId id);
    QAction* action(int commandId);
    QLabel* labelWidget(LabelId id);
    QtForms& formsPart() { return *forms; }
    QtPrinter& printerPart() { return *printer; }
    QtHelpViewer& helpPart() { return *help; }
    std::size_t queued() const { return queue.size(); }
    int pointerCount() const { return hideCount; }
    void revive();

private:
    MenuId registerMenu(QWidget* menu);
    QWidget* menuWidget(MenuId id);
    void paintBackground();
    bool requestClose();
    void present(const QRect& area) { window->canvas()->markDirty(area); }
    const QtScreenFont& currentFont();
    QPainter* printerPainter();
    void preparePrinterPen(QPainter& painter, Rgb colour);
    void setLabelTextNow(LabelId label, const QString& text);

    std::unique_ptr<QApplication> app;  // first member: outlives every widget
    std::unique_ptr<QtMainWindow> window;
    std::unique_ptr<QObject> guiContext;  // receives texts posted from other threads
    std::unique_ptr<QtForms> forms;
    std::unique_ptr<QtPrinter> printer;
    std::unique_ptr<QtHelpViewer> help;
    QtFonts fonts;

    MainWindowHandlers handlers;
    std::unique_ptr<QSocketNotifier> endSignalWatch;
    QtEventQueue queue;
    InputEvent current;
    bool opened = false;
    bool closed = false;
    bool ending = false;
    bool windowEnabled = true;
    bool closePending = false;
    std::string title = "nonari";

    Rgb backgroundColour = 0xFFFFFF;
    QImage backgroundTile;

    Rgb pen = 0x000000;
    Rgb fill = 0xFFFFFF;
    int lineWidth = 1;
    RasterMode raster = RasterMode::CopyPen;
    bool textOpaque = true;
    const QtScreenFont* font = nullptr;
    int hideCount = 0;
    bool printing = false;

    std::map<MenuId, QPointer<QWidget>> menus;
    std::multimap<int, QPointer<QAction>> actions;
    MenuId lastMenu = 0;
    MenuId installedBar = 0;

    struct SavedArea {
        QImage pixels;      // device pixels
        QSize logicalSize;
    };
    std::map<SavedAreaId, SavedArea> areas;
    SavedAreaId lastArea = 0;

    std::mutex labelLock;  // the table may be read from other threads
    std::map<LabelId, QPointer<QLabel>> labels;
    std::map<LabelId, unsigned long> labelWrites;  // counts every text set, to tell the latest
    LabelId lastLabel = 0;
};

namespace {
QtPlatform* latest = nullptr;
}

QtPlatform::QtPlatform(int& argc, char** argv)
    : app(QApplication::instance() == nullptr ? std::make_unique<QApplication>(argc, argv) : nullptr),
      window(std::make_unique<QtMainWindow>()),
      guiContext(std::make_unique<QObject>()),
      forms(std::make_unique<QtForms>(window.get())),
      printer(std::make_unique<QtPrinter>(window.get())),
      help(std::make_unique<QtHelpViewer>()),
      fonts(screenDpiY()) {
    // Qt takes its texts for UTF-8; under a locale of another encoding (LANG=C) the window titles would
    // reach the X server as bytes of the wrong kind ("Men?punkte" for tools and older desktops).
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) std::setlocale(LC_CTYPE, "C.UTF-8");
    // The window class and the desktop entry share this name, so that the desktop groups the
    // window with its menu entry and icon.
    QApplication::setApplicationName(QStringLiteral("nonari"));
    QGuiApplication::setDesktopFileName(QStringLiteral("nonari"));
    QIcon icon;
    for (int side : {48, 256}) icon.addFile(QStringLiteral(":/nonari/nonari-%1.png").arg(side), QSize(side, side));
    QApplication::setWindowIcon(icon);
    window->setWindowIcon(icon);
    QApplication::setQuitOnLastWindowClosed(false);
    QtCanvas* canvas = window->canvas();
    canvas->onInput = [this](const InputEvent& event) { queue.push(event); };
    canvas->onMouseMove = [this](int button, int shift, double x, double y) {
        if (handlers.mouseMove) handlers.mouseMove(button, shift, x, y);
    };
    window->onCloseRequest = [this] { return requestClose(); };
    window->onHidden = [this] { queue.push(InputEvent{EventKind::Hidden}); };
    latest = this;
}

QtPlatform::~QtPlatform() {
    if (latest == this) latest = nullptr;
    help.reset();
    printer.reset();
    forms.reset();
    guiContext.reset();
    for (auto& [id, menu] : menus)
        if (menu && menu->parent() == nullptr) delete menu.data();
    window.reset();
}

// --- Main window ---------------------------------------------------------------

void QtPlatform::setTitle(const std::string& text) {
    title = text;
    window->setWindowTitle(toQString(text));
}

int QtPlatform::screenWidth() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().width() : 1024;
}

int QtPlatform::screenHeight() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().height() : 768;
}

namespace {

// Moves a window that fits on the screen fully onto it; one that cannot fit keeps its top-left
// corner (title bar and menu) on the screen.
int fitSpan(int start, int length, int first, int available) {
    if (length <= available) return std::clamp(start, first, first + available - length);
    return std::max(start, first);
}

QPoint fittedOnScreen(const QRect& frame) {
    const QScreen* screen = QGuiApplication::screenAt(frame.topLeft());
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return frame.topLeft();
    const QRect room = screen->availableGeometry();
    return {fitSpan(frame.x(), frame.width(), room.x(), room.width()),
            fitSpan(frame.y(), frame.height(), room.y(), room.height())};
}

}  // namespace

void QtPlatform::openMainWindow(int x, int y, int, int) {
    // The client area is fixed by the screen layout; only the position is the caller's, kept on the
    // screen at every scale.
    window->adjustSize();
    window->move(fittedOnScreen(QRect(QPoint(x, y), window->size())));
    window->show();
    // Only a shown window knows its frame.
    const QPoint framed = fittedOnScreen(window->frameGeometry());
    if (framed != window->frameGeometry().topLeft()) window->move(framed);
    window->raise();
    window->activateWindow();
    window->canvas()->setFocus();
    opened = true;
    closed = false;
}

void QtPlatform::setBackgroundColour(Rgb colour) {
    backgroundColour = colour;
    paintBackground();
}

bool QtPlatform::setBackgroundPicture(const std::vector<unsigned char>& bytes) {
    // Decoded only as what its header claims, and kept only at that size (or turned by its orientation tag).
    const std::optional<Picture> checked = checkPicture(bytes);
    if (!checked) return false;
    const PictureHeader& header = checked->header;
    QImage picture;
    if (!picture.loadFromData(checked->bytes.data(), static_cast<int>(checked->bytes.size()),
                              header.format == PictureFormat::Jpeg ? "JPEG" : "PNG"))
        return false;
    const QSize claimed(static_cast<int>(header.width), static_cast<int>(header.height));
    if (picture.size() != claimed && picture.size() != claimed.transposed()) return false;
    // The tile is 128 logical pixels square, made at the screen's resolution.
    const double ratio = image().devicePixelRatio();
    const int side = static_cast<int>(std::lround(128 * ratio));
    backgroundTile = picture.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_RGB32);
    backgroundTile.setDevicePixelRatio(ratio);
    paintBackground();
    return true;
}

void QtPlatform::paintBackground() {
    QImage& target = image();
    target.fill(toColor(backgroundColour));
    const QRect whole(0, 0, canvasWidth, canvasHeight);
    if (!backgroundTile.isNull()) {
        QPainter painter(&target);
        painter.drawTiledPixmap(whole, QPixmap::fromImage(backgroundTile));
    }
    present(whole);
}

void QtPlatform::setMainWindowEnabled(bool enabled) {
    // The canvas and the bar, not the window: forms are child windows of window 0 and must stay usable.
    windowEnabled = enabled;
    window->canvas()->setEnabled(enabled);
    if (QMenuBar* bar = window->installedMenuBar()) bar->setEnabled(enabled);
    if (enabled) window->canvas()->setFocus();
}

void QtPlatform::activateMainWindow() {
    if (!mainWindowExists()) return;
    window->raise();
    window->activateWindow();
    if (windowEnabled) window->canvas()->setFocus();
}

void QtPlatform::closeMainWindow() {
    closed = true;
    ending = true;
    window->hide();
}

void QtPlatform::setMainWindowHandlers(MainWindowHandlers h) {
    handlers = std::move(h);
    if (endSignalWatch || endSignalDescriptor() < 0) return;
    endSignalWatch = std::make_unique<QSocketNotifier>(endSignalDescriptor(), QSocketNotifier::Read);
    QObject::connect(endSignalWatch.get(), &QSocketNotifier::activated, [this] {
        char drained[16];
        while (::read(endSignalDescriptor(), drained, sizeof drained) > 0) {}
        // A question open in a box of its own is answered as by Escape; the end runs from the event wait.
        if (QWidget* modal = QApplication::activeModalWidget(); qobject_cast<QMessageBox*>(modal) != nullptr)
            modal->close();
        queue.post([this] {
            if (!ending && handlers.endSignalled) handlers.endSignalled();
        });
    });
}

void QtPlatform::quit() {
    ending = true;
    window->hide();
}

bool QtPlatform::requestClose() {
    if (ending || closed) return true;
    if (!handlers.close) {
        ending = true;
        return true;
    }
    // The handler asks a question in a modal box: run it from the event wait, not from inside closeEvent.
    if (windowEnabled && !closePending) {
        closePending = true;
        queue.post([this] {
            closePending = false;
            if (!ending && handlers.close) handlers.close();
        });
    }
    return false;
}

// --- Menu ----------------------------------------------------------------------

MenuId QtPlatform::registerMenu(QWidget* menu) {
    menus[++lastMenu] = menu;
    return lastMenu;
}

QWidget* QtPlatform::menuWidget(MenuId id) {
    auto found = menus.find(id);
    return found == menus.end() ? nullptr : found->second.data();
}

bool QtPlatform::appendMenuItem(MenuId menu, int id, const std::string& caption) {
    QWidget* owner = menuWidget(menu);
    if (owner == nullptr) return false;
    auto* item = new QAction(toQString(caption), owner);
    // Commands run from the event wait, after the menu has closed, so they may run long loops.
    QObject::connect(item, &QAction::triggered, guiContext.get(), [this, id, item] {
        // Only the game sets check marks; undo the toggle Qt makes on a click.
        if (item->isCheckable()) item->setChecked(item->property(gameCheckProperty).toBool());
        queue.post([this, id] {
            if (handlers.menuEvent) handlers.menuEvent(id);
        });
    });
    owner->addAction(item);
    actions.emplace(id, item);
    return true;
}

bool QtPlatform::appendMenuSeparator(MenuId menu) {
    QWidget* owner = menuWidget(menu);
    if (auto* popupMenu = qobject_cast<QMenu*>(owner)) {
        popupMenu->addSeparator();
        return true;
    }
    if (auto* bar = qobject_cast<QMenuBar*>(owner)) {
        bar->addSeparator();
        return true;
    }
    return false;
}

bool QtPlatform::appendMenuPopup(MenuId menu, MenuId popupId, const std::string& caption) {
    QWidget* owner = menuWidget(menu);
    auto* child = qobject_cast<QMenu*>(menuWidget(popupId));
    if (owner == nullptr || child == nullptr || owner == child) return false;
    child->setTitle(toQString(caption));
    child->setParent(owner, child->windowFlags());  // destroyed with its parent, as submenus are
    owner->addAction(child->menuAction());
    return true;
}

MenuId QtPlatform::setMenuBar(MenuId bar) {
    MenuId previous = installedBar;
    auto* widget = qobject_cast<QMenuBar*>(menuWidget(bar));
    if (bar != 0 && widget == nullptr) return previous;
    window->installMenuBar(widget);
    if (widget != nullptr) widget->setEnabled(windowEnabled);
    installedBar = bar;
    return previous;
}

void QtPlatform::destroyMenu(MenuId menu) {
    QWidget* widget = menuWidget(menu);
    menus.erase(menu);
    if (widget == nullptr) return;
    if (menu == installedBar) {
        window->installMenuBar(nullptr);
        installedBar = 0;
    }
    widget->hide();
    delete widget;
    std::erase_if(menus, [](const auto& entry) { return entry.second.isNull(); });
    std::erase_if(actions, [](const auto& entry) { return entry.second.isNull(); });
}

void QtPlatform::checkMenuItem(int id, bool checked) {
    auto [first, last] = actions.equal_range(id);
    for (auto it = first; it != last; ++it) {
        if (!it->second) continue;
        it->second->setCheckable(true);
        it->second->setChecked(checked);
        it->second->setProperty(gameCheckProperty, checked);
    }
}

QMenu* QtPlatform::popup(MenuId id) { return qobject_cast<QMenu*>(menuWidget(id)); }

QAction* QtPlatform::action(int commandId) {
    auto [first, last] = actions.equal_range(commandId);
    for (auto it = first; it != last; ++it)
        if (it->second) return it->second.data();
    return nullptr;
}

// --- Events --------------------------------------------------------------------

InputEvent QtPlatform::waitEvent() {
    current = InputEvent{};
    if (ending) return current;
    QCoreApplication::processEvents(queue.empty() ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
    if (ending || queue.empty()) return current;
    QtEventQueue::Entry entry = queue.take();
    if (entry.action) {
        entry.action();
        current = InputEvent{};
        return current;
    }
    const InputEvent& event = entry.input;
    if ((event.kind == EventKind::LeftPress || event.kind == EventKind::RightPress) && handlers.mouseMove) {
        // The move handler keeps the pointer position the click handlers hit-test against.
        const int button = event.kind == EventKind::LeftPress ? 1 : 2;
        handlers.mouseMove(button, shiftMask(QGuiApplication::keyboardModifiers()), event.x, event.y);
    }
    current = event;
    return current;
}

// --- Message boxes ---------------------------------------------------------------

int QtPlatform::messageBox(const std::string& text, MessageIcon icon, int defaultButton, const std::string& captions) {
    QStringList names = toQString(captions).split(QLatin1Char('|'));
    names.removeAll(QString());
    if (names.isEmpty()) names << QStringLiteral("OK");
    const int count = static_cast<int>(names.size());
    const int preferred = std::clamp(defaultButton, 1, count);
    if (ending) return preferred;

    QMessageBox box(toIcon(icon), toQString(title), toQString(text), QMessageBox::NoButton,
                    mainWindowExists() ? window.get() : nullptr);
    std::vector<QPushButton*> buttons;
    for (const QString& name : names) buttons.push_back(box.addButton(name, QMessageBox::AcceptRole));
    box.setDefaultButton(buttons[static_cast<std::size_t>(preferred - 1)]);
    // Escape and the close button answer with the last button: NEIN for a question, OK alone.
    box.setEscapeButton(buttons.back());
    box.exec();
    window->canvas()->forgetKeys();
    auto chosen = std::find(buttons.begin(), buttons.end(), box.clickedButton());
    if (chosen == buttons.end()) return count;
    return static_cast<int>(chosen - buttons.begin()) + 1;
}

// --- Drawing ---------------------------------------------------------------------

const QtScreenFont& QtPlatform::currentFont() {
    if (font == nullptr) {
        FontRequest system;
        system.face = "System";
        system.points = 9.75;
        font = &fonts.resolve(system);
    }
    return *font;
}

QPainter* QtPlatform::printerPainter() { return printer->painter(); }

void QtPlatform::preparePrinterPen(QPainter& painter, Rgb colour) {
    QPen line(toColor(colour));
    line.setWidth(lineWidth);
    line.setJoinStyle(Qt::MiterJoin);
    line.setCapStyle(Qt::SquareCap);
    painter.setPen(line);
    painter.setBrush(Qt::NoBrush);
}

void QtPlatform::drawLine(int x1, int y1, int x2, int y2) {
    if (printing) {
        if (QPainter* painter = printerPainter()) {
            painter->save();
            preparePrinterPen(*painter, pen);
            painter->drawLine(x1, y1, x2, y2);
            painter->restore();
        }
        return;
    }
    present(applyRaster(image(), linePixels(x1, y1, x2, y2, lineWidth), pen, raster));
}

void QtPlatform::drawBox(int x1, int y1, int x2, int y2) {
    if (printing) {
        if (QPainter* painter = printerPainter()) {
            painter->save();
            preparePrinterPen(*painter, pen);
            painter->drawRect(QRectF(QPointF(std::min(x1, x2), std::min(y1, y2)),
                                     QPointF(std::max(x1, x2), std::max(y1, y2))));
            painter->restore();
        }
        return;
    }
    present(applyRaster(image(), boxOutline(x1, y1, x2, y2, lineWidth), pen, raster));
}

void QtPlatform::drawFilledBox(int x1, int y1, int x2, int y2) {
    if (printing) {
        if (QPainter* painter = printerPainter()) {
            QRectF box(QPointF(std::min(x1, x2), std::min(y1, y2)), QPointF(std::max(x1, x2), std::max(y1, y2)));
            painter->save();
            painter->fillRect(box, toColor(fill));
            preparePrinterPen(*painter, pen);
            painter->drawRect(box);
            painter->restore();
        }
        return;
    }
    // Interior and outline do not overlap, so XOR treats every pixel once.
    QRect inside = boxInterior(x1, y1, x2, y2, lineWidth);
    if (inside.isValid()) present(applyRaster(image(), {inside}, fill, raster));
    present(applyRaster(image(), boxOutline(x1, y1, x2, y2, lineWidth), pen, raster));
}

void QtPlatform::drawText(int x, int y, const std::string& text) {
    const QString shown = toQString(text);
    if (printing) {
        // Paper is white already: printed text is always transparent.
        if (QPainter* painter = printerPainter()) {
            painter->save();
            painter->setPen(toColor(pen));
            QFontMetrics metrics(painter->font(), painter->device());
            painter->drawText(QPoint(x, y + metrics.ascent()), shown);
            painter->restore();
        }
        return;
    }
    present(paintText(image(), currentFont(), x, y, shown, pen, textOpaque, fill));
}

void QtPlatform::showPointer(bool visible) {
    hideCount += visible ? 1 : -1;
    if (hideCount < 0)
        window->canvas()->setCursor(Qt::BlankCursor);
    else
        window->canvas()->unsetCursor();
}

SavedAreaId QtPlatform::saveArea(int x1, int y1, int x2, int y2) {
    QRect area(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2)));
    QImage& source = image();
    // Kept at device resolution: put back where it came from, it restores every device pixel.
    QImage saved = source.copy(toDevice(area, source.devicePixelRatio()));
    saved.setDevicePixelRatio(1.0);
    areas[++lastArea] = SavedArea{saved, area.size()};
    return lastArea;
}

void QtPlatform::restoreArea(SavedAreaId area, int x, int y) {
    auto found = areas.find(area);
    if (found == areas.end()) return;
    QImage& target = image();
    const QRect logical(QPoint(x, y), found->second.logicalSize);
    const QRect device = toDevice(logical, target.devicePixelRatio());
    // At a fractional ratio the same logical size may cover one device pixel more or less elsewhere.
    const QImage& kept = found->second.pixels;
    const QImage saved = kept.size() == device.size() ? kept : kept.scaled(device.size());
    // Copied row by row: a restore ignores the raster mode and puts back every bit.
    QRect placed = device.intersected(target.rect());
    if (placed.isEmpty()) return;
    const int bytes = placed.width() * 4;
    for (int row = placed.top(); row <= placed.bottom(); ++row) {
        const auto* from = reinterpret_cast<const QRgb*>(saved.constScanLine(row - device.top())) +
                           (placed.left() - device.left());
        auto* to = reinterpret_cast<QRgb*>(target.scanLine(row)) + placed.left();
        std::memcpy(to, from, static_cast<std::size_t>(bytes));
    }
    present(logical);
}

// --- Labels ----------------------------------------------------------------------

LabelId QtPlatform::createLabel(const std::string& name, int x, int y, int width, int height,
                                const std::string& fontFace, double points, Rgb background) {
    auto* label = new QLabel(window->canvas());
    label->setObjectName(toQString(name));
    QFont labelFont(substituteFamily(fontFace));
    if (points > 0) labelFont.setPointSizeF(points);
    label->setFont(labelFont);
    QPalette colours = label->palette();
    // Set for every colour group: a disabled main window must not grey the clock.
    colours.setColor(QPalette::WindowText, Qt::black);
    colours.setColor(QPalette::Window, toColor(background));
    label->setPalette(colours);
    label->setAutoFillBackground(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setGeometry(x, y, width, height);
    label->show();
    std::lock_guard lock(labelLock);
    labels[++lastLabel] = label;
    return lastLabel;
}

void QtPlatform::setLabelTextNow(LabelId label, const QString& text) {
    QPointer<QLabel> widget;
    {
        std::lock_guard lock(labelLock);
        auto found = labels.find(label);
        if (found != labels.end()) widget = found->second;
    }
    if (widget) widget->setText(text);
}

void QtPlatform::setLabelText(LabelId label, const std::string& text) {
    QString shown = toQString(text);
    unsigned long write = 0;
    {
        std::lock_guard lock(labelLock);
        write = ++labelWrites[label];
    }
    if (QThread::currentThread() == guiContext->thread()) {
        setLabelTextNow(label, shown);
        return;
    }
    // Only the GUI thread touches widgets; the posted call also wakes a waiting event loop. A text
    // still on its way when a later one was set is stale and must not overwrite it.
    QMetaObject::invokeMethod(
        guiContext.get(),
        [this, label, shown, write] {
            {
                std::lock_guard lock(labelLock);
                if (labelWrites[label] != write) return;
            }
            setLabelTextNow(label, shown);
        },
        Qt::QueuedConnection);
}

std::string QtPlatform::labelText(LabelId label) {
    QLabel* widget = labelWidget(label);
    return widget != nullptr ? widget->text().toStdString() : std::string();
}

QLabel* QtPlatform::labelWidget(LabelId id) {
    std::lock_guard lock(labelLock);
    auto found = labels.find(id);
    return found == labels.end() ? nullptr : found->second.data();
}

// --- Printer ---------------------------------------------------------------------

bool QtPlatform::selectPrinter() {
    printing = printer->selectPrinter();
    return printing;
}

void QtPlatform::targetWindow() {
    printing = false;
    printer->release();
}

// --- Tests -----------------------------------------------------------------------

void QtPlatform::revive() {
    ending = false;
    closed = false;
    closePending = false;
    queue.clear();
    current = InputEvent{};
    handlers = MainWindowHandlers{};
    hideCount = 0;
    window->canvas()->unsetCursor();
    window->canvas()->forgetKeys();
    pen = 0x000000;
    fill = 0xFFFFFF;
    lineWidth = 1;
    raster = RasterMode::CopyPen;
    textOpaque = true;
    font = nullptr;
    setMainWindowEnabled(true);
    if (opened) {
        window->show();
        window->activateWindow();
        window->canvas()->setFocus();
    }
}

std::unique_ptr<Platform> createQtPlatform(int& argc, char** argv) {
    // The clock's label changes every second. Through X shared memory, painting a region the server may
    // still be reading first waits for a round trip to the server, which wakes two threads more each
    // second; plain requests need none. (Read when the X connection opens; a player's own setting stays.)
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
    return std::make_unique<QtPlatform>(argc, argv);
}

namespace qt_testing {

namespace {
QtPlatform& made() {
    if (latest == nullptr) std::abort();
    return *latest;
}
}  // namespace

Platform& qtPlatform() { return made(); }
QImage& backingImage() { return made().image(); }
QtMainWindow* mainWindow() { return made().mainWindow(); }
QtCanvas* canvas() { return made().mainWindow()->canvas(); }
QMenuBar* installedMenuBar() { return made().mainWindow()->installedMenuBar(); }
QMenu* popupMenu(MenuId popup) { return made().popup(popup); }
QAction* menuAction(int commandId) { return made().action(commandId); }
QLabel* label(LabelId label) { return made().labelWidget(label); }
QtForms& forms() { return made().formsPart(); }
QtPrinter& printer() { return made().printerPart(); }
QtHelpViewer& helpViewer() { return made().helpPart(); }
std::size_t queuedEntries() { return made().queued(); }
int pointerHideCount() { return made().pointerCount(); }
void revive() { made().revive(); }

}  // namespace qt_testing

}  // namespace nonari
