#pragma once

#include <QString>

#include <exception>

// A run-time error as the error handlers see it: number, the module that raised it, and what
// happened. Number 0 means no error.
struct RuntimeError
{
    qint32 number = 0;
    QString source;
    QString description;
};

// Thrown by logic code; the handler of the command that ran it reports it with ShowError.
class RuntimeErrorException : public std::exception
{
public:
    explicit RuntimeErrorException(RuntimeError error)
        : m_error(std::move(error)), m_what(m_error.description.toUtf8())
    {}
    RuntimeErrorException(qint32 number, QString source, QString description)
        : RuntimeErrorException(RuntimeError{number, std::move(source), std::move(description)})
    {}

    const RuntimeError &error() const { return m_error; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    RuntimeError m_error;
    QByteArray m_what;
};
