// A cashier at the program, for the tests that run it as a process of its own: the real main
// window and data module on a station folder, driven through the keyboard.
//
//   shiftdesk start FOLDER   starts as the program does and ends: "STARTED <shift> <panels>"
//   shiftdesk type FOLDER    starts, then types shifts one after another until it is killed,
//                            writing one line for every store that has returned
//   shiftdesk serve FOLDER   starts, then follows commands from standard input, one a line
//
// Every line is flushed at once, so that a line read by the parent was written before the kill.
#include "support/desktyping.h"

#include "app/mainwindow.h"
#include "app/texthelpers.h"
#include "db/datamodule.h"
#include "inkass/inkasskvit.h"
#include "zreport/zotchet.h"

#include "platform/data/money.h"
#include "platform/ui/application.h"
#include "platform/ui/messages.h"

#include <QDir>
#include <QLineEdit>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

void say(const QString &line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

[[noreturn]] void fail(const QString &why)
{
    say(QStringLiteral("FAILED ") + why);
    std::_Exit(3);
}

// A box shown to the operator is where an unattended run stops: the harness expects none.
class FailOnMessage : public MessageSink
{
public:
    void show(MessageKind, const QString &text) override { fail(QString(text).replace(u'\n', u' ')); }
};

// What a served command makes the program show, for the reply.
class CollectMessages : public MessageSink
{
public:
    void show(MessageKind, const QString &text) override { texts << QString(text).replace(u'\n', u' '); }
    QStringList texts;
};

const QStringList figureColumns = {"ZDOC", "NZ", "NalProd", "NalVozvrat", "KredProd", "KredStorno",
                                   "VNOS", "VINOS", "INKASS", "SUMKASS", "NARPROD"};

QString money(const Money &amount)
{
    return amount.toString(2);
}

// The figures of one register's Z-report of a shift: made up from the shift's key and the
// register's number, so that typing them again after a restart stores the same values, and
// balanced against the register's previous Z-report, so that the shift can be accepted.
QHash<QString, QString> figuresOf(const TZOtchet &panel, qint32 idDovra, int kassa)
{
    const int b = (idDovra * 7 + kassa * 13) % 100;
    const Money sales = Money::fromDouble(5000 + 10 * b + 0.5);
    const Money refunds = Money::fromDouble(b + 0.25);
    const Money card = Money::fromDouble(2000 + b);
    const Money in = Money::fromDouble(100);
    const Money out = Money::fromDouble(50);
    const Money encashed = Money::fromDouble(3000 + b);
    const Money cash = Money::fromDouble(panel.prevSumKass) + sales - refunds + in - out - encashed;
    const Money total = Money::fromDouble(panel.prevNarProd) + sales + card;
    return {{"ZDOC", QString::number(idDovra * 10 + kassa)},
            {"NZ", QString::number(idDovra)},
            {"NalProd", money(sales)},
            {"NalVozvrat", money(refunds)},
            {"KredProd", money(card)},
            {"KredStorno", QStringLiteral("0")},
            {"VNOS", money(in)},
            {"VINOS", money(out)},
            {"INKASS", money(encashed)},
            {"SUMKASS", money(cash)},
            {"NARPROD", money(total)}};
}

bool shows(const QLineEdit *field, const QString &text)
{
    if (field->text().isEmpty())
        return false;
    return Money::fromDouble(strToFloatClean(field->text())) == Money::fromDouble(strToFloatClean(text));
}

class Desk
{
public:
    explicit Desk(const QString &folder)
        : main(QDir(folder).filePath(QStringLiteral("dovra.ini")))
        , dm(QStringList(), folder)
        , typing(main)
    {
        main.setDataModule(&dm);
    }

    // The start as the program makes it: the window shown and activated, which runs the first
    // activation; it must end with the panels built and, for an open shift, loaded.
    void start()
    {
        if (!typing.showActive())
            fail(QStringLiteral("the window did not become active"));
        if (main.kassPanelCount <= 0)
            fail(QStringLiteral("no register panels after the first activation"));
        for (int k = 1; k <= main.kassPanelCount && main.curIdDovra > 0; ++k) {
            if (main.kassPanels[k]->getIdZ() <= 0)
                fail(QStringLiteral("panel %1 shows no Z-report").arg(k));
        }
        say(QStringLiteral("STARTED %1 %2").arg(main.curIdDovra).arg(main.kassPanelCount));
    }

    // One shift after another: opened, every panel typed, a bag per register, accepted.
    [[noreturn]] void typeShifts()
    {
        for (;;) {
            if (main.curIdDovra == 0) {
                typing.openShift(QString::number(dm.tabDOVRA.recordCount() + 1));
                if (main.curIdDovra == 0)
                    fail(QStringLiteral("the shift did not open"));
                say(QStringLiteral("SHIFT\t%1\t%2").arg(main.curIdDovra).arg(main.edNSMBUKTS->text()));
            }
            for (int k = 1; k <= main.kassPanelCount; ++k)
                typePanel(k);
            for (int k = 1; k <= main.kassPanelCount; ++k)
                typeBag(k);
            const qint32 shift = main.curIdDovra;
            if (!typing.accept())
                fail(QStringLiteral("the shift %1 cannot be accepted: control %2")
                         .arg(shift)
                         .arg(main.MemoKONTROL->text()));
            say(QStringLiteral("ACCEPT\t%1").arg(shift));
            typing.startNewShift();
        }
    }

    void typePanel(int kassa)
    {
        const TZOtchet &panel = *main.kassPanels[kassa];
        const QHash<QString, QString> figures = figuresOf(panel, main.curIdDovra, kassa);
        for (const QString &column : figureColumns) {
            const QString text = figures.value(column);
            if (shows(typing.zField(kassa, column), text))
                continue;
            typing.typeZ(kassa, column, text);
            say(QStringLiteral("Z\t%1\t%2\t%3").arg(panel.getIdZ()).arg(column, text));
        }
    }

    void typeBag(int kassa)
    {
        const QString number = QString::number(main.curIdDovra * 10 + kassa);
        const QString sum = figuresOf(*main.kassPanels[kassa], main.curIdDovra, kassa).value("INKASS");
        if (const TInkassKvit *box = typing.bagBox(number); box && shows(box->memoSum, sum))
            return;
        const TInkassKvit *box = typing.typeBag(number, sum);
        say(QStringLiteral("BAG\t%1\t%2\t%3").arg(box->idInkassKvit).arg(number, sum));
    }

    // Commands: "open N", "z K COLUMN TEXT", "bag N SUM", "reload", "show K COLUMN", "bags",
    // "quit". Each gets one reply: "OK ...", "VALUE ..." or "ERROR <the messages shown>".
    int serve()
    {
        CollectMessages messages;
        MessageSink *previous = installMessageSink(&messages);
        std::string line;
        while (std::getline(std::cin, line)) {
            const QStringList words = QString::fromStdString(line).split(u' ', Qt::SkipEmptyParts);
            if (words.isEmpty())
                continue;
            if (words.first() == QStringLiteral("quit"))
                break;
            const QString reply = run(words);
            say(messages.texts.isEmpty() ? reply : QStringLiteral("ERROR ") + messages.texts.join(u' '));
            messages.texts.clear();
        }
        installMessageSink(previous);
        main.close();
        return 0;
    }

    QString run(const QStringList &words)
    {
        const QString command = words.first();
        if (command == QStringLiteral("open") && words.size() == 2) {
            typing.openShift(words.at(1));
            return QStringLiteral("OK %1").arg(main.curIdDovra);
        }
        if (command == QStringLiteral("z") && words.size() == 4) {
            typing.typeZ(words.at(1).toInt(), words.at(2), words.at(3));
            return QStringLiteral("OK %1").arg(main.kassPanels[words.at(1).toInt()]->getIdZ());
        }
        if (command == QStringLiteral("bag") && words.size() == 3)
            return QStringLiteral("OK %1").arg(typing.typeBag(words.at(1), words.at(2))->idInkassKvit);
        if (command == QStringLiteral("reload")) {
            main.FromDovraToZGo();
            return QStringLiteral("OK");
        }
        if (command == QStringLiteral("show") && words.size() == 3)
            return QStringLiteral("VALUE ") + typing.zField(words.at(1).toInt(), words.at(2))->text();
        if (command == QStringLiteral("bags")) {
            QStringList bags;
            for (int i = 1; i <= main.kvitCount; ++i) {
                if (main.kvitBoxes[i]->idInkassKvit != 0)
                    bags << main.kvitBoxes[i]->memoNKv->text() + u'|' + main.kvitBoxes[i]->memoSum->text();
            }
            return QStringLiteral("VALUE ") + bags.join(u';');
        }
        return QStringLiteral("ERROR unknown command ") + words.join(u' ');
    }

    TfMain main;
    TfDM dm;
    DeskTyping typing;
};

} // namespace

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fputs("usage: shiftdesk start|type|serve FOLDER\n", stderr);
        return 2;
    }
    const QString mode = args.at(1);
    FailOnMessage failOnMessage;
    installMessageSink(&failOnMessage);
    Desk desk(args.at(2));
    desk.start();
    if (mode == QStringLiteral("type"))
        desk.typeShifts();
    if (mode == QStringLiteral("serve"))
        return desk.serve();
    installMessageSink(nullptr);
    return 0;
}
