#pragma once
// Every message box of the program goes through messageDlg, so that a test can
// answer it without a person (MessageDlgScript) and see what it said.

#include <QString>

#include <functional>
#include <vector>

class QWidget;

enum class MsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons, combined with |.
enum MsgDlgBtn : int {
    mbYes = 1 << 0,
    mbNo = 1 << 1,
    mbOK = 1 << 2,
    mbCancel = 1 << 3,
    mbAbort = 1 << 4,
    mbRetry = 1 << 5,
    mbIgnore = 1 << 6,
    mbAll = 1 << 7,
    mbNoToAll = 1 << 8,
    mbYesToAll = 1 << 9,
    mbHelp = 1 << 10,
};
using MsgDlgButtons = int;

// The answer: the button pressed, or mrCancel when the box was closed otherwise.
enum ModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

// Shows a modal message box and returns the button pressed. An empty caption
// takes the type's own ("Warning", "Error", "Information", "Confirm") or, for
// mtCustom, the application title.
int messageDlg(const QString& text, MsgDlgType type, MsgDlgButtons buttons,
               const QString& caption = QString(), QWidget* parent = nullptr);

struct MessageRequest {
    QString caption;
    QString text;
    MsgDlgType type;
    MsgDlgButtons buttons;
};

// While one exists, messageDlg shows nothing: it records each request and
// answers with the next scripted answer (mrOk, or the first button given, once
// the script runs out). Scripts nest; the innermost answers.
class MessageDlgScript {
public:
    explicit MessageDlgScript(std::vector<int> answers = {});
    ~MessageDlgScript();
    MessageDlgScript(const MessageDlgScript&) = delete;
    MessageDlgScript& operator=(const MessageDlgScript&) = delete;

    const std::vector<MessageRequest>& requests() const { return m_requests; }
    // Called with each request before it is answered, for tests that look at
    // the program's state while the box would be open.
    void onRequest(std::function<void(const MessageRequest&)> f) { m_onRequest = std::move(f); }

private:
    friend int messageDlg(const QString&, MsgDlgType, MsgDlgButtons, const QString&, QWidget*);
    int answer(const MessageRequest& request);

    std::vector<int> m_answers;
    std::size_t m_next = 0;
    std::vector<MessageRequest> m_requests;
    std::function<void(const MessageRequest&)> m_onRequest;
    MessageDlgScript* m_outer;
};
