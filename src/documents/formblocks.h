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
    // A word that heads a run of rows, printed once further left ("номер" before
    // "производителя" and "регистрационный").
    QString group = {};
};

// An underlined field at the left, with an optional label before it and a hint beneath.
struct RequisiteLine
{
    QString label; // may hold a line break: "Контрольно-\nкассовая машина"
    ItemContent value;
    QString hint;  // "(структурное подразделение)"
    // Room for a value that may run to two lines (a full address).
    bool twoLines = false;
};

struct UnifiedFormHeader
{
    QString formName; // "КМ-6"
    FormSeries series = FormSeries::KM;
    QString okud;     // the form's own code, the first cell under "Код"
    QList<CodeRow> codes;
    QList<RequisiteLine> lines;
    // Room for the captions left of the code cells; narrow forms give their lines more.
    qreal codeCaptionWidth = 45;
    // False when the page header carries the form lines (addFormLines) so that they repeat on
    // every page: the code column then starts at the top.
    bool formLines = true;
};

// The decree line of the series: "России от 25.12.98 № 132" or "России от 18.08.98 № 88".
QString decreeLine(FormSeries series);

// The three form lines at the top right: the form's name, the approval and the decree line.
// Returns the height taken.
qreal addFormLines(QList<ReportItem> &items, const QString &formName, FormSeries series,
                   qreal width, qreal top = 0);

// The form lines at the top right, the code column under "Код" at the right and the requisite
// lines at the left, spread over width from top. Returns the height taken.
qreal addUnifiedFormHeader(QList<ReportItem> &items, const UnifiedFormHeader &header,
                           qreal width, qreal top = 0);

// An underlined cell holding value in the body font, with hint centred in small print beneath
// ("(прописью)"; none when empty).
void addHintedField(QList<ReportItem> &items, const QRectF &rect, const ItemContent &value,
                    const QString &hint, Qt::Alignment alignment = Qt::AlignCenter);

// The requisite lines alone (the address, the register model, ...), each underlined over width.
qreal addRequisiteLines(QList<ReportItem> &items, const QList<RequisiteLine> &lines,
                        const QPointF &at, qreal width);

// A role cell as wide as a role and a position together: the signature and name then stand
// under those of a line that has a position.
inline constexpr qreal roleWidthUnderPosition = 87;

struct SignatureLine
{
    QString role = {};                  // "Кассир-операционист"; none when empty
    ItemContent name;                   // under "(расшифровка подписи)"
    std::optional<ItemContent> position = {}; // under "(должность)", when the form has it
    // Narrow forms shrink the cells; roleWidthUnderPosition lines the signature up under a line
    // that has a position; 0 leaves no room for a role.
    qreal roleWidth = 45;
    qreal signatureWidth = 30;
    qreal nameWidth = 50;
    bool boldRole = false;
    // The station's acts put the name before the signature cell.
    bool nameBeforeSignature = false;
    qreal positionWidth = 40;
};

// Role, position, empty signature cell and name (or name and signature cell), each cell with its
// hint beneath; an empty role leaves its room blank. Returns the height taken.
qreal addSignatureLine(QList<ReportItem> &items, const SignatureLine &line, const QPointF &at);

struct DateLine
{
    ItemContent day;
    ItemContent month;
    ItemContent year;
    bool guillemets = false; // «05» instead of "05"
    QString yearPrefix = {}; // "20" before a year cell left for the last two digits
};

// «"05" марта 2016 г.» with day, month and year in underlined cells. Returns the width taken.
qreal addDateLine(QList<ReportItem> &items, const DateLine &date, const QPointF &at,
                  const ReportFont &font = formBodyFont());


// The second line of the cash orders' amount in words: what the words leave over, then "руб.",
// the kopecks and "коп.".
struct WordsContinuation
{
    QRectF rect;
    QString caption;
};

// A "прописью" line: the words caption underlined over the line, then the kopeck digits and
// "коп.". fill() writes both captions for an amount, the words padded with dashes to the printed
// width of their cell.
// With a continuation (the cash orders) the words have the first line to themselves with
// "(прописью)" beneath; words that do not fit run on at the start of the continuation, and
// dashes fill both lines up to "руб.".
class AmountInWordsLine
{
public:
    AmountInWordsLine(const QRectF &rect, const QString &wordsCaption, const QString &kopeckCaption,
                      const ReportFont &font = formBodyFont());
    AmountInWordsLine(const QRectF &rect, const QString &wordsCaption,
                      const WordsContinuation &continuation, const QString &kopeckCaption,
                      const ReportFont &font = formBodyFont());

    // "руб." printed between the words and the kopecks; call before addTo().
    void setRubleMark(const QString &mark);
    // Small print centred beneath the words cell, "(прописью)"; call before addTo().
    void setHint(const QString &hint);

    void addTo(QList<ReportItem> &items) const;
    void fill(ReportLayout &layout, double amount) const;
    // The words with their ruble noun and a closing "---" («Сто пятьдесят рублей ---»), for forms
    // whose words are not padded to the line's end.
    void fillWithNoun(ReportLayout &layout, double amount) const;

    QRectF wordsRect() const;
    // The room for text in the words cell once the painter's padding is taken off.
    qreal wordsTextWidth() const;

private:
    void fillTwoLines(ReportLayout &layout, const QString &numberWords) const;
    QRectF continuationWordsRect() const;

    QRectF m_rect;
    QString m_wordsCaption;
    QString m_kopeckCaption;
    ReportFont m_font;
    QString m_rubleMark;
    QString m_hint;
    std::optional<WordsContinuation> m_continuation;
};

