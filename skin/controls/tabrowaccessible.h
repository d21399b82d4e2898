#pragma once
// What assistive technology reads of a tab row: a page tab list (not a plain pane) with
// one page tab per caption, named by the caption, selected when active, invisible when
// hidden or scrolled out of the row. A tab's press action selects it as a click does
// (the owner's OnChanging may refuse). The interfaces are made by the factory that
// InstallTabRowAccessibility registers with QAccessible, once per process.

void InstallTabRowAccessibility();
