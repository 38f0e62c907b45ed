#pragma once

#include "platform/report/reportlayout.h"

// Stacks running text down a band: bold centred headings, paragraphs and numbered items with a
// hanging indent, each as tall as its wrapped text prints.
class SheetWriter
{
public:
    SheetWriter(ReportBand &band, qreal width, const ReportFont &font);

    void heading(const QString &text);
    void paragraph(const QString &text);
    void numbered(int number, const QString &text);
    void space(qreal height);

private:
    void addWrapped(qreal left, const QString &text, const ReportFont &font, Qt::Alignment alignment);

    ReportBand &m_band;
    qreal m_width;
    ReportFont m_font;
};

// Height in millimetres of text wrapped to width millimetres of print, as the painter lays it out.
qreal printedTextHeight(const QString &text, const QFont &font, qreal width);
