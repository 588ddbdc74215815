#pragma once

// Makes the skinned controls known to screen readers through QAccessible:
// each tells its role (push button, check box, radio button, slider,
// progress bar, list, combo box, static text), its name (the widget's
// accessible name, else its tooltip), its state and value, and offers its
// action (press, toggle, open the list). Edit boxes keep Qt's own editable
// text. Call once, after the QApplication exists; calling again does nothing.
void InstallSkinAccessibility();
