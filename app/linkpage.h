#pragma once
// One link-type page at run time: its controls behind the generation frame's field
// access, and what its handlers do (Default, card-type change, Make file). The same code
// serves all eight pages; the page table says which controls.

#include <QObject>
#include <QString>
#include <string_view>
#include <vector>

#include "frame.h"
#include "pagetable.h"

class Confirmer;
class QLabel;
class TsuiComboBox;
class TsuiEdit;
class TsuiGroupBox;
class TsuiTabSheet;

class LinkPage : public QObject, public zd7240::FieldAccess {
public:
    // Finds the page's controls, by their control names, among the sheet's children.
    LinkPage(const zd7240::PageTable& row, TsuiTabSheet* sheet);

    const zd7240::PageTable& Table() const { return table_; }
    TsuiTabSheet* Sheet() const { return sheet_; }

    TsuiEdit* Edit(std::string_view name) const;
    TsuiComboBox* Combo(std::string_view name) const;
    TsuiGroupBox* Box(std::string_view name) const;
    QLabel* Label(std::string_view name) const;

    // FieldAccess: the frame's view of the controls.
    std::string Text(std::string_view control) const override;
    void SetText(std::string_view control, const std::string& text) override;
    int ItemIndex(std::string_view selector) const override;

    // "Default": every field back to its default text; card types, captions and labels
    // stay as they are.
    void Default();
    // A card-type box changed: relabel its group box and swap "Port id:"/"Group id:".
    // Field texts stay as they are.
    void CardTypeChanged(std::string_view selector);
    // Names every field and card-type box for assistive technology after its group boxes
    // and its label as the page shows them now, the label without its colon ("Lan card
    // information, Board id"; "Mmx card information, Card type is Optic, Vpi" in a nested
    // box), and every group box by its own caption. Called once the page is built and at
    // every card-type change.
    void NameControls();
    // "Make file": the generation frame over this page. When the check fails, the first
    // failing field gets the focus with its text selected once the message is closed.
    // With `hints`, values the device refuses although they are digits are put to the
    // operator once the End value is shown, before the file is chosen: "Cancel" ends the
    // press as a cancelled save does (no file, no message). A page without hints is not
    // asked about.
    zd7240::FrameResult MakeFile(zd7240::FileChooser& chooser, zd7240::Messenger& messenger,
                                 zd7240::ErrorReport& errors, zd7240::ProgressMonitor* progress,
                                 Confirmer* hints = nullptr);

    // The sanity hints of the fields as they stand, one line each: the field named by its
    // label and group box as the page shows them, then what zd7240-gen says of the value.
    // Empty when there is none, and when the fields do not pass the check and the
    // conversion (the press ends before hints matter).
    std::vector<std::string> HintLines() const;

private:
    template <class T> T* Find(std::string_view name) const;

    const zd7240::PageTable& table_;
    TsuiTabSheet* sheet_;
};
