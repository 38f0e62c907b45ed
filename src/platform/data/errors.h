#pragma once

#include <QString>

#include <stdexcept>

// Errors of the database layer and of text-to-number conversions. They travel up to the one
// error report of the application, which shows the text and lets the program go on.
class AppError : public std::runtime_error
{
public:
    explicit AppError(const QString &message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {}

    QString message() const { return m_message; }

private:
    QString m_message;
};

class DbError : public AppError
{
public:
    using AppError::AppError;
};

class ConvertError : public AppError
{
public:
    using AppError::AppError;
};
