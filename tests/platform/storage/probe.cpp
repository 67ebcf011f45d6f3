// A second process for the engine's tests: holds a row lock, writes rows
// until it is killed, or tries to edit a row, and says what happened on its
// standard output, one line per step.
//
//   storage_probe hold DIR TABLE ID        lock the row, print "locked", wait for EOF on stdin
//   storage_probe edit DIR TABLE ID        lock the row; print "locked" or the error's code
//   storage_probe insert-loop DIR TABLE    append rows forever, print each row's id once stored
#include "platform/storage/storage.h"

#include <cstdio>
#include <iostream>
#include <string>

using namespace storage;

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: storage_probe hold|edit|insert-loop DIR TABLE [ID]\n");
        return 2;
    }
    const std::string command = argv[1];
    try {
        auto table = Engine::instance().openTable(argv[2], argv[3], OpenMode::ReadWrite);
        if (command == "hold" || command == "edit") {
            if (argc < 5)
                return 2;
            table->lock(std::stoll(argv[4]));
            std::printf("locked\n");
            std::fflush(stdout);
            if (command == "hold") {
                std::string line;
                while (std::getline(std::cin, line)) {
                }
            }
            return 0;
        }
        if (command == "insert-loop") {
            const std::size_t fields = table->schema().fields.size();
            for (long n = 0;; ++n) {
                std::vector<Value> values(fields);
                values[0] = "row " + std::to_string(n);
                if (fields > 2)
                    values[2] = std::string(200 + n % 3000, 'x');
                const RowId id = table->insert(std::nullopt, values);
                std::printf("%lld\n", static_cast<long long>(id));
                std::fflush(stdout);
            }
        }
    } catch (const EngineError& e) {
        std::printf("error %04x\n", unsigned(e.code()));
        std::fflush(stdout);
        return 1;
    } catch (const std::exception& e) {
        std::printf("error %s\n", e.what());
        return 1;
    }
    return 2;
}
