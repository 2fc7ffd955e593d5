#include "cli/cliarguments.h"

#include "cli/clitexts.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace {

// A synopsis line breaks before a word that would pass this column, as the
// usage's own lines stay within it.
constexpr std::size_t usageColumns = 90;
// The names in the lists of zeph --help start in this column.
constexpr std::size_t listColumn = 14;

// Terminal columns of UTF-8 text: the synopsis holds ASCII and, in its head,
// Japanese characters, which take two.
std::size_t columns(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) {
            count += byte < 0x80 ? 1 : 2;
        }
    }
    return count;
}

// The head ("使い方: zeph add") and its words, on as many lines as it takes;
// a later line starts under the first word.
std::string synopsis(const std::string &head, const std::vector<std::string> &words)
{
    const std::size_t indent = columns(head) + 1;
    std::string text = head;
    std::size_t width = indent - 1;
    bool lineStart = false;
    for (const std::string &word : words) {
        if (!lineStart && width + 1 + columns(word) > usageColumns) {
            text += '\n';
            text.append(indent, ' ');
            width = indent;
            lineStart = true;
        }
        if (!lineStart) {
            text += ' ';
            ++width;
        }
        text += word;
        width += columns(word);
        lineStart = false;
    }
    return text + '\n';
}

std::string optionWord(const CliOption &option)
{
    std::string word = "[" + std::string(option.name);
    if (!option.value.empty()) {
        word += ' ';
        word += option.value;
    }
    return word + "]";
}

std::string listLine(std::string_view name, std::string_view summary)
{
    std::string line = "  " + std::string(name);
    line.resize(std::max(listColumn, line.size() + 1), ' ');
    return line + std::string(summary) + "\n";
}

bool takenBy(const CliOption &option, CliCommand command)
{
    return std::find(option.commands.begin(), option.commands.end(), command) !=
           option.commands.end();
}

// Whether zeph takes the option without a command.
bool takenAlone(const CliOption &option)
{
    return option.commands.empty() || takenBy(option, CliCommand::none);
}

// zeph's own usage: the options it takes without a command, those with a
// purpose listed under the commands, the others in the synopsis.
std::string generalUsage()
{
    std::vector<std::string> words;
    for (const CliOption &option : cliOptions()) {
        if (takenAlone(option) && option.purpose.empty()) {
            words.push_back(optionWord(option));
        }
    }
    words.emplace_back(clitext::generalOperands);
    std::string text = synopsis(clitext::usageHead, words);
    text += clitext::generalIntro;
    text += "\n";
    text += clitext::commandsHeading;
    text += "\n";
    for (const CliCommandInfo &info : cliCommands()) {
        text += listLine(info.name, info.purpose);
    }
    text += "\n";
    for (const CliOption &option : cliOptions()) {
        if (takenAlone(option) && !option.purpose.empty()) {
            text += listLine(option.name, option.purpose);
        }
    }
    text += "\n";
    return text + clitext::generalNotes;
}

} // namespace

std::string usageText(CliCommand command)
{
    const auto &commands = cliCommands();
    const auto info =
        std::find_if(commands.begin(), commands.end(),
                     [command](const CliCommandInfo &each) { return each.command == command; });
    if (info == commands.end()) {
        return generalUsage();
    }
    // Options every command takes (--file, --help) are zeph's own usage's.
    std::vector<std::string> words;
    if (!info->operandsBefore.empty()) {
        words.emplace_back(info->operandsBefore);
    }
    for (const CliOption &option : cliOptions()) {
        if (takenBy(option, command)) {
            words.push_back(optionWord(option));
        }
    }
    if (!info->operandsAfter.empty()) {
        words.emplace_back(info->operandsAfter);
    }
    const std::string head = std::string(clitext::usageHead) + " " + std::string(info->name);
    return synopsis(head, words) + std::string(info->help);
}
