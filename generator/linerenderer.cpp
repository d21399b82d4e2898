#include "linerenderer.h"

#include <charconv>

namespace zd7240 {

LineRenderer::LineRenderer(LineFormat format, const FieldText& fieldText) {
    // Sized once: a dry run of a job file builds one renderer per job.
    std::size_t values = 0, literals = 0;
    for (const Piece& piece : format) {
        values += piece.kind == PieceKind::Value ? 1 : 0;
        literals += piece.kind == PieceKind::Literal ? piece.text.size() : 16;
    }
    slots_.reserve(values);
    constants_.reserve(literals + 2);
    std::size_t start = 0; // of the constant text being gathered
    for (const Piece& piece : format) {
        switch (piece.kind) {
        case PieceKind::Literal:
            constants_.append(piece.text);
            break;
        case PieceKind::Field:
            constants_.append(fieldText(piece.text));
            break;
        case PieceKind::Value:
            slots_.push_back(Slot{start, constants_.size() - start, piece.value});
            start = constants_.size();
            break;
        }
    }
    constants_.append("\r\n");
    tail_ = start;
    // 20 characters hold any 64-bit value with its sign. The last line is padded so
    // that copying it in blocks never reads past it.
    maxSize_ = constants_.size() + 20 * slots_.size();
    line_.assign(maxSize_ + kSlack, '\0');
    // Without values the line never changes and CountUp always succeeds, so it is
    // written once here.
    if (slots_.empty())
        Compose(nullptr);
}

void LineRenderer::Compose(const std::int64_t* all) const {
    char* line = line_.data();
    char* p = line;
    for (const Slot& slot : slots_) {
        std::memcpy(p, constants_.data() + slot.constant, slot.constantLength);
        p += slot.constantLength;
        const std::int64_t v = all[static_cast<std::size_t>(slot.value)];
        slot.begin = static_cast<std::size_t>(p - line);
        p = std::to_chars(p, p + 20, v).ptr;
        slot.end = static_cast<std::size_t>(p - line);
        slot.current = v;
        slot.next = NextOf(v);
    }
    const std::size_t tail = constants_.size() - tail_;
    std::memcpy(p, constants_.data() + tail_, tail);
    length_ = static_cast<std::size_t>(p - line) + tail;
}

std::string LineRenderer::RenderToString(const StepValues& values) const {
    std::string line(maxSize_ + kSlack, '\0');
    line.resize(Render(line.data(), values));
    return line;
}

} // namespace zd7240
