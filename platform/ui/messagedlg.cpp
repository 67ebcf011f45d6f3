#include "platform/ui/messagedlg.h"

#include "platform/ui/application.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

MessageDlgScript* g_script = nullptr;

QString typeCaption(MsgDlgType type)
{
    switch (type) {
    case MsgDlgType::mtWarning: return QStringLiteral("Warning");
    case MsgDlgType::mtError: return QStringLiteral("Error");
    case MsgDlgType::mtInformation: return QStringLiteral("Information");
    case MsgDlgType::mtConfirmation: return QStringLiteral("Confirm");
    case MsgDlgType::mtCustom: break;
    }
    return Application::title();
}

QMessageBox::Icon typeIcon(MsgDlgType type)
{
    switch (type) {
    case MsgDlgType::mtWarning: return QMessageBox::Warning;
    case MsgDlgType::mtError: return QMessageBox::Critical;
    case MsgDlgType::mtInformation: return QMessageBox::Information;
    case MsgDlgType::mtConfirmation: return QMessageBox::Question;
    case MsgDlgType::mtCustom: break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonSpec {
    MsgDlgBtn button;
    const char* caption;
    QMessageBox::ButtonRole role;
    int result;
};

// In the order the buttons stand in the box.
constexpr ButtonSpec kButtons[] = {
    {mbYes, "&Yes", QMessageBox::YesRole, mrYes},
    {mbNo, "&No", QMessageBox::NoRole, mrNo},
    {mbOK, "OK", QMessageBox::AcceptRole, mrOk},
    {mbCancel, "Cancel", QMessageBox::RejectRole, mrCancel},
    {mbAbort, "&Abort", QMessageBox::RejectRole, mrAbort},
    {mbRetry, "&Retry", QMessageBox::AcceptRole, mrRetry},
    {mbIgnore, "&Ignore", QMessageBox::AcceptRole, mrIgnore},
    {mbAll, "&All", QMessageBox::AcceptRole, mrAll},
    {mbNoToAll, "N&o to All", QMessageBox::NoRole, mrNoToAll},
    {mbYesToAll, "Yes to &All", QMessageBox::YesRole, mrYesToAll},
    {mbHelp, "&Help", QMessageBox::HelpRole, mrNone},
};

int firstButtonResult(MsgDlgButtons buttons)
{
    for (const auto& b : kButtons)
        if (buttons & b.button)
            return b.result;
    return mrOk;
}

}  // namespace

MessageDlgScript::MessageDlgScript(std::vector<int> answers)
    : m_answers(std::move(answers)), m_outer(g_script)
{
    g_script = this;
}

MessageDlgScript::~MessageDlgScript() { g_script = m_outer; }

int MessageDlgScript::answer(const MessageRequest& request)
{
    m_requests.push_back(request);
    if (m_onRequest)
        m_onRequest(request);
    if (m_next < m_answers.size())
        return m_answers[m_next++];
    return firstButtonResult(request.buttons);
}

int messageDlg(const QString& text, MsgDlgType type, MsgDlgButtons buttons,
               const QString& caption, QWidget* parent)
{
    const QString title = caption.isEmpty() ? typeCaption(type) : caption;
    if (g_script)
        return g_script->answer({title, text, type, buttons});

    QMessageBox box(typeIcon(type), title, text, QMessageBox::NoButton,
                    parent ? parent : QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    int escapeResult = mrCancel;
    QPushButton* first = nullptr;
    for (const auto& b : kButtons) {
        if (!(buttons & b.button))
            continue;
        QPushButton* button = box.addButton(QString::fromUtf8(b.caption), b.role);
        button->setProperty("tessResult", b.result);
        if (!first)
            first = button;
        if (b.button == mbCancel)
            box.setEscapeButton(button);
    }
    if (!first) {
        first = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        first->setProperty("tessResult", int(mrOk));
        escapeResult = mrOk;
    }
    box.setDefaultButton(first);
    box.exec();
    if (auto* clicked = qobject_cast<QPushButton*>(box.clickedButton()))
        return clicked->property("tessResult").toInt();
    return escapeResult;
}
