#include "formblocks.h"

#include "documents/rubproc.h"
#include "platform/report/reportpainter.h"

namespace {

constexpr qreal formLineHeight = 3;
constexpr qreal formLinesWidth = 70;
constexpr qreal codeCellWidth = 30;
constexpr qreal codeCellHeight = 5;
constexpr qreal codeColumnTop = 10;
constexpr qreal fieldHeight = 5;
constexpr qreal hintHeight = 3;
constexpr qreal labelWidth = 28;
constexpr qreal gap = 2;
constexpr qreal kopeckCellWidth = 10;
constexpr qreal kopeckTextWidth = 9;
constexpr qreal rubleMarkCellWidth = 9;
constexpr qreal rubleTextWidth = 8;

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

void addHint(QList<ReportItem> &items, const QRectF &above, const QString &hint)
{
    items.append(contentItem({above.left(), above.bottom(), above.width(), hintHeight},
                             FixedText{hint}, smallStyle(Qt::AlignHCenter | Qt::AlignTop)));
}

// The words of a number split where they reach the end of a line width wide: what fits, and
// the rest, each ending in a blank.
std::pair<QString, QString> splitWords(const QString &words, qreal width, const QFont &font)
{
    const QStringList tokens = words.split(u' ', Qt::SkipEmptyParts);
    QString first;
    qsizetype taken = 0;
    while (taken < tokens.size() && printedTextWidth(first + tokens[taken], font) <= width)
        first += tokens[taken++] + u' ';
    const QStringList rest = tokens.mid(taken);
    return {first, rest.isEmpty() ? QString() : rest.join(u' ') + u' '};
}

} // namespace

void addHintedField(QList<ReportItem> &items, const QRectF &rect, const ItemContent &value,
                    const QString &hint, Qt::Alignment alignment)
{
    ItemStyle style;
    style.font = formBodyFont();
    style.alignment = alignment | Qt::AlignBottom;
    style.frame.sides = FrameSide::Bottom;
    items.append(contentItem(rect, value, style));
    if (!hint.isEmpty())
        addHint(items, rect, hint);
}

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
    qreal columnTop = top;
    if (header.formLines) {
        addFormLines(items, header.formName, header.series, width, top);
        columnTop += codeColumnTop;
    }

    const qreal cellLeft = width - codeCellWidth;
    const qreal captionLeft = cellLeft - header.codeCaptionWidth;
    qreal y = columnTop;
    items.append(ReportItem::text({cellLeft, y, codeCellWidth, codeCellHeight}, QStringLiteral("Код"))
                     .withFont(formBodyFont())
                     .withAlignment(Qt::AlignCenter)
                     .withFrame(allSides));
    y += codeCellHeight;
    QList<CodeRow> rows{{QStringLiteral("Форма по ОКУД"), FixedText{header.okud}}};
    rows += header.codes;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const CodeRow &row = rows[i];
        ItemStyle cellStyle;
        cellStyle.font = formBodyFont();
        cellStyle.alignment = Qt::AlignCenter;
        cellStyle.frame.sides = allSides;
        items.append(contentItem({cellLeft, y, codeCellWidth, codeCellHeight}, row.value, cellStyle));
        qreal groupWidth = 0;
        if (!row.group.isEmpty()) {
            groupWidth = printedTextWidth(row.group, formSmallFont().toQFont())
                         + 2 * reportTextPadding + 1;
            if (i == 0 || rows[i - 1].group != row.group) {
                qsizetype runLength = 1;
                while (i + runLength < rows.size() && rows[i + runLength].group == row.group)
                    ++runLength;
                items.append(contentItem({captionLeft, y, groupWidth, runLength * codeCellHeight},
                                         FixedText{row.group},
                                         smallStyle(Qt::AlignLeft | Qt::AlignVCenter)));
            }
        }
        items.append(contentItem(
            {captionLeft + groupWidth, y, header.codeCaptionWidth - groupWidth - 1, codeCellHeight},
            FixedText{row.caption}, smallStyle(Qt::AlignRight | Qt::AlignVCenter)));
        y += codeCellHeight;
    }

    const qreal linesWidth = captionLeft - gap;
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
        // Two lines of body text need 8 mm; the hint follows the taller field.
        const qreal height = line.twoLines ? 2 * fieldHeight - 2 : fieldHeight;
        const qsizetype valueIndex = items.size();
        addHintedField(items, {left, y, at.x() + width - left, height}, line.value, line.hint,
                       Qt::AlignLeft);
        items[valueIndex].style.wordWrap = line.twoLines;
        y += height + hintHeight;
    }
    return y - at.y();
}

qreal addSignatureLine(QList<ReportItem> &items, const SignatureLine &line, const QPointF &at)
{
    if (!line.role.isEmpty()) {
        ReportFont roleFont = formBodyFont();
        roleFont.bold = line.boldRole;
        items.append(ReportItem::text({at.x(), at.y(), line.roleWidth, fieldHeight}, line.role)
                         .withFont(roleFont)
                         .withAlignment(Qt::AlignLeft | Qt::AlignBottom));
    }
    qreal x = at.x() + line.roleWidth;
    if (line.position) {
        addHintedField(items, {x, at.y(), line.positionWidth, fieldHeight}, *line.position,
                       QStringLiteral("(должность)"));
        x += line.positionWidth + gap;
    }
    auto addSignature = [&] {
        addHintedField(items, {x, at.y(), line.signatureWidth, fieldHeight}, FixedText{},
                       QStringLiteral("(подпись)"));
        x += line.signatureWidth + gap;
    };
    auto addName = [&] {
        addHintedField(items, {x, at.y(), line.nameWidth, fieldHeight}, line.name,
                       QStringLiteral("(расшифровка подписи)"));
        x += line.nameWidth + gap;
    };
    if (line.nameBeforeSignature) {
        addName();
        addSignature();
    } else {
        addSignature();
        addName();
    }
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
    addText(date.guillemets ? QStringLiteral("«") : QStringLiteral("\""), quoteWidth);
    addCell(date.day, 8);
    addText(date.guillemets ? QStringLiteral("»") : QStringLiteral("\""), quoteWidth);
    x += 1;
    addCell(date.month, 25);
    x += 1;
    if (date.yearPrefix.isEmpty()) {
        addCell(date.year, 12);
    } else {
        addText(date.yearPrefix, 5);
        addCell(date.year, 7);
    }
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

void AmountInWordsLine::setRubleMark(const QString &mark)
{
    m_rubleMark = mark;
}

void AmountInWordsLine::setHint(const QString &hint)
{
    m_hint = hint;
}

AmountInWordsLine::AmountInWordsLine(const QRectF &rect, const QString &wordsCaption,
                                     const WordsContinuation &continuation,
                                     const QString &kopeckCaption, const ReportFont &font)
    : AmountInWordsLine(rect, wordsCaption, kopeckCaption, font)
{
    m_continuation = continuation;
}

QRectF AmountInWordsLine::wordsRect() const
{
    if (m_continuation)
        return m_rect;
    const qreal rubleMarkWidth = m_rubleMark.isEmpty() ? 0 : rubleMarkCellWidth;
    return m_rect.adjusted(0, 0, -(rubleMarkWidth + kopeckCellWidth + kopeckTextWidth + 1), 0);
}

QRectF AmountInWordsLine::continuationWordsRect() const
{
    return m_continuation->rect.adjusted(
        0, 0, -(rubleTextWidth + kopeckCellWidth + kopeckTextWidth + 1), 0);
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
    if (!m_hint.isEmpty())
        addHint(items, words, m_hint);
    QRectF line = m_rect;
    qreal x = words.right() + 1;
    if (m_continuation) {
        addHint(items, words, QStringLiteral("(прописью)"));
        line = m_continuation->rect;
        const QRectF lastWords = continuationWordsRect();
        items.append(ReportItem::caption(lastWords, m_continuation->caption)
                         .withFont(m_font)
                         .withFrame(FrameSide::Bottom));
        items.append(
            ReportItem::text({lastWords.right(), line.top(), rubleTextWidth + 1, line.height()},
                             QStringLiteral("руб."))
                .withFont(m_font)
                .withAlignment(Qt::AlignCenter));
        x = lastWords.right() + rubleTextWidth + 1;
    } else if (!m_rubleMark.isEmpty()) {
        items.append(ReportItem::text({x, m_rect.top(), rubleMarkCellWidth, m_rect.height()},
                                      m_rubleMark)
                         .withFont(m_font));
        x += rubleMarkCellWidth;
    }
    const QRectF kopecks(x, line.top(), kopeckCellWidth, line.height());
    items.append(ReportItem::caption(kopecks, m_kopeckCaption)
                     .withFont(m_font)
                     .withAlignment(Qt::AlignCenter)
                     .withFrame(FrameSide::Bottom));
    items.append(ReportItem::text({kopecks.right(), line.top(), kopeckTextWidth, line.height()},
                                  QStringLiteral("коп."))
                     .withFont(m_font));
}

void AmountInWordsLine::fill(ReportLayout &layout, double amount) const
{
    if (m_continuation) {
        const QString words = rubToWords(amount);
        layout.setCaption(m_kopeckCaption, kopeckDigits(words));
        fillTwoLines(layout, wordsBeforeRub(words));
        return;
    }
    QString words = layout.caption(m_wordsCaption);
    QString kopecks;
    rubWordsToLabels(words, wordsTextWidth(), kopecks, amount, m_font.toQFont());
    layout.setCaption(m_wordsCaption, words);
    layout.setCaption(m_kopeckCaption, kopecks);
}

void AmountInWordsLine::fillWithNoun(ReportLayout &layout, double amount) const
{
    const QString words = rubToWords(amount);
    layout.setCaption(m_wordsCaption, wordsWithoutKop(words) + QStringLiteral("---"));
    layout.setCaption(m_kopeckCaption, kopeckDigits(words));
}

void AmountInWordsLine::fillTwoLines(ReportLayout &layout, const QString &numberWords) const
{
    const qreal firstWidth = wordsTextWidth();
    const qreal secondWidth = continuationWordsRect().width() - 2 * reportTextPadding;
    QString first = padWithDashes(numberWords, firstWidth, m_font.toQFont()).value_or(numberWords);
    QString rest;
    if (first == numberWords && !numberWords.isEmpty())
        std::tie(first, rest) = splitWords(numberWords, firstWidth, m_font.toQFont());
    layout.setCaption(m_wordsCaption, first);
    layout.setCaption(m_continuation->caption,
                      padWithDashes(rest, secondWidth, m_font.toQFont()).value_or(rest));
}
