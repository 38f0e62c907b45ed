#pragma once

#include "documents/documentcommands.h"
#include "support/station.h"

#include "platform/report/preparedreport.h"

#include <QDateTime>
#include <QHash>
#include <QVariant>

// The demo station (schema brought up to date) with shifts written straight into its file, for
// preparing documents of known figures. Amounts are given as doubles in rubles (a double is always an amount); columns by their
// names in the file.
class ShiftFixture
{
public:
    using Columns = QHash<QString, QVariant>;

    ShiftFixture();

    // A shift of the day with its number in the station system and its operators by key (0 for
    // none chosen).
    qint32 addShift(const QDate &date, const QString &number, int operator1 = 1, int operator2 = 0,
                    bool locked = false);
    // A Z-report of the register with this number (1 to 3 on the demo station); ZDate and the
    // amounts come from columns, idKKM and idDOVRA are filled in.
    qint32 addZReport(qint32 idDovra, int kassa, const Columns &columns);
    // The correction act of a Z-report: NAkt, nalKakBnal, korrInkass, ...
    void addAct(qint32 idZ, const Columns &columns);
    // The shift's encashment of the day with its bags (number, sum) in order.
    void addEncashment(qint32 idDovra, const QDate &date,
                       const QList<std::pair<QString, double>> &bags);

    // The register's context as the export program builds it: the shift's texts read from the
    // file, the register's Z-report of the shift (0 when it has none).
    DocumentContext context(qint32 idDovra, int kassa);
    // Prepares the registered document and lays it out.
    PreparedReport prepare(const QString &name, DocumentContext &context);

    Station station;
    LastOpenedZ lastZ;

private:
    void insert(const QString &table, const Columns &columns);
};

// Every text of the pages, in order, one per line: for asserting that a phrase prints.
QString pageTexts(const PreparedReport &report);
