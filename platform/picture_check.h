// The background picture checked before anything decodes it: a JPEG or PNG of bounded size and pixel count.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nonari {

// Far beyond a background pattern, far below what would take the machine's memory.
inline constexpr std::size_t pictureFileLimit = 16 * 1024 * 1024;
inline constexpr std::uint64_t picturePixelLimit = 4096 * 4096;

enum class PictureFormat { Jpeg, Png };

struct PictureHeader {
    PictureFormat format = PictureFormat::Jpeg;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// What a JPEG's first frame header or a PNG's IHDR claims; nothing for other bytes, a header cut short,
// no pixels, more than the pixel limit or more bytes than the file limit.
std::optional<PictureHeader> checkPictureHeader(const unsigned char* data, std::size_t size);

struct Picture {
    PictureHeader header;
    std::vector<unsigned char> bytes;  // what is given to the decoder
};

// A picture fit to decode: its header passes the check above, and a PNG keeps only the chunks that draw it
// (header, palette, transparency, image data, end), each wholly inside the file. Text and colour-profile
// chunks, whose decompression a few bytes can blow up to gigabytes, never reach the decoder.
std::optional<Picture> checkPicture(std::vector<unsigned char> bytes);

// Reads a picture as the game reads its other files: only a regular file, within the file limit, that the
// check above accepts. Nothing otherwise, as when the file is missing.
std::optional<Picture> readPictureFile(const std::string& path);

}  // namespace nonari
