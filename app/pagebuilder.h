#pragma once
// Builds a link-type page from its table: group boxes, edits named by their control
// names with their labels, notes, card-type boxes, the Default and Make file buttons and
// the tab order. Each button and box is wired to the handler the table names, a slot of
// that name on `handlers` (the main window).

#include "pagetable.h"

class LinkPage;
class QObject;
class TsuiTabSheet;

// Fills the empty sheet and returns the page object, owned by the sheet.
LinkPage* BuildLinkPage(const zd7240::PageTable& page, TsuiTabSheet* sheet, QObject* handlers);
