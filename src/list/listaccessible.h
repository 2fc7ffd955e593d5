#pragma once

// The list as screen readers see it: a list with one item per line, whose
// text is the line as drawn and whose state says which is selected. The
// window installs it; the list itself only announces its moves.
void installListAccessibility();
