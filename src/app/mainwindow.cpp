#include "mainwindow.h"

#include "aboutwindow.h"
#include "passwordwindow.h"
#include "formlayout.h"
#include "db/datamodule.h"
#include "refdata/edfilialazs.h"
#include "refdata/edkkm.h"
#include "refdata/edpersonal.h"
#include "zreport/zotchet.h"

#include "platform/data/datasetmodel.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/focuschain.h"
#include "platform/ui/processexit.h"
#include "platform/ui/wholecharacters.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace {

const QString dateFormat = QStringLiteral("dd.MM.yyyy");
const QString clockFormat = QStringLiteral("hh:mm:ss");

// The bottom bar's captions, left to right, with the names their documents register under.
const QList<std::pair<QString, QString>> documentButtons = {
    {"КМ6 СПР.ОТЧЕТ", "km6"}, {"КО4 КАС.КНИГА", "ko4"}, {"КО1 ПРИХ.К.ОРДЕР", "ko1"},
    {"КО2 РАСХ.К.ОРДЕР", "ko2"}, {"KM3 АКТ ВОЗВР.", "km3"}, {"KM7 СВЕДЕН.ОБЩ", "km7"},
    {"КО4 КАС.КН.ОБЩ", "ko4-shift"}, {"КМ4 ЖУРН.КАС-ОП", "km4"}, {"АКТ-Нал/БНал", "revenue-act"},
    {"Кор.ИНКАС/Внос", "correction-appendix"}, {"ВНОС/ВЫНОС(ОБЩ)", "transfer"}};
// The menus of blank forms and title pages: captions and document names.
const QList<std::pair<QString, QString>> blankMenuItems = {
    {"KM6 (бланк)", "km6-blank"},       {"KO4 (бланк)", "ko4-blank"},
    {"КО1 (бланк)", "ko1-blank"},       {"КО2 (бланк)", "ko2-blank"},
    {"KM3 (наличн)", "km3-cash-blank"}, {"КМ3 (безнал)", "km3-card-blank"},
    {"KM7 (бланк)", "km7-blank"},       {"ПЕРЕНОС (бланк)", "transfer-blank"}};
const QList<std::pair<QString, QString>> titlePageMenuItems = {
    {"КМ4 (тит.лист)", "km4-title"},
    {"КО4 (тит.лист 1)", "ko4-title1"},
    {"КО4 (тит.лист 2)", "ko4-title2"}};
const char *const documentProperty = "document";
constexpr int documentButtonWidth = 115;
constexpr int documentButtonHeight = 25;

// Halves go to the even neighbour, as the centring of the dialogs rounds.
int roundHalfEven(double value)
{
    return int(std::nearbyint(value));
}

} // namespace

TfMain::TfMain(const QString &iniFileName, QWidget *parent)
    : QMainWindow(parent)
    , m_iniFile(iniFileName)
{
    setObjectName(QStringLiteral("fMain"));
    setWindowTitle(QStringLiteral("ТРЕЛЬВАНДОР СМЕННЫХ ОТЧЕТОВ"));
    resize(designWidth, designHeight);

    pnlDovraRed = new QWidget;
    pnlDovraRed->setObjectName(QStringLiteral("pnlDovraRed"));
    pnlDovraRed->setFixedSize(designWidth, designHeight - 90);
    auto *scroll = new QScrollArea;
    scroll->setWidget(pnlDovraRed);
    scroll->setFrameShape(QFrame::NoFrame);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(scroll, 1);
    setCentralWidget(central);

    buildShiftGrid();
    buildHeader();
    buildEncashment();
    buildControlTotals();
    buildDocumentBar();
    layout->addWidget(pnCallDocuments);
    buildMenu();

    TimerClock = new QTimer(this);
    TimerClock->setObjectName(QStringLiteral("TimerClock"));
    TimerClock->setInterval(1000);
    connect(TimerClock, &QTimer::timeout, this, &TfMain::TimerClockTimer);
    TimerClock->start();

    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            m_waitForReturn = false;
    });

    FormCreate();
}

void TfMain::setDataModule(TfDM *dm)
{
    m_dm = dm;
    // Every positioning of the shift table reloads the view on the shift it reached.
    connect(&dm->tabDOVRA, &Dataset::afterScroll, this, [this] { rgNovDOVRAClick(&m_dm->tabDOVRA); });
}

TfDM *TfMain::dataModule() const
{
    return m_dm;
}

void TfMain::setAboutWindow(TfAbout *about)
{
    m_about = about;
    registerDialog(about);
}

void TfMain::setPasswordWindow(TfPWD *window)
{
    m_passwordWindow = window;
    m_passwordMenu->setEnabled(window != nullptr);
    registerDialog(window);
}

void TfMain::setReferenceEditors(TfEdFILIALAZS *requisites, TfEdPersonal *operators, TfEdKKM *registers)
{
    m_requisitesEditor = requisites;
    m_operatorsEditor = operators;
    m_registersEditor = registers;
    for (QAction *item : std::as_const(m_requisitesItems))
        item->setVisible(requisites != nullptr);
    m_operatorsMenu->setEnabled(operators != nullptr);
    m_registersMenu->setEnabled(registers != nullptr);
    for (QWidget *editor : {static_cast<QWidget *>(requisites), static_cast<QWidget *>(operators),
                            static_cast<QWidget *>(registers)})
        if (editor)
            registerDialog(editor);
}

// What was being typed in the shift view is stored before the password is asked for: an editor
// may end the program.
void TfMain::openGuarded(QDialog *editor, bool centrePassword)
{
    if (!editor || !m_passwordWindow)
        return;
    leaveFocusedField();
    if (centrePassword) {
        // Centred at the height it is shown with.
        m_passwordWindow->setFixedHeight(TfPWD::entryHeight);
        centreDialog(m_passwordWindow);
    }
    if (m_passwordWindow->checkPassword())
        editor->exec();
}

void TfMain::mREKVIZITprnClick()
{
    if (m_requisitesEditor)
        m_requisitesEditor->printRequisites();
}

void TfMain::setPwdStr(const QString &password)
{
    m_iniFile.writeString(QStringLiteral("PASSWORD"), QStringLiteral("pwdstr"), password);
    m_pwdStr = password;
}

void TfMain::registerDialog(QWidget *dialog)
{
    m_dialogs.append(dialog);
}

void TfMain::FormCreate()
{
    dovraAccepted = false;
    LabelToDay->setText(QDate::currentDate().toString(dateFormat));
    lblTimerClock->setText(QTime::currentTime().toString(clockFormat));
    placeClock();
    edSMDate->setText(QDate::currentDate().toString(dateFormat));
    kassPanelCount = -1;
    m_pwdStr = m_iniFile.readString(QStringLiteral("PASSWORD"), QStringLiteral("pwdstr"),
                                    QStringLiteral("qtr48"));
    dovraLoaded = false;
    startBackupAndUpdate();
}

TfMain::~TfMain()
{
    FormDestroy();
}

void TfMain::placeClock()
{
    lblTimerClock->adjustSize();
    LabelToDay->adjustSize();
    const int clockLeft = designWidth - lblTimerClock->width() - 25;
    lblTimerClock->move(clockLeft, lblTimerClock->y());
    LabelToDay->move(clockLeft - LabelToDay->width() - 25, LabelToDay->y());
}

void TfMain::TimerClockTimer()
{
    lblTimerClock->setText(QTime::currentTime().toString(clockFormat));
}

void TfMain::buildShiftGrid()
{
    dbgDOVRA = placed(new DataGrid(pnlDovraRed), QStringLiteral("dbgDOVRA"), 8, 8, 455, 150);
}

void TfMain::buildHeader()
{
    auto *operators = caption(pnlDovraRed, QStringLiteral("ОПЕРАТОРЫ СМЕНЫ"), 475, 10);
    operators->setStyleSheet(QStringLiteral("font-weight: bold"));
    operators->adjustSize();
    for (QComboBox **list : {&ComBoxOper, &ComBoxOper2}) {
        *list = new QComboBox(pnlDovraRed);
        (*list)->setEditable(true);
        (*list)->setInsertPolicy(QComboBox::NoInsert);
        (*list)->setMaxVisibleItems(20);
        showPlaceholder(*list);
    }
    placed(ComBoxOper, QStringLiteral("ComBoxOper"), 475, 30, 245, 24);
    placed(ComBoxOper2, QStringLiteral("ComBoxOper2"), 475, 60, 245, 24);

    rgNovDOVRA = placed(new QGroupBox(pnlDovraRed), QStringLiteral("rgNovDOVRA"), 475, 92, 245, 66);
    rbNewShift = new QRadioButton(QStringLiteral("НОВАЯ СМЕНА"), rgNovDOVRA);
    rbArchive = new QRadioButton(QStringLiteral("АРХИВ СМЕН"), rgNovDOVRA);
    auto *modes = new QVBoxLayout(rgNovDOVRA);
    modes->addWidget(rbNewShift);
    modes->addWidget(rbArchive);
    rbNewShift->setChecked(true);
    for (QRadioButton *mode : {rbNewShift, rbArchive})
        connect(mode, &QRadioButton::clicked, this, [this] { rgNovDOVRAClick(rgNovDOVRA); });

    caption(pnlDovraRed, QStringLiteral("N СМЕНЫ В БУК-TS"), 8, 174);
    edNSMBUKTS = placed(new QLineEdit(pnlDovraRed), QStringLiteral("edNSMBUKTS"), 130, 170, 100, 24);
    edNSMBUKTS->setMaxLength(10);
    keepWholeCharacters(edNSMBUKTS);
    caption(pnlDovraRed, QStringLiteral("ДАТА"), 245, 174);
    edSMDate = placed(new QLineEdit(pnlDovraRed), QStringLiteral("edSMDate"), 285, 170, 95, 24);
    edSMDate->setEnabled(false);
    btnSMDate = placed(new QPushButton(QStringLiteral("<<"), pnlDovraRed), QStringLiteral("btnSMDate"),
                       383, 170, 35, 24);
    btnSMDate->setFocusPolicy(Qt::NoFocus);
    connect(btnSMDate, &QPushButton::clicked, this, &TfMain::btnSMDateClick);

    LabelToDay = placed(new QLabel(pnlDovraRed), QStringLiteral("LabelToDay"), 0, 8, 100, 20);
    lblTimerClock = placed(new QLabel(pnlDovraRed), QStringLiteral("lblTimerClock"), 0, 8, 80, 20);
    for (QLabel *label : {LabelToDay, lblTimerClock})
        label->setStyleSheet(QStringLiteral("font-size: 12pt; font-weight: bold; color: navy"));

    buildFocusOrder();
    // Leaving any of the three writes the shift row.
    for (QWidget *field : {static_cast<QWidget *>(edNSMBUKTS), static_cast<QWidget *>(ComBoxOper),
                           static_cast<QWidget *>(ComBoxOper2)})
        field->installEventFilter(this);
}

// Enter hands the focus on along the header and into the panels; the arrows too in the number
// field, where they have nothing else to do. Each panel built takes its place right after the
// header, in front of the panels built before it.
void TfMain::buildFocusOrder()
{
    delete m_headerFocus;
    m_headerFocus = new FocusChain(this);
    m_headerFocus->append(edNSMBUKTS, FocusChain::Enter | FocusChain::UpDown);
    m_headerFocus->append(ComBoxOper, FocusChain::Enter);
    m_headerFocus->append(ComBoxOper2, FocusChain::Enter);
    for (int i = kassPanelCount; i >= 1; --i)
        if (kassPanels[i])
            for (QWidget *control : kassPanels[i]->focusOrder())
                m_headerFocus->append(control);
}

void TfMain::buildControlTotals()
{
    gbKONTROLcommon = placed(new QGroupBox(QStringLiteral("Общий контроль (итого)        РУБ.КОП"),
                                           pnlDovraRed),
                             QStringLiteral("gbKONTROLcommon"), 995, 34, 293, 182);
    struct TotalRow
    {
        QLineEdit **field;
        const char *name;
        const char *caption;
    };
    const TotalRow rows[] = {
        {&MemoVNOScommon, "MemoVNOScommon", "ВНОС ОБЩИЙ"},
        {&MemoVINOScommon, "MemoVINOScommon", "ВЫНОС ОБЩИЙ"},
        {&MemoINKASScommon, "MemoINKASScommon", "ИНКАССАЦИИ (Z)"},
        {&MemoINKASSKorrcommon, "MemoINKASSKorrcommon", "В Т.Ч. КОРРЕКТИР."},
        {&MemoKONTROL, "MemoKONTROL", "КОНТРОЛЬ"},
        {&MemoNalOSTATOKcommon, "MemoNalOSTATOKcommon", "ОБЩ. ОСТАТОК НАЛ"},
    };
    int top = 18;
    for (const TotalRow &row : rows) {
        auto *label = caption(gbKONTROLcommon, QString::fromUtf8(row.caption), 8, top + 3);
        *row.field = placed(new QLineEdit(gbKONTROLcommon), QString::fromUtf8(row.name), 150, top, 135, 21);
        (*row.field)->setReadOnly(true);
        (*row.field)->setAlignment(Qt::AlignRight);
        (*row.field)->setFocusPolicy(Qt::NoFocus);
        if (row.field == &MemoKONTROL)
            lblKONTROL = label;
        top += 23;
    }
    lblKONTROL->setObjectName(QStringLiteral("lblKONTROL"));
    gbKONTROLcommon->resize(gbKONTROLcommon->width(), top + 70);
    btnDataAccept = placed(new QPushButton(QStringLiteral("ПРИНЯТЬ ДАННЫЕ СМЕНЫ"), gbKONTROLcommon),
                           QStringLiteral("btnDataAccept"), 8, top + 4, 277, 28);
    btnDataBackToEdit = placed(new QPushButton(QStringLiteral("РЕДАКТИРОВАТЬ СМЕНУ"), gbKONTROLcommon),
                               QStringLiteral("btnDataBackToEdit"), 8, top + 36, 277, 28);
    btnDataAccept->setEnabled(false);
    btnDataBackToEdit->setEnabled(false);
    connect(btnDataAccept, &QPushButton::clicked, this, &TfMain::btnDataAcceptClick);
    connect(btnDataBackToEdit, &QPushButton::clicked, this, &TfMain::btnDataBackToEditClick);
}

void TfMain::buildDocumentBar()
{
    pnCallDocuments = new QWidget;
    pnCallDocuments->setObjectName(QStringLiteral("pnCallDocuments"));
    pnCallDocuments->setFixedHeight(documentButtonHeight + 8);
    QFont small = pnCallDocuments->font();
    small.setPointSize(8);
    pnCallDocuments->setFont(small);
    int left = 4;
    for (const auto &[text, document] : documentButtons) {
        auto *button = new QPushButton(text, pnCallDocuments);
        button->setGeometry(left, 4, documentButtonWidth, documentButtonHeight);
        button->setFocusPolicy(Qt::NoFocus);
        // The document a button produces comes with its form; until then it cannot be pressed.
        button->setEnabled(findDocument(document) != nullptr);
        connectDocumentButton(button, document);
        m_documentButtons.insert(document, button);
        left += documentButtonWidth;
    }
}

void TfMain::buildMenu()
{
    QMenu *requisites = menuBar()->addMenu(QStringLiteral("РЕКВИЗИТЫ"));
    m_requisitesItems = {
        requisites->addAction(QStringLiteral("ИЗМЕНИТЬ"), this, [this] { openGuarded(m_requisitesEditor); }),
        requisites->addAction(QStringLiteral("ПЕЧАТАТЬ"), this, &TfMain::mREKVIZITprnClick)};
    requisites->addAction(QStringLiteral("РЕЗЕРВ"), this, &TfMain::setBackupDir);
    requisites->addAction(QStringLiteral("ВЫХОД"), this, [this] {
        leaveFocusedField();
        haltProcess(0);
    });
    m_operatorsMenu = menuBar()->addMenu(QStringLiteral("ОПЕРАТОРЫ"));
    for (const char *item : {"НОВЫЙ", "КОРРЕКЦИЯ"})
        m_operatorsMenu->addAction(QString::fromUtf8(item), this,
                                   [this] { openGuarded(m_operatorsEditor, true); });
    m_registersMenu = menuBar()->addMenu(QStringLiteral("КАССА"));
    for (const char *item : {"ДОБАВИТЬ КАССУ", "ПОМЕНЯТЬ ККМ"})
        m_registersMenu->addAction(QString::fromUtf8(item), this, [this] { openGuarded(m_registersEditor); });
    // Until the editors exist (setReferenceEditors).
    for (QAction *item : std::as_const(m_requisitesItems))
        item->setVisible(false);
    m_operatorsMenu->setEnabled(false);
    m_registersMenu->setEnabled(false);
    m_passwordMenu = menuBar()->addMenu(QStringLiteral("ПАРОЛЬ"));
    m_passwordMenu->addAction(QStringLiteral("ИЗМЕНИТЬ"), this, [this] {
        if (m_passwordWindow)
            m_passwordWindow->changePassword();
    });
    m_passwordMenu->setEnabled(false); // until the password window exists
    addDocumentMenu(QStringLiteral("БЛАНКИ"), blankMenuItems);
    addDocumentMenu(QStringLiteral("ТИТ/ЛИСТЫ"), titlePageMenuItems);
    QMenu *help = menuBar()->addMenu(QStringLiteral("ПОМОЩЬ"));
    help->addAction(QStringLiteral("О ПРОГРАММЕ"), this, [this] {
        if (m_about)
            m_about->exec();
    });
    addDocumentItems(help, {{"ПОРЯДОК ОТЧЕТА", "procedure"}, {"ИНСТРУКЦИЯ", "instruction"}});
}

void TfMain::addDocumentMenu(const QString &title, const QList<std::pair<QString, QString>> &items)
{
    QMenu *menu = menuBar()->addMenu(title);
    addDocumentItems(menu, items);
    menu->setEnabled(!menu->isEmpty());
}

// Menu items preview their documents; an item whose document does not exist yet is left out.
void TfMain::addDocumentItems(QMenu *menu, const QList<std::pair<QString, QString>> &items)
{
    for (const auto &[caption, name] : items) {
        if (findDocument(name)) {
            menu->addAction(caption, this,
                            [this, name] { runDocument(name, OutputMode::Preview); });
        }
    }
}

DocumentContext TfMain::documentContext()
{
    const TZOtchet *panel = activeKass >= 1 && activeKass <= maxKassPanels ? kassPanels[activeKass]
                                                                           : nullptr;
    const ShiftTexts shift{edNSMBUKTS->text(),
                           edSMDate->text(),
                           ComBoxOper->currentText(),
                           ComBoxOper2->currentText(),
                           memoDateINKASS->text(),
                           memoSumINKASSvsekv->text(),
                           memoSumINKASSvsekvf->text(),
                           inkassBagList(),
                           MemoINKASScommon->text(),
                           MemoINKASSKorrcommon->text()};
    return {*m_dm, curIdDovra, activeKass, panel ? panel->getIdZ() : 0, lastOpenedZ, shift,
            [this] { updateRealSum(); }};
}

void TfMain::runDocument(const QString &name, OutputMode mode)
{
    const DocumentCommand *command = findDocument(name);
    if (!command)
        return;
    leaveFocusedField();
    DocumentContext context = documentContext();
    outputDocument(*command, context, mode, this);
}

void TfMain::connectDocumentButton(QPushButton *button, const QString &name)
{
    button->setProperty(documentProperty, name);
    connect(button, &QPushButton::clicked, this, &TfMain::documentButtonClicked);
}

void TfMain::documentButtonClicked()
{
    const QString name = sender()->property(documentProperty).toString();
    if (name == QLatin1String("km3"))
        btnKM3Click();
    else
        runDocument(name, outputForSender(sender(), m_documentButtons.value(name)));
}

void TfMain::btnPrintZAllClick()
{
    const Table &shifts = m_dm->tabDOVRA;
    const bool accepted = !shifts.isEmpty() && shifts.field(QStringLiteral("smLocked")).asBoolean();
    leaveFocusedField();
    DocumentContext context = documentContext();
    printAll(context, activeKass == 1, btnDataAccept->isEnabled() || accepted);
}

void TfMain::showPlaceholder(QComboBox *list)
{
    list->setCurrentIndex(-1);
    list->setEditText(chooseOperatorText);
}

// A figure is stored when its field is left. Choosing a menu item or closing the window does not
// leave the field by itself, so the field is left here first: nothing typed is lost at the end.
void TfMain::leaveFocusedField()
{
    if (QWidget *field = QApplication::focusWidget())
        field->clearFocus();
}

void TfMain::closeEvent(QCloseEvent *event)
{
    leaveFocusedField();
    QMainWindow::closeEvent(event);
}

bool TfMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        // A list opening its drop-down or the window losing the desk is no leaving of the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && m_dm
            && kassPanelCount >= 0)
            FromDovraToZ(watched);
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TfMain::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && !m_waitForReturn) {
        m_waitForReturn = true;
        FormActivate();
        m_waitForReturn = false;
    }
    return QMainWindow::event(event);
}

void TfMain::FormActivate()
{
    if (kassPanelCount >= 0 || !m_dm)
        return;
    m_dm->connectDatabase(m_iniFile);
    m_dbFileName = m_dm->dbFileName;
    checkKassZList();
    m_dm->tabFILIAL.first();
    setWindowTitle(QStringLiteral("ТРЕЛЬВАНДОР СМЕННЫХ ОТЧЕТОВ (АЗС № %1)")
                       .arg(m_dm->tabFILIAL.field(QStringLiteral("nAZS")).asInteger()));
    centreDialogs();
    if (dovraLoaded)
        return;
    dovraLoaded = true;

    dbgDOVRA->setDataset(&m_dm->tabDOVRA,
                         {{"DovraDate", "ДАТА СМЕНЫ", 11, Qt::AlignCenter},
                          {"DovraNBUKTS", "НОМ. В БУК-ТС", 8},
                          {"ОПЕРАТОР", "ОПЕРАТОР", 35},
                          {"smLocked", "smLocked", 12},
                          {"idOperator2", "idOperator2", 15}});
    m_dm->tabDOVRA.last();
    fillOperatorLists();
    showLatestShift();

    kassPanelCount = qBound(0, m_dm->registerCount(), maxKassPanels);
    kassPanelsAtBuild = kassPanelCount;
    buildKassPanels();
    activeKass = 1;

    if (curIdDovra > 0) {
        // The panels and the encashment; the encashment then places the focus and the totals.
        FromDovraToZGo();
    } else {
        ComBoxOper->setFocus();
        dovraControl();
    }
}

void TfMain::centreDialogs()
{
    for (const QPointer<QWidget> &dialog : std::as_const(m_dialogs)) {
        if (dialog)
            centreDialog(dialog);
    }
}

void TfMain::centreDialog(QWidget *dialog)
{
    dialog->move(roundHalfEven((width() - dialog->width()) / 2.0),
                 roundHalfEven((height() - dialog->height()) / 2.0));
}

void TfMain::fillOperatorLists()
{
    Query &operators = m_dm->adoqOPER;
    operators.refresh();
    operators.first();
    operCount = qMin(operators.recordCount(), maxOperators);
    for (int k = 1; k <= operCount; ++k) {
        const QString name = operators.field(QStringLiteral("OperatorFIO")).asString();
        ComBoxOper->addItem(name);
        ComBoxOper2->addItem(name);
        operIds[k] = operators.field(QStringLiteral("idOperator")).asInteger();
        operators.next();
    }
    showPlaceholder(ComBoxOper);
    showPlaceholder(ComBoxOper2);
}

void TfMain::showLatestShift()
{
    Query &latest = m_dm->adoqSMposledn;
    if (latest.isEmpty() || latest.field(QStringLiteral("smLocked")).asBoolean()) {
        curIdDovra = 0;
        return;
    }
    edNSMBUKTS->setText(latest.field(QStringLiteral("DovraNBUKTS")).asString());
    const QDate shiftDate = latest.field(QStringLiteral("dovraDate")).asDateTime().date();
    edSMDate->setText(shiftDate.toString(dateFormat));
    btnSMDate->setText(shiftDate < QDate::currentDate() ? QStringLiteral(">>") : QStringLiteral("<<"));
    selectOpersInLists();
    curIdDovra = latest.field(QStringLiteral("iddovra")).asInteger();
}
