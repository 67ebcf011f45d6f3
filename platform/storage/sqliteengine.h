#pragma once
// The engine inside its library: aliases from the configuration file, one
// SQLite file per table in the directory of an alias.
//
// The configuration is read again at every call that needs an alias, so an
// alias set by the administrator tool while the program runs is seen at the
// next opening.
#include "platform/storage/storage.h"

#include <string>
#include <vector>

namespace storage {

class SqliteEngine : public Engine {
public:
    SqliteEngine();

    std::map<std::string, std::string> aliases() const override;
    bool usingDefaultConfiguration() const override;
    void setAlias(const std::string& name, const std::string& directory) override;
    void removeAlias(const std::string& name) override;
    std::string resolveDatabase(const std::string& databaseName) const override;

    bool tableExists(const std::string& databaseName, const std::string& tableName) const override;
    void createTable(const std::string& databaseName, const std::string& tableName,
                     const TableSchema& schema) override;
    std::unique_ptr<Table> openTable(const std::string& databaseName, const std::string& tableName,
                                     OpenMode mode) override;
    void setPicture(const std::string& databaseName, const std::string& tableName, const std::string& field,
                    const std::string& picture) override;
    std::vector<std::string> checkTable(const std::string& databaseName, const std::string& tableName) override;

private:
    // The file of a table, with the context lines that name it in errors.
    struct Place {
        std::string path;
        std::vector<std::string> context;
    };
    Place place(const std::string& databaseName, const std::string& tableName) const;
    Place existingTable(const std::string& databaseName, const std::string& tableName) const;
};

}  // namespace storage
