#pragma once
// The base of the record dialogs a navigator button opens. A dialog component
// is made with an owner, bound to its table, and shown by Execute as often as
// its button is pressed; it keeps its settings between showings.

#include <QObject>

class TwwDataSource;
class TwwTable;

class TwwCustomDialog : public QObject {
    Q_OBJECT
public:
    explicit TwwCustomDialog(QObject* owner) : QObject(owner) {}

    // Shows the dialog; true when the user confirmed it.
    virtual bool Execute() = 0;
    // The table the dialog works on, or nullptr.
    virtual TwwTable* GetPrimaryDataSet() const = 0;

    // Binding by the navigator. A dialog that has no such property keeps the
    // default, which ignores the value.
    virtual void setDataSource(TwwDataSource* source) { (void)source; }
    virtual void setSearchTable(TwwTable* table) { (void)table; }
};
