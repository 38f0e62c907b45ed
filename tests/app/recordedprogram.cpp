// The program as a station starts it, with every message box written to standard output instead
// of shown: "error: TEXT" or "message: TEXT", line breaks in the text written as "\n". Once the
// first activation has built the shift view it writes "started: WINDOW TITLE". Tests start it as a
// child process in a station folder and read what it told the operator.
#include "app/mainwindow.h"
#include "app/program.h"

#include "platform/ui/application.h"
#include "platform/ui/messages.h"

#include <QTimer>

#include <cstdio>

namespace {

void writeLine(const char *kind, QString text)
{
    text.replace(u'\n', QStringLiteral("\\n"));
    std::printf("%s: %s\n", kind, text.toUtf8().constData());
    std::fflush(stdout);
}

class PrintedMessages : public MessageSink
{
public:
    void show(MessageKind kind, const QString &text) override
    {
        writeLine(kind == MessageKind::Error ? "error" : "message", text);
    }
};

} // namespace

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    PrintedMessages messages;
    installMessageSink(&messages);
    QTimer watch;
    watch.callOnTimeout([&watch] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            const auto *main = qobject_cast<TfMain *>(window);
            if (main && main->kassPanelCount >= 0) {
                writeLine("started", main->windowTitle());
                watch.stop();
            }
        }
    });
    watch.start(50);
    return runProgram(app);
}
