#pragma once
// A mock window per look, composed from the painted bitmaps the way the skinned controls
// use them, for judging a look at a glance (zd7240-skinpainter --preview).

#include <QImage>

#include <vector>

#include "paintedskin.h"

namespace skinpainter {

// One picture per look: caption bar with its buttons, push buttons in their three states,
// a tab row and the message icons, on the look's window background. Not scaled.
std::vector<std::pair<QString, QImage>> previewSheets(const std::vector<SkinBitmap>& bitmaps);

} // namespace skinpainter
