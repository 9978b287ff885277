// Pixel-exact lines, boxes and raster modes on the backing image, text painting, and the canvas widget.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_canvas.h"

#include "platform/qt/qt_events.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace nonari {

namespace {

// A pen of width w covers w/2 pixels before the path and the rest after it.
int penBefore(int width) { return std::max(1, width) / 2; }
int penAfter(int width) { return std::max(1, width) - 1 - penBefore(width); }

QRect stamp(int x, int y, int width) {
    return QRect(QPoint(x - penBefore(width), y - penBefore(width)), QPoint(x + penAfter(width), y + penAfter(width)));
}

void applySpan(QRgb* row, int left, int right, QRgb colour, RasterMode mode) {
    switch (mode) {
    case RasterMode::XorPen:
        for (int x = left; x <= right; ++x) row[x] ^= colour & 0x00FFFFFFu;
        break;
    case RasterMode::MergePen:
        for (int x = left; x <= right; ++x) row[x] |= colour;
        break;
    case RasterMode::CopyPen:
    default:
        std::fill(row + left, row + right + 1, colour);
        break;
    }
}

}  // namespace

std::vector<QRect> linePixels(int x1, int y1, int x2, int y2, int width) {
    if (y1 == y2 || x1 == x2) {
        QRect first = stamp(std::min(x1, x2), std::min(y1, y2), width);
        QRect last = stamp(std::max(x1, x2), std::max(y1, y2), width);
        return {first.united(last)};
    }
    std::vector<QRect> pixels;
    int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
    int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
    int error = dx + dy;
    int x = x1, y = y1;
    for (;;) {
        pixels.push_back(stamp(x, y, width));
        if (x == x2 && y == y2) break;
        int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
    return pixels;
}

std::vector<QRect> boxOutline(int x1, int y1, int x2, int y2, int width) {
    int left = std::min(x1, x2), right = std::max(x1, x2);
    int top = std::min(y1, y2), bottom = std::max(y1, y2);
    std::vector<QRect> edges;
    for (auto [ax, ay, bx, by] : {std::tuple{left, top, right, top}, std::tuple{left, bottom, right, bottom},
                                  std::tuple{left, top, left, bottom}, std::tuple{right, top, right, bottom}}) {
        auto line = linePixels(ax, ay, bx, by, width);
        edges.insert(edges.end(), line.begin(), line.end());
    }
    return edges;
}

QRect boxInterior(int x1, int y1, int x2, int y2, int width) {
    int left = std::min(x1, x2), right = std::max(x1, x2);
    int top = std::min(y1, y2), bottom = std::max(y1, y2);
    QRect inside(QPoint(left + penAfter(width) + 1, top + penAfter(width) + 1),
                 QPoint(right - penBefore(width) - 1, bottom - penBefore(width) - 1));
    return inside.isValid() ? inside : QRect();
}

namespace {

// Products such as 1.1 * 10 land a hair below the integer they stand for.
int deviceEdge(int logical, double scale) { return static_cast<int>(std::floor(logical * scale + 1e-9)); }

}  // namespace

QRect toDevice(const QRect& logical, double scale) {
    if (!logical.isValid()) return {};
    if (scale == 1.0) return logical;
    return QRect(QPoint(deviceEdge(logical.left(), scale), deviceEdge(logical.top(), scale)),
                 QPoint(deviceEdge(logical.right() + 1, scale) - 1, deviceEdge(logical.bottom() + 1, scale) - 1));
}

QSize deviceSize(double scale) { return {deviceEdge(canvasWidth, scale), deviceEdge(canvasHeight, scale)}; }

QRect applyRaster(QImage& image, const std::vector<QRect>& logicalRects, Rgb colour, RasterMode mode) {
    const double scale = image.devicePixelRatio();
    const QRect logicalImage(QPoint(0, 0), (QSizeF(image.size()) / scale).toSize());
    QRect bounds;
    for (const QRect& r : logicalRects)
        if (r.isValid()) bounds = bounds.united(r);
    bounds = bounds.intersected(logicalImage);
    if (bounds.isEmpty()) return {};
    // Overlapping logical rectangles map to overlapping device rectangles, so XOR below still
    // touches every device pixel once.
    std::vector<QRect> rects;
    rects.reserve(logicalRects.size());
    for (const QRect& r : logicalRects)
        if (r.isValid()) rects.push_back(toDevice(r, scale));
    const QRect deviceBounds = toDevice(bounds, scale).intersected(image.rect());
    const QRgb pixel = 0xFF000000u | (colour & 0x00FFFFFFu);
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    auto row = [bits, stride](int y) { return reinterpret_cast<QRgb*>(bits + y * stride); };

    // Copying and merging give the same pixels however often they touch one: no need to
    // merge overlapping pieces, as XOR must.
    if (mode != RasterMode::XorPen) {
        for (const QRect& r : rects) {
            const QRect part = r.intersected(image.rect());
            if (part.isEmpty()) continue;
            for (int y = part.top(); y <= part.bottom(); ++y) applySpan(row(y), part.left(), part.right(), pixel, mode);
        }
        return bounds;
    }

    const int maxX = image.width() - 1;
    std::vector<std::pair<int, int>> spans;
    for (int y = deviceBounds.top(); y <= deviceBounds.bottom(); ++y) {
        spans.clear();
        for (const QRect& r : rects)
            if (r.top() <= y && y <= r.bottom() && r.right() >= 0 && r.left() <= maxX)
                spans.emplace_back(std::max(r.left(), 0), std::min(r.right(), maxX));
        if (spans.empty()) continue;
        std::sort(spans.begin(), spans.end());
        int left = spans.front().first, right = spans.front().second;
        for (std::size_t i = 1; i < spans.size(); ++i) {
            if (spans[i].first <= right + 1) {
                right = std::max(right, spans[i].second);
            } else {
                applySpan(row(y), left, right, pixel, mode);
                left = spans[i].first;
                right = spans[i].second;
            }
        }
        applySpan(row(y), left, right, pixel, mode);
    }
    return bounds;
}

int textAdvance(const QtScreenFont& font, const QString& text) {
    if (font.fixedAdvance > 0) return font.fixedAdvance * static_cast<int>(text.toUcs4().size());
    return font.shaped(text).advance;
}

namespace {

// One shaped piece of a text and the x its line starts at: the whole text, or one character of a fixed face.
struct PlacedShape {
    const QtShapedText* shape;
    int x;
};

std::vector<PlacedShape> placeText(const QtScreenFont& font, int x, const QString& text) {
    std::vector<PlacedShape> placed;
    if (font.fixedAdvance <= 0) return {{&font.shaped(text), x}};
    for (char32_t code : text.toUcs4()) {
        placed.push_back({&font.shaped(QString::fromUcs4(&code, 1)), x});
        x += font.fixedAdvance;
    }
    return placed;
}

// Each channel moves from its value toward the pen by the glyph's coverage, measured as if the ground
// were the far end of the scale, and never back. Drawing a text again over itself so changes nothing,
// where blending would darken its edges on every draw, and edges still come out smooth.
QRgb coverPixel(QRgb old, QRgb pen, int coverage) {
    if (coverage >= 255) return pen;
    auto channel = [coverage](int was, int ink) {
        if (ink < was) return std::min(was, ink + (255 - coverage) * (255 - ink) / 255);
        if (ink > was) return std::max(was, ink * coverage / 255);
        return was;
    };
    return qRgb(channel(qRed(old), qRed(pen)), channel(qGreen(old), qGreen(pen)), channel(qBlue(old), qBlue(pen)));
}

// The glyphs' coverage is drawn here first; kept between texts, which are drawn by the hundred.
QImage& coverageScratch(const QSize& size) {
    static QImage scratch;
    if (scratch.width() < size.width() || scratch.height() < size.height())
        scratch = QImage(size.expandedTo(scratch.size()).expandedTo(QSize(64, 64)),
                         QImage::Format_ARGB32_Premultiplied);
    for (int row = 0; row < size.height(); ++row)
        std::fill_n(reinterpret_cast<QRgb*>(scratch.scanLine(row)), size.width(), QRgb(0));
    return scratch;
}

}  // namespace

QRect paintText(QImage& image, const QtScreenFont& font, int x, int y, const QString& text, Rgb pen, bool opaque,
                Rgb ground) {
    if (text.isEmpty()) return {};
    QRect cell(x, y, textAdvance(font, text), font.cellHeight());
    if (opaque) applyRaster(image, {cell}, ground, RasterMode::CopyPen);
    const int baseline = y + font.ascent;
    const std::vector<PlacedShape> placed = placeText(font, x, text);
    QRect ink;
    for (const PlacedShape& piece : placed) ink = ink.united(piece.shape->ink.translated(piece.x, baseline));
    // Glyphs may reach a little beyond their cells and their measured ink.
    const QRect touched = cell.united(ink).adjusted(-2, -2, 2, 2);
    // The coverage is drawn at the image's own resolution, so glyphs are as sharp as its pixels.
    const double scale = image.devicePixelRatio();
    const QRect area = toDevice(touched, scale).intersected(image.rect());
    if (area.isEmpty()) return touched;

    QImage& coverage = coverageScratch(area.size());
    {
        QPainter painter(&coverage);
        painter.scale(scale, scale);
        painter.setPen(Qt::white);
        for (const PlacedShape& piece : placed) {
            const QPointF origin(piece.x - area.left() / scale, baseline - piece.shape->lineAscent - area.top() / scale);
            for (const QGlyphRun& run : piece.shape->runs) painter.drawGlyphRun(origin, run);
        }
    }
    const QRgb inkColour = 0xFF000000u | (pen & 0x00FFFFFFu);
    for (int row = 0; row < area.height(); ++row) {
        const auto* from = reinterpret_cast<const QRgb*>(coverage.constScanLine(row));
        auto* to = reinterpret_cast<QRgb*>(image.scanLine(area.top() + row)) + area.left();
        for (int column = 0; column < area.width(); ++column)
            if (const int covered = qAlpha(from[column]); covered != 0)
                to[column] = coverPixel(to[column], inkColour, covered);
    }
    return touched;
}

QtCanvas::QtCanvas(QWidget* parent) : QWidget(parent) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    setScale(screen != nullptr ? screen->devicePixelRatio() : 1.0);
    setFixedSize(canvasWidth, canvasHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void QtCanvas::setScale(double ratio) {
    if (!(ratio > 0)) ratio = 1.0;
    backing = QImage(deviceSize(ratio), QImage::Format_RGB32);
    backing.setDevicePixelRatio(ratio);
    backing.fill(Qt::white);
    update();
}

void QtCanvas::markDirty(const QRect& area) {
    QRect visible = area.intersected(rect());
    if (visible.isEmpty()) return;
    // Asking the window system again for an area already asked for costs more than drawing it.
    if (!pending.contains(visible)) {
        pending = pending.united(visible);
        update(pending);
    }
    if (isVisible() && (!sincePresent.isValid() || sincePresent.elapsed() >= 16)) repaint(pending);
}

void QtCanvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    // Device pixels of the image go one to one onto the screen's device pixels, also where a
    // fractional ratio puts the area's edges between them.
    const QRect device = toDevice(area, scale());
    const QRectF target(QPointF(device.topLeft()) / scale(), QSizeF(device.size()) / scale());
    painter.drawImage(target, backing, QRectF(device));
    if (area.contains(pending)) pending = QRect();
    else if (!pending.isEmpty()) update(pending);  // a partial paint: the rest is still owed
    sincePresent.start();
}

void QtCanvas::mousePressEvent(QMouseEvent* event) {
    EventKind kind = EventKind::None;
    if (event->button() == Qt::LeftButton) kind = EventKind::LeftPress;
    if (event->button() == Qt::RightButton) kind = EventKind::RightPress;
    if (kind == EventKind::None || !onInput) return;
    onInput(InputEvent{kind, 0, event->position().x(), event->position().y()});
}

void QtCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove)
        onMouseMove(buttonMask(event->buttons()), shiftMask(event->modifiers()), event->position().x(),
                    event->position().y());
}

void QtCanvas::keyPressEvent(QKeyEvent* event) {
    const int key = virtualKeyCode(*event);
    if (key != 0 && !event->isAutoRepeat()) keysDown[key] = shiftMask(event->modifiers());
    const int character = typedCharacter(*event);
    if (character != 0 && onInput) onInput(InputEvent{EventKind::Char, character, 0, 0});
}

void QtCanvas::keyReleaseEvent(QKeyEvent* event) {
    const int key = virtualKeyCode(*event);
    // Releases of keys pressed in a menu or a dialog are not ours.
    auto down = keysDown.find(key);
    if (key == 0 || down == keysDown.end()) return;
    // A held arrow moves on; other keys act once, when let go.
    if (event->isAutoRepeat() && !repeatsWhileHeld(key)) return;
    const int modifiers = down->second;
    if (!event->isAutoRepeat()) keysDown.erase(down);
    if (onInput) onInput(InputEvent{EventKind::KeyUp, key, 0, 0, modifiers});
}

void QtCanvas::focusOutEvent(QFocusEvent* event) {
    keysDown.clear();
    QWidget::focusOutEvent(event);
}

}  // namespace nonari
