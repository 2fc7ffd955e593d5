// Feeds arbitrary bytes to the edit log's reader, and traps when a property
// that must hold for every input is broken. The first byte picks the form:
// '0' the bytes as a whole log file, '1' the rest as one record's payload,
// wrapped in a header and a correct length and checksum so that the decoder
// of days and sections is reached, not only the checksum that guards it.

#include "journal/cquilloxdoc.h"
#include "journal/editlog.h"
#include "journal/merge.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace {

void require(bool holds, const char *property)
{
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        __builtin_trap();
    }
}

std::string wrapped(std::string_view payload)
{
    std::string bytes = encodeLogHeader({"zph0001.txt", 1, 2, {}});
    const auto u32 = static_cast<std::uint32_t>(payload.size());
    const std::uint64_t sum = XXH3_64bits(payload.data(), payload.size());
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>(u32 >> (8 * i)));
    for (int i = 0; i < 8; ++i)
        bytes.push_back(static_cast<char>(sum >> (8 * i)));
    bytes.append(payload);
    return bytes;
}

std::string reencoded(const EditLogContents &log)
{
    std::string bytes = encodeLogHeader(log.header);
    for (const Edit &edit : log.records)
        bytes += encodeLogRecord(edit);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view rest(reinterpret_cast<const char *>(data) + 1, size - 1);
    const std::string bytes = data[0] == '1' ? wrapped(rest) : std::string(rest);
    const EditLogContents log = readEditLog(bytes);
    require(log.ignoredBytes <= bytes.size(), "ignored bytes within the file");
    if (!log.headerRead) {
        require(log.records.empty(), "no records without a header");
        return 0;
    }
    // What was read writes back to bytes that read the same again.
    const std::string once = reencoded(log);
    const EditLogContents again = readEditLog(once);
    require(again.headerRead && again.ignoredBytes == 0 &&
                again.records.size() == log.records.size() && reencoded(again) == once,
            "a log read back writes the same bytes");
    // The records replay onto a journal without harm.
    CQuilloxDoc doc(makeDate(2002, 6, 30));
    const MergePlan plan = planReplay(doc, composeEdits(log.records));
    doc.applyEdit(plan.edit);
    return 0;
}
