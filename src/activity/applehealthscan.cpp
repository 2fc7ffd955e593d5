// The scanner of Apple Health's export in the plain shape the app writes.
// Qt's reader tokenises some 50 MB a second, and exports run to gigabytes;
// this one checks the same well-formedness rules in one pass over the
// bytes and gives up, rather than guess, on anything past that shape: a
// declaration other than version 1.0 in UTF-8, processing instructions,
// CDATA, text between elements, names with a prefix or beyond ASCII, an
// internal DTD with anything but element declarations, attribute lists of
// CDATA #REQUIRED or #IMPLIED and comments, entities other than XML's own,
// or a wanted attribute whose text the XML reader would change (an entity,
// a line break). The full reader then reads the document from its start.

#include "activity/applehealth.h"

#include <array>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Past this a single token is no export's (the DTD is some 10 kB, a record
// under 1 kB): holding more would defeat reading the file as a stream.
constexpr std::size_t maxTokenBytes = 1 << 20;

enum class Step { done, needMore, giveUp };

enum ByteClass : unsigned char {
    plain,
    lessThan,  // never in an attribute value
    ampersand, // a reference
    lineBreak, // tab, CR, LF: allowed, but the XML reader turns them into spaces
    forbidden, // other control characters
    multiByte, // a UTF-8 sequence to check
};

constexpr std::array<ByteClass, 256> byteClasses = [] {
    std::array<ByteClass, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        if (c >= 0x80)
            classes[c] = multiByte;
        else if (c == '\t' || c == '\n' || c == '\r')
            classes[c] = lineBreak;
        else if (c < 0x20)
            classes[c] = forbidden;
        else if (c == '<')
            classes[c] = lessThan;
        else if (c == '&')
            classes[c] = ampersand;
        else
            classes[c] = plain;
    }
    return classes;
}();

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isNameStart(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool isNameChar(char c)
{
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// The length of the UTF-8 sequence at p (before end) of a character XML
// allows, or 0.
std::size_t utf8Length(const unsigned char *p, const unsigned char *end)
{
    const unsigned char lead = p[0];
    std::size_t length = 0;
    char32_t code = 0;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
        code = lead & 0x1f;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        code = lead & 0x0f;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (static_cast<std::size_t>(end - p) < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((p[i] & 0xc0) != 0x80)
            return 0;
        code = (code << 6) | (p[i] & 0x3f);
    }
    const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (code < least || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff) || code == 0xfffe ||
        code == 0xffff)
        return 0;
    return length;
}

bool isXmlChar(unsigned long code)
{
    return code == 0x9 || code == 0xa || code == 0xd || (code >= 0x20 && code <= 0xd7ff) ||
           (code >= 0xe000 && code <= 0xfffd) || (code >= 0x10000 && code <= 0x10ffff);
}

// A reference at text[at] ('&') to one of XML's own entities or a character.
// Its end past the ';', or 0.
std::size_t referenceEnd(std::string_view text, std::size_t at)
{
    const std::size_t semicolon = text.find(';', at);
    if (semicolon == std::string_view::npos || semicolon - at > 12)
        return 0;
    const std::string_view name = text.substr(at + 1, semicolon - at - 1);
    if (name == "lt" || name == "gt" || name == "amp" || name == "quot" || name == "apos")
        return semicolon + 1;
    if (name.size() < 2 || name[0] != '#')
        return 0;
    const bool hex = name[1] == 'x';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty())
        return 0;
    unsigned long code = 0;
    for (const char c : digits) {
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return 0;
        code = code * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
        if (code > 0x10ffff)
            return 0;
    }
    return isXmlChar(code) ? semicolon + 1 : 0;
}

// Characters of a comment: any XML character, checked as UTF-8.
bool commentTextValid(std::string_view text)
{
    const auto *p = reinterpret_cast<const unsigned char *>(text.data());
    const auto *end = p + text.size();
    while (p < end) {
        const ByteClass type = byteClasses[*p];
        if (type == multiByte) {
            const std::size_t length = utf8Length(p, end);
            if (length == 0)
                return false;
            p += length;
        } else if (type == forbidden) {
            return false;
        } else {
            ++p;
        }
    }
    return true;
}

// What an attribute value holds beyond plain characters.
enum class ValueCheck { plain, changedByReader, invalid };

ValueCheck checkValue(std::string_view value)
{
    const auto *begin = reinterpret_cast<const unsigned char *>(value.data());
    const auto *p = begin;
    const auto *end = p + value.size();
    ValueCheck result = ValueCheck::plain;
    while (p < end) {
        switch (byteClasses[*p]) {
        case plain:
            ++p;
            break;
        case lineBreak:
            result = ValueCheck::changedByReader;
            ++p;
            break;
        case ampersand: {
            const std::size_t next = referenceEnd(value, static_cast<std::size_t>(p - begin));
            if (next == 0)
                return ValueCheck::invalid;
            result = ValueCheck::changedByReader;
            p = begin + next;
            break;
        }
        case multiByte: {
            const std::size_t length = utf8Length(p, end);
            if (length == 0)
                return ValueCheck::invalid;
            p += length;
            break;
        }
        case lessThan:
        case forbidden:
            return ValueCheck::invalid;
        }
    }
    return result;
}

// Reading of a token that may stop short of the buffer's end.
class Cursor {
  public:
    Cursor(std::string_view bytes, std::size_t pos) : bytes_(bytes), pos_(pos) {}

    std::size_t pos() const { return pos_; }
    bool ranOut() const { return ranOut_; }
    bool more()
    {
        if (pos_ < bytes_.size())
            return true;
        ranOut_ = true;
        return false;
    }
    char peek() { return more() ? bytes_[pos_] : '\0'; }
    bool take(char c)
    {
        if (peek() != c)
            return false;
        ++pos_;
        return true;
    }
    bool take(std::string_view word)
    {
        for (std::size_t i = 0; i < word.size(); ++i) {
            if (pos_ + i >= bytes_.size()) {
                ranOut_ = true;
                return false;
            }
            if (bytes_[pos_ + i] != word[i])
                return false;
        }
        pos_ += word.size();
        return true;
    }
    // Whitespace; true when there was some.
    bool space()
    {
        const std::size_t start = pos_;
        while (more() && isSpace(bytes_[pos_]))
            ++pos_;
        return pos_ > start;
    }
    std::string_view name()
    {
        const std::size_t start = pos_;
        if (!more() || !isNameStart(bytes_[pos_]))
            return {};
        while (more() && isNameChar(bytes_[pos_]))
            ++pos_;
        return bytes_.substr(start, pos_ - start);
    }
    // A comment from "<!--": its characters checked, "--" only before '>'.
    bool comment()
    {
        if (!take("<!--"))
            return false;
        const std::size_t dashes = bytes_.find("--", pos_);
        if (dashes == std::string_view::npos || dashes + 2 >= bytes_.size()) {
            ranOut_ = true;
            return false;
        }
        if (bytes_[dashes + 2] != '>' || !commentTextValid(bytes_.substr(pos_, dashes - pos_)))
            return false;
        pos_ = dashes + 3;
        return true;
    }
    // A quoted literal (the declaration's version and encoding).
    std::string_view quoted()
    {
        const char quote = peek();
        if (quote != '"' && quote != '\'')
            return {};
        const std::size_t close = bytes_.find(quote, pos_ + 1);
        if (close == std::string_view::npos) {
            ranOut_ = true;
            return {};
        }
        const std::string_view text = bytes_.substr(pos_ + 1, close - pos_ - 1);
        pos_ = close + 1;
        return text;
    }

  private:
    std::string_view bytes_;
    std::size_t pos_;
    bool ranOut_ = false;
};

Step stepOf(bool ok, const Cursor &cursor)
{
    if (ok)
        return Step::done;
    return cursor.ranOut() ? Step::needMore : Step::giveUp;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// <?xml version="1.0" [encoding="UTF-8"] [standalone="yes|no"] ?>
bool declaration(Cursor &c)
{
    const auto equals = [&c] {
        c.space();
        if (!c.take('='))
            return false;
        c.space();
        return true;
    };
    if (!c.take("<?xml") || !c.space() || !c.take("version") || !equals() || c.quoted() != "1.0")
        return false;
    bool spaced = c.space();
    if (spaced && c.take("encoding")) {
        if (!equals() || !equalsIgnoringAsciiCase(c.quoted(), "utf-8"))
            return false;
        spaced = c.space();
    }
    if (spaced && c.take("standalone")) {
        if (!equals())
            return false;
        const std::string_view value = c.quoted();
        if (value != "yes" && value != "no")
            return false;
        c.space();
    }
    return c.take("?>");
}

// Element content as a DTD declares it: a choice or sequence of names and
// groups, each with its ?, * or +. The depth is bounded: no export nests.
bool contentParticles(Cursor &c, int depth)
{
    constexpr int maxDepth = 16;
    if (depth > maxDepth || !c.take('('))
        return false;
    char separator = 0;
    for (;;) {
        c.space();
        if (c.peek() == '(') {
            if (!contentParticles(c, depth + 1))
                return false;
        } else if (c.name().empty()) {
            return false;
        } else if (c.peek() == '?' || c.peek() == '*' || c.peek() == '+') {
            c.take(c.peek());
        }
        c.space();
        const char next = c.peek();
        if (next == ')') {
            c.take(')');
            break;
        }
        if ((next != '|' && next != ',') || (separator != 0 && next != separator))
            return false;
        separator = next;
        c.take(next);
    }
    if (c.peek() == '?' || c.peek() == '*' || c.peek() == '+')
        c.take(c.peek());
    return true;
}

bool contentSpec(Cursor &c)
{
    if (c.take("EMPTY") || c.take("ANY"))
        return !c.ranOut();
    if (c.ranOut())
        return false;
    // (#PCDATA) or (#PCDATA|a|b)*
    Cursor probe = c;
    if (probe.take('(')) {
        probe.space();
        if (probe.take("#PCDATA")) {
            c = probe;
            c.space();
            if (c.take(')')) {
                c.take('*');
                return !c.ranOut();
            }
            while (c.take('|')) {
                c.space();
                if (c.name().empty())
                    return false;
                c.space();
            }
            return c.take(")*");
        }
        if (probe.ranOut()) {
            c = probe;
            return false;
        }
    }
    return contentParticles(c, 0);
}

// <!DOCTYPE Name [ ... ]> with element declarations, attribute lists of
// CDATA #REQUIRED or #IMPLIED, comments and whitespace inside.
bool doctype(Cursor &c)
{
    if (!c.take("<!DOCTYPE") || !c.space() || c.name().empty())
        return false;
    c.space();
    if (c.take('>'))
        return true;
    if (!c.take('['))
        return false;
    for (;;) {
        c.space();
        if (c.take(']')) {
            c.space();
            return c.take('>');
        }
        if (c.peek() != '<')
            return false;
        Cursor probe = c;
        if (probe.take("<!--")) {
            if (!c.comment())
                return false;
        } else if (probe.ranOut()) {
            c = probe;
            return false;
        } else if (c.take("<!ELEMENT")) {
            if (!c.space() || c.name().empty() || !c.space() || !contentSpec(c))
                return false;
            c.space();
            if (!c.take('>'))
                return false;
        } else if (c.take("<!ATTLIST")) {
            if (!c.space() || c.name().empty())
                return false;
            for (;;) {
                const bool spaced = c.space();
                if (c.take('>'))
                    break;
                if (!spaced || c.name().empty() || !c.space() || !c.take("CDATA") || !c.space() ||
                    !(c.take("#REQUIRED") || c.take("#IMPLIED")))
                    return false;
            }
        } else {
            return false;
        }
        if (c.ranOut())
            return false;
    }
}

} // namespace

class AppleHealthScanner::Impl {
  public:
    bool feed(std::string_view piece)
    {
        if (gaveUp_)
            return false;
        buffer_.append(piece);
        parse();
        if (!gaveUp_) {
            buffer_.erase(0, pos_);
            pos_ = 0;
            if (buffer_.size() > maxTokenBytes)
                gaveUp_ = true;
        }
        if (gaveUp_) {
            buffer_.clear();
            buffer_.shrink_to_fit();
        }
        return !gaveUp_;
    }

    std::optional<ActivityFile> finish()
    {
        if (gaveUp_ || phase_ != Phase::after || !buffer_.empty())
            return std::nullopt;
        return collector_.finish();
    }

  private:
    enum class Phase { start, prolog, body, after };

    void parse()
    {
        const std::string_view bytes = buffer_;
        if (phase_ == Phase::start) {
            if (bytes.size() < 3 && std::string_view("\xEF\xBB\xBF").starts_with(bytes))
                return;
            if (bytes.starts_with("\xEF\xBB\xBF"))
                pos_ = 3;
            Cursor c(bytes, pos_);
            if (bytes.substr(pos_).starts_with("<?") ||
                std::string_view("<?").starts_with(bytes.substr(pos_))) {
                const Step step = stepOf(declaration(c), c);
                if (step == Step::needMore)
                    return;
                if (step == Step::giveUp) {
                    gaveUp_ = true;
                    return;
                }
                pos_ = c.pos();
            }
            phase_ = Phase::prolog;
        }
        const char *const data = bytes.data();
        const std::size_t size = bytes.size();
        while (pos_ < size) {
            const void *found = std::memchr(data + pos_, '<', size - pos_);
            const std::size_t lt =
                found ? static_cast<std::size_t>(static_cast<const char *>(found) - data) : size;
            for (std::size_t i = pos_; i < lt; ++i) {
                if (!isSpace(data[i])) {
                    gaveUp_ = true; // text, or a stray character
                    return;
                }
            }
            pos_ = lt;
            if (lt == size)
                return;
            const Step step = token();
            if (step == Step::needMore)
                return;
            if (step == Step::giveUp) {
                gaveUp_ = true;
                return;
            }
        }
    }

    // The token at pos_ ('<').
    Step token()
    {
        const std::string_view bytes = buffer_;
        if (pos_ + 1 >= bytes.size())
            return Step::needMore;
        Cursor c(bytes, pos_);
        const char next = bytes[pos_ + 1];
        Step step = Step::giveUp;
        if (next == '!') {
            Cursor probe = c;
            if (probe.take("<!--")) {
                step = stepOf(c.comment(), c);
            } else if (probe.ranOut()) {
                return Step::needMore;
            } else if (phase_ == Phase::prolog && !doctypeSeen_) {
                probe = c;
                if (probe.take("<!DOCTYPE")) {
                    step = stepOf(doctype(c), c);
                    doctypeSeen_ = step == Step::done;
                } else if (probe.ranOut()) {
                    return Step::needMore;
                }
            }
        } else if (next == '/') {
            step = endTag(c);
        } else if (next != '?' && phase_ != Phase::after) {
            step = startTag(c);
        }
        if (step == Step::done)
            pos_ = c.pos();
        return step;
    }

    Step endTag(Cursor &c)
    {
        c.take("</");
        const std::string_view name = c.name();
        c.space();
        if (!c.take('>'))
            return c.ranOut() ? Step::needMore : Step::giveUp;
        if (depth_ == 0 || name.empty() || name != open_[depth_ - 1])
            return Step::giveUp;
        --depth_;
        if (depth_ == 1 && inWorkout_) {
            inWorkout_ = false;
            collector_.workoutEnd();
        }
        if (depth_ == 0)
            phase_ = Phase::after;
        return Step::done;
    }

    enum class Wanted { none, record, workout, statistics };

    Step startTag(Cursor &c)
    {
        c.take('<');
        const std::string_view name = c.name();
        if (name.empty())
            return c.ranOut() ? Step::needMore : Step::giveUp;
        Wanted wanted = Wanted::none;
        if (depth_ == 1 && name == "Record")
            wanted = Wanted::record;
        else if (depth_ == 1 && name == "Workout")
            wanted = Wanted::workout;
        else if (depth_ == 2 && inWorkout_ && name == "WorkoutStatistics")
            wanted = Wanted::statistics;

        HealthAttributes attributes;
        // Whether the reader would change the text of the attribute that
        // decides if the element is read (type, workoutActivityType), or of
        // another one it reads.
        bool kindChanged = false;
        bool valueChanged = false;
        names_.clear();
        bool selfClosing = false;
        for (;;) {
            const bool spaced = c.space();
            if (c.take('>'))
                break;
            if (c.take("/>")) {
                selfClosing = true;
                break;
            }
            if (c.ranOut())
                return Step::needMore;
            const std::string_view attribute = c.name();
            if (!spaced || attribute.empty())
                return c.ranOut() ? Step::needMore : Step::giveUp;
            c.space();
            if (!c.take('='))
                return c.ranOut() ? Step::needMore : Step::giveUp;
            c.space();
            const char quote = c.peek();
            if (quote != '"' && quote != '\'')
                return c.ranOut() ? Step::needMore : Step::giveUp;
            const std::size_t start = c.pos() + 1;
            const std::size_t close = buffer_.find(quote, start);
            if (close == std::string::npos)
                return Step::needMore;
            const std::string_view value(buffer_.data() + start, close - start);
            const ValueCheck check = checkValue(value);
            if (check == ValueCheck::invalid)
                return Step::giveUp;
            for (const std::string_view earlier : names_) {
                if (earlier == attribute)
                    return Step::giveUp; // the XML reader refuses the document
            }
            names_.push_back(attribute);
            if (attribute == "xmlns")
                return Step::giveUp; // namespaces are the full reader's
            if (wanted != Wanted::none) {
                if (std::string_view *slot = slotOf(attributes, attribute)) {
                    *slot = value;
                    if (check == ValueCheck::changedByReader) {
                        const bool decides = wanted == Wanted::workout
                                                 ? slot == &attributes.workoutActivityType
                                                 : slot == &attributes.type;
                        (decides ? kindChanged : valueChanged) = true;
                    }
                }
            }
            c = Cursor(buffer_, close + 1);
        }

        if (kindChanged)
            return Step::giveUp;
        if (valueChanged) {
            const bool read =
                (wanted == Wanted::record && isWantedRecordType(attributes.type)) ||
                (wanted == Wanted::workout &&
                 isWantedWorkoutType(attributes.workoutActivityType)) ||
                (wanted == Wanted::statistics && isWantedWorkoutStatistics(attributes.type));
            if (read)
                return Step::giveUp;
        }
        switch (wanted) {
        case Wanted::record:
            collector_.record(attributes);
            break;
        case Wanted::workout:
            if (isWantedWorkoutType(attributes.workoutActivityType)) {
                inWorkout_ = true;
                collector_.workoutStart(attributes);
            }
            break;
        case Wanted::statistics:
            collector_.workoutStatistics(attributes);
            break;
        case Wanted::none:
            break;
        }
        if (phase_ == Phase::prolog)
            phase_ = Phase::body;
        if (selfClosing) {
            if (depth_ == 1 && inWorkout_ && wanted == Wanted::workout) {
                inWorkout_ = false;
                collector_.workoutEnd();
            }
            if (depth_ == 0)
                phase_ = Phase::after;
            return Step::done;
        }
        if (open_.size() <= depth_)
            open_.resize(depth_ + 1);
        open_[depth_].assign(name);
        ++depth_;
        return Step::done;
    }

    static std::string_view *slotOf(HealthAttributes &attributes, std::string_view name)
    {
        struct Slot {
            std::string_view name;
            std::string_view HealthAttributes::*member;
        };
        static constexpr Slot slots[] = {
            {"type", &HealthAttributes::type},
            {"unit", &HealthAttributes::unit},
            {"value", &HealthAttributes::value},
            {"startDate", &HealthAttributes::startDate},
            {"endDate", &HealthAttributes::endDate},
            {"workoutActivityType", &HealthAttributes::workoutActivityType},
            {"duration", &HealthAttributes::duration},
            {"durationUnit", &HealthAttributes::durationUnit},
            {"totalDistance", &HealthAttributes::totalDistance},
            {"totalDistanceUnit", &HealthAttributes::totalDistanceUnit},
            {"sum", &HealthAttributes::sum},
        };
        for (const Slot &slot : slots) {
            if (slot.name == name)
                return &(attributes.*slot.member);
        }
        return nullptr;
    }

    std::string buffer_;
    std::size_t pos_ = 0;
    Phase phase_ = Phase::start;
    bool doctypeSeen_ = false;
    bool gaveUp_ = false;
    std::vector<std::string> open_; // names of the open elements, by depth
    std::size_t depth_ = 0;
    bool inWorkout_ = false;
    std::vector<std::string_view> names_; // of the current tag's attributes
    AppleHealthCollector collector_;
};

AppleHealthScanner::AppleHealthScanner() : impl_(std::make_unique<Impl>())
{
}
AppleHealthScanner::~AppleHealthScanner() = default;

bool AppleHealthScanner::feed(std::string_view piece)
{
    return impl_->feed(piece);
}

std::optional<ActivityFile> AppleHealthScanner::finish()
{
    return impl_->finish();
}
