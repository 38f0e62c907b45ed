#include "formparts.h"

#include "db/datamodule.h"
#include "documents/documentcommands.h"
#include "documents/rubproc.h"
#include "platform/report/datasetrowsource.h"

#include <QLocale>

ItemContent zValue(FormKind kind, const QString &column, const QString &pattern)
{
    if (kind == FormKind::Blank)
        return FixedText{};
    return DataField{FormSource::zActive, column, pattern};
}

ItemContent zActiveValue(const QString &column)
{
    return DataField{FormSource::zActive, column, {}};
}

ItemContent registerNumber(FormKind kind, const QString &column)
{
    if (kind == FormKind::Blank)
        return Caption{column};
    return DataField{FormSource::zActive, column, {}};
}

void setLastRegisterNumbers(ReportLayout &layout, const LastOpenedZ &lastZ)
{
    layout.setCaption(QStringLiteral("nproizv"), lastZ.manufacturerNumber);
    layout.setCaption(QStringLiteral("nreg"), lastZ.registrationNumber);
}

ItemContent requisite(const QString &column)
{
    return DataField{FormSource::station, column, {}};
}

ItemContent composedRequisite(const QString &column)
{
    return DataField{FormSource::requisites, column, {}};
}

ReportItem headingCell(const QRectF &rect, const QString &text)
{
    return tableCell(rect, FixedText{text}, Qt::AlignCenter, formSmallFont()).withWordWrap();
}

ReportItem formText(const QRectF &rect, const QString &text, Qt::Alignment alignment,
                    const ReportFont &font)
{
    return ReportItem::text(rect, text).withFont(font).withAlignment(alignment);
}

ReportItem underlined(const QRectF &rect, const ItemContent &content, Qt::Alignment alignment,
                      const ReportFont &font)
{
    ItemStyle style;
    style.font = font;
    style.alignment = alignment;
    style.frame.sides = FrameSide::Bottom;
    return ReportItem{rect, content, style};
}

DateLine dateCaptions(const QString &prefix)
{
    return {Caption{prefix + QStringLiteral("Day")}, Caption{prefix + QStringLiteral("Month")},
            Caption{prefix + QStringLiteral("Year")}};
}

void setDateCaptions(ReportLayout &layout, const QString &prefix, const DocDateParts &parts)
{
    layout.setCaption(prefix + QStringLiteral("Day"), parts.day);
    layout.setCaption(prefix + QStringLiteral("Month"), parts.month);
    layout.setCaption(prefix + QStringLiteral("Year"), parts.year);
}

void alignCaption(ReportLayout &layout, const QString &caption, Qt::Alignment alignment)
{
    auto align = [&](QList<ReportItem> &items) {
        for (ReportItem &item : items) {
            const auto *content = std::get_if<Caption>(&item.content);
            if (content && content->name == caption)
                item.style.alignment = alignment;
        }
    };
    for (int kind = 0; kind < bandKindCount; ++kind)
        align(layout.band(BandKind(kind)).items);
    align(layout.pageItems());
}

// The main window's placeholder is no name: a form that printed it would name a cashier
// «ВЫБРАТЬ О.О.».
QString chosenOperatorInitials(const QString &choice)
{
    return fioInitials(chosenOperator(choice), true);
}

QString plainAmountText(double amount)
{
    return QString::number(amount, 'f', 2).replace(u'.', QLocale::system().decimalPoint());
}

QString zText(TfDM &dm, const QString &column)
{
    return dm.adoqZActive.field(column).asString();
}

double zAmount(TfDM &dm, const QString &column)
{
    return dm.adoqZActive.field(column).asFloat();
}

