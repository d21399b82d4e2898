#include "theme/bmpinspect.h"

namespace zd7240 {

namespace {

std::uint32_t U32(std::string_view b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

std::uint16_t U16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}

BmpInfo Refuse(BmpInfo info, std::string why) {
    info.ok = false;
    info.problem = std::move(why);
    return info;
}

// Walks RLE8 (bits 8) or RLE4 (bits 4) runs from `at`; empty when they end in bounds.
std::string WalkRle(std::string_view b, std::size_t at, std::int64_t width, std::int64_t height,
                    int bits) {
    std::int64_t x = 0, y = 0;
    while (y < height) {
        if (at + 2 > b.size())
            return "its compressed pixel data are cut short";
        const unsigned count = static_cast<unsigned char>(b[at]);
        const unsigned code = static_cast<unsigned char>(b[at + 1]);
        at += 2;
        if (count > 0) { // a run of `count` pixels
            x += count;
            continue;
        }
        switch (code) {
        case 0: // end of line
            x = 0;
            ++y;
            break;
        case 1: // end of bitmap
            return {};
        case 2: // delta
            if (at + 2 > b.size())
                return "its compressed pixel data are cut short";
            x += static_cast<unsigned char>(b[at]);
            y += static_cast<unsigned char>(b[at + 1]);
            at += 2;
            break;
        default: { // `code` literal pixels, padded to a 16-bit boundary
            const std::size_t bytes = bits == 8 ? code : (code + 1) / 2;
            const std::size_t padded = bytes + (bytes & 1);
            if (at + padded > b.size())
                return "its compressed pixel data are cut short";
            at += padded;
            x += code;
        }
        }
        (void)width; // runs past the end of a row are clipped by every decoder
    }
    return {};
}

} // namespace

BmpInfo InspectBmp(std::string_view b) {
    BmpInfo info;
    if (b.size() < 14 + 12 || b[0] != 'B' || b[1] != 'M')
        return Refuse(info, "it does not start with a BMP file header");
    const std::uint32_t pixelOffset = U32(b, 10);
    const std::uint32_t headerSize = U32(b, 14);
    if (headerSize != 12 && headerSize != 40 && headerSize != 108 && headerSize != 124)
        return Refuse(info, "its info header (" + std::to_string(headerSize) +
                                " bytes) is not one of 12, 40, 108 or 124 bytes");
    if (14 + std::size_t(headerSize) > b.size())
        return Refuse(info, "its info header is cut short");
    std::int64_t width, height;
    int planes;
    std::uint32_t compression = 0, colours = 0;
    if (headerSize == 12) {
        width = U16(b, 18);
        height = U16(b, 20);
        planes = U16(b, 22);
        info.bitsPerPixel = U16(b, 24);
    } else {
        width = static_cast<std::int32_t>(U32(b, 18));
        height = static_cast<std::int32_t>(U32(b, 22));
        planes = U16(b, 26);
        info.bitsPerPixel = U16(b, 28);
        compression = U32(b, 30);
        colours = U32(b, 46);
    }
    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    const int bits = info.bitsPerPixel;
    if (width <= 0 || height <= 0)
        return Refuse(info, "its size " + std::to_string(width) + "x" + std::to_string(height) +
                                " is empty");
    info.width = static_cast<std::int32_t>(width);
    info.height = static_cast<std::int32_t>(height);
    if (width * height > kMaxBmpPixels)
        return Refuse(info, "it is " + std::to_string(width) + "x" + std::to_string(height) +
                                " pixels, more than " + std::to_string(kMaxBmpPixels));
    if (planes != 1)
        return Refuse(info, "it has " + std::to_string(planes) + " planes, not 1");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return Refuse(info, std::to_string(bits) + " bits per pixel is not a BMP depth");
    const bool rle = compression == 1 || compression == 2;
    if (compression > 3 || (compression == 1 && bits != 8) || (compression == 2 && bits != 4) ||
        (compression == 3 && bits != 16 && bits != 32) || (rle && topDown))
        return Refuse(info, "its compression " + std::to_string(compression) + " with " +
                                std::to_string(bits) + " bits per pixel is not supported");
    std::size_t headerEnd = 14 + headerSize;
    if (compression == 3 && headerSize == 40)
        headerEnd += 12; // the three colour masks
    if (bits <= 8) {
        const std::uint32_t maxColours = 1u << bits;
        if (colours > maxColours)
            return Refuse(info, "its palette claims " + std::to_string(colours) + " colours, " +
                                    std::to_string(maxColours) + " at most");
        const std::size_t entries = colours != 0 ? colours : maxColours;
        headerEnd += entries * (headerSize == 12 ? 3 : 4);
    }
    if (headerEnd > b.size())
        return Refuse(info, "its palette is cut short");
    if (pixelOffset < 14 + 12 || pixelOffset > b.size())
        return Refuse(info, "its pixel data offset " + std::to_string(pixelOffset) +
                                " lies outside its " + std::to_string(b.size()) + " bytes");
    if (rle) {
        const std::int64_t data = static_cast<std::int64_t>(b.size() - pixelOffset);
        const std::int64_t cap =
            data * kMaxRlePixelsPerByte > (1 << 20) ? data * kMaxRlePixelsPerByte : (1 << 20);
        if (width * height > cap)
            return Refuse(info, "its " + std::to_string(data) + " bytes of compressed data " +
                                    "would expand to " + std::to_string(width * height) +
                                    " pixels");
        std::string why = WalkRle(b, pixelOffset, width, height, bits);
        if (!why.empty())
            return Refuse(info, why);
    } else {
        const std::int64_t stride = (width * bits + 31) / 32 * 4;
        const std::int64_t need = stride * height;
        if (need > static_cast<std::int64_t>(b.size() - pixelOffset))
            return Refuse(info, "its pixel data are cut short: " + std::to_string(width) + "x" +
                                    std::to_string(height) + " needs " + std::to_string(need) +
                                    " bytes, " + std::to_string(b.size() - pixelOffset) +
                                    " are there");
    }
    info.ok = true;
    return info;
}

} // namespace zd7240
