#include "edpersonal.h"

#include "roweditor.h"
#include "app/texthelpers.h"
#include "db/datamodule.h"

#include "platform/ui/datagrid.h"
#include "platform/ui/messages.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString nameColumn = QStringLiteral("OperatorFIO");
const QString stateColumn = QStringLiteral("idOperSit");
constexpr int workingState = 1;
constexpr int nameLength = 63;

} // namespace

TfEdPersonal::TfEdPersonal(TfDM *dm, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_dm(dm)
    , m_row(new RowEditor(dm->tabOPER, this))
{
    setObjectName(QStringLiteral("fEdPersonal"));
    setWindowTitle(QStringLiteral("СПИСОК ОПЕРАТОРОВ"));
    setModal(true);
    setFixedSize(380, 486);

    DBGridOper = new DataGrid(this);
    DBGridOper->setObjectName(QStringLiteral("DBGridOper"));
    DBGridOper->setGeometry(10, 10, 360, 270);
    DBGridOper->setDataset(&dm->tabOPER, {{"OperatorFIO", "ОПЕРАТОР", 35}, {"Положение", "Положение", 10}});
    m_row->guardGrid(DBGridOper);

    btnOperAdd = new QPushButton(QStringLiteral("Ввести нового сотрудника"), this);
    btnOperAdd->setObjectName(QStringLiteral("btnOperAdd"));
    btnOperAdd->setGeometry(10, 290, 220, 28);
    connect(btnOperAdd, &QPushButton::clicked, this, &TfEdPersonal::btnOperAddClick);

    auto *nameCaption = new QLabel(QStringLiteral("ОПЕРАТОР (фамилия, имя, отчество)"), this);
    nameCaption->move(10, 328);
    nameCaption->adjustSize();
    dbeOper = new QLineEdit(this);
    dbeOper->setObjectName(QStringLiteral("dbeOper"));
    dbeOper->setGeometry(10, 346, 360, 24);
    m_row->bindText(dbeOper, nameColumn, nameLength);

    rgOperSit = new QGroupBox(QStringLiteral("Положение"), this);
    rgOperSit->setObjectName(QStringLiteral("rgOperSit"));
    rgOperSit->setGeometry(10, 378, 360, 60);
    auto *items = new QHBoxLayout(rgOperSit);
    m_states = new QButtonGroup(this);
    const QStringList captions = {QStringLiteral("Работает"), QStringLiteral("Декрет (Отпуск) "),
                                  QStringLiteral("Уволен(а)")};
    for (int item = 0; item < stateCount; ++item) {
        auto *button = new QRadioButton(captions.at(item), rgOperSit);
        items->addWidget(button);
        m_states->addButton(button, item);
    }
    connect(m_states, &QButtonGroup::idClicked, this, &TfEdPersonal::rgOperSitClick);

    dbeOperSit = new QLineEdit(this);
    dbeOperSit->setObjectName(QStringLiteral("dbeOperSit"));
    dbeOperSit->hide();
    m_row->bindShown(dbeOperSit, stateColumn);

    btnOperSave = new QPushButton(QStringLiteral("Сохранение"), this);
    btnOperSave->setObjectName(QStringLiteral("btnOperSave"));
    btnOperSave->setGeometry(250, 448, 120, 28);
    btnOperSave->setAutoDefault(false);
    btnOperAdd->setAutoDefault(false);
    connect(btnOperSave, &QPushButton::clicked, this, &TfEdPersonal::btnOperSaveClick);

    m_row->setBeforePost([this] { return prepareRow(); });
    connect(m_row, &RowEditor::rowShown, this, [this] {
        rgOperSit->setEnabled(m_row->rowEditable());
        dbeOperSitChange();
    });
    m_row->showRow();
}

TfEdPersonal::~TfEdPersonal() = default;

void TfEdPersonal::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TfEdPersonal::FormActivate()
{
    Table &operators = m_dm->tabOPER;
    operators.setSort(nameColumn);
    operators.refresh();
    operators.first();
}

int TfEdPersonal::selectedState() const
{
    return m_states->checkedId();
}

void TfEdPersonal::dbeOperSitChange()
{
    const int item = strToIntSafe(dbeOperSit->text()) - 1;
    if (item >= 0 && item < stateCount) {
        m_states->button(item)->setChecked(true);
        return;
    }
    // An exclusive group cannot be emptied by unchecking its one checked button.
    m_states->setExclusive(false);
    for (QAbstractButton *button : m_states->buttons())
        button->setChecked(false);
    m_states->setExclusive(true);
}

void TfEdPersonal::rgOperSitClick(int item)
{
    m_row->setValue(stateColumn, item + 1);
}

void TfEdPersonal::btnOperAddClick()
{
    if (!m_row->append())
        return;
    // A new employee is hired to work.
    m_row->setValue(stateColumn, workingState);
    dbeOper->setFocus();
}

void TfEdPersonal::btnOperSaveClick()
{
    if (!m_row->post())
        return;
    accept();
    showMessage(QStringLiteral("Перезагрузите программу"));
}

void TfEdPersonal::done(int result)
{
    m_row->cancel();
    QDialog::done(result);
}

// The name is kept with single blanks between its words, as the documents split it; a row
// without a name would be an operator nobody can choose.
QString TfEdPersonal::prepareRow()
{
    const QString typed = m_dm->tabOPER.field(nameColumn).asString();
    const QString name = typed.simplified();
    if (name.isEmpty())
        return QStringLiteral("Введите фамилию, имя и отчество сотрудника");
    if (name != typed)
        m_row->setValue(nameColumn, name);
    return {};
}
