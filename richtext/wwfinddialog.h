#pragma once
// The modeless find and replace dialogs of a rich edit: one class, built as
// either. Searches run forwards only, so there is no direction choice; both
// offer match case and whole word, the replace dialog also the replacement
// and its two buttons. The dialog only collects what the user asks; the rich
// edit that owns it does the searching when a button signal arrives.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

class TwwFindDialog : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Find, Replace };
    TwwFindDialog(Kind kind, QWidget* parent);

    Kind kind() const { return m_kind; }
    QString FindText() const;
    void setFindText(const QString& text);
    QString ReplaceText() const;
    void setReplaceText(const QString& text);
    bool MatchCase() const;
    void setMatchCase(bool on);
    bool WholeWord() const;
    void setWholeWord(bool on);
    // True while the replace-all button's press is being handled.
    bool ReplaceAllPressed() const { return m_replaceAll; }

    QPushButton* findNextButton() const { return m_findNext; }
    QPushButton* replaceButton() const { return m_replace; }
    QPushButton* replaceAllButton() const { return m_replaceAllButton; }

signals:
    void findNextClicked();
    void replaceClicked();
    void replaceAllClicked();
    void closed();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void updateButtons();

    Kind m_kind;
    QLineEdit* m_findText = nullptr;
    QLineEdit* m_replaceText = nullptr;
    QCheckBox* m_wholeWord = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QPushButton* m_findNext = nullptr;
    QPushButton* m_replace = nullptr;
    QPushButton* m_replaceAllButton = nullptr;
    bool m_replaceAll = false;
};
