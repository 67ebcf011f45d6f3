#pragma once
// The data-bound edit: a single-line edit that shows one field of the current
// row and takes at most the field's size in characters.
//  - The first change (a printable character, Backspace, Delete, paste, cut)
//    puts the cursor into edit state; a change the cursor refuses is dropped.
//  - Leaving the edit, or a post, writes its text into the field.
//  - Escape puts the field's value back and selects it all.
//  - A post check that refuses its field gives it the input focus.
//  - OnKeyDown sees every key first (a window moves the focus on Enter).

#include "library/dataset/fielddatalink.h"

#include <QLineEdit>

#include <functional>

class TField;
class TwwDataSource;

class TwwDBEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TwwDBEdit(QWidget* parent = nullptr);

    TwwDataSource* DataSource() const { return m_link.DataSource(); }
    void setDataSource(TwwDataSource* source) { m_link.setDataSource(source); }
    QString DataField() const { return m_link.FieldName(); }
    void setDataField(const QString& name) { m_link.setFieldName(name); }
    TField* Field() const { return m_link.Field(); }

    // Runs first for every key pressed in the edit, before the edit handles
    // it; a handler that accepts the event keeps the edit from handling it.
    std::function<void(TwwDBEdit* Sender, QKeyEvent* Key)> OnKeyDown;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool startsChange(QKeyEvent* event) const;
    void showField();
    void writeField();
    void editedElsewhere(const QString& text);

    TFieldDataLink m_link;
    bool m_showing = false;  // the text is being set from the field
};
