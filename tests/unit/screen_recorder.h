// A scripted headless platform that also records every drawing call with the drawing state it ran under.
#pragma once

#include "app/game_state.h"
#include "platform/headless_platform.h"
#include "screen/digit_picker.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace nonari::test {

struct DrawOp {
    enum Kind { Line, Box, FilledBox, Text, Save, Restore, Discard } kind = Line;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::string text;
    Rgb pen = 0, fill = 0;
    int lineWidth = 1;
    RasterMode raster = RasterMode::CopyPen;
    bool opaque = true;
    FontSpec font;
    bool busy = false;  // drawingBusy when the call was made
};

class RecordingPlatform : public HeadlessPlatform {
public:
    std::vector<DrawOp> ops;
    int fixedFontHeight = 12;
    Rgb pen = 0, fill = 0xFFFFFF;
    int lineWidth = 1;
    RasterMode raster = RasterMode::CopyPen;
    bool opaque = true;
    FontSpec font;

    void setPenColour(Rgb c) override { pen = c; }
    void setFillColour(Rgb c) override { fill = c; }
    void setLineWidth(int w) override { lineWidth = w; }
    void setRasterMode(RasterMode m) override { raster = m; }
    void setTextOpaque(bool o) override { opaque = o; }
    void selectFont(const FontSpec& f) override { font = f; }
    int systemFixedFontHeight() override { return fixedFontHeight; }
    void drawLine(int x1, int y1, int x2, int y2) override { record(DrawOp::Line, x1, y1, x2, y2); }
    void drawBox(int x1, int y1, int x2, int y2) override { record(DrawOp::Box, x1, y1, x2, y2); }
    void drawFilledBox(int x1, int y1, int x2, int y2) override { record(DrawOp::FilledBox, x1, y1, x2, y2); }
    void drawText(int x, int y, const std::string& text) override {
        HeadlessPlatform::drawText(x, y, text);
        record(DrawOp::Text, x, y, x, y, text);
    }
    SavedAreaId saveArea(int x1, int y1, int x2, int y2) override {
        record(DrawOp::Save, x1, y1, x2, y2);
        return ++areas;
    }
    void restoreArea(SavedAreaId area, int x, int y) override {
        record(DrawOp::Restore, x, y, x, y, std::to_string(area));
    }
    void discardArea(SavedAreaId area) override { record(DrawOp::Discard, 0, 0, 0, 0, std::to_string(area)); }

    std::vector<DrawOp> of(DrawOp::Kind kind) const {
        std::vector<DrawOp> found;
        for (const auto& op : ops)
            if (op.kind == kind) found.push_back(op);
        return found;
    }
    // Texts drawn with their top-left corner at (x, y), oldest first.
    std::vector<DrawOp> textsAt(int x, int y) const {
        std::vector<DrawOp> found;
        for (const auto& op : ops)
            if (op.kind == DrawOp::Text && op.x1 == x && op.y1 == y) found.push_back(op);
        return found;
    }
    std::string lastTextAt(int x, int y) const {
        auto found = textsAt(x, y);
        return found.empty() ? std::string("<none>") : found.back().text;
    }
    const DrawOp* findText(const std::string& text) const {
        auto it = std::find_if(ops.begin(), ops.end(), [&](const DrawOp& op) { return op.kind == DrawOp::Text && op.text == text; });
        return it == ops.end() ? nullptr : &*it;
    }
    bool hasFilledBox(int x1, int y1, int x2, int y2) const {
        return std::any_of(ops.begin(), ops.end(), [&](const DrawOp& op) {
            return op.kind == DrawOp::FilledBox && op.x1 == x1 && op.y1 == y1 && op.x2 == x2 && op.y2 == y2;
        });
    }
    void clearOps() { ops.clear(); }

private:
    int areas = 0;
    void record(DrawOp::Kind kind, int x1, int y1, int x2, int y2, const std::string& text = {}) {
        DrawOp op;
        op.kind = kind;
        op.x1 = x1;
        op.y1 = y1;
        op.x2 = x2;
        op.y2 = y2;
        op.text = text;
        op.pen = pen;
        op.fill = fill;
        op.lineWidth = lineWidth;
        op.raster = raster;
        op.opaque = opaque;
        op.font = font;
        op.busy = game.drawingBusy;
        ops.push_back(op);
    }
};

// Fixture: recording platform with the main window's mouse handler, fresh state, own working folder.
class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        installPlatform(&rec);
        resetGameState();
        seedRandom(12345);
        work = std::make_unique<TempWorkDir>();
        MainWindowHandlers handlers;
        handlers.mouseMove = [](int button, int shift, double x, double y) { Win_0_MouseMove(button, shift, x, y); };
        rec.setMainWindowHandlers(handlers);
    }
    void TearDown() override {
        work.reset();
        installPlatform(nullptr);
    }

    // Centre of cell (column, row) in window pixels.
    static int cellX(int column) { return 29 + (column - 1) * 60 + 30; }
    static int cellY(int row) { return 45 + (row - 1) * 60 + 30; }
    // Centre of picker square n (1..9) for the picker of cell (column, row).
    static int squareX(int column, int n) { return 29 - 16 + (column - 1) * 60 + ((n - 1) % 3) * 30 + 15; }
    static int squareY(int row, int n) { return 45 - 16 + (row - 1) * 60 + ((n - 1) / 3) * 30 + 15; }

    void move(double x, double y) { rec.pushInput(InputEvent{EventKind::Move, 0, x, y}); }
    void left(double x, double y) { rec.pushClick(EventKind::LeftPress, x, y); }
    void right(double x, double y) { rec.pushClick(EventKind::RightPress, x, y); }

    RecordingPlatform rec;
    std::unique_ptr<TempWorkDir> work;
};

// A solved grid and a puzzle made from it.
inline const char* solvedGrid =
    "534678912672195348198342567859761423426853791713924856961537284287419635345286179";

}  // namespace nonari::test
