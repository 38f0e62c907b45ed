#include "refdata/edfilialazs.h"
#include "support/hostiletexts.h"
#include "support/shiftfixture.h"
#include "support/station.h"
#include "typing.h"

#include "platform/ui/focuschain.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTest>

namespace {

// The requisites editor on the demo station (station 17, BUK-TS for Linux), created before the
// database is connected, as the program does, and shown.
struct Desk
{
    Desk()
    {
        station.dm->connectDatabase(station.ini);
        editor.show();
    }

    QString stored(const QString &column)
    {
        return station.scalar(QStringLiteral("select %1 from AZSFILIAL").arg(column)).value().toString();
    }
    template<class W>
    W *control(const char *name)
    {
        W *found = editor.findChild<W *>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }

    Station station;
    TfEdFILIALAZS editor{station.dm.get(), station.main.get()};
};

// The fields in tab order with the columns they show; the confirm button has none.
const QList<std::pair<const char *, const char *>> tabOrder = {
    {"dbeRBE", "nazvRBE"},        {"dbeFILIAL", "FILIAL"},     {"dbeTEL", "telRBE"},
    {"dbeAdresRBE", "adresRBE"},  {"dbeOKPO", "OKPO"},         {"dbeINN", "INN"},
    {"dbeOKDP", "OKDP"},          {"dbeBANK", "BANK"},         {"DBEdit1", "BIK"},
    {"dbeRSchet", "RSchet"},      {"dbeKSchet", "KSchet"},     {"dbeRUKFIO", "RUKFIO"},
    {"dbeRUKDOLJN", "RUKDOLJN"},  {"DBEdit2", "GLBUHFIO"},     {"DBEdit3", "GLBUHDOLJN"},
    {"dbeAZSN", "nAZS"},          {"DBCheckBox1", "LINUX"},    {"dbeUPRAVFIO", "UPRAVFIO"},
    {"btnFILIALSAVE", nullptr},   {"dbeBUHGALTER", "BUHGALTER"}, {"DBEdit4", "DIREKTOR"},
    {"dbeUpravDoljnost", "UPRAVDOLJN"}};

} // namespace

class TestEdFILIALAZS : public QObject
{
    Q_OBJECT

private slots:
    void everyFieldShowsItsColumnInTabOrder()
    {
        Desk desk;
        QWidget *widget = desk.control<QWidget>("dbeRBE");
        for (const auto &[name, column] : tabOrder) {
            QVERIFY(widget);
            QCOMPARE(widget->objectName(), QString::fromLatin1(name));
            if (auto field = qobject_cast<QLineEdit *>(widget))
                QCOMPARE(field->text(), desk.stored(QString::fromLatin1(column)));
            widget = desk.editor.focusChain()->next(widget);
        }
        QVERIFY(!widget);
        QVERIFY(desk.editor.DBCheckBox1->isChecked());
        QCOMPARE(desk.editor.DBCheckBox1->text(), QStringLiteral("LINUX"));
    }

    // Enter and Down move on, Up moves back; Enter on the button is the button's own.
    void enterAndTheArrowsFollowTheTabOrder()
    {
        Desk desk;
        QVERIFY(QTest::qWaitForWindowActive(&desk.editor));
        QCOMPARE(QApplication::focusWidget(), desk.control<QWidget>("dbeRBE"));
        auto *number = desk.control<QLineEdit>("dbeAZSN");
        number->setFocus();
        QTest::keyClick(number, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), desk.editor.DBCheckBox1);
        QTest::keyClick(desk.editor.DBCheckBox1, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), desk.control<QWidget>("dbeUPRAVFIO"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), desk.editor.DBCheckBox1);
        QTest::keyClick(desk.editor.DBCheckBox1, Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), desk.editor.btnFILIALSAVE);
        QVERIFY(desk.editor.isVisible());
        QVERIFY(desk.editor.DBCheckBox1->isChecked());
    }

    // Changes are stored by "ПОДТВЕРДИТЬ ИЗМЕНЕНИЯ" only.
    void changesAreStoredOnlyWhenConfirmed_data()
    {
        QTest::addColumn<QString>("closing");
        QTest::addColumn<bool>("stored");
        QTest::newRow("confirm button") << "confirm" << true;
        QTest::newRow("Enter on the confirm button") << "enter" << true;
        QTest::newRow("close box") << "close" << false;
        QTest::newRow("Escape") << "escape" << false;
    }
    void changesAreStoredOnlyWhenConfirmed()
    {
        QFETCH(QString, closing);
        QFETCH(bool, stored);
        Desk desk;
        QVERIFY(QTest::qWaitForWindowActive(&desk.editor));
        auto *bank = desk.control<QLineEdit>("dbeBANK");
        bank->selectAll();
        typeText(bank, "Банк «Заря»");
        auto *number = desk.control<QLineEdit>("dbeAZSN");
        number->selectAll();
        QTest::keyClicks(number, "21");
        desk.editor.DBCheckBox1->click();

        if (closing == "confirm") {
            desk.editor.btnFILIALSAVE->click();
        } else if (closing == "enter") {
            desk.editor.btnFILIALSAVE->setFocus();
            QTest::keyClick(desk.editor.btnFILIALSAVE, Qt::Key_Return);
        } else if (closing == "close") {
            QVERIFY(desk.editor.close());
        } else {
            QTest::keyClick(bank, Qt::Key_Escape);
        }
        QVERIFY(!desk.editor.isVisible());
        QCOMPARE(desk.stored("BANK"), stored ? QStringLiteral("Банк «Заря»")
                                             : QStringLiteral("Вологодское отделение ПАО \"Северный кредитный банк\", г. Вологда"));
        QCOMPARE(desk.stored("nAZS"), stored ? QStringLiteral("21") : QStringLiteral("17"));
        QCOMPARE(desk.station.scalar("select LINUX from AZSFILIAL").asBoolean(), !stored);

        // The data module and the window show the stored row again.
        Table &requisites = desk.station.dm->tabFILIAL;
        QCOMPARE(requisites.state(), Table::State::Browse);
        QCOMPARE(requisites.field("BANK").asString(), desk.stored("BANK"));
        QCOMPARE(bank->text(), desk.stored("BANK"));
        QCOMPARE(desk.editor.DBCheckBox1->isChecked(), !stored);
    }

    // Whatever is pasted into the requisites is stored as the fields keep it, nothing else in
    // the file changes, and every document of a shift still prepares with them.
    void pastedTextsAreStoredAsTheFieldsKeepThem_data() { addHostileTextRows(); }
    void pastedTextsAreStoredAsTheFieldsKeepThem()
    {
        QFETCH(QString, text);
        ShiftFixture fixture;
        const qint32 idDovra = addShiftToPrint(fixture);
        Station &station = fixture.station;
        TfEdFILIALAZS editor(station.dm.get(), station.main.get());
        editor.show();
        const QString before = schemaAndCounts(station.dm->ADOConAZSKAS);

        QList<std::pair<QLineEdit *, QString>> fields;
        for (const auto &[name, column] : tabOrder) {
            auto *field = editor.findChild<QLineEdit *>(QString::fromLatin1(name));
            if (field && column && qstrcmp(column, "nAZS") != 0)
                fields.append({field, QString::fromLatin1(column)});
        }
        QCOMPARE(fields.size(), 19);
        for (const auto &[field, column] : fields)
            pasteInto(field, text);
        editor.btnFILIALSAVE->click();

        QCOMPARE(schemaAndCounts(station.dm->ADOConAZSKAS), before);
        for (const auto &[field, column] : fields) {
            const QString kept = keptText(text, field->maxLength());
            QCOMPARE(field->text(), kept);
            QCOMPARE(station.scalar(QStringLiteral("select %1 from AZSFILIAL").arg(column)).asString(), kept);
        }
        QCOMPARE(documentFailures(fixture, idDovra, 1), QString());
    }

    void anEmptyStationNumberIsStoredEmpty()
    {
        Desk desk;
        desk.control<QLineEdit>("dbeAZSN")->clear();
        emit desk.control<QLineEdit>("dbeAZSN")->textEdited(QString());
        desk.editor.btnFILIALSAVE->click();
        QVERIFY(desk.station.scalar("select nAZS from AZSFILIAL").isNull());
    }

    void thePictureIsDecoded()
    {
        Desk desk;
        QCOMPARE(desk.editor.imageLabel->pixmap().size(), QSize(81, 80));
    }

    // The sheet is the window's image without the two prompts and the button, which the window
    // shows again afterwards; the window need not be on screen for it.
    void theSheetLeavesOutThePromptsAndTheButton_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::newRow("window shown") << true;
        QTest::newRow("window hidden") << false;
    }
    void theSheetLeavesOutThePromptsAndTheButton()
    {
        QFETCH(bool, shown);
        Desk desk;
        if (!shown)
            desk.editor.hide();
        const QList<QWidget *> notPrinted = {desk.editor.lblFILIALINP, desk.editor.lblFILIALSAVE,
                                             desk.editor.btnFILIALSAVE};
        const QImage withThem = desk.editor.grab().toImage();
        const QImage sheet = desk.editor.requisitesSheet();
        for (QWidget *control : notPrinted) {
            QVERIFY(control->isVisibleTo(&desk.editor));
            control->hide();
        }
        QCOMPARE(sheet, desk.editor.grab().toImage());
        QVERIFY(sheet != withThem);
        QCOMPARE(desk.editor.isVisible(), shown);

        if (QPrinterInfo::defaultPrinter().isNull())
            QVERIFY(!desk.editor.printRequisites());
    }
};

QTEST_MAIN(TestEdFILIALAZS)
#include "tst_edfilialazs.moc"
