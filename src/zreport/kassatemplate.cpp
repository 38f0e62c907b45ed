#include "kassatemplate.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int panelFontPixels = 11;
constexpr int editFontPixels = 13;
constexpr int amountWidth = 97;
constexpr int amountHeight = 24;
constexpr int amountLength = 12;
constexpr int totalLength = 14; // the cumulative totals run two digits longer

struct EditRow
{
    const char *suffix;
    int left, top, width, height;
    int maxLength; // 0: no limit
    const char *text;
    bool enabled;
};

const EditRow editRows[] = {
    {"SerKKM", 48, 16, 59, 21, 0, "", false},
    {"ZDOC", 176, 16, 57, 21, 9, "", true},
    {"ZTime", 176, 40, 57, 21, 5, "08:00", true},
    {"NalProd", 112, 80, amountWidth, amountHeight, amountLength, "", true},
    {"NalVozvrat", 112, 104, amountWidth, amountHeight, amountLength, "", true},
    {"KredProd", 112, 144, amountWidth, amountHeight, amountLength, "", true},
    {"KredStorno", 112, 168, amountWidth, amountHeight, amountLength, "", true},
    {"ProdSum", 112, 208, amountWidth, amountHeight, amountLength, "", false},
    {"VNOS", 112, 232, amountWidth, amountHeight, amountLength, "", true},
    {"VINOS", 112, 256, amountWidth, amountHeight, amountLength, "0.00", true},
    {"INKASS", 112, 288, amountWidth, amountHeight, amountLength, "", true},
    {"SUMKASS", 112, 336, amountWidth, amountHeight, amountLength, "", true},
    {"NARPROD", 112, 360, amountWidth, amountHeight, totalLength, "", true},
    {"NZ", 144, 395, 73, 24, 9, "", true},
    {"ZDate", 8, 411, 75, 24, 10, "", false},
    {"SUMKASSNS", 112, 509, amountWidth, amountHeight, amountLength, "", true},
    {"NARPRODNS", 112, 533, amountWidth, amountHeight, totalLength, "", true},
};

struct LabelRow
{
    const char *text;
    int left, top;
};

const LabelRow labelRows[] = {
    {"Сер. N:", 8, 16},
    {"N док.:", 136, 16},
    {"Время", 136, 40},
    {"Z-ОТЧЕТ", 122, 64},
    {"НАЛИЧНЫЕ:", 8, 72},
    {"ПРОДАЖА", 8, 88},
    {"РУБ", 210, 88},
    {"ВОЗВРАТ", 8, 104},
    {"РУБ", 210, 112},
    {"КРЕДИТ:", 8, 136},
    {"ПРОДАЖА", 8, 152},
    {"РУБ", 210, 152},
    {"СТОРН.ПРОДАЖА", 8, 168},
    {"РУБ", 210, 176},
    {"ПРОДАЖА", 8, 216},
    {"РУБ", 210, 216},
    {"ВНОС (подкрепл.)", 8, 240},
    {"РУБ", 210, 236},
    {"ВЫНОС (без.инк.)", 8, 264},
    {"РУБ", 210, 262},
    {"ИНКАССАЦИЯ", 8, 294},
    {"РУБ", 210, 293},
    {"НАРАСТАЮЩИЙ ИТОГ", 8, 319},
    {"СУММА В КАССЕ", 8, 344},
    {"РУБ", 210, 344},
    {"ПРОДАЖА", 9, 368},
    {"РУБ", 210, 368},
    {"ЗАКРЫТИЕ СМЕНЫ N", 8, 395},
    {"СУМ В КАССЕ(пред)", 8, 514},
    {"РУБ", 210, 514},
    {"ПРОДАЖА (пред)", 8, 534},
    {"РУБ", 211, 534},
};

// A push button or a check box.
struct ButtonRow
{
    const char *name;
    const char *caption;
    int left, top, width, height;
    bool enabled;
};

// The document buttons wait for a complete Z-report, the extra-report button for its check box
// and the date shift for "Сместить дату".
const ButtonRow buttonRows[] = {
    {"btnDopZOtchet", "ДОП.ОТЧЕТ", 24, 46, 89, 20, false},
    {"btnPrintZAll", "Печать", 8, 443, 73, 25, false},
    {"btnKM6", "КМ6", 86, 443, 30, 25, false},
    {"btnKO4", "KO4", 115, 443, 30, 25, false},
    {"btnKO1", "KO1", 143, 443, 30, 25, false},
    {"btnKO2", "KO2", 172, 443, 30, 25, false},
    {"btnKM3", "KM3", 201, 443, 30, 25, false},
    {"btnZDate", "<<", 88, 414, 25, 25, false},
    {"btnKorrAkt", "КОРР. АКТ", 161, 483, 72, 20, true},
};

const ButtonRow checkBoxRows[] = {
    {"chbDopZOtchet", "", 8, 48, 17, 17, true},
    {"chbZDate", "Сместить дату", 119, 427, 113, 17, true},
    {"chbZExtrSit", "Нестандартные ситуации", 8, 487, 153, 17, true},
};

QFont pixelFont(const QWidget *w, int pixels)
{
    QFont font = w->font();
    font.setPixelSize(pixels);
    return font;
}

void addEdit(QGroupBox *box, const EditRow &row)
{
    auto *edit = new QLineEdit(QString::fromUtf8(row.text), box);
    edit->setObjectName(QStringLiteral("memo") + QString::fromUtf8(row.suffix));
    edit->setGeometry(row.left, row.top, row.width, row.height);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (row.maxLength > 0)
        edit->setMaxLength(row.maxLength);
    edit->setFont(pixelFont(edit, editFontPixels));
    edit->setEnabled(row.enabled);
}

// The sales sum is shown, never typed: it looks like the panel around it.
void showAsReadOnly(QLineEdit *edit)
{
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    edit->setPalette(palette);
}

void addLabel(QGroupBox *box, const LabelRow &row)
{
    auto *label = new QLabel(QString::fromUtf8(row.text), box);
    label->move(row.left, row.top);
    label->adjustSize();
}

// The line between the entries and their totals, and the line that shows a check's verdict.
void addFixedLabels(QGroupBox *box)
{
    auto *rule = new QLabel(QStringLiteral("=============== ИТОГО ==============="), box);
    rule->setGeometry(8, 192, 223, rule->sizeHint().height());

    auto *error = new QLabel(box);
    error->setObjectName(QStringLiteral("lblZError"));
    error->setGeometry(8, 467, 217, 25);
    error->setFont(pixelFont(error, editFontPixels));
    QPalette palette = error->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    error->setPalette(palette);
}

void placeButton(QAbstractButton *button, const ButtonRow &row)
{
    button->setObjectName(QString::fromUtf8(row.name));
    button->setGeometry(row.left, row.top, row.width, row.height);
    button->setEnabled(row.enabled);
}

void addButtons(QGroupBox *box)
{
    for (const ButtonRow &row : buttonRows)
        placeButton(new QPushButton(QString::fromUtf8(row.caption), box), row);
    auto *korrAkt = box->findChild<QPushButton *>(QStringLiteral("btnKorrAkt"));
    QFont italic = korrAkt->font();
    italic.setItalic(true);
    korrAkt->setFont(italic);
    for (const ButtonRow &row : checkBoxRows)
        placeButton(new QCheckBox(QString::fromUtf8(row.caption), box), row);
}

} // namespace

QGroupBox *buildKassaTemplate(QWidget *parent)
{
    auto *box = new QGroupBox(QStringLiteral("Касса 1"), parent);
    box->setObjectName(QStringLiteral("gbKassa"));
    box->hide();
    box->setGeometry(8, 224, 241, 565);
    box->setFont(pixelFont(box, panelFontPixels));

    for (const EditRow &row : editRows)
        addEdit(box, row);
    for (const LabelRow &row : labelRows)
        addLabel(box, row);
    addFixedLabels(box);
    showAsReadOnly(box->findChild<QLineEdit *>(QStringLiteral("memoProdSum")));
    addButtons(box);
    return box;
}
