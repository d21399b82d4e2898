#include "linerenderer.h"

namespace zd7240 {

LineRenderer::LineRenderer(LineFormat format, const FieldText& fieldText) {
    Segment current{0, 0, false, WalkValue::Counter, {}};
    for (const Piece& piece : format) {
        switch (piece.kind) {
        case PieceKind::Literal:
            constants_.append(piece.text);
            current.length += piece.text.size();
            break;
        case PieceKind::Field: {
            const std::string text = fieldText(piece.text);
            constants_.append(text);
            current.length += text.size();
            break;
        }
        case PieceKind::Value:
            current.hasValue = true;
            current.value = piece.value;
            segments_.push_back(current);
            current = Segment{constants_.size(), 0, false, WalkValue::Counter, {}};
            break;
        }
    }
    if (current.length > 0)
        segments_.push_back(current);
    // 20 characters hold any 64-bit value with its sign. The constants are padded so
    // that block copies never read past them.
    maxSize_ = constants_.size() + 20 * segments_.size() + 2;
    constants_.append(16, '\0');
}

std::string LineRenderer::RenderToString(const StepValues& values) const {
    std::string line(maxSize_ + kSlack, '\0');
    line.resize(Render(line.data(), values));
    return line;
}

} // namespace zd7240
