#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Every box shown to the operator goes through here, so that tests can record the boxes
// instead of blocking on a modal dialog.

enum class MessageKind { Information, Error };

class MessageSink
{
public:
    virtual ~MessageSink();
    virtual void show(MessageKind kind, const QString &text) = 0;
};

// Installs a sink and returns the one it replaces; nullptr puts back the message boxes.
MessageSink *installMessageSink(MessageSink *sink);

// A plain modal information box with a fixed text.
void showMessage(const QString &text);
// The error report: a modal box with the critical icon and the error's text.
void showError(const QString &text);

// Records the messages instead of showing them, for as long as it lives.
class MessageRecorder : public MessageSink
{
public:
    MessageRecorder();
    ~MessageRecorder() override;
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    void show(MessageKind kind, const QString &text) override;

    QList<QPair<MessageKind, QString>> messages() const { return m_messages; }
    QStringList texts() const;
    void clear() { m_messages.clear(); }

private:
    MessageSink *m_previous = nullptr;
    QList<QPair<MessageKind, QString>> m_messages;
};
