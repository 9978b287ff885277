// Screen fonts: old Windows faces mapped to Liberation fonts and sized by cell height and average width.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/platform.h"

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QRect>
#include <QString>

#include <map>
#include <memory>
#include <string>
#include <tuple>

namespace nonari {

// A text shaped once in one font: the game draws the same few texts over and over.
struct QtShapedText {
    QList<QGlyphRun> runs;  // positioned from the top-left corner of the line
    double lineAscent = 0;
    int advance = 0;
    QRect ink;              // relative to the baseline's start
};

struct QtScreenFont {
    QFont font;
    int ascent = 0;
    int descent = 0;
    // Pixels every character advances for the fixed faces; 0 for proportional text.
    int fixedAdvance = 0;
    int cellHeight() const { return ascent + descent; }
    // Shapes are kept per font; the set of texts the game draws is small.
    std::shared_ptr<QHash<QString, QtShapedText>> shapes = std::make_shared<QHash<QString, QtShapedText>>();
    const QtShapedText& shaped(const QString& text) const;
};

// The Liberation family that stands in for a face name ("ARIAL", "Terminal" ...).
QString substituteFamily(const std::string& face);
bool isFixedFace(const std::string& face);
// Average character width in pixels as Windows reports it: the weighted mean of a..z and blank.
double weightedAverageWidth(const QFont& font);
// Pixel height of the fixed stock font at a screen resolution.
int fixedStockFontHeight(double logicalDpiY);

class QtFonts {
public:
    explicit QtFonts(double logicalDpiY) : dpiY(logicalDpiY) {}
    // Resolved once per distinct description, then served from the cache.
    const QtScreenFont& resolve(const FontRequest& desc);
    std::size_t cachedCount() const { return cache.size(); }

private:
    QtScreenFont create(const FontRequest& desc) const;
    const QtScreenFont& resolveByKey(const FontRequest& desc);
    double dpiY;
    using FontKey = std::tuple<std::string, int, int, int, bool, double>;
    std::map<FontKey, QtScreenFont> cache;
    // The game selects the same few fonts over and over; the last one is found without a key.
    FontRequest lastRequest;
    const QtScreenFont* lastFont = nullptr;
};

}  // namespace nonari
