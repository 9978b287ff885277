// The background picture's header check: JPEG markers up to the first frame header, or the PNG IHDR chunk.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/picture_check.h"

#include "platform/safe_file.h"

#include <algorithm>
#include <iterator>

namespace nonari {

namespace {

std::uint32_t bigEndian(const unsigned char* at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value = value << 8 | at[i];
    return value;
}

// Start of frame: C0..CF except DHT (C4), JPG (C8) and DAC (CC).
bool isFrameHeader(unsigned char marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

std::optional<PictureHeader> jpegHeader(const unsigned char* data, std::size_t size) {
    std::size_t at = 2;  // after SOI
    while (at < size) {
        // Every segment starts with a marker; fill bytes 0xFF may stand before it. Anything else is not read on.
        if (data[at] != 0xFF) return std::nullopt;
        while (at < size && data[at] == 0xFF) ++at;
        if (at >= size) return std::nullopt;
        const unsigned char marker = data[at++];
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length follows
        // The image data or its end before any frame header: no size is claimed.
        if (marker == 0x00 || marker == 0xD8 || marker == 0xD9 || marker == 0xDA) return std::nullopt;
        if (size - at < 2) return std::nullopt;
        const std::uint32_t length = bigEndian(data + at, 2);
        if (length < 2 || size - at < length) return std::nullopt;
        if (isFrameHeader(marker)) {
            // Length, precision, height, width.
            if (length < 8) return std::nullopt;
            return PictureHeader{PictureFormat::Jpeg, bigEndian(data + at + 5, 2), bigEndian(data + at + 3, 2)};
        }
        at += length;
    }
    return std::nullopt;
}

std::optional<PictureHeader> pngHeader(const unsigned char* data, std::size_t size) {
    // Signature, then the first chunk, which must be IHDR: length 13, type, width, height.
    static const unsigned char ihdr[] = {0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    if (size < 8 + 8 + 8 || !std::equal(ihdr, ihdr + 8, data + 8)) return std::nullopt;
    return PictureHeader{PictureFormat::Png, bigEndian(data + 16, 4), bigEndian(data + 20, 4)};
}

}  // namespace

std::optional<PictureHeader> checkPictureHeader(const unsigned char* data, std::size_t size) {
    static const unsigned char png[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (data == nullptr || size > pictureFileLimit) return std::nullopt;
    std::optional<PictureHeader> header;
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8) header = jpegHeader(data, size);
    else if (size >= 8 && std::equal(png, png + 8, data)) header = pngHeader(data, size);
    if (!header || header->width == 0 || header->height == 0 || header->width > 0x7FFFFFFF ||
        header->height > 0x7FFFFFFF || std::uint64_t{header->width} * header->height > picturePixelLimit)
        return std::nullopt;
    return header;
}

std::optional<Picture> checkPicture(std::vector<unsigned char> bytes) {
    const std::optional<PictureHeader> header = checkPictureHeader(bytes.data(), bytes.size());
    if (!header) return std::nullopt;
    if (header->format == PictureFormat::Jpeg) return Picture{*header, std::move(bytes)};
    static const std::string drawing[] = {"IHDR", "PLTE", "tRNS", "IDAT", "IEND"};
    std::vector<unsigned char> kept(bytes.begin(), bytes.begin() + 8);
    for (std::size_t at = 8; at < bytes.size();) {
        // Length, type, data, check sum: a chunk that claims more than the file holds is damage.
        if (bytes.size() - at < 12 || bigEndian(&bytes[at], 4) > bytes.size() - at - 12) return std::nullopt;
        const std::size_t end = at + 12 + bigEndian(&bytes[at], 4);
        const std::string type(bytes.begin() + static_cast<std::ptrdiff_t>(at + 4),
                               bytes.begin() + static_cast<std::ptrdiff_t>(at + 8));
        if (std::find(std::begin(drawing), std::end(drawing), type) != std::end(drawing))
            kept.insert(kept.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                        bytes.begin() + static_cast<std::ptrdiff_t>(end));
        if (type == "IEND") return Picture{*header, std::move(kept)};
        at = end;
    }
    return std::nullopt;  // no end
}

std::optional<Picture> readPictureFile(const std::string& path) {
    FileRead read = readRegularFile(path, pictureFileLimit);
    if (read.result != FileResult::Ok || read.size > pictureFileLimit) return std::nullopt;
    return checkPicture(std::move(read.bytes));
}

}  // namespace nonari
