// The FIT decoder: only what a day needs (the session messages of a run, the
// weight_scale messages of a scale), but every record is walked and every
// length checked, since the bytes come from anywhere.

#include "activity/activity.h"
#include "activity/activitytexts.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

// FIT counts seconds from 1989-12-31 00:00:00 UTC.
constexpr double fitEpochUnixSeconds = 631065600.0;

constexpr std::size_t shortHeaderSize = 12;
constexpr std::size_t longHeaderSize = 14;
constexpr std::size_t crcSize = 2;
constexpr int localTypeCount = 16;

constexpr std::uint16_t sessionMessage = 18;
constexpr std::uint8_t timestampField = 253;
constexpr std::uint8_t sessionStartTime = 2;
constexpr std::uint8_t sessionSport = 5;
constexpr std::uint8_t sessionElapsedTime = 7; // ms
constexpr std::uint8_t sessionTimerTime = 8;   // ms
constexpr std::uint8_t sessionDistance = 9;    // cm
constexpr double millisecondsPerSecond = 1000.0;

constexpr std::uint16_t weightScaleMessage = 30;
constexpr std::uint8_t weightField = 0;     // kg × 100
constexpr std::uint8_t percentFatField = 1; // % × 100
constexpr double weightScale = 100.0;
// A scale writes this weight while it is still settling: no measurement yet.
constexpr std::uint32_t weightCalculating = 0xfffe;
constexpr double centimetresPerMetre = 100.0;
constexpr unsigned noSport = 0xff;

// A record header with bit 7 set carries a 5-bit time offset instead of a
// full timestamp.
constexpr std::uint8_t compressedHeaderBit = 0x80;
constexpr std::uint8_t definitionBit = 0x40;
constexpr std::uint8_t developerDataBit = 0x20;
constexpr std::uint32_t compressedOffsetMask = 0x1f;

// CRC-16 as FIT computes it (reflected polynomial 0xA001, starting at 0).
constexpr std::array<std::uint16_t, 256> crcTable = [] {
    std::array<std::uint16_t, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        std::uint16_t crc = static_cast<std::uint16_t>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>((crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1);
        table[byte] = crc;
    }
    return table;
}();

std::uint16_t fitCrc(std::string_view bytes)
{
    std::uint16_t crc = 0;
    for (const char c : bytes)
        crc = static_cast<std::uint16_t>((crc >> 8) ^
                                         crcTable[(crc ^ static_cast<std::uint8_t>(c)) & 0xff]);
    return crc;
}

std::uint8_t byteAt(std::string_view bytes, std::size_t pos)
{
    return static_cast<std::uint8_t>(bytes[pos]);
}

std::uint32_t littleEndian(std::string_view bytes, std::size_t pos, std::size_t size)
{
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;)
        value = (value << 8) | byteAt(bytes, pos + i);
    return value;
}

struct FieldDefinition {
    std::uint8_t number = 0;
    std::uint8_t size = 0;
};

struct MessageDefinition {
    bool bigEndian = false;
    std::uint16_t globalNumber = 0;
    std::vector<FieldDefinition> fields;
    std::size_t size = 0; // every field, developer fields included
};

// An unsigned field of 1, 2 or 4 bytes; nullopt for another size and for the
// value FIT writes when a field has none (all bits set).
std::optional<std::uint32_t> unsignedField(std::string_view bytes, std::size_t pos,
                                           std::size_t size, bool bigEndian)
{
    if (size != 1 && size != 2 && size != 4)
        return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const std::size_t at = bigEndian ? pos + i : pos + size - 1 - i;
        value = (value << 8) | byteAt(bytes, at);
    }
    const std::uint32_t invalid = size == 4 ? 0xffffffffu : (1u << (8 * size)) - 1;
    if (value == invalid)
        return std::nullopt;
    return value;
}

struct WeightFields {
    std::optional<std::uint32_t> weight;
    std::optional<std::uint32_t> percentFat;
    bool calculating = false;
};

struct SessionFields {
    std::optional<std::uint32_t> timestamp;
    std::optional<std::uint32_t> startTime;
    std::optional<std::uint32_t> sport;
    std::optional<std::uint32_t> elapsedTime;
    std::optional<std::uint32_t> timerTime;
    std::optional<std::uint32_t> distance;
};

std::string withNumber(const char *text, std::size_t number)
{
    std::string out = text;
    const std::size_t at = out.find("%1");
    if (at != std::string::npos)
        out.replace(at, 2, std::to_string(number));
    return out;
}

class FitReader {
  public:
    explicit FitReader(std::string_view bytes) : bytes_(bytes) {}

    ActivityFile read()
    {
        ActivityFile file;
        file.format = ActivityFormat::fit;
        // Several FIT files may follow each other in one.
        std::size_t pos = 0;
        do {
            if (!readOneFile(pos, file.error))
                return ActivityFile{ActivityFormat::fit, {}, file.error};
        } while (pos < bytes_.size());
        file.activities = std::move(activities_);
        file.weighings = std::move(weighings_);
        file.refusals = std::move(refusals_);
        if (file.empty())
            file.error = activitytext::noActivity;
        return file;
    }

  private:
    bool readOneFile(std::size_t &pos, std::string &error)
    {
        const std::string_view rest = bytes_.substr(pos);
        if (rest.size() < shortHeaderSize) {
            error = activitytext::fitTruncated;
            return false;
        }
        const std::size_t headerSize = byteAt(rest, 0);
        if (headerSize < shortHeaderSize || rest.substr(8, 4) != ".FIT") {
            error = activitytext::fitBadHeader;
            return false;
        }
        if (headerSize > rest.size()) {
            error = activitytext::fitTruncated;
            return false;
        }
        if (headerSize >= longHeaderSize) {
            const std::uint16_t headerCrc = static_cast<std::uint16_t>(littleEndian(rest, 12, 2));
            if (headerCrc != 0 && headerCrc != fitCrc(rest.substr(0, shortHeaderSize))) {
                error = activitytext::fitHeaderCrc;
                return false;
            }
        }
        const std::size_t dataSize = littleEndian(rest, 4, 4);
        if (dataSize > rest.size() - headerSize || rest.size() - headerSize - dataSize < crcSize) {
            error = activitytext::fitTruncated;
            return false;
        }
        const std::size_t crcAt = headerSize + dataSize;
        if (littleEndian(rest, crcAt, crcSize) != fitCrc(rest.substr(0, crcAt))) {
            error = activitytext::fitFileCrc;
            return false;
        }
        if (!readRecords(pos + headerSize, pos + crcAt, error))
            return false;
        pos += crcAt + crcSize;
        return true;
    }

    bool readRecords(std::size_t pos, std::size_t end, std::string &error)
    {
        std::array<std::optional<MessageDefinition>, localTypeCount> definitions;
        std::optional<std::uint32_t> lastTimestamp;
        while (pos < end) {
            const std::size_t recordAt = pos;
            const std::uint8_t header = byteAt(bytes_, pos++);
            std::optional<std::uint32_t> impliedTimestamp;
            int localType = 0;
            if (header & compressedHeaderBit) {
                localType = (header >> 5) & 0x3;
                const std::uint32_t offset = header & compressedOffsetMask;
                if (lastTimestamp) {
                    // The offset counts on from the last full timestamp's low
                    // five bits, rolling over every 32 seconds.
                    std::uint32_t timestamp = (*lastTimestamp & ~compressedOffsetMask) + offset;
                    if (offset < (*lastTimestamp & compressedOffsetMask))
                        timestamp += compressedOffsetMask + 1;
                    lastTimestamp = timestamp;
                    impliedTimestamp = timestamp;
                }
            } else {
                localType = header & 0x0f;
                if (header & definitionBit) {
                    if (!readDefinition(pos, end, (header & developerDataBit) != 0,
                                        definitions[static_cast<std::size_t>(localType)])) {
                        error = pos > end ? activitytext::fitTruncated
                                          : withNumber(activitytext::fitBadDefinition, recordAt);
                        return false;
                    }
                    continue;
                }
            }
            const auto &definition = definitions[static_cast<std::size_t>(localType)];
            if (!definition) {
                error = withNumber(activitytext::fitUndefinedMessage, recordAt);
                return false;
            }
            if (definition->size > end - pos) {
                error = activitytext::fitTruncated;
                return false;
            }
            SessionFields session;
            session.timestamp = impliedTimestamp;
            WeightFields weight;
            std::size_t fieldAt = pos;
            for (const FieldDefinition &field : definition->fields) {
                const auto value =
                    unsignedField(bytes_, fieldAt, field.size, definition->bigEndian);
                if (field.number == timestampField && field.size == 4 && value) {
                    lastTimestamp = value;
                    session.timestamp = value;
                }
                if (definition->globalNumber == weightScaleMessage && field.size == 2) {
                    if (field.number == weightField) {
                        weight.weight = value;
                        weight.calculating = value == weightCalculating;
                    } else if (field.number == percentFatField) {
                        weight.percentFat = value;
                    }
                }
                if (definition->globalNumber == sessionMessage) {
                    switch (field.number) {
                    case sessionStartTime:
                        session.startTime = value;
                        break;
                    case sessionSport:
                        session.sport = value;
                        break;
                    case sessionElapsedTime:
                        session.elapsedTime = value;
                        break;
                    case sessionTimerTime:
                        session.timerTime = value;
                        break;
                    case sessionDistance:
                        session.distance = value;
                        break;
                    default:
                        break;
                    }
                }
                fieldAt += field.size;
            }
            pos += definition->size;
            if (definition->globalNumber == sessionMessage && !addSession(session, error))
                return false;
            if (definition->globalNumber == weightScaleMessage)
                addWeighing(session.timestamp, weight);
        }
        return true;
    }

    // Reads a definition at pos (after its header); false when it is damaged
    // or runs past end (then pos is past end).
    bool readDefinition(std::size_t &pos, std::size_t end, bool developerFields,
                        std::optional<MessageDefinition> &slot)
    {
        constexpr std::size_t fixedPart = 5; // reserved, architecture, global number, count
        constexpr std::size_t fieldSize = 3;
        if (end - pos < fixedPart) {
            pos = end + 1;
            return false;
        }
        const std::uint8_t architecture = byteAt(bytes_, pos + 1);
        if (architecture > 1)
            return false;
        MessageDefinition definition;
        definition.bigEndian = architecture == 1;
        definition.globalNumber = static_cast<std::uint16_t>(
            definition.bigEndian ? (byteAt(bytes_, pos + 2) << 8) | byteAt(bytes_, pos + 3)
                                 : littleEndian(bytes_, pos + 2, 2));
        const std::size_t fieldCount = byteAt(bytes_, pos + 4);
        pos += fixedPart;
        if (end - pos < fieldCount * fieldSize) {
            pos = end + 1;
            return false;
        }
        for (std::size_t i = 0; i < fieldCount; ++i, pos += fieldSize) {
            const FieldDefinition field{byteAt(bytes_, pos), byteAt(bytes_, pos + 1)};
            definition.fields.push_back(field);
            definition.size += field.size;
        }
        if (developerFields) {
            // Fields an app added: their bytes are skipped, their meaning unknown.
            if (pos >= end) {
                pos = end + 1;
                return false;
            }
            const std::size_t developerCount = byteAt(bytes_, pos++);
            if (end - pos < developerCount * fieldSize) {
                pos = end + 1;
                return false;
            }
            for (std::size_t i = 0; i < developerCount; ++i, pos += fieldSize)
                definition.size += byteAt(bytes_, pos + 1);
        }
        slot = std::move(definition);
        return true;
    }

    bool addSession(const SessionFields &session, std::string &error)
    {
        const std::optional<std::uint32_t> duration =
            session.timerTime ? session.timerTime : session.elapsedTime;
        // A session without its start time began its elapsed time before its
        // own timestamp (the moment it was written).
        std::optional<double> start;
        if (session.startTime)
            start = *session.startTime;
        else if (session.timestamp && session.elapsedTime)
            start = *session.timestamp - *session.elapsedTime / millisecondsPerSecond;
        if (!start || !duration || !session.distance) {
            error = activitytext::fitBadSession;
            return false;
        }
        Activity activity;
        activity.startSeconds = *start + fitEpochUnixSeconds;
        activity.distanceMetres = *session.distance / centimetresPerMetre;
        activity.durationSeconds = *duration / millisecondsPerSecond;
        const unsigned sport = session.sport.value_or(noSport);
        if (sport != noSport)
            activity.sport = fitSportName(static_cast<int>(sport));
        activity.field = fieldForFitSport(static_cast<int>(sport));
        activities_.push_back(std::move(activity));
        return true;
    }

    void addWeighing(std::optional<std::uint32_t> timestamp, const WeightFields &fields)
    {
        // 0, like an invalid value, is "not measured".
        if (fields.calculating ||
            (fields.weight.value_or(0) == 0 && fields.percentFat.value_or(0) == 0))
            return;
        if (!timestamp) {
            refusals_.push_back(activitytext::fitWeightWithoutTime);
            return;
        }
        Weighing weighing;
        weighing.seconds = *timestamp + fitEpochUnixSeconds;
        weighing.weightKg = fields.weight.value_or(0) / weightScale;
        weighing.fatPercent = fields.percentFat.value_or(0) / weightScale;
        weighings_.push_back(weighing);
    }

    std::string_view bytes_;
    std::vector<Activity> activities_;
    std::vector<Weighing> weighings_;
    std::vector<std::string> refusals_;
};

} // namespace

ActivityFile decodeFit(std::string_view bytes)
{
    return FitReader(bytes).read();
}
