#include "richtext/wwdbrichedit.h"

#include "library/dataset/field.h"
#include "library/dataset/memofield.h"
#include "library/dataset/wwdatasource.h"
#include "library/dataset/wwtable.h"
#include "platform/richedit/rtfreaderror.h"
#include "platform/ui/guard.h"
#include "richtext/wwrichintl.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

#include <new>

TwwDBRichEdit::TwwDBRichEdit(QWidget* parent) : TwwCustomRichEdit(parent)
{
    m_link.OnDataChange = [this] { FieldDataChanged(); };
    m_link.OnUpdateData = [this] { StoreRichText(); };
    m_link.OnStateChange = [this] { updatePlatformReadOnly(); };
    m_link.OnFocusRequest = [this] { setFocus(Qt::OtherFocusReason); };
    connectGuarded(this, &RichEdit::contentChanged, this, [this] { contentWasChanged(); });
    connectGuarded(this, &RichEdit::objectChanged, this, [this] { objectWasChanged(); });
    updatePlatformReadOnly();
}

TwwDBRichEdit::~TwwDBRichEdit()
{
    // The link must not call back into a half-destroyed control.
    m_link.OnDataChange = nullptr;
    m_link.OnUpdateData = nullptr;
    m_link.OnStateChange = nullptr;
    m_link.OnFocusRequest = nullptr;
    // Nor may the control's own signals, which the base classes can still
    // send while they tear the document down.
    disconnect(this, &RichEdit::contentChanged, this, nullptr);
    disconnect(this, &RichEdit::objectChanged, this, nullptr);
}

void TwwDBRichEdit::setDataSource(TwwDataSource* source) { m_link.setDataSource(source); }

void TwwDBRichEdit::setDataField(const QString& name) { m_link.setFieldName(name); }

bool TwwDBRichEdit::isMemo() const
{
    TField* field = Field();
    return field && field->DataType() == storage::FieldType::Memo;
}

bool TwwDBRichEdit::ReadOnly() const
{
    TField* field = Field();
    if (!field && DataField().isEmpty())
        return TwwCustomRichEdit::ReadOnly();
    if (TwwCustomRichEdit::ReadOnly())
        return true;
    if (!field)
        return false;
    TwwTable* table = m_link.DataSet();
    return field->ReadOnly() || !table || !table->CanModify();
}

void TwwDBRichEdit::updatePlatformReadOnly()
{
    if (!Field() && DataField().isEmpty()) {
        TwwCustomRichEdit::updatePlatformReadOnly();
        return;
    }
    setPlatformReadOnly(!m_link.Editing() || !m_loaded || ReadOnly());
}

void TwwDBRichEdit::readStream(const QByteArray& bytes, Stream format) { streamIn(bytes, format); }

void TwwDBRichEdit::LoadRichText()
{
    TField* field = Field();
    if (!field || m_loaded || !isMemo())
        return;
    struct Guard {
        bool& flag;
        explicit Guard(bool& f) : flag(f) { flag = true; }
        ~Guard() { flag = false; }
    };
    {
        Guard loading(m_loading);
        m_loaded = true;
        const QByteArray stored = static_cast<TMemoField*>(field)->AsBytes();
        clear();
        try {
            readStream(stored, Stream::Rtf);
        } catch (const RtfReadError&) {
            try {
                readStream(stored, Stream::PlainText);
            } catch (const RtfReadError&) {
                setText(QStringLiteral("(%1)").arg(TwwRichEditIntl::instance().FailedToLoadStream));
            } catch (const std::bad_alloc&) {
                setText(QStringLiteral("(%1)").arg(TwwRichEditIntl::instance().FailedToLoadStream));
            }
        }
        if (stored.isEmpty()) {
            // A new text starts plain: no bullet, left aligned, in the
            // control's font colour.
            ParaFormat p;
            p.mask = ParaFormat::Numbering | ParaFormat::Offset | ParaFormat::Alignment;
            p.numbering = ParaFormat::Number::None;
            p.offset = 0;
            p.alignment = ParaFormat::Align::Left;
            setParagraphFormat(p);
            SetSelectionColor(FontColor());
        }
    }
    updatePlatformReadOnly();
    setModified(false);
}

void TwwDBRichEdit::FieldDataChanged()
{
    if (m_storing)
        return;  // our own write: the field holds what the control shows
    TField* field = Field();
    if (!field) {
        m_loaded = false;
        m_loading = true;
        clear();
        m_loading = false;
        updatePlatformReadOnly();
        return;
    }
    if (!isMemo()) {
        m_loading = true;
        setText(field->AsString());
        m_loading = false;
        m_loaded = true;
        updatePlatformReadOnly();
        return;
    }
    if (!m_savedImage.isEmpty() && m_savedImage == static_cast<TMemoField*>(field)->AsBytes())
        return;  // the switch into edit state: the content stays, caret and all
    m_loaded = false;
    if (!m_autoDisplay) {
        // The row's text waits for a double click or Enter; the control must
        // not go on showing another row's text meanwhile.
        m_loading = true;
        clear();
        m_loading = false;
        updatePlatformReadOnly();
        return;
    }
    // Visible as a control on its window, shown yet or not: a window that
    // opens its table before it is shown has its text loaded at once.
    if (isVisibleTo(window()))
        LoadRichText();
    else
        updatePlatformReadOnly();
}

void TwwDBRichEdit::StartEditing()
{
    TField* field = Field();
    // A read-only control never puts the record into editing.
    if (!field || m_link.Editing() || ReadOnly())
        return;
    if (isMemo())
        m_savedImage = static_cast<TMemoField*>(field)->AsBytes();
    struct Clear {
        QByteArray& image;
        ~Clear() { image.clear(); }
    } clearAfter{m_savedImage};
    TwwDataSource* source = m_link.DataSource();
    if (source && source->State() == dsBrowse && source->AutoEdit())
        m_link.Edit();
}

void TwwDBRichEdit::StoreRichText()
{
    TField* field = Field();
    if (!field || !isModified() || !m_loaded)
        return;
    struct Guard {
        bool& flag;
        explicit Guard(bool& f) : flag(f) { flag = true; }
        ~Guard() { flag = false; }
    } storing(m_storing);
    if (isMemo()) {
        // The RTF is built in one growing buffer; running out of memory there
        // says so, any other failure of the writer is a failed save. Either
        // way the field keeps what it held and the post is refused.
        QByteArray rtf;
        try {
            rtf = streamOut(Stream::Rtf);
        } catch (const std::bad_alloc&) {
            throw Exception(TwwRichEditIntl::instance().OutOfMemoryInStream.toStdString());
        } catch (const std::exception&) {
            throw Exception(TwwRichEditIntl::instance().FailedToSaveStream.toStdString());
        }
        static_cast<TMemoField*>(field)->setAsBytes(rtf);
    } else {
        field->setAsString(text());
    }
}

void TwwDBRichEdit::contentWasChanged()
{
    if (m_loading || !m_loaded || !Field() || ReadOnly())
        return;
    StartEditing();
    m_link.Modified();
}

void TwwDBRichEdit::objectWasChanged()
{
    if (!Field() || ReadOnly())
        return;
    StartEditing();
    m_link.Modified();
    setModified(true);
}

void TwwDBRichEdit::keyPressEvent(QKeyEvent* event)
{
    const bool bound = Field() != nullptr;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (bound && !m_loaded) {
        // Nothing to type into yet: Enter loads the text, other changes drop.
        if (enter) {
            guarded([this] { LoadRichText(); });
            event->accept();
            return;
        }
        if (keyChangesText(event)) {
            event->accept();
            return;
        }
    }
    if (bound && event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        guarded([this] { m_link.Reset(); });
        event->accept();
        return;
    }
    TwwCustomRichEdit::keyPressEvent(event);
}

void TwwDBRichEdit::focusOutEvent(QFocusEvent* event)
{
    // A popup (the context menu) takes the focus only for a moment.
    if (event->reason() != Qt::PopupFocusReason) {
        guarded([&] {
            try {
                m_link.UpdateRecord();
            } catch (...) {
                setFocus(Qt::OtherFocusReason);
                throw;
            }
        });
    }
    TwwCustomRichEdit::focusOutEvent(event);
}

void TwwDBRichEdit::paintEvent(QPaintEvent* event)
{
    if (Field() && !m_loaded && isMemo() && m_autoDisplay) {
        guarded([this] {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            struct Restore {
                ~Restore() { QApplication::restoreOverrideCursor(); }
            } restore;
            LoadRichText();
        });
        viewport()->update();
    }
    TwwCustomRichEdit::paintEvent(event);
}

void TwwDBRichEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (Field() && !m_loaded) {
        guarded([this] { LoadRichText(); });
        event->accept();
        return;
    }
    TwwCustomRichEdit::mouseDoubleClickEvent(event);
    guarded([this] {
        if (OnDblClick)
            OnDblClick(this);
    });
}
