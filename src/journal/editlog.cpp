#include "journal/editlog.h"

#define XXH_INLINE_ALL
#include <xxhash.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>

namespace {

constexpr std::string_view magic = "zephalonte edit log 1\n";
// Far beyond any edit (an import of a century of days is under 10 MiB): a
// length past it is damage, not a record to allocate for.
constexpr std::uint32_t maxRecordBytes = 512u * 1024 * 1024;

class Writer {
  public:
    void u8(std::uint8_t v) { out.push_back(static_cast<char>(v)); }
    void u32(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            u8(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void u64(std::uint64_t v)
    {
        for (int i = 0; i < 8; ++i)
            u8(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void i16(std::int16_t v) { u32(static_cast<std::uint32_t>(static_cast<std::int32_t>(v))); }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void f64(double v) { u64(std::bit_cast<std::uint64_t>(v)); }
    void flag(bool v) { u8(v ? 1 : 0); }
    void str(std::string_view s)
    {
        u32(static_cast<std::uint32_t>(s.size()));
        out.append(s);
    }
    std::string out;
};

class Reader {
  public:
    explicit Reader(std::string_view in) : in_(in) {}
    bool ok() const { return ok_; }
    bool atEnd() const { return pos_ == in_.size(); }
    std::size_t position() const { return pos_; }

    std::uint8_t u8()
    {
        if (!need(1))
            return 0;
        return static_cast<std::uint8_t>(in_[pos_++]);
    }
    std::uint32_t u32()
    {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<std::uint32_t>(u8()) << (8 * i);
        return v;
    }
    std::uint64_t u64()
    {
        std::uint64_t v = 0;
        for (int i = 0; i < 8; ++i)
            v |= static_cast<std::uint64_t>(u8()) << (8 * i);
        return v;
    }
    std::int16_t i16() { return static_cast<std::int16_t>(static_cast<std::int32_t>(u32())); }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    double f64() { return std::bit_cast<double>(u64()); }
    bool flag() { return u8() != 0; }
    std::string_view bytes(std::size_t n)
    {
        if (!need(n))
            return {};
        std::string_view v = in_.substr(pos_, n);
        pos_ += n;
        return v;
    }
    std::string str() { return std::string(bytes(u32())); }

  private:
    bool need(std::size_t n)
    {
        if (!ok_ || in_.size() - pos_ < n)
            ok_ = false;
        return ok_;
    }
    std::string_view in_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

// Each section's fields in one list, read and written alike, so that a
// field added to a section is added to both directions at once.
template <typename Io, typename UI>
void fields(Io &io, UI &u) requires std::is_same_v<std::remove_const_t<UI>, UserInfo>
{
    io(u.name), io(u.birthYear), io(u.birthMonth), io(u.birthDay), io(u.sex), io(u.height),
        io(u.restBpm);
}
template <typename Io, typename O>
void fields(Io &io, O &o) requires std::is_same_v<std::remove_const_t<O>, Objective>
{
    io(o.intention), io(o.weight), io(o.fatPercent), io(o.jogDistanceMonth), io(o.eventName),
        io(o.eventDate);
}
template <typename Io, typename G>
void fields(Io &io, G &g) requires std::is_same_v<std::remove_const_t<G>, GraphSettings>
{
    io(g.graphNDays), io(g.graphWeight), io(g.graphFatPercent), io(g.graphFat), io(g.graphNotFat),
        io(g.graphJogDistance), io(g.graphJogDuration), io(g.graphWalkDistance),
        io(g.graphWalkDuration), io(g.paperOri), io(g.weightLineType), io(g.fatPcntLineType),
        io(g.fatLineType), io(g.notFatLineType), io(g.jogDistType), io(g.jogDurType),
        io(g.walkDistType), io(g.walkDurType), io(g.yAxisMain), io(g.colorWeight),
        io(g.colorFatPercent), io(g.colorFat), io(g.colorNotFat), io(g.colorJogDistance),
        io(g.colorJogDuration), io(g.colorWalkDistance), io(g.colorWalkDuration),
        io(g.colorCrntDate), io(g.colorDivision), io(g.colorBackGround);
}

std::int32_t dayNumber(Date date)
{
    return static_cast<std::int32_t>(date.time_since_epoch().count());
}

Date dateOfNumber(std::int32_t number)
{
    return Date(std::chrono::days(number));
}

struct Put {
    Writer &w;
    void operator()(const std::string &v) { w.str(v); }
    void operator()(std::int32_t v) { w.i32(v); }
    void operator()(std::uint32_t v) { w.u32(v); }
    void operator()(std::int16_t v) { w.i16(v); }
    void operator()(bool v) { w.flag(v); }
    void operator()(double v) { w.f64(v); }
    void operator()(Date v) { w.i32(dayNumber(v)); }
};

struct Get {
    Reader &r;
    void operator()(std::string &v) { v = r.str(); }
    void operator()(std::int32_t &v) { v = r.i32(); }
    void operator()(std::uint32_t &v) { v = r.u32(); }
    void operator()(std::int16_t &v) { v = r.i16(); }
    void operator()(bool &v) { v = r.flag(); }
    void operator()(double &v) { v = r.f64(); }
    void operator()(Date &v) { v = dateOfNumber(r.i32()); }
};

void putDay(Writer &w, const DayRecord &day)
{
    for (double v : {day.weight, day.fatPercent, day.jogDistance, day.jogDuration, day.walkDistance,
                     day.walkDuration})
        w.f64(v);
    w.str(day.memo);
}

DayRecord getDay(Reader &r, Date date)
{
    DayRecord day;
    day.date = date;
    for (double *v : {&day.weight, &day.fatPercent, &day.jogDistance, &day.jogDuration,
                      &day.walkDistance, &day.walkDuration})
        *v = r.f64();
    day.memo = r.str();
    return day;
}

template <typename Section>
void putSection(Writer &w, const std::optional<SectionChange<Section>> &change)
{
    if (!change)
        return;
    Put put{w};
    fields(put, change->before);
    fields(put, change->after);
}

template <typename Section>
void getSection(Reader &r, bool present, std::optional<SectionChange<Section>> &change)
{
    if (!present)
        return;
    change.emplace();
    Get get{r};
    fields(get, change->before);
    fields(get, change->after);
}

std::optional<Edit> decodeRecord(std::string_view payload)
{
    Reader r(payload);
    Edit edit;
    const std::uint32_t dayCount = r.u32();
    // Each day takes at least five bytes: a count past that is damage.
    if (dayCount > payload.size() / 5)
        return std::nullopt;
    edit.days.reserve(dayCount);
    for (std::uint32_t i = 0; i < dayCount && r.ok(); ++i) {
        DayChange change;
        change.date = dateOfNumber(r.i32());
        const std::uint8_t images = r.u8();
        if (images & 1)
            change.before = getDay(r, change.date);
        if (images & 2)
            change.after = getDay(r, change.date);
        edit.days.push_back(std::move(change));
    }
    const std::uint8_t sections = r.u8();
    getSection(r, sections & 1, edit.userInfo);
    getSection(r, sections & 2, edit.objective);
    getSection(r, sections & 4, edit.graphSettings);
    if (!r.ok() || !r.atEnd())
        return std::nullopt;
    return edit;
}

std::uint64_t checksum(std::string_view bytes)
{
    return XXH3_64bits(bytes.data(), bytes.size());
}

} // namespace

ContentHash hashContent(std::string_view bytes)
{
    const XXH128_hash_t hash = XXH3_128bits(bytes.data(), bytes.size());
    return {hash.high64, hash.low64};
}

std::string encodeLogHeader(const EditLogHeader &header)
{
    Writer w;
    w.str(header.journalName);
    w.u64(header.folderDevice);
    w.u64(header.folderInode);
    w.u64(header.base.high);
    w.u64(header.base.low);
    const std::uint64_t sum = checksum(w.out);
    w.u64(sum);
    return std::string(magic) + w.out;
}

std::string encodeLogRecord(const Edit &edit)
{
    Writer w;
    w.out.append(12, '\0'); // length and checksum, filled in below
    w.u32(static_cast<std::uint32_t>(edit.days.size()));
    for (const DayChange &change : edit.days) {
        w.i32(dayNumber(change.date));
        w.u8(static_cast<std::uint8_t>((change.before ? 1 : 0) | (change.after ? 2 : 0)));
        if (change.before)
            putDay(w, *change.before);
        if (change.after)
            putDay(w, *change.after);
    }
    w.u8(static_cast<std::uint8_t>((edit.userInfo ? 1 : 0) | (edit.objective ? 2 : 0) |
                                   (edit.graphSettings ? 4 : 0)));
    putSection(w, edit.userInfo);
    putSection(w, edit.objective);
    putSection(w, edit.graphSettings);

    const std::string_view payload = std::string_view(w.out).substr(12);
    Writer head;
    head.u32(static_cast<std::uint32_t>(payload.size()));
    head.u64(checksum(payload));
    std::memcpy(w.out.data(), head.out.data(), 12);
    return std::move(w.out);
}

bool looksLikeEditLog(std::string_view bytes)
{
    return bytes.substr(0, magic.size()) == magic.substr(0, std::min(bytes.size(), magic.size()));
}

EditLogContents readEditLog(std::string_view bytes)
{
    EditLogContents contents;
    if (!bytes.starts_with(magic))
        return contents;
    Reader r(bytes.substr(magic.size()));
    EditLogHeader header;
    header.journalName = r.str();
    header.folderDevice = r.u64();
    header.folderInode = r.u64();
    header.base.high = r.u64();
    header.base.low = r.u64();
    const std::size_t headerEnd = r.position();
    const std::uint64_t sum = r.u64();
    if (!r.ok() || sum != checksum(bytes.substr(magic.size(), headerEnd)))
        return contents;
    contents.headerRead = true;
    contents.header = std::move(header);

    std::size_t at = magic.size() + r.position();
    while (at < bytes.size()) {
        Reader head(bytes.substr(at));
        const std::uint32_t length = head.u32();
        const std::uint64_t recordSum = head.u64();
        if (!head.ok() || length > maxRecordBytes || bytes.size() - at - 12 < length)
            break;
        const std::string_view payload = bytes.substr(at + 12, length);
        if (checksum(payload) != recordSum)
            break;
        std::optional<Edit> edit = decodeRecord(payload);
        if (!edit)
            break;
        contents.records.push_back(std::move(*edit));
        at += 12 + length;
    }
    contents.ignoredBytes = bytes.size() - at;
    return contents;
}
