#pragma once
// Where the controls of a link-type page stand. The page tables give the boxes placed on
// the page and the buttons; everything inside a box follows the few rules below, the
// same for all eight pages. Pure geometry: text widths come from the caller.

#include <QRect>
#include <QSize>
#include <functional>
#include <string_view>
#include <vector>

#include "pagetable.h"

struct PageLayoutRules {
    QSize edit{89, 19};        // an edit in a card box or a nested box
    QSize compactEdit{26, 19}; // each edit of a row that holds several
    QSize combo{77, 21};       // the card-type box
    QSize nestedBox{187, 153}; // the box inside a card box that holds Vpi/Vci
    int textHeight = 13;       // a label or note line
    int boxBorder = 1;         // the ring of a box
    int labelGap = 4;          // label's right edge to its edit

    // Card boxes: the tall boxes placed on the page, one field under the other.
    int cardLabelLeft = 16;
    int cardEditLeft = 112;
    int cardFirstTop = 24;   // first field when the box has no heading
    int cardPitch = 40;      // top of one field to the next
    int headingTop = 20;     // the card-type line ("The card type is: " and its combo box)
    int headingAdvance = 32; // the heading pushes the fields down by this much
    int nestedBoxLift = 8;   // a nested box starts this far above the next free field row

    // Nested boxes.
    int nestedLabelLeft = 12;
    int nestedEditLeft = 88;
    int nestedFirstTop = 20;
    int nestedPitch = 26;

    // Notes under the fields of a column box, aligned with the labels. When the widest
    // of them does not fit there, they all move left together, as far as the box's inner
    // margin, so that each stays on one line; only a note wider than that wraps onto a
    // second line.
    int noteMinLeft = 3; // the box's inner margin
    int noteGap = 5;     // last edit's bottom (or the box above) to the first note
    int noteSpacing = 2; // between two notes
    int noteMaxLines = 2;

    // Row boxes: boxes no taller than this hold their fields side by side, then notes.
    int rowBoxMaxHeight = 60;
    int rowTop = 14;
    int rowLeft = 16;    // margin at both ends, when the box is wide enough
    int rowGap = 16;     // between two items, when the box is wide enough
    int rowMinGap = 4;   // otherwise margins and gaps share what is left, gaps at least this
    int rowLabelGap = 2; // label to its edit in a row
};

inline constexpr PageLayoutRules kPageLayout{};

struct BoxPlacement {
    const zd7240::GroupRow* row;
    QRect rect; // in the coordinates of its parent (the page, or the box it is nested in)
};

struct FieldPlacement {
    const zd7240::FieldRow* row;
    QRect label; // in the coordinates of the field's box
    QRect edit;
};

struct NotePlacement {
    const zd7240::NoteRow* row;
    QRect rect; // in the coordinates of the note's box
};

struct SelectorPlacement {
    const zd7240::SelectorRow* row;
    QRect combo; // in the coordinates of the selector's box
};

struct PageLayout {
    std::vector<BoxPlacement> boxes; // a box always comes before the boxes nested in it
    std::vector<FieldPlacement> fields;
    std::vector<NotePlacement> notes;
    std::vector<SelectorPlacement> selectors;
};

using TextWidth = std::function<int(std::string_view text)>;

PageLayout LayOutPage(const zd7240::PageTable& page, const TextWidth& textWidth,
                      const PageLayoutRules& rules = kPageLayout);
