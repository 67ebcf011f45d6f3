#include "richtext/wwfinddialog.h"

#include "platform/ui/guard.h"
#include "richtext/wwrichintl.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TwwFindDialog::TwwFindDialog(Kind kind, QWidget* parent) : QDialog(parent), m_kind(kind)
{
    const TwwRichEditSearchLabels& t = TwwRichEditIntl::instance().Search;
    const bool replacing = kind == Kind::Replace;
    setObjectName(replacing ? QStringLiteral("ReplaceDialog") : QStringLiteral("FindDialog"));
    setWindowTitle(replacing ? t.ReplaceCaption : t.FindCaption);
    setModal(false);

    auto* grid = new QGridLayout(this);
    auto* findLabel = new QLabel(t.FindWhat, this);
    m_findText = new QLineEdit(this);
    m_findText->setObjectName(QStringLiteral("FindText"));
    m_findText->setAccessibleName(QString(t.FindWhat).remove(QLatin1Char('&')).remove(QLatin1Char(':')));
    findLabel->setBuddy(m_findText);
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(m_findText, 0, 1);
    int row = 1;
    if (replacing) {
        auto* replaceLabel = new QLabel(t.ReplaceWith, this);
        m_replaceText = new QLineEdit(this);
        m_replaceText->setObjectName(QStringLiteral("ReplaceText"));
        m_replaceText->setAccessibleName(QString(t.ReplaceWith).remove(QLatin1Char('&')).remove(QLatin1Char(':')));
        replaceLabel->setBuddy(m_replaceText);
        grid->addWidget(replaceLabel, row, 0);
        grid->addWidget(m_replaceText, row, 1);
        ++row;
    }
    m_wholeWord = new QCheckBox(t.WholeWord, this);
    m_wholeWord->setObjectName(QStringLiteral("WholeWord"));
    m_matchCase = new QCheckBox(t.MatchCase, this);
    m_matchCase->setObjectName(QStringLiteral("MatchCase"));
    grid->addWidget(m_wholeWord, row++, 0, 1, 2);
    grid->addWidget(m_matchCase, row++, 0, 1, 2);
    grid->setRowStretch(row, 1);

    auto* buttons = new QVBoxLayout;
    m_findNext = new QPushButton(t.FindNext, this);
    m_findNext->setObjectName(QStringLiteral("FindNextButton"));
    m_findNext->setDefault(true);
    buttons->addWidget(m_findNext);
    connectGuarded(m_findNext, &QPushButton::clicked, this, [this] { emit findNextClicked(); });
    if (replacing) {
        m_replace = new QPushButton(t.ReplaceButton, this);
        m_replace->setObjectName(QStringLiteral("ReplaceButton"));
        m_replaceAllButton = new QPushButton(t.ReplaceAll, this);
        m_replaceAllButton->setObjectName(QStringLiteral("ReplaceAllButton"));
        buttons->addWidget(m_replace);
        buttons->addWidget(m_replaceAllButton);
        connectGuarded(m_replace, &QPushButton::clicked, this, [this] { emit replaceClicked(); });
        connectGuarded(m_replaceAllButton, &QPushButton::clicked, this, [this] {
            // The flag tells the search to go on after each replacement; it
            // must drop even when the search raises.
            m_replaceAll = true;
            struct Reset {
                bool& flag;
                ~Reset() { flag = false; }
            } reset{m_replaceAll};
            emit replaceAllClicked();
        });
    }
    auto* cancel = new QPushButton(t.Cancel, this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    grid->addLayout(buttons, 0, 2, row + 1, 1);

    connect(m_findText, &QLineEdit::textChanged, this, &TwwFindDialog::updateButtons);
    updateButtons();
}

QString TwwFindDialog::FindText() const { return m_findText->text(); }

void TwwFindDialog::setFindText(const QString& text)
{
    m_findText->setText(text);
    m_findText->selectAll();
}

QString TwwFindDialog::ReplaceText() const { return m_replaceText ? m_replaceText->text() : QString(); }

void TwwFindDialog::setReplaceText(const QString& text)
{
    if (m_replaceText)
        m_replaceText->setText(text);
}

bool TwwFindDialog::MatchCase() const { return m_matchCase->isChecked(); }

void TwwFindDialog::setMatchCase(bool on) { m_matchCase->setChecked(on); }

bool TwwFindDialog::WholeWord() const { return m_wholeWord->isChecked(); }

void TwwFindDialog::setWholeWord(bool on) { m_wholeWord->setChecked(on); }

void TwwFindDialog::updateButtons()
{
    // Nothing to look for: the search buttons wait for a text.
    const bool any = !m_findText->text().isEmpty();
    m_findNext->setEnabled(any);
    if (m_replace) {
        m_replace->setEnabled(any);
        m_replaceAllButton->setEnabled(any);
    }
}

void TwwFindDialog::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    emit closed();
}
