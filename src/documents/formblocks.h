#pragma once

#include "platform/report/reportlayout.h"

#include <QStringList>

#include <optional>

// Blocks that the unified cash forms share, each added to a band's (or the page's) items at a
// given place. Lengths are millimetres from the band's top-left corner.

enum class FormSeries { KM, KO };

// Small print: the form lines, the code captions and the hints under underlined fields.
ReportFont formSmallFont();
// The body text of the forms.
ReportFont formBodyFont();

// One framed cell of the code column with its caption on the left.
struct CodeRow
{
    QString caption;
    ItemContent value;
};

// An underlined field at the left, with an optional label before it and a hint beneath.
struct RequisiteLine
{
    QString label; // may hold a line break: "Контрольно-\nкассовая машина"
    ItemContent value;
    QString hint;  // "(структурное подразделение)"
};

struct UnifiedFormHeader
{
    QString formName; // "КМ-6"
    FormSeries series = FormSeries::KM;
    QString okud;     // the form's own code, the first cell under "Код"
    QList<CodeRow> codes;
    QList<RequisiteLine> lines;
    // False for a form that prints its form lines in the page header: the block then starts
    // with "Код" at top.
    bool withFormLines = true;
};

// The decree line of the series: "России от 25.12.98 № 132" or "России от 18.08.98 № 88".
QString decreeLine(FormSeries series);

// The three form lines alone at the top right: "Унифицированная форма № КМ-3", "Утверждена
// Постановлением Госкомстата" and the decree line. Returns the height taken.
qreal addFormLines(QList<ReportItem> &items, const QString &formName, FormSeries series,
                   qreal width, qreal top = 0);

// The form lines at the top right, the code column under "Код" at the right and the requisite
// lines at the left, spread over width from top. Returns the height taken.
qreal addUnifiedFormHeader(QList<ReportItem> &items, const UnifiedFormHeader &header,
                           qreal width, qreal top = 0);

// The requisite lines alone (the address, the register model, ...), each underlined over width.
qreal addRequisiteLines(QList<ReportItem> &items, const QList<RequisiteLine> &lines,
                        const QPointF &at, qreal width);

struct SignatureLine
{
    QString role;                       // "Кассир-операционист"
    ItemContent name;                   // under "(расшифровка подписи)"
    std::optional<ItemContent> position; // under "(должность)", when the form has it
    qreal roleWidth = 45;               // 0 for a line without role
    qreal positionWidth = 40;
};

// Role, position, empty signature cell and name, each cell with its hint beneath. Returns the
// height taken.
qreal addSignatureLine(QList<ReportItem> &items, const SignatureLine &line, const QPointF &at);

struct DateLine
{
    ItemContent day;
    ItemContent month;
    ItemContent year;
};

// «"05" марта 2016 г.» with day, month and year in underlined cells. Returns the width taken.
qreal addDateLine(QList<ReportItem> &items, const DateLine &date, const QPointF &at,
                  const ReportFont &font = formBodyFont());

// A "прописью" line: the words caption underlined over the line, then the kopeck digits and
// "коп.". fill() writes both captions for an amount, the words padded with dashes to the printed
// width of their cell.
class AmountInWordsLine
{
public:
    AmountInWordsLine(const QRectF &rect, const QString &wordsCaption, const QString &kopeckCaption,
                      const ReportFont &font = formBodyFont());
    // The words over the whole of rect with hint beneath it ("(прописью)"), and the kopecks at the
    // end of the form's continuation line below: a row of dashes, "руб.", the kopecks, "коп.".
    AmountInWordsLine(const QRectF &rect, const QString &hint, const QRectF &continuation,
                      const QString &wordsCaption, const QString &kopeckCaption,
                      const ReportFont &font = formBodyFont());

    void addTo(QList<ReportItem> &items) const;
    void fill(ReportLayout &layout, double amount) const;

    QRectF wordsRect() const;
    // The room for text in the words cell once the painter's padding is taken off.
    qreal wordsTextWidth() const;

private:
    void addKopecks(QList<ReportItem> &items, qreal left, qreal top, qreal height) const;
    void addContinuation(QList<ReportItem> &items) const;

    QRectF m_rect;
    QString m_hint;
    QRectF m_continuation; // null when the kopecks follow the words
    QString m_wordsCaption;
    QString m_kopeckCaption;
    ReportFont m_font;
};
