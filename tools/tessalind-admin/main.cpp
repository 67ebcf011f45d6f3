// tessalind-admin: the command line of the storage engine, the rich edit
// control and the drill, for users and scripts.

#include "tools/tessalind-admin/command.h"

#include "platform/exception.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace {

std::vector<const AdminCommand*>& registry()
{
    static std::vector<const AdminCommand*> commands;
    return commands;
}

void printUsage(std::ostream& out)
{
    out << "usage:\n";
    for (const AdminCommand* c : AdminCommand::all())
        out << "  tessalind-admin " << c->name << (c->usage.empty() ? "" : " ") << c->usage << "\n"
            << "      " << c->summary << "\n";
}

// The command whose words begin args, the longest name first ("table create"
// before a hypothetical "table").
const AdminCommand* findCommand(const std::vector<std::string>& args, std::size_t* words)
{
    const AdminCommand* best = nullptr;
    std::size_t bestWords = 0;
    for (const AdminCommand* c : AdminCommand::all()) {
        std::istringstream in(c->name);
        std::vector<std::string> name{std::istream_iterator<std::string>(in), {}};
        if (name.size() <= args.size() && std::equal(name.begin(), name.end(), args.begin()) &&
            name.size() > bestWords) {
            best = c;
            bestWords = name.size();
        }
    }
    *words = bestWords;
    return best;
}

}  // namespace

AdminCommand::AdminCommand(std::string n, std::string u, std::string s, Run r)
    : name(std::move(n)), usage(std::move(u)), summary(std::move(s)), run(std::move(r))
{
    registry().push_back(this);
}

const std::vector<const AdminCommand*>& AdminCommand::all() { return registry(); }

std::optional<std::string> takeOption(std::vector<std::string>& args, const std::string& name)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != name)
            continue;
        if (i + 1 >= args.size())
            throw Exception("option " + name + " needs a value");
        std::string value = args[i + 1];
        args.erase(args.begin() + long(i), args.begin() + long(i) + 2);
        return value;
    }
    return std::nullopt;
}

bool takeFlag(std::vector<std::string>& args, const std::string& name)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == name) {
            args.erase(args.begin() + long(i));
            return true;
        }
    }
    return false;
}

void expectArgs(const std::vector<std::string>& args, std::size_t count, const AdminCommand& command)
{
    for (const std::string& a : args)
        if (a.size() > 1 && a.rfind("--", 0) == 0)
            throw Exception("unknown option " + a + "\nusage: tessalind-admin " + command.name + " " + command.usage);
    if (args.size() != count)
        throw Exception("usage: tessalind-admin " + command.name + " " + command.usage);
}

std::string readFileBytes(const std::string& path)
{
    if (path == "-")
        return std::string(std::istreambuf_iterator<char>(std::cin), {});
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Exception("cannot read " + path);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    if (in.bad())
        throw Exception("cannot read " + path);
    return bytes;
}

int main(int argc, char** argv)
{
    // Some commands use the rich edit control; it needs no screen.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printUsage(args.empty() ? std::cerr : std::cout);
        return args.empty() ? 1 : 0;
    }
    std::size_t words = 0;
    const AdminCommand* command = findCommand(args, &words);
    if (!command) {
        std::cerr << "tessalind-admin: unknown command '" << args[0] << "'\n";
        printUsage(std::cerr);
        return 1;
    }
    args.erase(args.begin(), args.begin() + long(words));
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    try {
        return command->run(args);
    } catch (const std::exception& e) {
        std::cerr << "tessalind-admin: " << e.what() << "\n";
        return 1;
    }
}
