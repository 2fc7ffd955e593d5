#pragma once

#include <QString>

// The faces the journal's drawings and forms are designed in: the Windows
// fonts "ＭＳ ゴシック" (fixed pitch), "ＭＳ Ｐゴシック" and "ＭＳ 明朝". Linux
// has none of them, and fontconfig knows no alias for their names, so each
// stands for an installed Japanese family: the IPA face of the same design
// where it is installed, otherwise fontconfig's best Japanese face of the
// same kind.
enum class DesignFace { Gothic, PGothic, Mincho };

// The installed family drawn for `face`. Found by one fontconfig match per
// face at the face's first call (from any thread) and kept for the process. Widgets and painters
// take this family rather than the design's name: a name that is not
// installed makes Qt search its fallbacks again for every script a text
// holds, which cost the window's start-up more than building its panes.
const QString &designFamily(DesignFace face);

// The design's own name of the face, as the journal's templates spell it.
QString designFaceName(DesignFace face);

// Maps each design name to its installed family for whatever still asks for
// the design's name (a dialog template, Qt's own printing). Call once before
// drawing: the application does at start-up, tools and tests without it call
// it themselves. Resolves the faces if nothing has yet.
void installFontSubstitutes();
