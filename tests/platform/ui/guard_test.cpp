#include "platform/ui/guard.h"
#include "platform/ui/messagedlg.h"
#include "tests/support/errorrecorder.h"

#include "platform/exception.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

TEST(ErrorBoxText, AppendsFullStopOnlyAfterCharactersThatSortAboveIt)
{
    struct Case {
        const char* message;
        const char* shown;
    } cases[] = {
        {"Field 'Titulo' must have a value", "Field 'Titulo' must have a value."},
        {"Already ends.", "Already ends."},
        {"Ends with a bracket)", "Ends with a bracket)"},
        {"Ends with a comma,", "Ends with a comma,"},
        {"Ends with a colon:", "Ends with a colon:."},
        {"Ends with a digit 7", "Ends with a digit 7."},
        {"Ends with a slash/", "Ends with a slash/."},
        {"Ends with an accent é", "Ends with an accent é."},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorBoxText(QString::fromUtf8(c.message)), QString::fromUtf8(c.shown)) << c.message;
}

TEST(Guard, AnExceptionEndsTheBodyAndReachesTheHandler)
{
    ErrorRecorder errors;
    bool after = false;
    guarded([&] {
        throw Exception("Cannot modify a read-only dataset");
        after = true;
    });
    EXPECT_FALSE(after);
    EXPECT_EQ(errors.messages(), QStringList{"Cannot modify a read-only dataset"});
}

TEST(Guard, ConnectedSlotsRunGuarded)
{
    ErrorRecorder errors;
    QPushButton button;
    connectGuarded(&button, &QPushButton::clicked, &button, [] { throw Exception("boom"); });
    button.click();
    EXPECT_EQ(errors.messages(), QStringList{"boom"});
}

TEST(Guard, TheDefaultHandlerShowsTheErrorBoxWithTheApplicationTitle)
{
    MessageDlgScript script;
    guarded([] { throw Exception("Field 'Autor' must have a value"); });
    ASSERT_EQ(script.requests().size(), 1u);
    const auto& box = script.requests()[0];
    EXPECT_EQ(box.caption, "Tessalind de Textos");
    EXPECT_EQ(box.text, "Field 'Autor' must have a value.");
    EXPECT_EQ(box.type, MsgDlgType::mtError);
    EXPECT_EQ(box.buttons, int(mbOK));
}

TEST(MessageDlgScript, AnswersInOrderThenWithTheFirstButton)
{
    MessageDlgScript script({mrCancel});
    EXPECT_EQ(messageDlg("Delete record?", MsgDlgType::mtConfirmation, mbOK | mbCancel), mrCancel);
    EXPECT_EQ(messageDlg("Delete record?", MsgDlgType::mtConfirmation, mbOK | mbCancel), mrOk);
    EXPECT_EQ(messageDlg("Discard?", MsgDlgType::mtConfirmation, mbYes | mbNo), mrYes);
    ASSERT_EQ(script.requests().size(), 3u);
    EXPECT_EQ(script.requests()[0].caption, "Confirm");
}

TEST(MessageDlg, ARealBoxReturnsTheButtonPressed)
{
    // Without a script the box is real: press its Cancel from inside its loop.
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w))
                for (auto* b : box->buttons())
                    if (b->text() == "Cancel")
                        b->click();
    });
    EXPECT_EQ(messageDlg("Delete record?", MsgDlgType::mtConfirmation, mbOK | mbCancel), mrCancel);
}
