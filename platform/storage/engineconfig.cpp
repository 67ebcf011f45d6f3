#include "platform/storage/engineconfig.h"

#include "platform/storage/storage.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace storage {

namespace {

std::string homeDir()
{
    const char* home = std::getenv("HOME");
    return home && *home ? home : "/";
}

// An XDG base directory: the variable when it holds an absolute path (the
// rule for these variables), else the fallback under the home directory.
std::string xdgDir(const char* variable, const char* fallback)
{
    const char* value = std::getenv(variable);
    if (value && value[0] == '/')
        return value;
    return homeDir() + "/" + fallback;
}

std::string trim(const std::string& s)
{
    const auto begin = s.find_first_not_of(" \t\r");
    if (begin == std::string::npos)
        return {};
    const auto end = s.find_last_not_of(" \t\r");
    return s.substr(begin, end - begin + 1);
}

bool sameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

[[noreturn]] void invalid(const std::string& what, const std::string& origin, int line = 0)
{
    std::vector<std::string> context{"File: " + origin};
    if (line > 0)
        context.push_back("Line: " + std::to_string(line));
    throw EngineError(code::InvalidConfiguration, what, context);
}

// What is wrong with an alias, empty when nothing. The file and setAlias()
// follow one rule, so that whatever is read can be written back as it was.
std::string aliasProblem(const std::string& name, const std::string& directory)
{
    if (name.empty() || trim(name) != name)
        return "An alias name cannot be empty or begin or end with blanks";
    if (name.find_first_of("=[]:/\\;#\n\r") != std::string::npos)
        return "An alias name cannot hold any of = [ ] : / \\ ; # or a line break";
    if (directory.empty() || directory[0] != '/')
        return "An alias directory must be an absolute path";
    if (directory.find_first_of("\n\r") != std::string::npos || trim(directory) != directory)
        return "An alias directory cannot hold a line break or begin or end with blanks";
    return {};
}

}  // namespace

std::string EngineConfig::configPath()
{
    const char* explicitPath = std::getenv("TESSALIND_ENGINE_CONFIG");
    if (explicitPath && *explicitPath)
        return explicitPath;
    return xdgDir("XDG_CONFIG_HOME", ".config") + "/tessalind/engine.ini";
}

std::string EngineConfig::defaultDataDirectory()
{
    return xdgDir("XDG_DATA_HOME", ".local/share") + "/tessalind";
}

EngineConfig EngineConfig::load()
{
    const std::string path = configPath();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (errno == ENOENT || errno == ENOTDIR) {
            EngineConfig config;
            config.m_aliases["Tessalind"] = defaultDataDirectory();
            return config;
        }
        throw EngineError(code::FileError,
                          std::string("Cannot read the engine configuration: ") + std::strerror(errno),
                          {"File: " + path});
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        throw EngineError(code::FileError, "Cannot read the engine configuration", {"File: " + path});
    return parse(text.str(), path);
}

EngineConfig EngineConfig::parse(const std::string& text, const std::string& origin)
{
    EngineConfig config;
    config.m_default = false;
    if (text.find('\0') != std::string::npos)
        invalid("The engine configuration is not a text file", origin);
    std::istringstream in(text);
    std::string raw, section;
    int lineNumber = 0;
    while (std::getline(in, raw)) {
        ++lineNumber;
        const std::string line = trim(raw);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line[0] == '[') {
            if (line.back() != ']')
                invalid("Malformed section header in the engine configuration", origin, lineNumber);
            section = trim(line.substr(1, line.size() - 2));
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos)
            invalid("Expected NAME=VALUE in the engine configuration", origin, lineNumber);
        const std::string key = trim(line.substr(0, eq));
        const std::string value = trim(line.substr(eq + 1));
        if (key.empty())
            invalid("Empty name in the engine configuration", origin, lineNumber);
        if (sameName(section, "Aliases")) {
            if (const std::string problem = aliasProblem(key, value); !problem.empty())
                invalid(problem, origin, lineNumber);
            if (config.find(key) != config.m_aliases.end())
                invalid("Alias '" + key + "' is defined twice", origin, lineNumber);
            config.m_aliases[key] = value;
        } else if (sameName(section, "Engine") && sameName(key, "DLLPATH")) {
            if (!value.empty())
                config.m_dllPath = value;
        }
        // Other sections and keys are left for other versions of the engine.
    }
    return config;
}

std::map<std::string, std::string>::const_iterator EngineConfig::find(const std::string& name) const
{
    for (auto it = m_aliases.begin(); it != m_aliases.end(); ++it)
        if (sameName(it->first, name))
            return it;
    return m_aliases.end();
}

std::optional<std::string> EngineConfig::alias(const std::string& name) const
{
    const auto it = find(name);
    if (it == m_aliases.end())
        return std::nullopt;
    return it->second;
}

void EngineConfig::setAlias(const std::string& name, const std::string& directory)
{
    if (const std::string problem = aliasProblem(name, directory); !problem.empty()) {
        std::vector<std::string> context{"Alias: " + name};
        if (!directory.empty())
            context.push_back("Directory: " + directory);
        throw EngineError(code::InvalidConfiguration, problem, context);
    }
    const auto it = find(name);
    if (it != m_aliases.end())
        m_aliases.erase(it);
    m_aliases[name] = directory;
    m_default = false;
}

void EngineConfig::removeAlias(const std::string& name)
{
    const auto it = find(name);
    if (it == m_aliases.end())
        throw EngineError(code::AliasNotFound, "Unknown database alias", {"Alias: " + name});
    m_aliases.erase(it);
    m_default = false;
}

std::string EngineConfig::serialize() const
{
    std::string out = "; Aliases of the Tessalind storage engine: NAME=DIRECTORY\n[Aliases]\n";
    for (const auto& [name, directory] : m_aliases)
        out += name + "=" + directory + "\n";
    if (m_dllPath)
        out += "\n[Engine]\nDLLPATH=" + *m_dllPath + "\n";
    return out;
}

void EngineConfig::save() const
{
    const std::filesystem::path path = configPath();
    std::error_code ec;
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path(), ec);
    const std::string temp = path.string() + ".tmp." + std::to_string(::getpid());
    const std::string text = serialize();
    const auto fail = [&](const char* what) {
        const int err = errno;
        ::unlink(temp.c_str());
        throw EngineError(code::FileError,
                          std::string(what) + " the engine configuration: " + std::strerror(err),
                          {"File: " + path.string()});
    };
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        fail("Cannot write");
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ::close(fd);
            fail("Cannot write");
        }
        done += std::size_t(n);
    }
    if (::fsync(fd) != 0) {
        ::close(fd);
        fail("Cannot write");
    }
    ::close(fd);
    if (::rename(temp.c_str(), path.c_str()) != 0)
        fail("Cannot replace");
}

}  // namespace storage
