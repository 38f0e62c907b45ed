#include "edkkm.h"

#include "refdataqueries.h"
#include "roweditor.h"
#include "app/formlayout.h"
#include "app/texthelpers.h"
#include "db/datamodule.h"

#include "platform/data/errors.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/processexit.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString numberColumn = QStringLiteral("nKass");
const QString stateColumn = QStringLiteral("idKKMSost");
const QString modelNameColumn = QStringLiteral("KKMnazv");
constexpr int activeState = 1;
constexpr int serialLength = 15;
constexpr int modelNameLength = 63;

QLabel *boldCaption(QWidget *parent, const QString &text, int left, int top)
{
    QLabel *label = caption(parent, text, left, top);
    label->setStyleSheet(QStringLiteral("font-weight: bold"));
    label->adjustSize();
    return label;
}

QPushButton *button(QWidget *parent, const QString &text, const QString &name, const QRect &geometry)
{
    auto *result = placed(new QPushButton(text, parent), name, geometry.left(), geometry.top(),
                          geometry.width(), geometry.height());
    result->setAutoDefault(false);
    return result;
}

} // namespace

TfEdKKM::TfEdKKM(TfDM *dm, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_dm(dm)
    , m_register(new RowEditor(dm->tabKKM, this))
    , m_model(new RowEditor(dm->tabKKMNazv, this))
{
    setObjectName(QStringLiteral("fEdKKM"));
    setWindowTitle(QStringLiteral("КОНТРОЛЬНО-КАССОВЫЕ МАШИНЫ"));
    setModal(true);
    setFixedSize(910, 500);

    buildCount();
    buildRegisters();
    buildModels();
}

TfEdKKM::~TfEdKKM() = default;

void TfEdKKM::buildCount()
{
    auto *heading = boldCaption(this, QStringLiteral("ОПИСЬ КОНТРОЛЬНО-КАССОВЫХ МАШИН"), 10, 12);
    QFont headingFont = heading->font();
    headingFont.setPointSize(11);
    heading->setFont(headingFont);
    heading->adjustSize();
    caption(this, QStringLiteral("АЗС №"), 10, 44);
    dbeNAZS = placed(new QLineEdit(this), QStringLiteral("dbeNAZS"), 55, 40, 60, 24);
    showOnly(dbeNAZS);

    caption(this, QStringLiteral("КОЛИЧЕСТВО АКТИВНЫХ КАСС"), 320, 44);
    btnNKASSdown = button(this, QStringLiteral("<<"), QStringLiteral("btnNKASSdown"), {510, 40, 36, 24});
    edNKass = placed(new QLineEdit(QStringLiteral("0"), this), QStringLiteral("edNKass"), 550, 40, 40, 24);
    edNKass->setAlignment(Qt::AlignCenter);
    btnNKASSup = button(this, QStringLiteral(">>"), QStringLiteral("btnNKASSup"), {594, 40, 36, 24});
    connect(btnNKASSdown, &QPushButton::clicked, this, &TfEdKKM::btnNKASSDOWNClick);
    connect(btnNKASSup, &QPushButton::clicked, this, &TfEdKKM::btnNKASSupClick);
}

void TfEdKKM::buildRegisters()
{
    dbgKKM = placed(new DataGrid(this), QStringLiteral("dbgKKM"), 10, 76, 620, 220);
    dbgKKM->setDataset(&m_dm->tabKKM, {{"NPROIZV", "ЗАВ.НОМЕР", 15},
                                       {"NREG", "РЕГ.НОМЕР", 15},
                                       {"nKass", "КАССА", 5},
                                       {"Модель", "Модель", 20},
                                       {"Состояние", "Состояние", 15}});
    m_register->guardGrid(dbgKKM);

    const int fieldLeft = 130;
    caption(this, QStringLiteral("Номер кассы"), 10, 312);
    comboxNKASS = placed(new QComboBox(this), QStringLiteral("comboxNKASS"), fieldLeft, 308, 60, 24);
    dbeNKASS = placed(new QLineEdit(this), QStringLiteral("dbeNKASS"), fieldLeft + 66, 308, 40, 24);
    showOnly(dbeNKASS);
    m_register->bindShown(dbeNKASS, numberColumn);
    connect(comboxNKASS, &QComboBox::activated, this, &TfEdKKM::comboxNKASSChange);

    caption(this, QStringLiteral("Заводской номер"), 10, 342);
    dbeKKMNP = placed(new QLineEdit(this), QStringLiteral("dbeKKMNP"), fieldLeft, 338, 160, 24);
    m_register->bindText(dbeKKMNP, QStringLiteral("NPROIZV"), serialLength);
    caption(this, QStringLiteral("Регистр. номер"), 10, 372);
    dbeKKMRegN = placed(new QLineEdit(this), QStringLiteral("dbeKKMRegN"), fieldLeft, 368, 160, 24);
    m_register->bindText(dbeKKMRegN, QStringLiteral("NREG"), serialLength);
    caption(this, QStringLiteral("Модель ККМ"), 10, 402);
    dblComboBoxKKMNazv = placed(new QComboBox(this), QStringLiteral("dblComboBoxKKMNazv"), fieldLeft, 398, 250, 24);
    m_register->bindLookup(dblComboBoxKKMNazv, m_dm->tabKKMNazv, QStringLiteral("idKKMNazv"),
                           modelNameColumn, QStringLiteral("idKKMNazv"));
    caption(this, QStringLiteral("Состояние"), 10, 432);
    dblComboBoxKKMSost = placed(new QComboBox(this), QStringLiteral("dblComboBoxKKMSost"), fieldLeft, 428, 250, 24);
    m_register->bindLookup(dblComboBoxKKMSost, m_dm->tabKKMSost, stateColumn,
                           QStringLiteral("KKMSost"), stateColumn);

    btnAddKKM = button(this, QStringLiteral("Новая ККМ"), QStringLiteral("btnAddKKM"), {470, 308, 160, 28});
    btnSaveKKM = button(this, QStringLiteral("Принять данные ККМ"), QStringLiteral("btnSaveKKM"),
                        {470, 424, 160, 28});
    connect(btnAddKKM, &QPushButton::clicked, this, &TfEdKKM::btnAddKKMClick);
    connect(btnSaveKKM, &QPushButton::clicked, this, &TfEdKKM::btnSaveKKMClick);

    m_register->setBeforePost([this] { return checkRegister(); });
    connect(m_register, &RowEditor::rowShown, this, &TfEdKKM::showRegisterNumber);
    m_register->showRow();
}

void TfEdKKM::buildModels()
{
    boldCaption(this, QStringLiteral("МОДЕЛЬНЫЙ РЯД ККМ"), 650, 56);
    dbgKKMNazv = placed(new DataGrid(this), QStringLiteral("dbgKKMNazv"), 650, 76, 250, 220);
    dbgKKMNazv->setDataset(&m_dm->tabKKMNazv, {{"idKKMNazv", "№№", 5}, {"KKMnazv", "НАЗВАНИЕ ККМ", 20}});
    m_model->guardGrid(dbgKKMNazv);
    DBEdit1 = placed(new QLineEdit(this), QStringLiteral("DBEdit1"), 650, 308, 250, 24);
    m_model->bindText(DBEdit1, modelNameColumn, modelNameLength);
    m_model->setBeforePost([this] { return checkModel(); });
    btnAddModel = button(this, QStringLiteral("Добавить Модель"), QStringLiteral("btnAddModel"),
                         {650, 340, 250, 28});
    btnKKMFixModels = button(this, QStringLiteral("Сохранить ряд"), QStringLiteral("btnKKMFixModels"),
                             {650, 424, 250, 28});
    connect(btnAddModel, &QPushButton::clicked, this, &TfEdKKM::btnAddModelClick);
    connect(btnKKMFixModels, &QPushButton::clicked, this, &TfEdKKM::btnKKMFixModelsClick);
}

void TfEdKKM::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TfEdKKM::FormActivate()
{
    const int count = m_dm->registerCount();
    edNKass->setText(QString::number(count));
    fillNumbers(count);
    const Table &requisites = m_dm->tabFILIAL;
    dbeNAZS->setText(requisites.isOpen() ? QString::number(requisites.field(QStringLiteral("nAZS")).asInteger())
                                         : QString());
}

void TfEdKKM::btnNKASSupClick()
{
    incnKass(+1);
}

void TfEdKKM::btnNKASSDOWNClick()
{
    incnKass(-1);
}

void TfEdKKM::incnKass(int step)
{
    bool ok = false;
    const int count = edNKass->text().trimmed().toInt(&ok);
    if (!ok)
        throw ConvertError(QStringLiteral("«%1» не является правильным целым числом").arg(edNKass->text()));
    const int next = count + step;
    if (next < 1 || next > maxActiveRegisters)
        return;
    storeRegisterCount(*m_dm, next);
    edNKass->setText(QString::number(next));
    fillNumbers(next);
}

void TfEdKKM::fillNumbers(int count)
{
    comboxNKASS->clear();
    for (int number = 1; number <= count; ++number)
        comboxNKASS->addItem(QString::number(number));
    showRegisterNumber();
}

// The selector shows the number of the register the grid and the fields show, and is there to
// change only when there is a register.
void TfEdKKM::showRegisterNumber()
{
    comboxNKASS->setEnabled(m_register->rowEditable());
    const int number = strToIntSafe(dbeNKASS->text());
    comboxNKASS->setCurrentIndex(number >= 1 && number <= comboxNKASS->count() ? number - 1 : -1);
}

qint32 TfEdKKM::currentRegisterKey() const
{
    return m_dm->tabKKM.field(QStringLiteral("idKKM")).asInteger();
}

void TfEdKKM::comboxNKASSChange(int index)
{
    const int number = index + 1;
    if (!m_register->rowEditable() || registerNumberTaken(*m_dm, number, currentRegisterKey())) {
        showRegisterNumber();
        return;
    }
    m_register->setValue(numberColumn, number);
}

// A register made active keeps its number only when no other active register has it: two
// panels of the main window cannot stand for one number.
QString TfEdKKM::checkRegister() const
{
    const Table &registers = m_dm->tabKKM;
    const Field number = registers.field(numberColumn);
    if (registers.field(stateColumn).asInteger() != activeState || number.isNull()
        || !registerNumberTaken(*m_dm, number.asInteger(), currentRegisterKey()))
        return {};
    return QStringLiteral("Касса № %1 уже есть среди активных ККМ: выберите другой номер кассы")
        .arg(number.asInteger());
}

QString TfEdKKM::checkModel() const
{
    if (m_dm->tabKKMNazv.field(modelNameColumn).asString().trimmed().isEmpty())
        return QStringLiteral("Введите название модели ККМ");
    return {};
}

void TfEdKKM::btnAddKKMClick()
{
    if (m_register->append())
        dbeKKMNP->setFocus();
}

void TfEdKKM::btnSaveKKMClick()
{
    if (m_register->post())
        accept();
}

void TfEdKKM::btnAddModelClick()
{
    if (m_model->append())
        DBEdit1->setFocus();
}

void TfEdKKM::btnKKMFixModelsClick()
{
    if (!m_model->post())
        return;
    accept();
    haltProcess(0);
}

void TfEdKKM::done(int result)
{
    m_register->cancel();
    m_model->cancel();
    QDialog::done(result);
}
