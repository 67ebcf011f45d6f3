// The texts table from the command line: create one, list, add, show and
// delete texts. Every read and write goes through the same table object and
// record cursor as the register window, so a text added here meets the same
// checks (required fields, field sizes, stored pictures) with the same
// messages.
#include "tools/tessalind-admin/command.h"

#include "library/dataset/field.h"
#include "library/dataset/memofield.h"
#include "library/dataset/wwtable.h"
#include "library/textstable.h"
#include "platform/exception.h"
#include "platform/storage/storage.h"
#include "platform/storage/utf8.h"

#include <QObject>

#include <charconv>
#include <iostream>
#include <memory>

namespace {

// The table object, named as the program names it so that its errors read
// the same, opened on its first row.
struct OpenTexts {
    OpenTexts(const std::string& alias, const std::string& table)
        : cursor(TextsTable::make(&owner, QStringLiteral("TabMemoria"), QString::fromStdString(alias),
                                  QString::fromStdString(table)))
    {
        cursor->Open();
    }
    QObject owner;
    TwwTable* cursor;
};

// A row number as the commands take it: a decimal number from 1.
std::int64_t rowNumber(const std::string& word)
{
    std::int64_t n = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), n);
    if (ec != std::errc() || end != word.data() + word.size() || n < 1)
        throw Exception("'" + word + "' is not a row number (1 is the first row)");
    return n;
}

// Goes to row `number`, or fails naming how many rows there are.
void goToRow(TwwTable* cursor, std::int64_t number)
{
    cursor->setRecNo(number);
    if (cursor->RecNo() != number)
    {
        const std::int64_t count = cursor->RecordCount();
        throw Exception("there is no row " + std::to_string(number) + ": the table has " + std::to_string(count) +
                        (count == 1 ? " row" : " rows"));
    }
}

// A string on one line of a listing: the characters that would break the
// line or the columns are written as escapes.
std::string oneLine(const std::string& value)
{
    std::string out;
    for (const char c : value) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

std::string stored(const TField* field)
{
    if (const auto* memo = qobject_cast<const TMemoField*>(field))
        return memo->AsBytes().toStdString();
    return field->AsString().toStdString();
}

const AdminCommand tableCreate{"table create", "ALIAS TABLE", "create an empty texts table (the program's five fields)",
                               [](const std::vector<std::string>& args) {
                                   expectArgs(args, 2, tableCreate);
                                   storage::Engine::instance().createTable(args[0], args[1], TextsTable::schema());
                                   return 0;
                               }};

const AdminCommand textList{
    "text list", "ALIAS TABLE",
    "the texts, a line each: number, title, author, subject, first line, bytes of the text (tab-separated)",
    [](const std::vector<std::string>& args) {
        expectArgs(args, 2, textList);
        OpenTexts texts(args[0], args[1]);
        TwwTable* cursor = texts.cursor;
        std::int64_t number = 0;
        for (; !cursor->Eof(); cursor->Next()) {
            std::cout << ++number;
            for (TField* field : cursor->Fields()) {
                if (qobject_cast<TMemoField*>(field))
                    std::cout << '\t' << stored(field).size();
                else
                    std::cout << '\t' << oneLine(stored(field));
            }
            std::cout << '\n';
        }
        return 0;
    }};

const AdminCommand textAdd{
    "text add", "ALIAS TABLE --title T --author A --subject S --first-line F [--text FILE]",
    "append a text; FILE holds its rich text (- for standard input); prints the new row's number",
    [](std::vector<std::string> args) {
        const std::optional<std::string> title = takeOption(args, "--title");
        const std::optional<std::string> author = takeOption(args, "--author");
        const std::optional<std::string> subject = takeOption(args, "--subject");
        const std::optional<std::string> firstLine = takeOption(args, "--first-line");
        const std::optional<std::string> textFile = takeOption(args, "--text");
        expectArgs(args, 2, textAdd);
        // Read before anything is written, so that a missing file stores nothing.
        const std::string text = textFile ? readFileBytes(*textFile) : std::string();
        OpenTexts texts(args[0], args[1]);
        TwwTable* cursor = texts.cursor;
        cursor->Append();
        const auto set = [cursor](const char* name, const std::optional<std::string>& value) {
            if (!value)
                return;
            if (!storage::Utf8::decode(*value))
                throw Exception(std::string("the value for ") + name + " is not valid UTF-8");
            cursor->FieldByName(QString::fromLatin1(name))->setAsString(QString::fromStdString(*value));
        };
        set("Titulo", title);
        set("Autor", author);
        set("Assunto", subject);
        set("PrimeiraLinha", firstLine);
        qobject_cast<TMemoField*>(cursor->FieldByName(QStringLiteral("Texto")))
            ->setAsBytes(QByteArray::fromStdString(text));
        cursor->Post();
        std::cout << cursor->RecNo() << '\n';
        return 0;
    }};

const AdminCommand textShow{
    "text show", "ALIAS TABLE N [--field NAME]",
    "the fields of text N, a line each; with --field only that value (a text's stored bytes as they are)",
    [](std::vector<std::string> args) {
        const std::optional<std::string> fieldName = takeOption(args, "--field");
        expectArgs(args, 3, textShow);
        const std::int64_t number = rowNumber(args[2]);
        OpenTexts texts(args[0], args[1]);
        TwwTable* cursor = texts.cursor;
        if (fieldName) {
            TField* field = cursor->FieldByName(QString::fromStdString(*fieldName));
            goToRow(cursor, number);
            const bool memo = qobject_cast<TMemoField*>(field) != nullptr;
            std::cout << stored(field) << (memo ? "" : "\n");
            return 0;
        }
        goToRow(cursor, number);
        for (TField* field : cursor->Fields())
            std::cout << field->FieldName().toStdString() << ": " << stored(field) << '\n';
        return 0;
    }};

const AdminCommand textDelete{"text delete", "ALIAS TABLE N", "delete text N",
                              [](const std::vector<std::string>& args) {
                                  expectArgs(args, 3, textDelete);
                                  const std::int64_t number = rowNumber(args[2]);
                                  OpenTexts texts(args[0], args[1]);
                                  goToRow(texts.cursor, number);
                                  texts.cursor->Delete();
                                  return 0;
                              }};

}  // namespace
