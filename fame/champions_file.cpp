// The hall-of-fame tables and their file "Champions.Rhm": 150 lines of Windows-1252 text, CR LF.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fame/champions_file.h"

#include "platform/safe_file.h"
#include "state/game_state.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace nonari {

namespace {

// Code points of the bytes 0x80..0x9F. The five bytes Windows-1252 leaves unassigned
// map to the C1 controls of the same number, so that any byte survives a load and a save.
constexpr std::array<char32_t, 32> highBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr int placesPerList = 10;

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[i]; advances i. Malformed input yields nothing and
// skips a single byte, so that every broken byte becomes one "?".
std::optional<char32_t> nextCodePoint(const std::string& text, std::size_t& i) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char lead = byte(i);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    int length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, minimum = 0x10000;
    } else {
        ++i;
        return std::nullopt;
    }
    if (i + static_cast<std::size_t>(length) > text.size()) {
        ++i;
        return std::nullopt;
    }
    for (int k = 1; k < length; ++k) {
        unsigned char next = byte(i + static_cast<std::size_t>(k));
        if ((next & 0xC0) != 0x80) {
            ++i;
            return std::nullopt;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return std::nullopt;
    }
    i += static_cast<std::size_t>(length);
    return cp;
}

std::optional<unsigned char> windows1252Byte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
    for (std::size_t k = 0; k < highBlock.size(); ++k)
        if (highBlock[k] == cp) return static_cast<unsigned char>(0x80 + k);
    return std::nullopt;
}

void setEntry(int d, int p, std::string name, std::string date, std::string time) {
    game.fame.championName[d][p] = std::move(name);
    game.fame.championDate[d][p] = std::move(date);
    game.fame.championTime[d][p] = std::move(time);
}

void setEmptyEntry(int d, int p) { setEntry(d, p, "", "", "9"); }

// Reads the line at `at` and moves past it. CR LF, LF, a lone CR and CR CR LF (CR LF converted once more on
// its way between systems) each end one line. Empty when the file has ended.
std::optional<std::string> readLine(const std::vector<unsigned char>& text, std::size_t& at) {
    if (at >= text.size()) return std::nullopt;
    std::size_t end = at;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
    std::string line(text.begin() + static_cast<std::ptrdiff_t>(at), text.begin() + static_cast<std::ptrdiff_t>(end));
    at = end;
    auto is = [&text](std::size_t k, unsigned char c) { return k < text.size() && text[k] == c; };
    if (is(at, '\r') && is(at + 1, '\r') && is(at + 2, '\n')) at += 3;
    else if (is(at, '\r') && is(at + 1, '\n')) at += 2;
    else if (is(at, '\r') || is(at, '\n')) at += 1;
    return windows1252ToUtf8(line);
}

// The file's whole content; a pipe, a device or an overlong file is never read whole.
FileRead readChampionsFile() {
    FileRead read = readRegularFile(championsFile, championsFileLimit);
    if (read.result == FileResult::Ok && read.size > championsFileLimit) {
        read.result = FileResult::Damaged;
        read.bytes.clear();
    }
    return read;
}

// A field as one line of the file: a line break inside it would shift every later entry.
std::string asOneLine(std::string text) {
    std::ranges::replace(text, '\r', ' ');
    std::ranges::replace(text, '\n', ' ');
    return utf8ToWindows1252(text) + "\r\n";
}

}  // namespace

std::string utf8ToWindows1252(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        std::optional<char32_t> cp = nextCodePoint(utf8, i);
        std::optional<unsigned char> b = cp ? windows1252Byte(*cp) : std::nullopt;
        out += b ? static_cast<char>(*b) : '?';
    }
    return out;
}

std::string windows1252ToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        appendUtf8(out, b >= 0x80 && b <= 0x9F ? highBlock[b - 0x80] : char32_t{b});
    }
    return out;
}

void resetChampions() {
    for (int d = 0; d < 5; ++d)
        for (int p = 1; p <= placesPerList; ++p) setEmptyEntry(d, p);
}

FileResult loadChampions() {
    const FileRead read = readChampionsFile();
    if (read.result != FileResult::Ok) {
        resetChampions();
        return read.result;
    }
    // Where the file ends, at a block boundary or inside a block, the remaining places are empty.
    std::size_t at = 0;
    for (int d = 0; d < 5; ++d)
        for (int p = 1; p <= placesPerList; ++p) {
            std::optional<std::string> name = readLine(read.bytes, at);
            std::optional<std::string> date = readLine(read.bytes, at);
            std::optional<std::string> time = readLine(read.bytes, at);
            if (time) setEntry(d, p, std::move(*name), std::move(*date), std::move(*time));
            else setEmptyEntry(d, p);
        }
    return FileResult::Ok;
}

FileResult saveChampions() {
    // A file that exists but cannot be read is the player's history all the same: the lists in
    // memory came up empty, and saving them would replace it.
    const FileResult old = readChampionsFile().result;
    if (old == FileResult::Damaged) return old;
    std::string text;
    for (int d = 0; d < 5; ++d)
        for (int p = 1; p <= placesPerList; ++p) {
            text += asOneLine(game.fame.championName[d][p]);
            text += asOneLine(game.fame.championDate[d][p]);
            text += asOneLine(game.fame.championTime[d][p]);
        }
    // A file the next start would refuse to read is not written in the first place.
    if (text.size() > championsFileLimit) return FileResult::NotWritten;
    return replaceFileContents(championsFile, std::vector<unsigned char>(text.begin(), text.end()));
}

FileResult changeChampions(const std::function<void()>& change) {
    const SaveLock lock;
    if (lock.result() != FileResult::Ok) return lock.result();
    // Missing gives empty lists to change; Damaged is the player's history all the same and stays.
    const FileResult read = loadChampions();
    if (read != FileResult::Ok && read != FileResult::Missing) return read;
    change();
    return saveChampions();
}

}  // namespace nonari
