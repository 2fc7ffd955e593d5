#pragma once

// The journal's drawings ask for the Windows faces "ＭＳ ゴシック",
// "ＭＳ Ｐゴシック" and "ＭＳ 明朝"; without a substitute Qt silently picks a
// proportional Latin face and fixed-pitch columns misalign. Maps them to the
// IPA faces. Call once before drawing (the application does at start-up;
// tools and tests without it call it themselves).
void installFontSubstitutes();
