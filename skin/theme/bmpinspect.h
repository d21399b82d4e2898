#pragma once
// Checks that bytes are a complete Windows BMP file image, the form in which theme
// files carry their bitmaps, without decoding a single pixel: the file header, an info
// header of a known size, a palette where one is needed, and pixel data that lie
// wholly inside the bytes (a compressed image's runs are walked to their end). The
// work is linear in the size of the bytes, whatever the header claims.
//
// Plain C++, so that the theme tool, the theme loader and the fuzz target share it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zd7240 {

struct BmpInfo {
    bool ok = false;
    std::int32_t width = 0;
    std::int32_t height = 0; // rows, whatever their order in the file
    int bitsPerPixel = 0;
    std::string problem; // why the bytes are refused, when !ok
};

// Images above this many pixels are refused: decoding one would take more than 256 MB.
inline constexpr std::int64_t kMaxBmpPixels = 8192LL * 8192;
// A compressed image may expand to at most this many pixels per byte of its data (or
// to 1,048,576 pixels, whichever is more), so that a small file cannot make its loader
// allocate and fill gigabytes.
inline constexpr std::int64_t kMaxRlePixelsPerByte = 1024;

BmpInfo InspectBmp(std::string_view bytes);

} // namespace zd7240
