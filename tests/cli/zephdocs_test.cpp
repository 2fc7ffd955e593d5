// Every option of the table the parser reads is offered by the bash
// completion and described in both manual pages, under each command that
// takes it: a new option cannot reach zeph without reaching its documents.

#include "cli/cliarguments.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string readResource(const std::string &name)
{
    std::ifstream file(std::string(ZPH_RESOURCES_DIR) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// roff writes a hyphen as "\-".
std::string roff(std::string_view text)
{
    std::string escaped;
    for (const char c : text) {
        if (c == '-') {
            escaped += '\\';
        }
        escaped += c;
    }
    return escaped;
}

// Whether roff text names the option as a whole word: "\-\-to" is not
// named by "\-\-total", nor "\-h" by "\-\-help".
bool names(const std::string &text, std::string_view option)
{
    const std::string word = roff(option);
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const std::size_t end = at + word.size();
        const bool before = at == 0 || text[at - 1] != '-';
        const bool after =
            end == text.size() || !(std::isalnum(static_cast<unsigned char>(text[end])) ||
                                    text.compare(end, 2, "\\-") == 0);
        if (before && after) {
            return true;
        }
    }
    return false;
}

// The part of a manual page on a command: its .SS section up to the next
// heading. For zeph alone (an empty name), what comes before the first .SS:
// the synopsis and the options of every command.
std::string manSection(const std::string &page, const std::string &command)
{
    const std::string head = ".SS \"" + roff(command);
    std::istringstream lines(page);
    std::string section;
    bool inside = command.empty();
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(".SS") || (!command.empty() && line.starts_with(".SH"))) {
            if (!section.empty()) {
                break;
            }
            inside = !command.empty() && line.starts_with(head) &&
                     (line[head.size()] == ' ' || line[head.size()] == '"');
        }
        if (inside) {
            section += line + '\n';
        }
    }
    return section;
}

// What Tab offers after "zeph COMMAND --" ("" for zeph alone): the options of
// the command's line in the completion's `case $command`, with what every
// command gets added to it.
std::map<std::string, std::set<std::string>> completionOptions(const std::string &script)
{
    const std::regex caseLine(R"re(^\s*([^()"]*|"")\)\s*options="([^"]*)")re");
    const std::regex everyCommand(R"re(options\+="([^"]*)")re");
    const auto words = [](const std::string &text) {
        std::istringstream in(text);
        std::set<std::string> set;
        for (std::string word; in >> word;) {
            set.insert(word);
        }
        return set;
    };
    std::map<std::string, std::set<std::string>> offered;
    std::set<std::string> shared;
    std::istringstream lines(script);
    std::smatch match;
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_search(line, match, caseLine)) {
            std::istringstream patterns(match[1].str());
            for (std::string pattern; std::getline(patterns, pattern, '|');) {
                const std::set<std::string> name = words(pattern);
                const bool alone = name.empty() || *name.begin() == "\"\"";
                offered[alone ? "" : *name.begin()] = words(match[2].str());
            }
        } else if (std::regex_search(line, match, everyCommand)) {
            shared = words(match[1].str());
        }
    }
    for (auto &[command, options] : offered) {
        if (!command.empty()) {
            options.insert(shared.begin(), shared.end());
        }
    }
    return offered;
}

std::string nameOf(CliCommand command)
{
    for (const CliCommandInfo &info : cliCommands()) {
        if (info.command == command) {
            return std::string(info.name);
        }
    }
    return {};
}

TEST(ZephDocs, everyOptionOfTheTableIsInTheCompletionAndBothManualPages)
{
    const auto offered = completionOptions(readResource("completion/zeph"));
    ASSERT_EQ(offered.size(), cliCommands().size() + 1) << "the completion's commands";
    const std::vector<std::string> pages{"man/zeph.1.in", "man/ja/zeph.1.in"};

    for (const CliOption &option : cliOptions()) {
        const std::string name(option.name);
        // An option of every command is offered after each of them and
        // described once, with the options of zeph alone.
        std::vector<std::string> takers{""};
        std::vector<std::string> describedUnder{""};
        if (option.commands.empty()) {
            for (const CliCommandInfo &info : cliCommands()) {
                takers.emplace_back(info.name);
            }
        } else {
            takers.clear();
            for (const CliCommand command : option.commands) {
                takers.push_back(nameOf(command));
            }
            describedUnder = takers;
        }
        for (const std::string &command : takers) {
            const auto it = offered.find(command);
            EXPECT_TRUE(it != offered.end() && it->second.contains(name))
                << "Tab after \"zeph " << command << " --\" does not offer " << name;
        }
        for (const std::string &page : pages) {
            const std::string text = readResource(page);
            ASSERT_FALSE(text.empty()) << page;
            for (const std::string &command : describedUnder) {
                EXPECT_TRUE(names(manSection(text, command), name))
                    << page << " does not name " << name << " under \"" << command << "\"";
            }
            if (!option.alias.empty()) {
                EXPECT_TRUE(names(manSection(text, ""), option.alias))
                    << page << " does not name " << option.alias;
            }
        }
    }
}

} // namespace
