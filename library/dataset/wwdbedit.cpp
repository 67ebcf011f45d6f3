#include "library/dataset/wwdbedit.h"

#include "library/dataset/field.h"
#include "platform/ui/guard.h"

#include <QKeyEvent>

#include <algorithm>

TwwDBEdit::TwwDBEdit(QWidget* parent) : QLineEdit(parent)
{
    m_link.OnDataChange = [this] { showField(); };
    m_link.OnUpdateData = [this] { writeField(); };
    m_link.OnFocusRequest = [this] { setFocus(Qt::OtherFocusReason); };
    // Keyboard changes are caught before they happen (keyPressEvent); this
    // catches the rest: the context menu's paste and cut, drops.
    // The slot takes no argument: the edited text is the edit's text.
    connectGuarded(this, &QLineEdit::textEdited, this, [this] { editedElsewhere(text()); });
}

bool TwwDBEdit::startsChange(QKeyEvent* event) const
{
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut))
        return true;
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        return true;
    default:
        break;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

void TwwDBEdit::keyPressEvent(QKeyEvent* event)
{
    guarded([&] {
        if (OnKeyDown) {
            event->ignore();
            OnKeyDown(this, event);
            if (event->isAccepted())
                return;
        }
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
            m_link.Reset();
            selectAll();
            event->accept();
            return;
        }
        if (startsChange(event)) {
            if (!m_link.Edit()) {
                event->accept();  // nothing to change: the key is dropped
                return;
            }
            const QString before = text();
            QLineEdit::keyPressEvent(event);
            if (text() != before)
                m_link.Modified();
            return;
        }
        QLineEdit::keyPressEvent(event);
    });
}

void TwwDBEdit::editedElsewhere(const QString& edited)
{
    if (m_showing || m_link.IsModified())
        return;
    if (m_link.Editing()) {
        m_link.Modified();
        return;
    }
    // Starting the edit may show the row again (an insert on an empty
    // table): keep what was pasted or dropped.
    if (!m_link.Edit()) {
        showField();
        return;
    }
    if (text() != edited) {
        m_showing = true;
        setText(edited);
        m_showing = false;
    }
    m_link.Modified();
}

void TwwDBEdit::focusOutEvent(QFocusEvent* event)
{
    guarded([&] {
        try {
            m_link.UpdateRecord();
        } catch (...) {
            selectAll();
            setFocus(Qt::OtherFocusReason);
            throw;
        }
    });
    QLineEdit::focusOutEvent(event);
}

void TwwDBEdit::showField()
{
    TField* field = m_link.Field();
    m_showing = true;
    if (field) {
        const QString value = field->AsString();
        // A stored value longer than the field (a file whose field is wider)
        // is shown whole: the edit would otherwise cut it, and the cut value
        // would be stored at the next change. The field refuses it on writing,
        // with its size in the message, until the user shortens it.
        if (field->DataType() == storage::FieldType::String && field->Size() > 0)
            setMaxLength(std::max(field->Size(), int(value.size())));
        if (text() != value)
            setText(value);
    } else {
        setText(QString());
    }
    m_showing = false;
}

void TwwDBEdit::writeField()
{
    if (TField* field = m_link.Field())
        field->setAsString(text());
}
