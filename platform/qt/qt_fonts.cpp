// Maps the game's font descriptions onto Liberation fonts with the cell heights and widths it counts on.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_fonts.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace nonari {

namespace {

std::string lowered(const std::string& text) {
    std::string out = text;
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool isSystemFace(const std::string& face) { return lowered(face) == "system"; }

int cellHeightAt(QFont font, int pixelSize) {
    font.setPixelSize(pixelSize);
    QFontMetrics metrics(font);
    return metrics.ascent() + metrics.descent();
}

// The largest pixel size whose ascent + descent does not exceed the wanted cell height.
int pixelSizeForCell(const QFont& base, int cellHeight) {
    QFont large = base;
    large.setPixelSize(2048);
    QFontMetricsF metrics(large);
    double ratio = (metrics.ascent() + metrics.descent()) / 2048.0;
    int size = std::max(1, static_cast<int>(std::lround(cellHeight / ratio)));
    while (size > 1 && cellHeightAt(base, size) > cellHeight) --size;
    while (cellHeightAt(base, size + 1) <= cellHeight) ++size;
    return size;
}

int stretchFor(double wanted, double natural) {
    if (wanted <= 0 || natural <= 0) return 100;
    return std::clamp(static_cast<int>(std::lround(100.0 * wanted / natural)), 1, 4000);
}

}  // namespace

QString substituteFamily(const std::string& face) {
    std::string name = lowered(face);
    if (name == "terminal" || name == "fixedsys" || name == "courier" || name == "courier new" ||
        name == "liberation mono")
        return QStringLiteral("Liberation Mono");
    if (name == "times new roman" || name == "times" || name == "liberation serif")
        return QStringLiteral("Liberation Serif");
    return QStringLiteral("Liberation Sans");
}

bool isFixedFace(const std::string& face) {
    std::string name = lowered(face);
    return name == "terminal" || name == "fixedsys";
}

double weightedAverageWidth(const QFont& font) {
    // Weights per mille of the letters a..z; the blank takes the remaining 166.
    static constexpr int weights[26] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3,  6,  35, 20,
                                        56, 56, 17, 4,  49, 56,  71, 31, 10, 18, 3,  18, 2};
    QFontMetricsF metrics(font);
    double sum = 166.0 * metrics.horizontalAdvance(QLatin1Char(' '));
    for (int i = 0; i < 26; ++i) sum += weights[i] * metrics.horizontalAdvance(QLatin1Char(static_cast<char>('a' + i)));
    return sum / 1000.0;
}

int fixedStockFontHeight(double logicalDpiY) {
    if (logicalDpiY <= 0) logicalDpiY = 96;
    return static_cast<int>(std::lround(12.0 * logicalDpiY / 96.0));
}

const QtShapedText& QtScreenFont::shaped(const QString& text) const {
    auto found = shapes->constFind(text);
    if (found != shapes->constEnd()) return *found;
    QtShapedText shape;
    QTextLayout layout(text, font);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    shape.runs = layout.glyphRuns();
    shape.lineAscent = line.isValid() ? line.ascent() : 0;
    QFontMetrics metrics(font);
    shape.advance = metrics.horizontalAdvance(text);
    shape.ink = metrics.boundingRect(text);
    return *shapes->insert(text, shape);
}

const QtScreenFont& QtFonts::resolve(const FontRequest& desc) {
    if (lastFont != nullptr && desc.height == lastRequest.height && desc.width == lastRequest.width &&
        desc.weight == lastRequest.weight && desc.fixedPitch == lastRequest.fixedPitch && desc.points == lastRequest.points &&
        desc.face == lastRequest.face)
        return *lastFont;
    lastRequest = desc;
    lastFont = &resolveByKey(desc);
    return *lastFont;
}

const QtScreenFont& QtFonts::resolveByKey(const FontRequest& desc) {
    FontKey key{lowered(desc.face), desc.height, desc.width, desc.weight, desc.fixedPitch, desc.points};
    auto found = cache.find(key);
    if (found != cache.end()) return found->second;
    return cache.emplace(key, create(desc)).first->second;
}

QtScreenFont QtFonts::create(const FontRequest& desc) const {
    QFont font(substituteFamily(desc.face));
    font.setStyleHint(QFont::AnyStyle, QFont::PreferMatch);
    font.setKerning(false);
    font.setBold(isSystemFace(desc.face) || desc.weight >= 600);
    // Terminal, Fixedsys and System were bitmap faces: whole pixels, no soft edges.
    if (isFixedFace(desc.face) || isSystemFace(desc.face))
        font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferMatch | QFont::NoAntialias));

    int pixelSize = 13;
    if (desc.height > 0)
        pixelSize = pixelSizeForCell(font, desc.height);
    else if (desc.points > 0)
        pixelSize = std::max(1, static_cast<int>(std::lround(desc.points * dpiY / 72.0)));
    font.setPixelSize(pixelSize);

    QtScreenFont result;
    if (isFixedFace(desc.face)) {
        result.fixedAdvance = desc.width > 0 ? desc.width : 8;
        font.setStretch(stretchFor(result.fixedAdvance, QFontMetricsF(font).horizontalAdvance(QLatin1Char('M'))));
    } else if (desc.width > 0) {
        font.setStretch(stretchFor(desc.width, weightedAverageWidth(font)));
    }
    QFontMetrics metrics(font);
    result.font = font;
    result.ascent = metrics.ascent();
    result.descent = metrics.descent();
    return result;
}

}  // namespace nonari
