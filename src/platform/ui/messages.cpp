#include "messages.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace {

MessageSink *currentSink = nullptr;

// Modal boxes over the active window, captioned with the program's name.
void showBox(MessageKind kind, const QString &text)
{
    // Without a widget application (a console tool) a box cannot exist: the text goes to stderr
    // rather than aborting the process.
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        return;
    }
    QWidget *parent = QApplication::activeWindow();
    const QString caption = QGuiApplication::applicationDisplayName();
    if (kind == MessageKind::Error)
        QMessageBox::critical(parent, caption, text);
    else
        QMessageBox::information(parent, caption, text);
}

void dispatch(MessageKind kind, const QString &text)
{
    if (currentSink)
        currentSink->show(kind, text);
    else
        showBox(kind, text);
}

} // namespace

MessageSink::~MessageSink() = default;

MessageSink *installMessageSink(MessageSink *sink)
{
    MessageSink *previous = currentSink;
    currentSink = sink;
    return previous;
}

void showMessage(const QString &text)
{
    dispatch(MessageKind::Information, text);
}

void showError(const QString &text)
{
    dispatch(MessageKind::Error, text);
}

MessageRecorder::MessageRecorder()
    : m_previous(installMessageSink(this))
{}

MessageRecorder::~MessageRecorder()
{
    installMessageSink(m_previous);
}

void MessageRecorder::show(MessageKind kind, const QString &text)
{
    m_messages.append({kind, text});
}

QStringList MessageRecorder::texts() const
{
    QStringList result;
    for (const auto &message : m_messages)
        result.append(message.second);
    return result;
}
