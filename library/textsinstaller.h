#pragma once
// The installer of the texts table: on a machine where the engine has no
// configuration of its own, the first opening finds the table there with a
// few public-domain poems to start with, as a setup program would leave it.

#include <QString>

class TextsInstaller {
public:
    // Creates databaseName/tableName with the first texts when the engine uses
    // its built-in configuration and the table does not exist. True when it
    // did; false when there was nothing to do.
    static bool installIfMissing(const QString& databaseName, const QString& tableName);

    struct Text {
        const char* titulo;
        const char* autor;
        const char* assunto;
        const char* primeiraLinha;
        const char* texto;  // RTF, code page 1252
    };
    static const Text* texts(int* count);
};
