// Feeds arbitrary bytes to the two readers of Apple Health's export and
// traps when they disagree: whatever the scanner reads, the full reader
// must read the same, and the scanner must read the same whether it gets
// the document whole or in pieces. The first two bytes choose where the
// pieces are cut; the rest is the document.

#include "activity/applehealth.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>

namespace {

void require(bool holds, const char *property)
{
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        __builtin_trap();
    }
}

bool same(const ActivityFile &a, const ActivityFile &b)
{
    if (a.error != b.error || a.refusals != b.refusals ||
        a.weighings.size() != b.weighings.size() || a.activities.size() != b.activities.size())
        return false;
    for (std::size_t i = 0; i < a.weighings.size(); ++i) {
        const Weighing &x = a.weighings[i];
        const Weighing &y = b.weighings[i];
        if (x.seconds != y.seconds || x.weightKg != y.weightKg || x.fatPercent != y.fatPercent ||
            x.writtenClock != y.writtenClock)
            return false;
    }
    for (std::size_t i = 0; i < a.activities.size(); ++i) {
        const Activity &x = a.activities[i];
        const Activity &y = b.activities[i];
        if (x.startSeconds != y.startSeconds || x.writtenClockSeconds != y.writtenClockSeconds ||
            x.distanceMetres != y.distanceMetres || x.durationSeconds != y.durationSeconds ||
            x.sport != y.sport || x.field != y.field)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::size_t first = data[0] + 1;
    const std::size_t step = data[1] % 64 + 1;
    const std::string_view bytes(reinterpret_cast<const char *>(data) + 2, size - 2);

    const std::optional<ActivityFile> quick = scanAppleHealth(bytes);
    if (quick) {
        require(quick->ok() || quick->empty(), "the scanner reads a document or nothing from it");
        require(same(*quick, readAppleHealthFully(bytes)), "the scanner and the full reader agree");
    }

    AppleHealthScanner scanner;
    bool going = true;
    for (std::size_t at = 0, piece = first; going && at < bytes.size(); at += piece, piece = step)
        going = scanner.feed(bytes.substr(at, piece));
    const std::optional<ActivityFile> pieces = going ? scanner.finish() : std::nullopt;
    require(pieces.has_value() == quick.has_value(), "the scanner gives up whole as in pieces");
    if (pieces)
        require(same(*pieces, *quick), "the scanner reads the same whole as in pieces");

    // The full reader, too, reads the same in pieces.
    if (!quick) {
        AppleHealthXmlReader reader;
        for (std::size_t at = 0, piece = first; at < bytes.size(); at += piece, piece = step) {
            if (!reader.feed(bytes.substr(at, piece)))
                break;
        }
        const ActivityFile whole = readAppleHealthFully(bytes);
        const ActivityFile inPieces = reader.finish();
        require(whole.ok() == inPieces.ok(), "the full reader reads the same in pieces");
        if (whole.ok())
            require(same(whole, inPieces), "the full reader reads the same in pieces");
    }
    return 0;
}
