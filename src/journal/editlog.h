#pragma once

#include "journal/edit.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The window's edits since the journal was last loaded or stored, kept in a
// hidden file beside the journal (".<journal name>.recovery") so that a kill,
// a crash or a power cut at any moment loses no edit. Each edit is appended
// as it is made; a store starts over.
//
// The file, all integers little-endian:
//
//   header   "zephalonte edit log 1\n"
//            u32 name length, the journal's file name (bytes)
//            u64 device, u64 inode of the journal's folder (the journal's own
//                inode changes at every atomic store; a renamed folder keeps
//                its inode)
//            16 bytes: XXH3-128 of the journal bytes the edits were made on
//                (high half first)
//            u64 XXH3-64 of the header from the name length on
//   records  u32 payload length, u64 XXH3-64 of the payload, the payload:
//            u32 day count, then per day: i32 date (days since 1970-01-01),
//                u8 images present (1 before, 2 after), each image present:
//                six f64 (weight, fat %, jog km, jog s, walk km, walk s),
//                u32 memo length, memo bytes
//            u8 sections present (1 profile, 2 objective, 4 graph settings),
//                each present: its before, then its after, field by field
//
// A record whose length runs past the end or whose checksum does not match
// ends the readable part: a write cut off by a kill is recognised and left
// out, and nothing after it is trusted.

// A 128-bit hash of a version of the journal, to know the base of the edits.
struct ContentHash {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    bool operator==(const ContentHash &) const = default;
};
ContentHash hashContent(std::string_view bytes);

struct EditLogHeader {
    std::string journalName;
    std::uint64_t folderDevice = 0;
    std::uint64_t folderInode = 0;
    ContentHash base;
    bool operator==(const EditLogHeader &) const = default;
};

std::string encodeLogHeader(const EditLogHeader &header);
std::string encodeLogRecord(const Edit &edit);

struct EditLogContents {
    bool headerRead = false; // false: no log of ours (too short, another format, damaged)
    EditLogHeader header;
    std::vector<Edit> records;
    // Bytes after the last whole record: a write cut off, or damage.
    std::size_t ignoredBytes = 0;
};
EditLogContents readEditLog(std::string_view bytes);

// Whether bytes start as a log of ours would, complete or not.
bool looksLikeEditLog(std::string_view bytes);

// What takes each edit as it is applied, before control goes back to the
// user: the window's edit log.
class EditRecorder {
  public:
    virtual ~EditRecorder() = default;
    // `applied` has the exact before-images the document held.
    virtual void record(const Edit &applied) = 0;
};
