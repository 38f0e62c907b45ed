#include "formblocks.h"

#include "documents/rubproc.h"
#include "platform/report/reportpainter.h"

namespace {

constexpr qreal formLineHeight = 3;
constexpr qreal formLinesWidth = 70;
constexpr qreal codeCellWidth = 30;
constexpr qreal codeCellHeight = 5;
constexpr qreal codeCaptionWidth = 45;
constexpr qreal codeColumnTop = 10;
constexpr qreal fieldHeight = 5;
constexpr qreal hintHeight = 3;
constexpr qreal labelWidth = 28;
constexpr qreal gap = 2;
constexpr qreal kopeckCellWidth = 10;
constexpr qreal kopeckTextWidth = 9;

ReportItem contentItem(const QRectF &rect, const ItemContent &content, const ItemStyle &style)
{
    return ReportItem{rect, content, style};
}

ItemStyle smallStyle(Qt::Alignment alignment)
{
    ItemStyle style;
    style.font = formSmallFont();
    style.alignment = alignment;
    return style;
}

// An underlined cell holding value, with hint centred in small print beneath.
void addHintedField(QList<ReportItem> &items, const QRectF &rect, const ItemContent &value,
                    const QString &hint, Qt::Alignment alignment = Qt::AlignCenter)
{
    ItemStyle style;
    style.font = formBodyFont();
    style.alignment = alignment | Qt::AlignBottom;
    style.frame.sides = FrameSide::Bottom;
    items.append(contentItem(rect, value, style));
    if (!hint.isEmpty()) {
        items.append(contentItem({rect.left(), rect.bottom(), rect.width(), hintHeight},
                                 FixedText{hint}, smallStyle(Qt::AlignHCenter | Qt::AlignTop)));
    }
}

} // namespace

ReportFont formSmallFont()
{
    ReportFont font;
    font.pointSize = 6.5;
    return font;
}

ReportFont formBodyFont()
{
    ReportFont font;
    font.pointSize = 9;
    return font;
}

QString decreeLine(FormSeries series)
{
    return series == FormSeries::KM ? QStringLiteral("России от 25.12.98 № 132")
                                    : QStringLiteral("России от 18.08.98 № 88");
}

qreal addFormLines(QList<ReportItem> &items, const QString &formName, FormSeries series,
                   qreal width, qreal top)
{
    const QStringList formLines{QStringLiteral("Унифицированная форма № %1").arg(formName),
                                QStringLiteral("Утверждена Постановлением Госкомстата"),
                                decreeLine(series)};
    for (int i = 0; i < formLines.size(); ++i) {
        const QRectF rect(width - formLinesWidth, top + i * formLineHeight, formLinesWidth,
                          formLineHeight);
        items.append(contentItem(rect, FixedText{formLines[i]},
                                 smallStyle(Qt::AlignRight | Qt::AlignVCenter)));
    }
    return formLines.size() * formLineHeight;
}

qreal addUnifiedFormHeader(QList<ReportItem> &items, const UnifiedFormHeader &header,
                           qreal width, qreal top)
{
    const qreal columnTop = top + (header.withFormLines ? codeColumnTop : 0);
    if (header.withFormLines)
        addFormLines(items, header.formName, header.series, width, top);

    const qreal cellLeft = width - codeCellWidth;
    qreal y = columnTop;
    items.append(ReportItem::text({cellLeft, y, codeCellWidth, codeCellHeight}, QStringLiteral("Код"))
                     .withFont(formBodyFont())
                     .withAlignment(Qt::AlignCenter)
                     .withFrame(allSides));
    y += codeCellHeight;
    QList<CodeRow> rows{{QStringLiteral("Форма по ОКУД"), FixedText{header.okud}}};
    rows += header.codes;
    for (const CodeRow &row : rows) {
        ItemStyle cellStyle;
        cellStyle.font = formBodyFont();
        cellStyle.alignment = Qt::AlignCenter;
        cellStyle.frame.sides = allSides;
        items.append(contentItem({cellLeft, y, codeCellWidth, codeCellHeight}, row.value, cellStyle));
        items.append(contentItem({cellLeft - codeCaptionWidth, y, codeCaptionWidth - 1, codeCellHeight},
                                 FixedText{row.caption}, smallStyle(Qt::AlignRight | Qt::AlignVCenter)));
        y += codeCellHeight;
    }

    const qreal linesWidth = cellLeft - codeCaptionWidth - gap;
    const qreal linesBottom = columnTop + codeCellHeight
                              + addRequisiteLines(items, header.lines,
                                                  {0, columnTop + codeCellHeight}, linesWidth);
    return qMax(y, linesBottom) - top;
}

qreal addRequisiteLines(QList<ReportItem> &items, const QList<RequisiteLine> &lines,
                        const QPointF &at, qreal width)
{
    qreal y = at.y();
    for (const RequisiteLine &line : lines) {
        qreal left = at.x();
        if (!line.label.isEmpty()) {
            items.append(ReportItem::text({left, y, labelWidth, fieldHeight}, line.label)
                             .withFont(formSmallFont())
                             .withAlignment(Qt::AlignLeft | Qt::AlignBottom));
            left += labelWidth;
        }
        addHintedField(items, {left, y, at.x() + width - left, fieldHeight}, line.value, line.hint,
                       Qt::AlignLeft);
        y += fieldHeight + hintHeight;
    }
    return y - at.y();
}

qreal addSignatureLine(QList<ReportItem> &items, const SignatureLine &line, const QPointF &at)
{
    constexpr qreal signatureWidth = 30;
    constexpr qreal nameWidth = 50;

    if (line.roleWidth > 0) {
        items.append(ReportItem::text({at.x(), at.y(), line.roleWidth, fieldHeight}, line.role)
                         .withFont(formBodyFont())
                         .withAlignment(Qt::AlignLeft | Qt::AlignBottom));
    }
    qreal x = at.x() + line.roleWidth;
    if (line.position) {
        addHintedField(items, {x, at.y(), line.positionWidth, fieldHeight}, *line.position,
                       QStringLiteral("(должность)"));
        x += line.positionWidth + gap;
    }
    addHintedField(items, {x, at.y(), signatureWidth, fieldHeight}, FixedText{},
                   QStringLiteral("(подпись)"));
    x += signatureWidth + gap;
    addHintedField(items, {x, at.y(), nameWidth, fieldHeight}, line.name,
                   QStringLiteral("(расшифровка подписи)"));
    return fieldHeight + hintHeight;
}

qreal addDateLine(QList<ReportItem> &items, const DateLine &date, const QPointF &at,
                  const ReportFont &font)
{
    constexpr qreal quoteWidth = 3;
    ItemStyle cellStyle;
    cellStyle.font = font;
    cellStyle.alignment = Qt::AlignCenter;
    cellStyle.frame.sides = FrameSide::Bottom;
    qreal x = at.x();
    auto addText = [&](const QString &text, qreal width) {
        items.append(ReportItem::text({x, at.y(), width, fieldHeight}, text)
                         .withFont(font)
                         .withAlignment(Qt::AlignCenter));
        x += width;
    };
    auto addCell = [&](const ItemContent &value, qreal width) {
        items.append(contentItem({x, at.y(), width, fieldHeight}, value, cellStyle));
        x += width;
    };
    addText(QStringLiteral("\""), quoteWidth);
    addCell(date.day, 8);
    addText(QStringLiteral("\""), quoteWidth);
    x += 1;
    addCell(date.month, 25);
    x += 1;
    addCell(date.year, 12);
    addText(QStringLiteral("г."), 6);
    return x - at.x();
}

AmountInWordsLine::AmountInWordsLine(const QRectF &rect, const QString &wordsCaption,
                                     const QString &kopeckCaption, const ReportFont &font)
    : m_rect(rect)
    , m_wordsCaption(wordsCaption)
    , m_kopeckCaption(kopeckCaption)
    , m_font(font)
{}

AmountInWordsLine::AmountInWordsLine(const QRectF &rect, const QString &hint,
                                     const QRectF &continuation, const QString &wordsCaption,
                                     const QString &kopeckCaption, const ReportFont &font)
    : m_rect(rect)
    , m_hint(hint)
    , m_continuation(continuation)
    , m_wordsCaption(wordsCaption)
    , m_kopeckCaption(kopeckCaption)
    , m_font(font)
{}

QRectF AmountInWordsLine::wordsRect() const
{
    if (!m_continuation.isNull())
        return m_rect;
    return m_rect.adjusted(0, 0, -(kopeckCellWidth + kopeckTextWidth + 1), 0);
}

qreal AmountInWordsLine::wordsTextWidth() const
{
    return wordsRect().width() - 2 * reportTextPadding;
}

void AmountInWordsLine::addTo(QList<ReportItem> &items) const
{
    const QRectF words = wordsRect();
    items.append(ReportItem::caption(words, m_wordsCaption)
                     .withFont(m_font)
                     .withFrame(FrameSide::Bottom));
    if (!m_hint.isEmpty()) {
        items.append(contentItem({words.left(), words.bottom(), words.width(), hintHeight},
                                 FixedText{m_hint}, smallStyle(Qt::AlignHCenter | Qt::AlignTop)));
    }
    if (m_continuation.isNull())
        addKopecks(items, words.right() + 1, m_rect.top(), m_rect.height());
    else
        addContinuation(items);
}

void AmountInWordsLine::addKopecks(QList<ReportItem> &items, qreal left, qreal top,
                                   qreal height) const
{
    const QRectF kopecks(left, top, kopeckCellWidth, height);
    items.append(ReportItem::caption(kopecks, m_kopeckCaption)
                     .withFont(m_font)
                     .withAlignment(Qt::AlignCenter)
                     .withFrame(FrameSide::Bottom));
    items.append(ReportItem::text({kopecks.right(), top, kopeckTextWidth, height},
                                  QStringLiteral("коп."))
                     .withFont(m_font));
}

// The dashes fill their cell the way the words line fills up with dashes.
void AmountInWordsLine::addContinuation(QList<ReportItem> &items) const
{
    constexpr qreal rubTextWidth = 8;
    const QRectF &line = m_continuation;
    const QRectF dashes(line.left(), line.top(),
                        line.width() - rubTextWidth - kopeckCellWidth - kopeckTextWidth,
                        line.height());
    const qreal dashWidth = printedTextWidth(QStringLiteral("-"), m_font.toQFont());
    const int count = int((dashes.width() - 2 * reportTextPadding) / dashWidth);
    items.append(ReportItem::text(dashes, QString(count, u'-')).withFont(m_font));
    items.append(ReportItem::text({dashes.right(), line.top(), rubTextWidth, line.height()},
                                  QStringLiteral("руб."))
                     .withFont(m_font));
    addKopecks(items, dashes.right() + rubTextWidth, line.top(), line.height());
}

void AmountInWordsLine::fill(ReportLayout &layout, double amount) const
{
    QString words = layout.caption(m_wordsCaption);
    QString kopecks;
    rubWordsToLabels(words, wordsTextWidth(), kopecks, amount, m_font.toQFont());
    layout.setCaption(m_wordsCaption, words);
    layout.setCaption(m_kopeckCaption, kopecks);
}
