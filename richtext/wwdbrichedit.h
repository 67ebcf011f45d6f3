#pragma once
// The data-bound rich edit: shows the rich text of one memo field of the
// current row and stores it back.
//  - Every data change clears the loaded flag and, while the control is
//    visible, loads the field (RTF, or plain text when the bytes are not
//    RTF); an invisible control loads when it is next painted.
//  - The platform control is read-only unless the record is being edited
//    and the text is loaded, so the first key that changes the text meets
//    it read-only, puts the record into edit state (StartEditing) and only
//    then reaches the text: the character lands at the caret, nothing is
//    reloaded. The saved field image is what keeps the data change of that
//    switch from reloading.
//  - A post, or the focus leaving, writes the whole content as RTF into the
//    field (StoreRichText), only when the text was changed.
//  - Escape reloads the stored text; the record stays in edit state.

#include "library/dataset/fielddatalink.h"
#include "richtext/wwcustomrichedit.h"

#include <QByteArray>

#include <functional>

class TField;
class TwwDataSource;

class TwwDBRichEdit : public TwwCustomRichEdit {
    Q_OBJECT
public:
    explicit TwwDBRichEdit(QWidget* parent = nullptr);
    ~TwwDBRichEdit() override;

    TwwDataSource* DataSource() const { return m_link.DataSource(); }
    void setDataSource(TwwDataSource* source);
    QString DataField() const { return m_link.FieldName(); }
    void setDataField(const QString& name);
    TField* Field() const { return m_link.Field(); }
    bool AutoDisplay() const { return m_autoDisplay; }
    void setAutoDisplay(bool on) { m_autoDisplay = on; }

    bool ReadOnly() const override;
    void StartEditing() override;
    void StoreRichText() override;
    bool IsLoaded() const override { return m_loaded; }
    bool HasField() const override { return Field() != nullptr; }
    void LoadRichText() override;
    void FieldDataChanged();

    // Runs after the control has handled a double click (the register
    // window opens the editor from it).
    std::function<void(TwwDBRichEdit* Sender)> OnDblClick;

protected:
    // Reads the field's bytes into the control as RTF or as plain text; a
    // failure of the plain read ends the load with "Failed to Load Stream".
    virtual void readStream(const QByteArray& bytes, Stream format);

    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void updatePlatformReadOnly() override;

private:
    bool isMemo() const;
    void contentWasChanged();
    void objectWasChanged();

    TFieldDataLink m_link;
    bool m_autoDisplay = true;
    bool m_loaded = false;
    QByteArray m_savedImage;  // the field's bytes while StartEditing switches state
    bool m_loading = false;   // change notifications are our own
    bool m_storing = false;   // the field change we cause is not news
};
