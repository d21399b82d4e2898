#pragma once
// What assistive technology reads of a skinned combo box. Qt's own reading names a
// combo box on Linux by the item shown ("Optic"), whatever accessible name it was given,
// so two boxes of one page could not be told apart; this one takes the accessible name
// when there is one and gives the item shown as the value. The list, the press and the
// show-menu actions are Qt's as before. Registered once per process with QAccessible.

void InstallComboBoxAccessibility();
