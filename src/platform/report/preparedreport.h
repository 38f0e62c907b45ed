#pragma once

#include "reportlayout.h"

// An item where it lands on the paper, with its text resolved.
struct PreparedItem
{
    QRectF rect; // from the paper's top-left corner, in millimetres
    QString text;
    ItemStyle style;
    QImage image; // null unless the item is a picture
};

struct PreparedPage
{
    QList<PreparedItem> items;
};

// A layout laid out onto pages: what painting, previews and tests work from.
struct PreparedReport
{
    PageSetup page;
    QList<PreparedPage> pages;
};

// Every page has the page header at its top and the page footer at the bottom of the printable
// area; the first page has the title after the page header; the column header follows on every
// page. The detail band prints once per row of its source, going on to a new page when a row
// would reach into the page footer, and the summary follows the last row in the same way. A
// band that does not fit even on a fresh page prints there anyway. Page-level items print on
// every page; the captions pageNumber and pageCount read the page's number and the count.
PreparedReport prepareReport(const ReportLayout &layout);

// One line per item, "page x y w h text", millimetres to 0.1, line breaks in texts as "\n",
// a picture as "<picture W×H>" with its size in pixels:
// a text form of the pages for comparing against a reference.
QString dumpReport(const PreparedReport &report);
