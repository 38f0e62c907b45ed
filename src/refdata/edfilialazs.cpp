#include "edfilialazs.h"

#include "roweditor.h"
#include "db/datamodule.h"

#include "platform/jpeg/jpegimage.h"
#include "platform/ui/focuschain.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

namespace {

enum class Kind { Text, Number, Check, Confirm };
enum class Hint { None, Name, Position, ManagerPosition };

// One control of the window, in tab order, at its place on the window.
struct FormField
{
    const char *label;
    const char *name;
    const char *column;
    Kind kind;
    int maxLength;
    int top;
    Hint hint = Hint::None;
    int labelLeft = 12;
    int left = 185;
    int width = 455;
};

constexpr int fieldHeight = 22;
constexpr int largestStationNumber = 32767;

const FormField formFields[] = {
    {"РБЕ", "dbeRBE", "nazvRBE", Kind::Text, 31, 96},
    {"ФИЛИАЛ", "dbeFILIAL", "FILIAL", Kind::Text, 31, 122},
    {"ТЕЛ.", "dbeTEL", "telRBE", Kind::Text, 63, 148},
    {"АДРЕС", "dbeAdresRBE", "adresRBE", Kind::Text, 127, 174},
    {"ОКПО", "dbeOKPO", "OKPO", Kind::Text, 8, 200, Hint::None, 12, 185, 90},
    {"ИНН", "dbeINN", "INN", Kind::Text, 10, 200, Hint::None, 300, 340, 110},
    {"ОКПД", "dbeOKDP", "OKDP", Kind::Text, 7, 200, Hint::None, 475, 525, 115},
    {"БАНК", "dbeBANK", "BANK", Kind::Text, 100, 226},
    {"БИК", "DBEdit1", "BIK", Kind::Text, 10, 252, Hint::None, 12, 185, 100},
    {"Р/с", "dbeRSchet", "RSchet", Kind::Text, 25, 252, Hint::None, 300, 330, 310},
    {"К/с", "dbeKSchet", "KSchet", Kind::Text, 25, 278, Hint::None, 300, 330, 310},
    {"РУКОВОДИТЕЛЬ", "dbeRUKFIO", "RUKFIO", Kind::Text, 63, 310, Hint::Name},
    {"ДОЛЖНОСТЬ", "dbeRUKDOLJN", "RUKDOLJN", Kind::Text, 63, 352, Hint::Position},
    {"ГЛАВНЫЙ БУХГАЛТЕР", "DBEdit2", "GLBUHFIO", Kind::Text, 63, 394, Hint::Name},
    {"ДОЛЖНОСТЬ", "DBEdit3", "GLBUHDOLJN", Kind::Text, 63, 436, Hint::Position},
    {"АЗС №", "dbeAZSN", "nAZS", Kind::Number, 0, 480, Hint::None, 12, 185, 60},
    {"ОПЕРАЦИОННАЯ СИСТЕМА", "DBCheckBox1", "LINUX", Kind::Check, 0, 480, Hint::None, 300, 470, 80},
    {"УПРАВЛЯЮЩИЙ", "dbeUPRAVFIO", "UPRAVFIO", Kind::Text, 63, 510, Hint::Name},
    {"", "btnFILIALSAVE", "", Kind::Confirm, 0, 0},
    {"БУХГАЛТЕР", "dbeBUHGALTER", "BUHGALTER", Kind::Text, 63, 552, Hint::Name},
    {"ДИРЕКТОР", "DBEdit4", "DIREKTOR", Kind::Text, 63, 594, Hint::Name},
    {"ДОЛЖНОСТЬ", "dbeUpravDoljnost", "UPRAVDOLJN", Kind::Text, 63, 636, Hint::ManagerPosition},
};

QString hintText(Hint hint)
{
    switch (hint) {
    case Hint::Name:
        return QStringLiteral("фамилия, имя отчество");
    case Hint::Position:
        return QStringLiteral("должность, указываемая в отчетных документах АЗС");
    case Hint::ManagerPosition:
        return QStringLiteral("должность, указываемая в отчетных документах АЗС (управляющий, мастер)");
    case Hint::None:
        break;
    }
    return {};
}

QLabel *smallCentredLabel(QWidget *parent, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSize(7);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(geometry);
    return label;
}

QLabel *boldLabel(QWidget *parent, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("font-weight: bold"));
    label->setGeometry(geometry);
    return label;
}

} // namespace

TfEdFILIALAZS::TfEdFILIALAZS(TfDM *dm, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_dm(dm)
    , m_row(new RowEditor(dm->tabFILIAL, this))
    , m_focus(new FocusChain(this))
{
    setObjectName(QStringLiteral("fEdFILIALAZS"));
    setWindowTitle(QStringLiteral("РЕКВИЗИТЫ, ТЕЛЕФОНЫ, РУКОВОДСТВО ФИЛИАЛА И АЗС"));
    setModal(true);
    setFixedSize(windowWidth, windowHeight);

    imageLabel = new QLabel(this);
    imageLabel->setObjectName(QStringLiteral("imageLabel"));
    imageLabel->setGeometry(10, 8, 81, 80);
    imageLabel->setPixmap(QPixmap::fromImage(decodeJpegFile(QStringLiteral(":/refdata/images/station.jpg"))));
    auto *heading = boldLabel(this, QStringLiteral("РЕКВИЗИТЫ, ТЕЛЕФОНЫ,\nРУКОВОДСТВО ФИЛИАЛА И АЗС"),
                              QRect(110, 22, 400, 44));
    QFont headingFont = heading->font();
    headingFont.setPointSize(12);
    heading->setFont(headingFont);

    buildFooter();
    buildFields();
}

TfEdFILIALAZS::~TfEdFILIALAZS() = default;

void TfEdFILIALAZS::buildFields()
{
    for (const FormField &entry : formFields) {
        const QString column = QString::fromUtf8(entry.column);
        if (entry.kind == Kind::Confirm) {
            m_focus->append(btnFILIALSAVE);
            continue;
        }
        auto *label = new QLabel(QString::fromUtf8(entry.label), this);
        label->adjustSize();
        label->setGeometry(entry.labelLeft, entry.top, label->width(), fieldHeight);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        const QRect geometry(entry.left, entry.top, entry.width, fieldHeight);
        QWidget *control = nullptr;
        if (entry.kind == Kind::Check) {
            DBCheckBox1 = new QCheckBox(QStringLiteral("LINUX"), this);
            m_row->bindCheck(DBCheckBox1, column);
            control = DBCheckBox1;
        } else {
            auto *field = new QLineEdit(this);
            if (entry.kind == Kind::Number)
                m_row->bindNumber(field, column, largestStationNumber);
            else
                m_row->bindText(field, column, entry.maxLength);
            control = field;
        }
        control->setObjectName(QString::fromUtf8(entry.name));
        control->setGeometry(geometry);
        if (entry.hint != Hint::None)
            smallCentredLabel(this, hintText(entry.hint), QRect(entry.left, entry.top + fieldHeight, entry.width, 14));
        m_focus->append(control, FocusChain::Enter | FocusChain::UpDown);
        if (!m_firstField)
            m_firstField = control;
    }
}

void TfEdFILIALAZS::buildFooter()
{
    const QRect line(12, 682, windowWidth - 24, 18);
    lblFILIALINP = boldLabel(this, QStringLiteral("ВНЕСИТЕ ИЗМЕНЕНИЯ, ГДЕ ЭТО НЕОБХОДИМО,"), line);
    lblFILIALINP->setObjectName(QStringLiteral("lblFILIALINP"));
    lblFILIALSAVE = boldLabel(this, QStringLiteral("ПОДТВЕРДИТЕ И ВЫПОЛНИТЕ ПЕРЕЗАГРУЗКУ"),
                              line.translated(0, 18));
    lblFILIALSAVE->setObjectName(QStringLiteral("lblFILIALSAVE"));
    for (QLabel *prompt : {lblFILIALINP, lblFILIALSAVE}) {
        prompt->setAlignment(Qt::AlignCenter);
        prompt->setStyleSheet(prompt->styleSheet() + QStringLiteral("; color: maroon"));
    }
    btnFILIALSAVE = new QPushButton(QStringLiteral("ПОДТВЕРДИТЬ ИЗМЕНЕНИЯ"), this);
    btnFILIALSAVE->setObjectName(QStringLiteral("btnFILIALSAVE"));
    btnFILIALSAVE->setGeometry((windowWidth - 260) / 2, 724, 260, 30);
    connect(btnFILIALSAVE, &QPushButton::clicked, this, &TfEdFILIALAZS::btnFILIALSAVEClick);
}

void TfEdFILIALAZS::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_row->showRow();
    m_firstField->setFocus(Qt::TabFocusReason);
}

void TfEdFILIALAZS::btnFILIALSAVEClick()
{
    if (m_row->post())
        accept();
}

void TfEdFILIALAZS::done(int result)
{
    m_row->cancel();
    Table &requisites = m_dm->tabFILIAL;
    if (requisites.isOpen()) {
        requisites.close();
        requisites.open();
    }
    QDialog::done(result);
}

QImage TfEdFILIALAZS::requisitesSheet()
{
    m_row->showRow();
    const QList<QWidget *> notPrinted = {lblFILIALINP, lblFILIALSAVE, btnFILIALSAVE};
    for (QWidget *control : notPrinted)
        control->hide();
    const QImage sheet = grab().toImage();
    for (QWidget *control : notPrinted)
        control->show();
    return sheet;
}

// The sheet comes out at the size the window has on screen, smaller only when the page is.
bool TfEdFILIALAZS::printRequisites()
{
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull())
        return false;
    const QImage sheet = requisitesSheet();
    QPrinter printer(defaultPrinter, QPrinter::HighResolution);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QSizeF page = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    const double scale = double(printer.resolution()) / logicalDpiX();
    QSizeF size = QSizeF(sheet.size()) / sheet.devicePixelRatio() * scale;
    if (size.width() > page.width() || size.height() > page.height())
        size.scale(page, Qt::KeepAspectRatio);
    painter.drawImage(QRectF(QPointF(0, 0), size), sheet);
    return painter.end();
}
