#pragma once

#include "support/station.h"
#include "zreport/zotchet.h"

#include "platform/data/money.h"
#include "platform/ui/messages.h"

#include <QApplication>
#include <QDateTime>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

// A text written with "." for the decimal separator, as this system's locale shows it.
inline QString amount(const QString &text)
{
    QString result = text;
    return result.replace(u'.', QLocale::system().decimalPoint());
}

// The demo station, its window on the desk, with an open shift of 15.03.2024 whose first
// register's panel is loaded (its Z-report row created). Boxes to the operator are recorded.
class LoadedShift
{
public:
    static inline const QDate shiftDate = QDate(2024, 3, 15);

    LoadedShift()
    {
        station.main->FormActivate();
        station.run(QStringLiteral("insert into dovra (DovraDate, DovraNBUKTS, idOperator, smLocked) "
                                   "values (:d, '17', 1, 0)"),
                    {{QStringLiteral("d"), QDateTime(shiftDate, QTime(0, 0))}});
        idDovra = station.scalar(QStringLiteral("select max(idDovra) from dovra")).asInteger();
        station.main->edSMDate->setText(shiftDate.toString(QStringLiteral("dd.MM.yyyy")));
        station.dm->adoqZposledn.refresh();
        station.dm->adoqZposledn.first();
        panel = station.main->kassPanels[1];
        panel->loadZ(station.dm->adoqZposledn, idDovra);
    }

    bool showActive()
    {
        station.main->show();
        QApplication::setActiveWindow(station.main.get());
        return QTest::qWaitForWindowActive(station.main.get());
    }

    QLineEdit *field(const char *suffix) const { return panel->edit(QString::fromUtf8(suffix)); }

    // The operator enters the field, types ("\b" is Backspace) and leaves it with Tab.
    void type(const char *suffix, const QString &keys)
    {
        QLineEdit *edit = field(suffix);
        edit->setFocus(Qt::TabFocusReason);
        press(edit, keys);
        QTest::keyClick(edit, Qt::Key_Tab);
    }

    static void press(QLineEdit *edit, const QString &keys)
    {
        for (const QChar key : keys) {
            if (key == u'\b')
                QTest::keyClick(edit, Qt::Key_Backspace);
            else
                QTest::keyClick(edit, key.toLatin1());
        }
    }

    // A figure set and stored as if typed and left; "." stands for the decimal separator.
    void fill(const char *suffix, const QString &text)
    {
        QLineEdit *edit = field(suffix);
        edit->setText(amount(text));
        panel->storeZCell(edit);
    }

    // A column of the panel's row.
    Field stored(const QString &column)
    {
        return station.scalar(QStringLiteral("select %1 from zotchet where idz = :idz").arg(column),
                              {{QStringLiteral("idz"), panel->getIdZ()}});
    }

    MessageRecorder messages;
    Station station;
    qint32 idDovra = 0;
    TZOtchet *panel = nullptr;
};

