#include "support/station.h"
#include "zreport/zotchet.h"

#include "platform/data/money.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

// Figures of one Z-report and of its correction act, in rubles; a null act column is left out.
struct ZFigures
{
    double nalProd = 0, nalVozvrat = 0, vnos = 0, vinos = 0, inkass = 0, sumKass = 0;
};

struct Act
{
    QVariant nal, nalKakBnal, bnalKakNal, vNalKakBnal, vBnalKakNal, korrInkass, korrVinos, korrVnos;
};

QVariant money(double rubles)
{
    return QVariant::fromValue(Money::fromDouble(rubles));
}

QVariant moneyOrNull(const QVariant &rubles)
{
    return rubles.isNull() ? QVariant() : money(rubles.toDouble());
}

class OpenShift
{
public:
    OpenShift()
    {
        station.main->FormActivate();
        open("7001");
    }

    void open(const QString &number)
    {
        TfMain &m = *station.main;
        m.edNSMBUKTS->setText(number);
        m.ComBoxOper->setCurrentIndex(0);
        m.FromDovraToZ(m.ComBoxOper);
    }

    qint32 idZ(int panel) const { return station.main->kassPanels[panel]->getIdZ(); }

    void setFigures(qint32 idz, const ZFigures &z)
    {
        station.run("update zotchet set nalprod = :a, nalvozvrat = :b, vnos = :c, vinos = :d, inkass = :e, "
                    "sumkass = :f where idz = :idz",
                    {{"a", money(z.nalProd)}, {"b", money(z.nalVozvrat)}, {"c", money(z.vnos)},
                     {"d", money(z.vinos)}, {"e", money(z.inkass)}, {"f", money(z.sumKass)}, {"idz", idz}});
    }

    void setAct(qint32 idz, const Act &act)
    {
        station.run("insert into zkorr (idZ, nal, nalKakBnal, BnalKakNal, vNalKakBnal, vBnalKakNal, "
                    "korrInkass, korrVinos, korrVnos) values (:idz, :nal, :a, :b, :c, :d, :e, :f, :g)",
                    {{"idz", idz}, {"nal", moneyOrNull(act.nal)}, {"a", moneyOrNull(act.nalKakBnal)},
                     {"b", moneyOrNull(act.bnalKakNal)}, {"c", moneyOrNull(act.vNalKakBnal)},
                     {"d", moneyOrNull(act.vBnalKakNal)}, {"e", moneyOrNull(act.korrInkass)},
                     {"f", moneyOrNull(act.korrVinos)}, {"g", moneyOrNull(act.korrVnos)}});
    }

    Field closing(qint32 idz)
    {
        return station.scalar("select SumKassReal from zotchet where idz = :idz", {{"idz", idz}});
    }

    Station station;
};

} // namespace

class TestShiftBalance : public QObject
{
    Q_OBJECT

private slots:
    void theFirstZReportClosesOnItsMovementAlone()
    {
        OpenShift shift;
        shift.setFigures(shift.idZ(1), {1000.00, 100.00, 500.00, 50.00, 800.00, 550.00});
        shift.station.main->updateRealSum();
        QCOMPARE(shift.closing(shift.idZ(1)).asMoney(), Money::fromDouble(550.00));
    }

    void anActsActualBalanceIsTheClosingBalance()
    {
        OpenShift shift;
        shift.setFigures(shift.idZ(1), {1000.00, 0, 0, 0, 0, 1000.00});
        shift.setAct(shift.idZ(1), {1234.00, 10.0, 20.0, 30.0, 40.0, 50.0, 60.0, 70.0});
        shift.station.main->updateRealSum();
        QCOMPARE(shift.closing(shift.idZ(1)).asMoney(), Money::fromDouble(1234.00));
    }

    // The stored balance must agree with the cash book: opening + real receipts − real payments.
    void anActsCorrectionsBalanceTheCashBook()
    {
        OpenShift shift;
        const ZFigures z{12000.00, 300.00, 1000.00, 200.00, 9000.00, 3500.00};
        shift.setFigures(shift.idZ(1), z);
        const double nalKakBnal = 150.00, bnalKakNal = 40.00, vNalKakBnal = 25.00, vBnalKakNal = 35.00;
        const double korrInkass = 100.00, korrVinos = 20.00, korrVnos = 60.00;
        shift.setAct(shift.idZ(1), {QVariant(), nalKakBnal, bnalKakNal, vNalKakBnal, vBnalKakNal,
                                    korrInkass, korrVinos, korrVnos});
        shift.station.main->updateRealSum();

        const double realNalViruchka = (z.nalProd - z.nalVozvrat)
                                       + ((nalKakBnal - bnalKakNal) - (vNalKakBnal - vBnalKakNal));
        const double realNalPrihod = realNalViruchka + (z.vnos - korrVnos);
        const double realNalRashod = (z.inkass - korrInkass) + (z.vinos - korrVinos);
        const double opening = 0; // the register's base row
        QCOMPARE(shift.closing(shift.idZ(1)).asMoney(),
                 Money::fromDouble(opening + realNalPrihod - realNalRashod));
    }

    void theOpeningIsThePreviousZReportAsTyped()
    {
        OpenShift shift;
        shift.setFigures(shift.idZ(1), {1000.00, 0, 0, 0, 0, 1000.00});
        shift.setAct(shift.idZ(1), {777.00, {}, {}, {}, {}, {}, {}, {}});
        shift.station.main->btnDataAcceptClick();
        QCOMPARE(shift.closing(shift.idZ(1)).asMoney(), Money::fromDouble(777.00));

        shift.station.main->rbNewShift->setChecked(true);
        shift.station.main->rgNovDOVRAClick(shift.station.main->rgNovDOVRA);
        shift.open("7002");
        shift.setFigures(shift.idZ(1), {200.00, 0, 0, 0, 0, 1200.00});
        shift.station.main->updateRealSum();
        QCOMPARE(shift.closing(shift.idZ(1)).asMoney(), Money::fromDouble(1200.00));
    }

    void anAcceptedShiftKeepsItsBalances()
    {
        OpenShift shift;
        shift.setFigures(shift.idZ(1), {1000.00, 0, 0, 0, 0, 1000.00});
        shift.station.main->btnDataAcceptClick();
        shift.setFigures(shift.idZ(1), {5000.00, 0, 0, 0, 0, 5000.00});
        shift.station.main->updateRealSum();
        QCOMPARE(shift.closing(shift.idZ(1)).asMoney(), Money::fromDouble(1000.00));
    }

    void theArchiveCannotBeAccepted()
    {
        OpenShift shift;
        TfMain &m = *shift.station.main;
        m.btnDataAcceptClick();
        m.dovraControl();
        QVERIFY(!m.btnDataAccept->isEnabled());
    }
};

QTEST_MAIN(TestShiftBalance)
#include "tst_shiftbalance.moc"
