// The storage engine's own commands: its aliases, and tables as files.
#include "tools/tessalind-admin/command.h"

#include "platform/storage/storage.h"

#include <iostream>

namespace {

using storage::Engine;

const AdminCommand aliasList{
    "alias list", "", "the engine's aliases, a line each: name, tab, directory",
    [](const std::vector<std::string>& args) {
        expectArgs(args, 0, aliasList);
        Engine& engine = Engine::instance();
        if (engine.usingDefaultConfiguration())
            std::cerr << "(no configuration file: the built-in default)\n";
        for (const auto& [name, directory] : engine.aliases())
            std::cout << name << '\t' << directory << '\n';
        return 0;
    }};

const AdminCommand aliasSet{"alias set", "NAME DIRECTORY", "define an alias, or move it to another directory",
                            [](const std::vector<std::string>& args) {
                                expectArgs(args, 2, aliasSet);
                                Engine::instance().setAlias(args[0], args[1]);
                                return 0;
                            }};

const AdminCommand aliasRemove{"alias remove", "NAME", "remove an alias (its directory and tables stay)",
                               [](const std::vector<std::string>& args) {
                                   expectArgs(args, 1, aliasRemove);
                                   Engine::instance().removeAlias(args[0]);
                                   return 0;
                               }};

const AdminCommand tableInfo{
    "table info", "ALIAS TABLE", "the table's file, fields, indexes, pictures and row count",
    [](const std::vector<std::string>& args) {
        expectArgs(args, 2, tableInfo);
        const auto table = Engine::instance().openTable(args[0], args[1], storage::OpenMode::ReadOnly);
        const storage::TableSchema& schema = table->schema();
        std::cout << "File: " << table->path() << '\n' << "Rows: " << table->rowCount() << '\n' << "Fields:\n";
        for (std::size_t i = 0; i < schema.fields.size(); ++i) {
            const storage::FieldDef& f = schema.fields[i];
            std::cout << "  " << i + 1 << '\t' << f.name << '\t' << storage::fieldTypeName(f.type) << '\t' << f.size
                      << (f.required ? "\trequired" : "") << '\n';
        }
        std::cout << "Indexes:" << (schema.indexes.empty() ? " none" : "") << '\n';
        for (const storage::IndexDef& index : schema.indexes) {
            std::cout << "  " << index.name << '\t';
            for (std::size_t i = 0; i < index.fields.size(); ++i)
                std::cout << (i ? "," : "") << index.fields[i];
            std::cout << (index.caseInsensitive ? "\tcase-insensitive" : "\tcase-sensitive")
                      << (index.unique ? "\tunique" : "") << '\n';
        }
        std::cout << "Pictures:" << (schema.pictures.empty() ? " none" : "") << '\n';
        for (const storage::PictureDef& p : schema.pictures)
            std::cout << "  " << p.field << '\t' << p.picture << '\n';
        return 0;
    }};

const AdminCommand tableCheck{"table check", "ALIAS TABLE",
                              "check the table file's integrity; exit status 1 naming each problem",
                              [](const std::vector<std::string>& args) {
                                  expectArgs(args, 2, tableCheck);
                                  const std::vector<std::string> problems =
                                      Engine::instance().checkTable(args[0], args[1]);
                                  if (problems.empty()) {
                                      std::cout << "ok\n";
                                      return 0;
                                  }
                                  for (const std::string& problem : problems)
                                      std::cerr << problem << '\n';
                                  return 1;
                              }};

const AdminCommand tableSetPicture{
    "table set-picture", "ALIAS TABLE FIELD PICTURE",
    "store a picture validity check for a field (an empty PICTURE removes it)",
    [](const std::vector<std::string>& args) {
        expectArgs(args, 4, tableSetPicture);
        Engine::instance().setPicture(args[0], args[1], args[2], args[3]);
        return 0;
    }};

}  // namespace
