#pragma once

#include "activity/importformats.h"
#include "activity/importplan.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// The one routine that reads an input of an import, for the window and for
// zeph alike.
//
// A file's kind comes from its content, never from its name. A regular file
// is read whole, up to maxImportBytes, except for Apple Health's export,
// which is read as a stream of any size; a zip archive (Apple Health's
// export.zip, a Withings or Fitbit download) is opened by libzip and the
// known files inside it are read the same way. Standard input ("-"), pipes
// (`<(cat run.gpx)`), FIFOs and devices are read as streams up to
// maxImportBytes; a zip cannot come that way, since libzip needs to seek.

// The limit of every input but an Apple Health export read from a file:
// the same as for a run's file.
inline constexpr std::uint64_t maxImportBytes = maxActivityFileBytes;

struct ImportReadOptions {
    // The unit of a Fitbit export; without it such a file is refused with
    // needsWeightUnit set.
    std::optional<WeightUnit> fitbitUnit;
    // Called now and then during a long read with the bytes read so far and
    // the size to read (0 when unknown); false stops the reading, and the
    // input is refused as cancelled.
    std::function<bool(std::uint64_t done, std::uint64_t total)> progress;
};

// Reads `path`, or standard input for "-". `shownName` is the name the
// messages give it; empty names standard input "標準入力" and a file by
// its path.
ImportFile readImportInput(const std::string &path, const std::string &shownName,
                           const ImportReadOptions &options = {});
