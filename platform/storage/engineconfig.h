#pragma once
// The engine's configuration: the aliases (name -> directory) and the
// directory of the engine library, kept in an INI file:
//
//   [Aliases]
//   Tessalind=/home/ana/.local/share/tessalind
//   [Engine]
//   DLLPATH=/opt/tessalind/lib
//
// The file is $TESSALIND_ENGINE_CONFIG when set, else
// $XDG_CONFIG_HOME/tessalind/engine.ini (~/.config when unset). With no file,
// the built-in default holds the alias "Tessalind" over
// $XDG_DATA_HOME/tessalind (~/.local/share when unset). Alias names compare
// without regard to ASCII case. Saving writes a temporary file beside the
// configuration and renames it over, so a reader never sees half a file.
//
// Both the program (for DLLPATH, before the library is loaded) and the engine
// library read it through this class.

#include <map>
#include <optional>
#include <string>

namespace storage {

class EngineConfig {
public:
    static std::string configPath();
    static std::string defaultDataDirectory();

    // The configuration at configPath(), or the default when there is no file.
    // A file that cannot be read or parsed raises EngineError.
    static EngineConfig load();
    // Parses INI text; `origin` names the file in error messages.
    static EngineConfig parse(const std::string& text, const std::string& origin);

    bool isDefault() const { return m_default; }
    const std::map<std::string, std::string>& aliases() const { return m_aliases; }
    std::optional<std::string> alias(const std::string& name) const;
    const std::optional<std::string>& dllPath() const { return m_dllPath; }

    // Validate and change; save() writes the result to configPath().
    void setAlias(const std::string& name, const std::string& directory);
    void removeAlias(const std::string& name);  // AliasNotFound when absent
    void save() const;
    std::string serialize() const;

private:
    std::map<std::string, std::string>::const_iterator find(const std::string& name) const;

    bool m_default = true;
    std::map<std::string, std::string> m_aliases;
    std::optional<std::string> m_dllPath;
};

}  // namespace storage
