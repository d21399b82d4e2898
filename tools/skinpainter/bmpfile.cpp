#include "bmpfile.h"

#include <QtEndian>

namespace skinpainter {

namespace {

void put16(QByteArray& out, quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void put32(QByteArray& out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

} // namespace

QByteArray encodeBmp24(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    const int rowBytes = (w * 3 + 3) & ~3; // rows are padded to whole 32-bit words
    const quint32 pixelBytes = quint32(rowBytes) * quint32(h);
    constexpr quint32 kHeaderBytes = 14 + 40;

    QByteArray out;
    out.reserve(int(kHeaderBytes + pixelBytes));
    out.append("BM", 2);
    put32(out, kHeaderBytes + pixelBytes); // file size
    put32(out, 0);                         // reserved
    put32(out, kHeaderBytes);              // offset of the pixels
    put32(out, 40);                        // info header size
    put32(out, quint32(w));
    put32(out, quint32(h)); // positive: bottom-up rows
    put16(out, 1);          // planes
    put16(out, 24);         // bits per pixel
    put32(out, 0);          // no compression
    put32(out, pixelBytes);
    put32(out, 2835); // 72 dots per inch, in dots per metre
    put32(out, 2835);
    put32(out, 0); // colours used
    put32(out, 0); // important colours

    for (int y = h - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            out.append(char(qBlue(line[x])));
            out.append(char(qGreen(line[x])));
            out.append(char(qRed(line[x])));
        }
        for (int pad = w * 3; pad < rowBytes; ++pad)
            out.append('\0');
    }
    return out;
}

} // namespace skinpainter
