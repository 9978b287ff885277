// Screen fonts: old Windows faces mapped to Liberation fonts and sized by cell height and average width.
#pragma once

#include "platform/platform.h"

#include <QFont>
#include <QString>

#include <map>
#include <string>

namespace nonari {

struct QtScreenFont {
    QFont font;
    int ascent = 0;
    int descent = 0;
    // Pixels every character advances for the fixed faces; 0 for proportional text.
    int fixedAdvance = 0;
    int cellHeight() const { return ascent + descent; }
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
    const QtScreenFont& resolve(const FontSpec& spec);
    std::size_t cachedCount() const { return cache.size(); }

private:
    QtScreenFont create(const FontSpec& spec) const;
    double dpiY;
    std::map<std::string, QtScreenFont> cache;
};

}  // namespace nonari
