#pragma once

// One-line fields as screen readers see them, in place of Qt's own view of
// a QLineEdit. Qt 6.4's never returns when asked for the word or sentence at
// the end of the text (Orca asks on Ctrl+Left and Ctrl+Right), which froze
// the whole window, and it reports the field's text attributes one empty run
// per character, so that Orca read "56." for "56.8". Installed once, before
// the first field is asked for.
void installLineEditAccessibility();
