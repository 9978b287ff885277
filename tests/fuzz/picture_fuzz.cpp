// Fuzz target: any bytes as the background picture; what the check lets through decodes within its limits.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/picture_check.h"
#include "tests/fuzz/fuzz_support.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <cstdint>

using namespace nonari;

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<Picture> checked = checkPicture(std::vector<unsigned char>(data, data + size));
    if (!checked) return 0;
    const PictureHeader& header = checked->header;
    const std::uint64_t pixels = std::uint64_t{header.width} * header.height;
    FUZZ_CHECK(size <= pictureFileLimit && checked->bytes.size() <= size && pixels > 0 && pixels <= picturePixelLimit);
    FUZZ_CHECK(checkPicture(checked->bytes)->bytes == checked->bytes);  // what is decoded passes the check as it is

    const QSize claimed(static_cast<int>(header.width), static_cast<int>(header.height));
    const char* format = header.format == PictureFormat::Jpeg ? "JPEG" : "PNG";
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(checked->bytes.data()),
                                               static_cast<qsizetype>(checked->bytes.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize read = reader.size();
    FUZZ_CHECK(!read.isValid() || read == claimed || read == claimed.transposed());
    // Small ones are decoded whole, as the game would.
    QImage picture;
    if (pixels <= 256 * 256 && picture.loadFromData(bytes, format))
        FUZZ_CHECK(picture.size() == claimed || picture.size() == claimed.transposed());
    return 0;
}
