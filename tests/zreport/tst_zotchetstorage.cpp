#include "loadedshift.h"
#include "support/hostiletexts.h"

#include "app/texthelpers.h"

#include "db/datamodule.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace {

// The error line's texts; "." stands for the decimal separator.
QString totalErrorText(const QString &difference)
{
    return QStringLiteral("Нар.итог: ошибка ") + amount(difference) + QStringLiteral(" руб!");
}

QString balanceErrorText(const QString &difference)
{
    return QStringLiteral("Остаток: ошибка ") + amount(difference) + QStringLiteral(" руб!");
}

const QColor totalErrorColour(192, 32, 32);
const QColor balanceErrorColour(32, 32, 192);

// A complete Z-report of the first register after its base row (cash 0, cumulative total 1.11).
void fillConsistentReport(LoadedShift &shift)
{
    const QList<QPair<const char *, QString>> figures = {
        {"NalProd", "100"}, {"NalVozvrat", "0"}, {"KredProd", "50"}, {"KredStorno", "0"},
        {"VNOS", "0"},      {"VINOS", "0"},      {"INKASS", "60"},   {"SUMKASS", "40"},
        {"NARPROD", "151.11"}, {"ZDOC", "1"},    {"NZ", "7"}};
    for (const auto &[suffix, text] : figures)
        shift.fill(suffix, text);
}

bool printButtonsEnabled(const TZOtchet *panel, bool enabled)
{
    const QList<QPushButton *> buttons = panel->printButtons();
    return std::all_of(buttons.begin(), buttons.end(),
                       [enabled](const QPushButton *b) { return b->isEnabled() == enabled; });
}

QDateTime storedZDate(LoadedShift &shift)
{
    return shift.stored(QStringLiteral("ZDate")).asDateTime();
}

} // namespace

class TstZOtchetStorage : public QObject
{
    Q_OBJECT

private slots:
    // Whatever is pasted into a figure, the field keeps only what could be typed (digits and one
    // mark) and the row stores the number the field shows; nothing else in the file changes.
    void pastedTextsStoreOnlyTheFigureTheFieldShows_data() { addHostileTextRows(); }
    void pastedTextsStoreOnlyTheFigureTheFieldShows()
    {
        QFETCH(QString, text);
        LoadedShift shift;
        Connection &connection = shift.station.dm->ADOConAZSKAS;
        const QString before = schemaAndCounts(connection);
        const QChar mark = QLocale::system().decimalPoint().at(0);
        for (const char *suffix : {"ZDOC", "NZ", "NalProd", "NalVozvrat", "KredProd", "KredStorno", "VNOS",
                                   "VINOS", "INKASS", "SUMKASS", "NARPROD", "SUMKASSNS", "NARPRODNS"}) {
            QLineEdit *field = shift.field(suffix);
            pasteInto(field, text);
            shift.panel->storeZCell(field);
            const QString shown = field->text();
            const bool counter = qstrcmp(suffix, "ZDOC") == 0 || qstrcmp(suffix, "NZ") == 0;
            QVERIFY2(shown.size() <= field->maxLength(), suffix);
            for (const QChar c : shown)
                QVERIFY2((c >= u'0' && c <= u'9') || (!counter && c == mark), suffix);
            const Field stored = shift.stored(columnOf(field->objectName()));
            if (!counter)
                QCOMPARE(stored.asMoney(), Money::fromDouble(strToFloat(shown)));
            else if (shown.isEmpty())
                QVERIFY2(stored.isNull(), suffix);
            else
                QCOMPARE(stored.value().toLongLong(), shown.toLongLong());
        }
        QCOMPARE(schemaAndCounts(connection), before);
        QVERIFY(shift.messages.texts().isEmpty());
    }

    void loadingCreatesTheRowOnce()
    {
        LoadedShift shift;
        TZOtchet *panel = shift.panel;
        QVERIFY(!panel->busy);
        QVERIFY(panel->getIdZ() > 0);
        const QString rowsOfShift = QStringLiteral("select count(*) from zotchet "
                                                   "where iddovra = %1 and idkkm = %2")
                                        .arg(shift.idDovra)
                                        .arg(shift.station.dm->adoqZposledn.field("idkkm").asInteger());
        QCOMPARE(shift.station.scalar(rowsOfShift).asInteger(), 1);

        QCOMPARE(shift.field("SerKKM")->text(), QStringLiteral("00112233"));
        for (const char *suffix : {"NalProd", "NalVozvrat", "KredProd", "KredStorno", "ProdSum", "VNOS",
                                   "VINOS", "INKASS", "SUMKASS", "NARPROD", "SUMKASSNS", "NARPRODNS"})
            QCOMPARE(shift.field(suffix)->text(), amount("0.00"));
        QCOMPARE(shift.field("NZ")->text(), QString());
        QCOMPARE(shift.field("ZDOC")->text(), QString());
        QCOMPARE(shift.field("ZDate")->text(), QStringLiteral("15.03.2024"));
        QCOMPARE(shift.field("ZTime")->text(), QStringLiteral("08:00"));
        QCOMPARE(storedZDate(shift), QDateTime(LoadedShift::shiftDate, QTime(8, 0)));
        QCOMPARE(panel->prevNarProd, 1.11);
        QCOMPARE(panel->prevSumKass, 0.0);
        QVERIFY(!panel->complete);
        QVERIFY(printButtonsEnabled(panel, false));

        const qint32 idZ = panel->getIdZ();
        shift.station.run(QStringLiteral("update zotchet set zdate = :d, nz = 0, nalprod = 125000, nssit = 1 "
                                         "where idz = :idz"),
                          {{"d", QDateTime(QDate(2024, 3, 14), QTime(21, 45))}, {"idz", idZ}});
        panel->loadZ(shift.station.dm->adoqZposledn, shift.idDovra);
        QCOMPARE(panel->getIdZ(), idZ);
        QCOMPARE(shift.station.scalar(rowsOfShift).asInteger(), 1);
        QCOMPARE(shift.field("ZDate")->text(), QStringLiteral("14.03.2024"));
        QCOMPARE(shift.field("ZTime")->text(), QStringLiteral("21:45"));
        QCOMPARE(shift.field("NZ")->text(), QString());
        QCOMPARE(shift.field("NalProd")->text(), amount("12.50"));
        QCOMPARE(shift.field("ProdSum")->text(), amount("12.50"));
        QVERIFY(panel->extrSitBox()->isChecked());
        QCOMPARE(panel->height(), 565);
    }

    void leavingAFieldStoresIt_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("keys"); // typed over the whole text; "\b" is Backspace
        QTest::addColumn<QString>("shown"); // "." stands for the decimal separator
        QTest::addColumn<QString>("column");
        QTest::addColumn<QVariant>("stored"); // qint64: ten-thousandths of a ruble; invalid: null

        QTest::newRow("one decimal") << "NalProd" << "12.5" << "12.50" << "NalProd"
                                     << QVariant(qint64(125000));
        QTest::newRow("two decimals as typed") << "VNOS" << "7,25" << "7.25" << "VNOS"
                                               << QVariant(qint64(72500));
        QTest::newRow("no decimals") << "SUMKASS" << "40" << "40.00" << "SumKass" << QVariant(qint64(400000));
        QTest::newRow("emptied amount") << "INKASS" << "\b" << "0.00" << "INKASS" << QVariant(qint64(0));
        QTest::newRow("mark alone") << "VINOS" << "\b." << "0.00" << "VINOS" << QVariant(qint64(0));
        QTest::newRow("eleven digits of a total")
            << "NARPROD" << "12345678901.99" << "12345678901.99" << "NarPROD"
            << QVariant(qint64(123456789019900));
        QTest::newRow("hand-typed previous cash") << "SUMKASSNS" << "3.5" << "3.50" << "SumKassNS"
                                                  << QVariant(qint64(35000));
        QTest::newRow("document number") << "ZDOC" << "345" << "345" << "ZDOC" << QVariant("345");
        QTest::newRow("shift number") << "NZ" << "42" << "42" << "NZ" << QVariant("42");
        QTest::newRow("emptied shift number") << "NZ" << "\b" << "" << "NZ" << QVariant();
    }

    void leavingAFieldStoresIt()
    {
        QFETCH(QString, suffix);
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        QFETCH(QString, column);
        QFETCH(QVariant, stored);

        LoadedShift shift;
        QVERIFY(shift.showActive());
        shift.fill("NZ", "9"); // so that emptying it is a change
        const QByteArray name = suffix.toLatin1();
        shift.type(name.constData(), keys);
        QCOMPARE(shift.field(name.constData())->text(), amount(shown));
        QVERIFY(shift.panel->pending.isEmpty());
        const Field field = shift.stored(column);
        QCOMPARE(field.isNull(), !stored.isValid());
        if (stored.typeId() == QMetaType::LongLong)
            QCOMPARE(field.asMoney().units(), stored.toLongLong());
        else if (stored.isValid())
            QCOMPARE(field.asString(), stored.toString());
    }

    void leavingAnUnchangedFieldStoresNothing()
    {
        LoadedShift shift;
        QVERIFY(shift.showActive());
        shift.station.run(QStringLiteral("update zotchet set NalProd = 999 where idz = :idz"),
                          {{"idz", shift.panel->getIdZ()}});
        shift.type("NalProd", QString());
        QCOMPARE(shift.stored("NalProd").asMoney().units(), 999);
    }

    void checksAgainstThePreviousReport_data()
    {
        QTest::addColumn<QStringList>("changes"); // "SUFFIX=value" after the consistent report
        QTest::addColumn<QString>("error");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("complete");

        QTest::newRow("consistent") << QStringList() << "" << QColor() << true;
        QTest::newRow("cumulative total a kopeck short")
            << QStringList{"NARPROD=151.10"} << totalErrorText("0.01") << totalErrorColour << false;
        QTest::newRow("cumulative total too high")
            << QStringList{"NARPROD=152.11"} << totalErrorText("-1.00") << totalErrorColour << false;
        QTest::newRow("card refunds enter neither check") << QStringList{"KredStorno=30"} << "" << QColor()
                                                           << true;
        QTest::newRow("cash a ruble short")
            << QStringList{"SUMKASS=39"} << balanceErrorText("1.00") << balanceErrorColour << false;
        QTest::newRow("deposit, withdrawal and refund")
            << QStringList{"VNOS=20", "VINOS=5", "NalVozvrat=10", "SUMKASS=45"} << "" << QColor() << true;
        QTest::newRow("both wrong: the total is shown")
            << QStringList{"NARPROD=150", "SUMKASS=0"} << totalErrorText("1.11") << totalErrorColour
            << false;
        QTest::newRow("no shift number") << QStringList{"NZ="} << "" << QColor() << false;
        QTest::newRow("no document number") << QStringList{"ZDOC="} << "" << QColor() << false;
    }

    void checksAgainstThePreviousReport()
    {
        QFETCH(QStringList, changes);
        QFETCH(QString, error);
        QFETCH(QColor, colour);
        QFETCH(bool, complete);

        LoadedShift shift;
        fillConsistentReport(shift);
        QVERIFY(shift.panel->complete);
        for (const QString &change : changes)
            shift.fill(change.section(u'=', 0, 0).toLatin1().constData(), change.section(u'=', 1));

        QCOMPARE(shift.panel->complete, complete);
        QCOMPARE(shift.panel->errorLabel()->text(), error);
        if (colour.isValid())
            QCOMPARE(shift.panel->errorLabel()->palette().color(QPalette::WindowText), colour);
        QVERIFY(printButtonsEnabled(shift.panel, complete));
        if (changes.contains("NZ="))
            QVERIFY(shift.stored("NZ").isNull());
    }

    void differenceOfATenthOfAKopeckAgrees_data()
    {
        QTest::addColumn<qint64>("baseTotal"); // ten-thousandths of a ruble
        QTest::addColumn<bool>("complete");

        QTest::newRow("0.001 over") << qint64(11110) << true;
        QTest::newRow("0.001 under") << qint64(11090) << true;
        QTest::newRow("0.002 over") << qint64(11120) << false;
    }

    void differenceOfATenthOfAKopeckAgrees()
    {
        QFETCH(qint64, baseTotal);
        QFETCH(bool, complete);

        LoadedShift shift;
        Query &registers = shift.station.dm->adoqZposledn;
        shift.station.run(QStringLiteral("update zotchet set narprod = :total "
                                         "where idzsit = 2 and idkkm = :kkm"),
                          {{"total", baseTotal}, {"kkm", registers.field("idkkm").asInteger()}});
        shift.panel->loadZ(registers, shift.idDovra);
        fillConsistentReport(shift);
        QCOMPARE(shift.panel->complete, complete);
        QCOMPARE(shift.panel->errorLabel()->text(),
                 complete ? QString() : totalErrorText("0.00"));
    }

    void registerWithoutEarlierReportsStartsFromZero()
    {
        LoadedShift shift;
        Query &registers = shift.station.dm->adoqZposledn;
        shift.station.run(QStringLiteral("delete from zotchet where idzsit = 2 and idkkm = :kkm"),
                          {{"kkm", registers.field("idkkm").asInteger()}});
        shift.panel->loadZ(registers, shift.idDovra);
        QCOMPARE(shift.panel->prevNarProd, 0.0);
        QCOMPARE(shift.panel->prevSumKass, 0.0);
        fillConsistentReport(shift);
        QCOMPARE(shift.panel->errorLabel()->text(), totalErrorText("-1.11"));
    }

    void nonStandardSituationTakesTheTypedPreviousFigures()
    {
        LoadedShift shift;
        TZOtchet *panel = shift.panel;
        fillConsistentReport(shift);
        shift.fill("NARPROD", "1151.11");
        shift.fill("SUMKASS", "540");
        QCOMPARE(panel->errorLabel()->text(), totalErrorText("-1000.00"));

        panel->extrSitBox()->setChecked(true);
        QCOMPARE(panel->height(), 565);
        QCOMPARE(shift.stored("nssit").asBoolean(), true);
        shift.fill("NARPRODNS", "1001.11");
        QCOMPARE(panel->errorLabel()->text(), balanceErrorText("-500.00"));
        shift.fill("SUMKASSNS", "500");
        QVERIFY(panel->complete);
        QVERIFY(printButtonsEnabled(panel, true));

        panel->extrSitBox()->setChecked(false);
        QCOMPARE(panel->height(), 509);
        QCOMPARE(shift.stored("nssit").asBoolean(), false);
        QVERIFY(!panel->complete);
        QCOMPARE(panel->errorLabel()->text(), totalErrorText("-1000.00"));
        QVERIFY(printButtonsEnabled(panel, false));
    }

    void zDateGoesBackADayAndReturns()
    {
        LoadedShift shift;
        TZOtchet *panel = shift.panel;
        panel->zDateBox()->setChecked(true);
        QVERIFY(panel->zDateButton()->isEnabled());

        panel->zDateButton()->click();
        QCOMPARE(shift.field("ZDate")->text(), QStringLiteral("14.03.2024"));
        QCOMPARE(panel->zDateButton()->text(), QStringLiteral(">>"));
        QCOMPARE(storedZDate(shift), QDateTime(QDate(2024, 3, 14), QTime(8, 0)));

        panel->zDateButton()->click();
        QCOMPARE(shift.field("ZDate")->text(), QStringLiteral("15.03.2024"));
        QCOMPARE(panel->zDateButton()->text(), QStringLiteral("<<"));
        QVERIFY(!panel->zDateBox()->isChecked());
        QVERIFY(!panel->zDateButton()->isEnabled());
        QCOMPARE(storedZDate(shift), QDateTime(LoadedShift::shiftDate, QTime(8, 0)));
    }

    void timeThatDoesNotReadWaitsToBeCorrected()
    {
        LoadedShift shift;
        QVERIFY(shift.showActive());
        shift.type("ZTime", "\b\b\b\b21.45"); // the minutes are selected on entering
        QCOMPARE(storedZDate(shift), QDateTime(LoadedShift::shiftDate, QTime(21, 45)));
        QVERIFY(shift.messages.texts().isEmpty());

        shift.type("ZTime", "\b\b");
        QCOMPARE(shift.messages.texts().size(), 1);
        QVERIFY(shift.messages.texts().constFirst().contains(QStringLiteral("15.03.2024 21")));
        QCOMPARE(storedZDate(shift), QDateTime(LoadedShift::shiftDate, QTime(21, 45)));
        QCOMPARE(shift.panel->pending, QList<QLineEdit *>{shift.field("ZTime")});

        shift.type("ZTime", ".05");
        QCOMPARE(shift.field("ZTime")->text(), QStringLiteral("21:05"));
        QCOMPARE(storedZDate(shift), QDateTime(LoadedShift::shiftDate, QTime(21, 5)));
        QVERIFY(shift.panel->pending.isEmpty());
        QCOMPARE(shift.messages.texts().size(), 1);
    }

    // A figure whose field was changed while another one waited is stored, not dropped.
    void noTypedFigureIsLost()
    {
        LoadedShift shift;
        TZOtchet *panel = shift.panel;
        shift.field("NalProd")->setText("5");
        shift.field("VNOS")->setText("7");
        QCOMPARE(shift.stored("NalProd").asMoney(), Money::fromDouble(5));
        QCOMPARE(shift.field("NalProd")->text(), amount("5.00"));
        QCOMPARE(panel->pending, QList<QLineEdit *>{shift.field("VNOS")});

        panel->storeZCell(shift.field("NalVozvrat"));
        QCOMPARE(shift.stored("VNOS").asMoney(), Money::fromDouble(7));
        QVERIFY(panel->pending.isEmpty());

        shift.field("INKASS")->setText("60");
        panel->extrSitBox()->setChecked(true);
        QCOMPARE(shift.stored("INKASS").asMoney(), Money::fromDouble(60));
        QVERIFY(shift.stored("nssit").asBoolean());
        QVERIFY(shift.messages.texts().isEmpty());
    }

    void lockedPanelIsReadOnly()
    {
        LoadedShift shift;
        TZOtchet *panel = shift.panel;
        fillConsistentReport(shift);
        panel->zDateBox()->setChecked(true);
        panel->setLocked(true);
        QVERIFY(panel->isLocked());
        for (const char *suffix : {"ZDOC", "ZTime", "NalProd", "NalVozvrat", "KredProd", "KredStorno", "VNOS",
                                   "VINOS", "INKASS", "SUMKASS", "NARPROD", "NZ", "SUMKASSNS", "NARPRODNS"})
            QVERIFY2(shift.field(suffix)->isReadOnly(), suffix);
        for (QWidget *w : QList<QWidget *>{panel->dopZOtchetBox(), panel->zDateBox(), panel->extrSitBox(),
                                           panel->korrAktButton()})
            QVERIFY(!w->isEnabled());
        QVERIFY(printButtonsEnabled(panel, true));

        LoadedShift::press(shift.field("NalProd"), "5,");
        QCOMPARE(shift.field("NalProd")->text(), amount("100.00"));
        panel->zDateButton()->click();
        QCOMPARE(storedZDate(shift), QDateTime(QDate(2024, 3, 14), QTime(8, 0)));

        panel->setLocked(false);
        QVERIFY(!shift.field("NalProd")->isReadOnly());
        QVERIFY(panel->extrSitBox()->isEnabled());
        QVERIFY(panel->korrAktButton()->isEnabled());
    }
};

QTEST_MAIN(TstZOtchetStorage)
#include "tst_zotchetstorage.moc"
