// The client area of the main window: one backing image, its raster operations and the input it sees.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/platform.h"
#include "platform/qt/qt_fonts.h"

#include <QElapsedTimer>
#include <QImage>
#include <QRect>
#include <QWidget>

#include <functional>
#include <map>
#include <vector>

namespace nonari {

inline constexpr int canvasWidth = 862;
inline constexpr int canvasHeight = 674;

// Pixels of a line through both end points; width w grows each pixel to a w x w block
// reaching w/2 pixels left of and above it (a 2-pixel line at x covers x-1 and x).
std::vector<QRect> linePixels(int x1, int y1, int x2, int y2, int width);
// The outline of a box through both corners, drawn with the same pen as a line.
std::vector<QRect> boxOutline(int x1, int y1, int x2, int y2, int width);
// What a filled box paints inside its outline (empty when the outline covers it all).
QRect boxInterior(int x1, int y1, int x2, int y2, int width);
// The device pixels a rectangle of logical pixels covers on an image of that pixel ratio: logical
// column x covers floor(x*s) .. floor((x+1)*s)-1, so logical pixels tile the image without gaps.
QRect toDevice(const QRect& logical, double scale);
// Size of the canvas image in device pixels at a pixel ratio.
QSize deviceSize(double scale);
// Applies the raster mode to every device pixel under the union of the logical rectangles exactly
// once; returns the bounding rectangle of what was touched, in logical pixels.
QRect applyRaster(QImage& image, const std::vector<QRect>& rects, Rgb colour, RasterMode mode);
// Paints text in the pen colour with the top-left of its character cell at (x, y); the cell
// box (advance x cell height) is filled with the ground colour first when opaque.
// Returns the rectangle that may have changed.
QRect paintText(QImage& image, const QtScreenFont& font, int x, int y, const QString& text, Rgb pen,
                bool opaque, Rgb ground);
// Width of the character cells of the text in that font.
int textAdvance(const QtScreenFont& font, const QString& text);

class QtCanvas : public QWidget {
    Q_OBJECT
public:
    // The backing image has the pixel ratio of the screen; drawing coordinates stay logical.
    explicit QtCanvas(QWidget* parent = nullptr);

    QImage& image() { return backing; }
    double scale() const { return backing.devicePixelRatio(); }
    // A fresh white backing image at another pixel ratio (the tests compare scales in one process).
    void setScale(double ratio);
    // Schedules the area for painting; presents at once when the last presentation is older
    // than a frame, so that long drawing without event processing stays visible.
    void markDirty(const QRect& area);
    void forgetKeys() { keysDown.clear(); }

    std::function<void(const InputEvent&)> onInput;
    std::function<void(int button, int shift, double x, double y)> onMouseMove;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QImage backing;
    QRect pending;
    QElapsedTimer sincePresent;
    std::map<int, int> keysDown;  // virtual key -> modifiers held when it went down
};

}  // namespace nonari
