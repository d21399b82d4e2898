#pragma once
// Bold text in a real bold face. A face of bitmap strikes without a bold strike of its own
// ("MS Sans Serif") has nothing to give when asked for bold: Qt draws its regular strike,
// and drawing that twice a pixel apart runs the letters together. Some scalable faces
// carry their bold in their hinting only (fonts-wine's Tahoma Bold reads as bold when
// drawn pixel for pixel, and as regular once smoothed). So the program names at start the
// one face all bold text is drawn in, at each font's own pixel size.

#include <QFont>
#include <QString>

struct BoldFace {
    QString family;
    int stretch = 100;       // QFont::setStretch; 100 keeps the face's own widths
    bool antialiased = true; // false: drawn pixel for pixel and fully hinted, as a strike
};

// The face bold text is drawn in from now on. Until it is set, bold text is drawn in the
// font's own face, or in DejaVu Sans Bold when that face cannot be drawn bold.
void SetBoldFace(const BoldFace& face);

// The font made bold: the bold face at the font's own pixel or point size.
QFont BoldFont(const QFont& font);
