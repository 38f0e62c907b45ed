#include "app/mainwindow.h"
#include "app/passwordwindow.h"
#include "refdata/edfilialazs.h"
#include "refdata/edkkm.h"
#include "refdata/edpersonal.h"
#include "support/station.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cmath>

namespace {

QAction *menuItem(TfMain &main, const QString &menu, const QString &caption)
{
    for (QAction *group : main.menuBar()->actions())
        if (group->text() == menu)
            for (QAction *action : group->menu()->actions())
                if (action->text() == caption)
                    return action;
    return nullptr;
}

// The item is there to be chosen: shown, in a menu that can be opened.
bool offered(const QAction *item)
{
    const auto menu = item ? qobject_cast<const QMenu *>(item->parent()) : nullptr;
    return menu && menu->isEnabled() && item->isVisible() && item->isEnabled();
}

// The demo station's main window with the password window and the three editors, created in
// the program's order.
struct Desk
{
    Desk()
    {
        station.main->setPasswordWindow(&password);
        station.main->setReferenceEditors(&requisites, &operators, &registers);
        station.main->FormActivate();
    }

    QAction *item(const QString &menu, const QString &caption) { return menuItem(*station.main, menu, caption); }

    Station station;
    TfPWD password{station.main.get()};
    TfEdFILIALAZS requisites{station.dm.get(), station.main.get()};
    TfEdPersonal operators{station.dm.get(), station.main.get()};
    TfEdKKM registers{station.dm.get(), station.main.get()};
};

// Answers the modal windows as they come up: the password window as told, any other window is
// noted and closed.
class Answerer : public QObject
{
public:
    enum Answer { Right, Wrong, Cancelled };

    Answerer(TfPWD *password, Answer answer)
        : m_password(password)
        , m_answer(answer)
    {
        m_poll.setInterval(10);
        connect(&m_poll, &QTimer::timeout, this, &Answerer::answer);
        m_poll.start();
    }

    QStringList opened;
    int passwordHeight = 0;
    bool saveEnabled = true;
    QPoint passwordPosition;

private:
    void answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (modal != m_password) {
            opened << modal->objectName();
            static_cast<QDialog *>(modal)->reject();
            return;
        }
        passwordHeight = m_password->height();
        saveEnabled = m_password->btnPWDNEW->isEnabled();
        passwordPosition = m_password->pos();
        m_password->edPWD->setText(m_answer == Wrong ? QStringLiteral("qtr47") : TfPWD::builtInPassword);
        if (m_answer != Cancelled)
            QTest::keyClick(m_password->edPWD, Qt::Key_Return);
        if (m_answer != Right) {
            QVERIFY(m_password->isVisible());
            m_password->reject();
        }
    }

    TfPWD *m_password;
    Answer m_answer;
    QTimer m_poll;
};

} // namespace

class TestReferenceMenus : public QObject
{
    Q_OBJECT

private slots:
    void theEditorsAreOfferedOnlyOnceTheyExist()
    {
        Station bare;
        Desk desk;
        for (const auto &[menu, caption] : {std::pair{"РЕКВИЗИТЫ", "ИЗМЕНИТЬ"}, {"РЕКВИЗИТЫ", "ПЕЧАТАТЬ"},
                                             {"ОПЕРАТОРЫ", "НОВЫЙ"}, {"ОПЕРАТОРЫ", "КОРРЕКЦИЯ"},
                                             {"КАССА", "ДОБАВИТЬ КАССУ"}, {"КАССА", "ПОМЕНЯТЬ ККМ"}}) {
            QVERIFY(offered(menuItem(*desk.station.main, menu, caption)));
            QVERIFY(!offered(menuItem(*bare.main, menu, caption)));
        }
    }

    // Every editor item asks for the password first, in check mode, and opens its editor only
    // when the password was accepted with Enter.
    void theEditorsOpenOnlyAfterThePassword_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("editor");
        QTest::addColumn<int>("answer");
        const QList<std::tuple<const char *, const char *, const char *>> items = {
            {"РЕКВИЗИТЫ", "ИЗМЕНИТЬ", "fEdFILIALAZS"}, {"ОПЕРАТОРЫ", "НОВЫЙ", "fEdPersonal"},
            {"ОПЕРАТОРЫ", "КОРРЕКЦИЯ", "fEdPersonal"}, {"КАССА", "ДОБАВИТЬ КАССУ", "fEdKKM"},
            {"КАССА", "ПОМЕНЯТЬ ККМ", "fEdKKM"}};
        const QList<std::pair<const char *, Answerer::Answer>> answers = {
            {"right", Answerer::Right}, {"wrong", Answerer::Wrong}, {"cancelled", Answerer::Cancelled}};
        for (const auto &[menu, caption, editor] : items)
            for (const auto &[name, answer] : answers)
                QTest::addRow("%s / %s, %s", menu, caption, name)
                    << QString::fromUtf8(menu) << QString::fromUtf8(caption) << QString::fromLatin1(editor)
                    << int(answer);
    }
    void theEditorsOpenOnlyAfterThePassword()
    {
        QFETCH(QString, menu);
        QFETCH(QString, caption);
        QFETCH(QString, editor);
        QFETCH(int, answer);
        Desk desk;
        desk.password.setFixedHeight(TfPWD::changeHeight);
        desk.password.btnPWDNEW->setEnabled(true);
        desk.password.move(0, 0);
        Answerer answerer(&desk.password, Answerer::Answer(answer));
        desk.item(menu, caption)->trigger();
        QCOMPARE(answerer.opened, answer == Answerer::Right ? QStringList{editor} : QStringList{});
        QCOMPARE(answerer.passwordHeight, TfPWD::entryHeight);
        QVERIFY(!answerer.saveEnabled);
        if (menu == QStringLiteral("ОПЕРАТОРЫ")) {
            const QSize free = desk.station.main->size() - desk.password.size();
            QCOMPARE(answerer.passwordPosition, QPoint(int(std::nearbyint(free.width() / 2.0)),
                                                       int(std::nearbyint(free.height() / 2.0))));
        }
    }

    void printingTheRequisitesLeavesTheWindowWhole()
    {
        Desk desk;
        Answerer answerer(&desk.password, Answerer::Right);
        desk.item("РЕКВИЗИТЫ", "ПЕЧАТАТЬ")->trigger();
        QVERIFY(answerer.opened.isEmpty());
        QVERIFY(!desk.requisites.isVisible());
        for (QWidget *control : std::initializer_list<QWidget *>{desk.requisites.lblFILIALINP,
                                                                 desk.requisites.lblFILIALSAVE,
                                                                 desk.requisites.btnFILIALSAVE})
            QVERIFY(control->isVisibleTo(&desk.requisites));
    }
};

QTEST_MAIN(TestReferenceMenus)
#include "tst_referencemenus.moc"
