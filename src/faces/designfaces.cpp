#include "faces/designfaces.h"

#include <QFont>

#include <fontconfig/fontconfig.h>

#include <array>
#include <cstddef>
#include <memory>
#include <mutex>

namespace {

struct FaceCandidates {
    const char *designName;
    // Asked for in this order: the IPA face drawn in the design's place, the
    // design's own name (for a system that aliases it), then the kind.
    const char *ipaFamily;
    const char *kind;
};

constexpr std::array<FaceCandidates, 3> faces = {{
    {"ＭＳ ゴシック", "IPAGothic", "monospace"},
    {"ＭＳ Ｐゴシック", "IPAPGothic", "sans-serif"},
    {"ＭＳ 明朝", "IPAMincho", "serif"},
}};

struct PatternDeleter {
    void operator()(FcPattern *pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

QString matchedFamily(const FaceCandidates &face)
{
    const Pattern request(FcPatternCreate());
    if (!request)
        return QString::fromUtf8(face.ipaFamily);
    for (const char *family : {face.ipaFamily, face.designName, face.kind})
        FcPatternAddString(request.get(), FC_FAMILY, reinterpret_cast<const FcChar8 *>(family));
    // Japanese text, whatever the user's locale: a Latin face would show
    // the form's labels from a fallback.
    FcPatternAddString(request.get(), FC_LANG, reinterpret_cast<const FcChar8 *>("ja"));
    FcConfigSubstitute(nullptr, request.get(), FcMatchPattern);
    FcDefaultSubstitute(request.get());
    FcResult result = FcResultNoMatch;
    const Pattern match(FcFontMatch(nullptr, request.get(), &result));
    FcChar8 *family = nullptr;
    // The first family name is the one Qt's font database files the face
    // under; the others are its aliases.
    if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &family) != FcResultMatch)
        return QString::fromUtf8(face.ipaFamily);
    return QString::fromUtf8(reinterpret_cast<const char *>(family));
}

} // namespace

const QString &designFamily(DesignFace face)
{
    // Each face on its own: a caller waits for the match of its face only,
    // not for the others' (about 2 M instructions each).
    static std::array<std::once_flag, faces.size()> matched;
    static std::array<QString, faces.size()> families;
    const auto i = static_cast<std::size_t>(face);
    std::call_once(matched[i], [i] { families[i] = matchedFamily(faces[i]); });
    return families[i];
}

QString designFaceName(DesignFace face)
{
    return QString::fromUtf8(faces[static_cast<std::size_t>(face)].designName);
}

void installFontSubstitutes()
{
    for (DesignFace face : {DesignFace::Gothic, DesignFace::PGothic, DesignFace::Mincho})
        QFont::insertSubstitution(designFaceName(face), designFamily(face));
}
