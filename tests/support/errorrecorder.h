#pragma once
// While one exists, errors that reach the application's handler are recorded
// instead of shown.
#include "platform/ui/guard.h"
#include "tests/support/qtprinters.h"

#include <QStringList>

class ErrorRecorder {
public:
    ErrorRecorder()
        : m_previous(setExceptionHandler([this](const QString& message) { m_messages << message; }))
    {
    }
    ~ErrorRecorder() { setExceptionHandler(std::move(m_previous)); }
    ErrorRecorder(const ErrorRecorder&) = delete;
    ErrorRecorder& operator=(const ErrorRecorder&) = delete;

    const QStringList& messages() const { return m_messages; }
    void clear() { m_messages.clear(); }

private:
    QStringList m_messages;
    ExceptionHandler m_previous;
};
