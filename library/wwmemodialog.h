#pragma once
// The view-only memo dialog a read-only grid opens on a memo cell: the field's
// stored content as plain text, and an OK button. OK, Esc, F2 and Ctrl+Enter
// close it; nothing is written back.

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class TwwMemoDialog : public QDialog {
    Q_OBJECT
public:
    // `caption` is the field's label; a tilde in it shows as a space.
    TwwMemoDialog(const QString& caption, const QString& text, const QFont& font, QWidget* parent = nullptr);

    QPlainTextEdit* memo() const { return m_memo; }
    QPushButton* okButton() const { return m_ok; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeControls();

    QPlainTextEdit* m_memo;
    QPushButton* m_ok;
};
