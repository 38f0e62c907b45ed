#include "formparts.h"

#include "db/datamodule.h"
#include "documents/documentcommands.h"
#include "documents/rubproc.h"
#include "platform/report/datasetrowsource.h"

#include <QLocale>

void bindFormSources(ReportLayout &layout, TfDM &dm)
{
    layout.setSource(zActiveSource, std::make_shared<DatasetRowSource>(&dm.adoqZActive));
    layout.setSource(filialSource, std::make_shared<DatasetRowSource>(&dm.adoqFILIAL));
    layout.setSource(requisitesSource, std::make_shared<DatasetRowSource>(&dm.tabFILIAL));
}

void refreshRequisites(TfDM &dm)
{
    openRequisites(dm);
    if (dm.tabFILIAL.isOpen())
        dm.tabFILIAL.refresh();
    else
        dm.tabFILIAL.open();
}

void openRequisitesIfClosed(TfDM &dm)
{
    for (Dataset *dataset : std::initializer_list<Dataset *>{&dm.adoqFILIAL, &dm.tabFILIAL}) {
        if (!dataset->isOpen())
            dataset->open();
    }
}

ItemContent zValue(FormKind kind, const QString &column, const QString &pattern)
{
    if (kind == FormKind::Blank)
        return FixedText{};
    return DataField{zActiveSource, column, pattern};
}

ItemContent zActiveValue(const QString &column)
{
    return DataField{zActiveSource, column, {}};
}

ItemContent registerNumber(FormKind kind, const QString &column)
{
    if (kind == FormKind::Blank)
        return Caption{column};
    return DataField{zActiveSource, column, {}};
}

void setLastRegisterNumbers(ReportLayout &layout, const LastOpenedZ &lastZ)
{
    layout.setCaption(QStringLiteral("nproizv"), lastZ.manufacturerNumber);
    layout.setCaption(QStringLiteral("nreg"), lastZ.registrationNumber);
}

ItemContent requisite(const QString &column)
{
    return DataField{requisitesSource, column, {}};
}

ItemContent composedRequisite(const QString &column)
{
    return DataField{filialSource, column, {}};
}

ColumnGrid::ColumnGrid(qreal left, const QList<qreal> &widths)
    : m_edges{left}
{
    for (qreal width : widths)
        m_edges.append(m_edges.last() + width);
}

QRectF ColumnGrid::span(int first, int last, qreal top, qreal height) const
{
    return QRectF(QPointF(m_edges.at(first), top), QPointF(m_edges.at(last + 1), top + height));
}

ReportItem tableCell(const QRectF &rect, const ItemContent &content, Qt::Alignment alignment,
                     const ReportFont &font)
{
    ItemStyle style;
    style.font = font;
    style.alignment = alignment;
    style.frame.sides = allSides;
    return ReportItem{rect, content, style};
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
QString chosenOperator(const QString &choice)
{
    return choice == chooseOperatorText ? QString() : choice;
}

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

QString requisiteText(TfDM &dm, const QString &column)
{
    return dm.tabFILIAL.isEmpty() ? QString() : dm.tabFILIAL.field(column).asString();
}
