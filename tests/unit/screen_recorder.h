// A scripted headless platform that also records every drawing call with the drawing state it ran under.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/headless_platform.h"
#include "platform/platform.h"
#include "screen/digit_picker.h"
#include "screen/game_clock.h"
#include "state/game_state.h"
#include "tests/support/test_support.h"

#include <algorithm>
#include <iterator>

namespace nonari::test {

struct DrawOp {
    enum Kind { Line, FilledBox, Text, Save, Restore, Discard } kind = Line;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::string text;  // the text drawn, or the id of the saved area restored or discarded
    Rgb pen = 0;
    RasterMode raster = RasterMode::CopyPen;
    bool opaque = true;
    FontRequest font;
};

class RecordingPlatform : public HeadlessPlatform {
public:
    std::vector<DrawOp> ops;
    DrawOp now;  // the drawing state in force
    int fixedFontHeight = 12;
    void setPenColour(Rgb c) override { now.pen = c; }
    void setRasterMode(RasterMode m) override { now.raster = m; }
    void setTextOpaque(bool o) override { now.opaque = o; }
    void selectFont(const FontRequest& f) override { now.font = f; }
    int systemFixedFontHeight() override { return fixedFontHeight; }
    void drawLine(int x1, int y1, int x2, int y2) override { record(DrawOp::Line, x1, y1, x2, y2); }
    void drawFilledBox(int x1, int y1, int x2, int y2) override { record(DrawOp::FilledBox, x1, y1, x2, y2); }
    void drawText(int x, int y, const std::string& text) override { record(DrawOp::Text, x, y, x, y, text); }
    SavedAreaId saveArea(int x1, int y1, int x2, int y2) override {
        record(DrawOp::Save, x1, y1, x2, y2);
        return ++areas;
    }
    void restoreArea(SavedAreaId id, int x, int y) override { record(DrawOp::Restore, x, y, x, y, std::to_string(id)); }
    void discardArea(SavedAreaId area) override { record(DrawOp::Discard, 0, 0, 0, 0, std::to_string(area)); }

    template <class Keep> std::vector<DrawOp> select(Keep keep) const {
        std::vector<DrawOp> found;
        std::copy_if(ops.begin(), ops.end(), std::back_inserter(found), keep);
        return found;
    }
    std::vector<DrawOp> of(DrawOp::Kind kind) const { return select([=](const DrawOp& o) { return o.kind == kind; }); }
    // The last text drawn with its top-left corner at (x, y).
    std::string lastTextAt(int x, int y) const {
        auto at = select([=](const DrawOp& op) { return op.kind == DrawOp::Text && op.x1 == x && op.y1 == y; });
        return at.empty() ? "<none>" : at.back().text;
    }

private:
    int areas = 0;
    void record(DrawOp::Kind kind, int x1, int y1, int x2, int y2, const std::string& text = {}) {
        ops.push_back({kind, x1, y1, x2, y2, text, now.pen, now.raster, now.opaque, now.font});
    }
};

// Fixture: the headless game drawn on a recording platform that has the main window's mouse handler.
class ScreenTest : public HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        installPlatform(&rec);
        rec.setMainWindowHandlers({nullptr, Win_0_MouseMove, nullptr});
    }

    // Centre of cell (column, row), and of square n (1..9) of that cell's picker, in window pixels.
    static int cellX(int column) { return 29 + (column - 1) * 60 + 30; }
    static int cellY(int row) { return 45 + (row - 1) * 60 + 30; }
    static int squareX(int column, int n) { return 29 - 16 + (column - 1) * 60 + ((n - 1) % 3) * 30 + 15; }
    static int squareY(int row, int n) { return 45 - 16 + (row - 1) * 60 + ((n - 1) / 3) * 30 + 15; }

    void left(double x, double y) { rec.pushClick(EventKind::LeftPress, x, y); }
    void right(double x, double y) { rec.pushClick(EventKind::RightPress, x, y); }
    // A click on the cell and a typed character for the picker it opens.
    void typeInto(int column, int row, int character) { left(cellX(column), cellY(row)), rec.pushChar(character); }

    RecordingPlatform rec;
};

inline const char* solvedGrid = "534678912672195348198342567859761423426853791713924856961537284287419635345286179";

}  // namespace nonari::test
