#pragma once

// What the tests of the register's forms share: the shift they print, the checks that a laid-out
// page reads as a paper form, and the golden dumps.

#include "support/golden.h"
#include "support/preparedpages.h"
#include "support/shiftfixture.h"

#include "documents/rubproc.h"
#include "documents/sheetwriter.h"
#include "platform/report/reportpainter.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

// A register-1 shift of 24.08.2015 as the forms are checked on: the register's previous
// Z-report ended at 08:05, this one at 20:10; the correction act 7 moves 100 of cash sales rung
// up as card and 10 of refunds to cash revenue and corrects the encashment by 2 000.
struct FormShift
{
    bool previousZReport = true;
    bool act = true;
    int operator1 = 2; // Григорьев Павел Николаевич
    int operator2 = 3; // Никитина Анна Сергеевна
    QDateTime zDate{QDate(2015, 8, 24), QTime(20, 10)};
    double nalProd = 15224.5;
    double inkass = 102000;
    bool encashment = true;
    QList<std::pair<QString, double>> bags{{QStringLiteral("6124/1"), 60000.0},
                                           {QStringLiteral("124/3"), 40000.0}};

    // Writes the shift; its id.
    qint32 addTo(ShiftFixture &fixture) const
    {
        if (previousZReport) {
            const qint32 previous
                = fixture.addShift(QDate(2015, 8, 23), QStringLiteral("124"), operator1, 0, true);
            fixture.addZReport(
                previous, 1, {{"NZ", 124}, {"ZDate", QDateTime(QDate(2015, 8, 23), QTime(8, 5))}});
        }
        const qint32 shift
            = fixture.addShift(QDate(2015, 8, 24), QStringLiteral("125"), operator1, operator2);
        const qint32 idZ = fixture.addZReport(shift, 1,
                                              {{"NZ", 125},
                                               {"ZDOC", "4521"},
                                               {"ZDate", zDate},
                                               {"NalProd", nalProd},
                                               {"NalVozvrat", 100.0},
                                               {"KredProd", 8000.0},
                                               {"KredStorno", 50.0},
                                               {"INKASS", inkass},
                                               {"NarPROD", 1234567.89}});
        if (act) {
            fixture.addAct(idZ, {{"NAkt", "7"},
                                 {"nalKakBnal", 100.0},
                                 {"vBnalKakNal", 10.0},
                                 {"korrInkass", 2000.0}});
        }
        if (encashment)
            fixture.addEncashment(shift, QDate(2015, 8, 24), bags);
        return shift;
    }
};

// An amount as the locale prints it: "15234.50" with its decimal point swapped.
inline QString localePoint(QString text)
{
    return text.replace(u'.', QLocale::system().decimalPoint());
}

// The items on the anchor's line (sharing its top), left to right.
inline QList<const PreparedItem *> lineOf(const PreparedPage &page, const PreparedItem *anchor)
{
    QList<const PreparedItem *> line;
    for (const PreparedItem &item : page.items) {
        if (qAbs(item.rect.top() - anchor->rect.top()) < 0.01)
            line.append(&item);
    }
    std::stable_sort(line.begin(), line.end(), [](const PreparedItem *a, const PreparedItem *b) {
        return a->rect.left() < b->rect.left();
    });
    return line;
}

// The texts of the items that start where the anchor ends, on its line, left to right.
inline QStringList textsAfter(const PreparedPage &page, const PreparedItem *anchor)
{
    QStringList texts;
    for (const PreparedItem *item : lineOf(page, anchor)) {
        if (item->rect.left() >= anchor->rect.right() - 0.01)
            texts.append(item->text);
    }
    return texts;
}

// The cell right beneath the anchor (a heading's value), or nullptr.
inline const PreparedItem *cellUnder(const PreparedPage &page, const PreparedItem *anchor)
{
    for (const PreparedItem &item : page.items) {
        if (qAbs(item.rect.left() - anchor->rect.left()) < 0.01
            && qAbs(item.rect.top() - anchor->rect.bottom()) < 0.01)
            return &item;
    }
    return nullptr;
}

// The cell right above the anchor (the value over its hint), or nullptr.
inline const PreparedItem *cellAbove(const PreparedPage &page, const PreparedItem *anchor)
{
    for (const PreparedItem &item : page.items) {
        if (qAbs(item.rect.left() - anchor->rect.left()) < 0.01
            && qAbs(item.rect.bottom() - anchor->rect.top()) < 0.01)
            return &item;
    }
    return nullptr;
}

// The cell that ends where the anchor starts, on its line, or nullptr.
inline const PreparedItem *cellBefore(const PreparedPage &page, const PreparedItem *anchor)
{
    for (const PreparedItem *item : lineOf(page, anchor)) {
        if (qAbs(item->rect.right() - anchor->rect.left()) < 0.01)
            return item;
    }
    return nullptr;
}

// What keeps a laid-out page from reading as a paper form: an item outside the margins, a text
// wider or taller than its cell (the painter would let it run over its neighbours), two texts
// on one spot.
inline QStringList layoutProblems(const PreparedReport &report)
{
    constexpr qreal tolerance = 0.05;
    // Two stacked lines of small print in a 5 mm cell are allowed to reach a little above it.
    constexpr qreal heightTolerance = 0.5;
    QStringList problems;
    const QRectF paper(QPointF(), report.page.paperSize());
    const QRectF area = paper.marginsRemoved(report.page.margins)
                            .adjusted(-tolerance, -tolerance, tolerance, tolerance);
    for (int number = 0; number < report.pages.size(); ++number) {
        const QList<PreparedItem> &items = report.pages[number].items;
        for (qsizetype i = 0; i < items.size(); ++i) {
            const PreparedItem &item = items[i];
            if (!area.contains(item.rect))
                problems << QStringLiteral("outside the margins: «%1»").arg(item.text);
            if (item.text.isEmpty())
                continue;
            const QFont font = item.style.font.toQFont();
            // Text starts at the padding from its edge; centred text may use the padding too.
            const bool centred = item.style.alignment & Qt::AlignHCenter;
            const qreal room = item.rect.width() - (centred ? 0 : reportTextPadding);
            const bool severalLines = item.style.wordWrap || item.text.contains(u'\n');
            const qreal wrapWidth = item.rect.width() - 2 * reportTextPadding;
            const qreal height = printedTextHeight(item.text, font, severalLines ? wrapWidth : 1e6);
            // Wrapping breaks between words only: a word wider than the cell still runs out.
            const QStringList pieces
                = item.style.wordWrap ? item.text.split(QRegularExpression(QStringLiteral("\\s+")))
                                      : item.text.split(u'\n');
            for (const QString &piece : pieces) {
                if (printedTextWidth(piece, font) > room + tolerance) {
                    problems << QStringLiteral("wider than its cell: «%1»").arg(item.text);
                    break;
                }
            }
            if (height > item.rect.height() + heightTolerance)
                problems << QStringLiteral("taller than its cell: «%1»").arg(item.text);
            for (qsizetype j = i + 1; j < items.size(); ++j) {
                const QRectF common = item.rect.intersected(items[j].rect);
                if (!items[j].text.isEmpty() && common.width() > tolerance
                    && common.height() > tolerance) {
                    problems << QStringLiteral("«%1» overlaps «%2»").arg(item.text, items[j].text);
                }
            }
        }
    }
    return problems;
}

// The form of the register of a fixture shift laid out; a blank right after its filled form, so
// that it shows the register numbers that form opened.
inline PreparedReport preparedForm(ShiftFixture &fixture, const FormShift &shift, const QString &name)
{
    DocumentContext context = fixture.context(shift.addTo(fixture), 1);
    const QString blankSuffix = QStringLiteral("-blank");
    if (name.endsWith(blankSuffix))
        fixture.prepare(name.chopped(blankSuffix.size()), context);
    return fixture.prepare(name, context);
}

// The item of the page that prints exactly text; the test ends when there is none.
inline const PreparedItem &found(const PreparedPage &page, const QString &text)
{
    const PreparedItem *item = findItem(page, text);
    if (!item)
        qFatal("no «%s» on the page", qPrintable(text));
    return *item;
}

// Empty when the form of the checked shift matches its golden dump golden/name.txt; otherwise why.
inline QString formGoldenMismatch(const QString &name)
{
    ShiftFixture fixture;
    return goldenMismatch(QStringLiteral(GOLDEN_DIR), name + QStringLiteral(".txt"),
                          dumpReport(preparedForm(fixture, FormShift(), name)));
}
