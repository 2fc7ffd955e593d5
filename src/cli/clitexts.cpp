#include "cli/clitexts.h"

namespace clitext {

std::string fillText(std::string_view text, std::initializer_list<std::string_view> arguments)
{
    std::string filled;
    filled.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '%' && pos + 1 < text.size() && text[pos + 1] >= '1' && text[pos + 1] <= '9') {
            const auto index = static_cast<std::size_t>(text[pos + 1] - '1');
            if (index < arguments.size()) {
                filled += *(arguments.begin() + index);
                ++pos;
                continue;
            }
        }
        filled += c;
    }
    return filled;
}

} // namespace clitext
