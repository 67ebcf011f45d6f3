#pragma once
// A texts table whose rows carry the given memos, a shown window with a
// data-bound rich edit on its Texto field, and a count of the control's
// stream reads (a reload shows as one more read).
#include "library/dataset/memofield.h"
#include "richtext/wwdbrichedit.h"
#include "richtext/wwfontdialog.h"
#include "richtext/wwrichpopupmenu.h"
#include "tests/library/dataset/cursorfixture.h"
#include "tests/support/errorrecorder.h"
#include "tests/support/qtprinters.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class CountingRichEdit : public TwwDBRichEdit {
public:
    using TwwDBRichEdit::TwwDBRichEdit;
    int reads = 0;
    // When set, a read of this format fails as the control's reader would.
    std::function<void(Stream)> failRead;

protected:
    void readStream(const QByteArray& bytes, Stream format) override
    {
        ++reads;
        if (failRead)
            failRead(format);
        TwwDBRichEdit::readStream(bytes, format);
    }
};

class DBRichEditFixture : public ::testing::Test {
protected:
    // Each call starts again on a table of its own (cases of a table).
    void openWith(const std::vector<std::string>& memos, bool readOnlyTable = false)
    {
        delete edit;
        edit = nullptr;
        delete other;
        other = nullptr;
        db = std::make_unique<CursorFixture>();
        db->createTable({});
        {
            auto raw = db->rawTable();
            int n = 0;
            for (const std::string& memo : memos) {
                const std::string t = "T" + std::to_string(++n);
                raw->insert(std::nullopt, {t, "A", "S", "L", memo});
            }
        }
        table = db->makeTable();
        table->setReadOnly(readOnlyTable);
        edit = new CountingRichEdit(&window);
        if (failRead)
            edit->failRead = failRead;
        edit->setDataSource(db->source());
        edit->setDataField(QStringLiteral("Texto"));
        edit->setGeometry(0, 0, 400, 300);
        other = new QWidget(&window);
        window.resize(400, 320);
        window.show();
        edit->show();  // made after the window showed
        table->Open();
    }
    QByteArray stored() const
    {
        return static_cast<TMemoField*>(table->FieldByName(QStringLiteral("Texto")))->AsBytes();
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = QString())
    {
        QKeyEvent press(QEvent::KeyPress, k, mods, text);
        QApplication::sendEvent(edit, &press);
    }
    void type(const QString& text)
    {
        for (QChar c : text)
            key(Qt::Key(c.toUpper().unicode()), Qt::NoModifier, QString(c));
    }
    void leave()
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(edit, &out);
    }

    void TearDown() override
    {
        delete edit;
        edit = nullptr;
    }

    // Formats the first row's text "Bold italic under font\r\nbullet line"
    // through the context menu as a user would, and posts it: the first three
    // words bold, italic and underlined, the fourth in Liberation Mono 18 pt
    // red through the font dialog, the second line bulleted.
    void formatThroughTheMenu()
    {
        edit->setPopupOptions(edit->PopupOptions() | rpoPopupBold | rpoPopupItalic | rpoPopupUnderline);
        TwwRichEditPopupMenu& menu = *edit->PopupMenu();
        const auto choose = [&](int start, int length, QAction* item) {
            edit->setSelection(start, length);
            edit->PreparePopupMenu();
            ASSERT_TRUE(item->isVisible() && item->isEnabled()) << item->objectName().toStdString();
            item->trigger();
        };
        choose(0, 4, menu.boldItem());
        choose(5, 6, menu.italicItem());
        choose(12, 5, menu.underlineItem());
        QTimer::singleShot(0, edit, [this] {
            TwwFontDialog* d = edit->FontDialog();
            d->setSelectedFont(QFont(QStringLiteral("Liberation Mono"), 18));
            d->colorList()->setCurrentIndex(d->colorList()->findText(QStringLiteral("Red")));
            d->accept();
        });
        choose(18, 4, menu.fontItem());
        choose(24, 0, menu.bulletItem());
        table->Post();
    }
    static constexpr const char* unformatted = "{\\rtf1\\ansi Bold italic under font\\par bullet line}";

    std::unique_ptr<CursorFixture> db;
    ErrorRecorder errors;
    QWidget window;
    std::function<void(RichEdit::Stream)> failRead;  // for the next openWith
    CountingRichEdit* edit = nullptr;
    QWidget* other = nullptr;
    TwwTable* table = nullptr;
};
