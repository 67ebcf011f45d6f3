#pragma once
// The administrator's commands. Each command file registers its commands with
// a static AdminCommand object; main() dispatches on the first word(s).
//
// A command gets the words after its name, writes its result to standard
// output and raises Exception for every failure: main() prints the message to
// standard error and exits with status 1.

#include <functional>
#include <string>
#include <vector>

struct AdminCommand {
    using Run = std::function<int(const std::vector<std::string>& args)>;

    // name: the command's words, as "table create"; usage: the rest of its line.
    AdminCommand(std::string name, std::string usage, std::string summary, Run run);

    std::string name;
    std::string usage;
    std::string summary;
    Run run;

    static const std::vector<const AdminCommand*>& all();
};

// Small helpers for command files: parse "--flag VALUE" options out of args.
// Returns the value of --name and removes both words; nullopt when absent.
#include <optional>
std::optional<std::string> takeOption(std::vector<std::string>& args, const std::string& name);
// Removes a lone --name flag; true when it was there.
bool takeFlag(std::vector<std::string>& args, const std::string& name);
// Raises the usage error of a command unless args has exactly `count` words.
void expectArgs(const std::vector<std::string>& args, std::size_t count, const AdminCommand& command);
// Reads a whole file as bytes ("-" is standard input); raises on failure.
std::string readFileBytes(const std::string& path);
