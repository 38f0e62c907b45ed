#include "app/mainwindow.h"
#include "app/passwordwindow.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The password window of a main window whose dovra.ini may hold a password.
class Desk
{
public:
    explicit Desk(const QString &storedPassword = QString())
        : ini(QDir(dir.path()).filePath("dovra.ini"))
    {
        if (!storedPassword.isNull())
            ini.writeString("PASSWORD", "pwdstr", storedPassword);
        ini.writeString("common", "backup_dir", dir.path());
        main = std::make_unique<TfMain>(ini.fileName());
        window = new TfPWD(main.get());
    }

    // Shows the window in a mode, as its callers do, without entering its own event loop.
    void open(bool changeMode)
    {
        window->setFixedHeight(TfPWD::entryHeight);
        window->btnPWDNEW->setEnabled(changeMode);
        window->FormActivate();
        window->setResult(QDialog::Rejected);
        window->show();
    }
    void enter(QLineEdit *field, const QString &text)
    {
        field->setText(text);
        QTest::keyClick(field, Qt::Key_Return);
    }
    bool accepts(const QString &password)
    {
        open(false);
        enter(window->edPWD, password);
        return window->pwdOk && window->result() == QDialog::Accepted;
    }

    QTemporaryDir dir;
    IniFile ini;
    std::unique_ptr<TfMain> main;
    TfPWD *window = nullptr;
};

} // namespace

class TestPasswordWindow : public QObject
{
    Q_OBJECT

private slots:
    void checkMode_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("no key, the built-in one") << QString() << "qtr48" << true;
        QTest::newRow("no key, something else") << QString() << "qtr49" << false;
        QTest::newRow("the stored one") << "Смена1" << "Смена1" << true;
        QTest::newRow("the built-in one beside a stored one") << "Смена1" << "qtr48" << true;
        QTest::newRow("case counts") << "Смена1" << "смена1" << false;
        QTest::newRow("blanks count") << "Смена1" << "Смена1 " << false;
    }
    void checkMode()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        Desk desk(stored);
        QCOMPARE(desk.accepts(typed), accepted);
        QCOMPARE(desk.window->lblPWDcor->isVisibleTo(desk.window), !accepted);
        QCOMPARE(desk.window->isVisible(), !accepted);
        if (accepted)
            QVERIFY(desk.window->edPWD->text().isEmpty());
    }

    void closingWithoutEnterOpensNothing()
    {
        Desk desk;
        desk.open(false);
        QTest::keyClicks(desk.window->edPWD, "qtr48");
        desk.window->reject();
        QVERIFY(!desk.window->pwdOk);
    }

    void changingThePassword()
    {
        Desk desk("старый");
        desk.open(true);
        QCOMPARE(desk.window->height(), TfPWD::entryHeight);
        desk.enter(desk.window->edPWD, "старый");
        QCOMPARE(desk.window->height(), TfPWD::changeHeight);

        desk.window->edPWDNEW1->setText("новый");
        desk.window->edPWDNEW2->setText("новый2");
        desk.window->btnPWDNEWClick();
        QVERIFY(desk.window->lblPWDeq->isVisibleTo(desk.window));
        QVERIFY(desk.window->isVisible());
        QCOMPARE(desk.main->pwdStr(), QStringLiteral("старый"));

        desk.window->edPWDNEW2->setText("новый");
        desk.window->btnPWDNEWClick();
        QVERIFY(!desk.window->isVisible());
        QCOMPARE(desk.main->pwdStr(), QStringLiteral("новый"));
        QCOMPARE(desk.ini.readString("PASSWORD", "pwdstr", QString()), QStringLiteral("новый"));

        QVERIFY(desk.accepts("новый"));
        QVERIFY(desk.accepts("qtr48"));
        QVERIFY(!desk.accepts("старый"));
    }

    void savingWithAWrongOldPasswordChangesNothing()
    {
        Desk desk("старый");
        desk.open(true);
        desk.window->edPWD->setText("неверный");
        desk.window->edPWDNEW1->setText("новый");
        desk.window->edPWDNEW2->setText("новый");
        desk.window->btnPWDNEWClick();
        QVERIFY(desk.window->lblPWDcor->isVisibleTo(desk.window));
        QCOMPARE(desk.main->pwdStr(), QStringLiteral("старый"));
        QCOMPARE(desk.ini.readString("PASSWORD", "pwdstr", QString()), QStringLiteral("старый"));
    }

    void anEmptyPasswordCanBeSetAndUsed()
    {
        Desk desk;
        desk.open(true);
        desk.enter(desk.window->edPWD, "qtr48");
        desk.window->btnPWDNEWClick();
        QCOMPARE(desk.main->pwdStr(), QString());
        QVERIFY(desk.accepts(QString()));
    }
};

QTEST_MAIN(TestPasswordWindow)
#include "tst_passwordwindow.moc"
