#pragma once

#include "app/dirdialog.h"
#include "documents/documentcommands.h"
#include "platform/ini/inifile.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <array>

class DataGrid;
class FocusChain;
class QComboBox;
class QDate;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTimer;
class QToolButton;
class TfAbout;
class TfBanknotCalc;
class TfDM;
class TfKM3;
class TfEdFILIALAZS;
class TfEdKKM;
class TfEdPersonal;
class TfPWD;
class TInkassKvit;
class TZOtchet;

// The main window: the shift header, the register panels, the encashment and the bar of
// document buttons, on the one client panel pnlDovraRed.
class TfMain : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int designWidth = 1296;
    static constexpr int designHeight = 830;
    static constexpr int maxOperators = 100;
    static constexpr int maxKassPanels = 5;
    static constexpr int maxKvitBoxes = 10;
    static inline const QString chooseOperatorText = ::chooseOperatorText;

    // iniFileName: dovra.ini in the executable's folder.
    explicit TfMain(const QString &iniFileName, QWidget *parent = nullptr);
    // Copies the database to the backup folder when this run accepted a shift.
    ~TfMain() override;

    // The windows created after this one; the data module is needed from the first activation on.
    void setDataModule(TfDM *dm);
    void setAboutWindow(TfAbout *about);
    void setBanknoteCalculator(TfBanknotCalc *calc);
    TfBanknotCalc *banknoteCalculator() const;
    // A dialog centred over this window at every start of the view.
    void registerDialog(QWidget *dialog);

    // The first-activation sequence: does its work only while the view is not built.
    void FormActivate();

    // The backup folder: chosen in the folder picker and kept only when a first copy of the
    // working folder's database succeeds there.
    void setBackupDir();
    // Starts the external updater beside the executable with the build number and the address.
    void runAutoupdate(const QString &url);
    // The copy of the database at close, after a run that accepted a shift.
    void FormDestroy();
    // dovra.ini lives beside the executable.
    QString executableFolder() const;

    // Shift operations of the main window.
    void checkKassZList();
    void selectOpersInLists();
    QString operatorNameById(qint32 id);

    // Shift lifecycle: the shift row, its states and the reload of the view.
    void clearAll();
    void FromDovraToZ(QObject *sender);
    void FromDovraToZGo();
    void rgNovDOVRAClick(QObject *sender);
    void btnDataAcceptClick();
    void btnDataBackToEditClick();
    void btnSMDateClick();
    bool isArchiveMode() const;

    // Shift cash balance: the control totals and whether the shift may be accepted, and the
    // closing cash balance of every Z-report of the shift.
    void dovraControl();
    void updateRealSum();

    // Encashment of the shift: the header gbInkassZag and under it one box per bag.
    // Finds or creates the shift's encashment and shows its bags; focusTarget is the field that
    // takes the focus once the bags are entered, nullptr to show them read-only. Shift 0 clears
    // the view.
    void loadInkass(qint32 idDovra, QWidget *focusTarget);
    // Stores the date that memoDateINKASS shows.
    void storeInkassDate();
    void btnDateINKASSClick();
    // Adds up the bags into memoSumINKASSvsekv ("%.2f") and memoSumINKASSvsekvf (for the eye),
    // then the shift's control totals.
    void totalInkass();
    // The numbers of the bags that carry a sum, as the documents list them: "101, 103".
    QString inkassBagList() const;
    void SpeedButton1Click();

    // What the bag boxes ask of the view: a box's position (1..kvitCount, 0 when it is not
    // shown), the empty box for the next bag, the removal of a deleted bag's box, and the move of
    // the focus to the control after `from` (past the last box: nextFocus).
    int kvitPosition(const TInkassKvit *box) const;
    void addKvitBox();
    void removeKvitBox(TInkassKvit *box);
    void focusAfterKvit(QWidget *from);

    // The shift and register shown, as the documents read them.
    DocumentContext documentContext();
    // Prepares and outputs a registered document; a name nobody registered does nothing.
    void runDocument(const QString &name, OutputMode mode);
    // A document button's handler: the button's "document" property names the document. Raised
    // by the bar's own button it previews; raised by a register panel's button it prints.
    void documentButtonClicked();
    // Makes a button outside the bar (a register panel's) run the named document.
    void connectDocumentButton(QPushButton *button, const QString &name);
    // A register panel's "Печать": the shift-wide documents first from the first panel of a
    // complete or accepted shift, then the register's own, all printed directly.
    void btnPrintZAllClick();
    // The refund act ("km3", the bar's "KM3 АКТ ВОЗВР." and a panel's "KM3"): the refund window
    // for the current register's Z-report, then the acts printed (refunds/refundcommand.cpp).
    void btnKM3Click();
    // The refund window, created on first use and kept.
    TfKM3 *refundWindow();

    TfDM *dataModule() const;
    QString pwdStr() const { return m_pwdStr; }
    // A new access password, kept in dovra.ini at once.
    void setPwdStr(const QString &password);
    void setPasswordWindow(TfPWD *window);
    // The reference editors, each opened from its menu after the access password.
    void setReferenceEditors(TfEdFILIALAZS *requisites, TfEdPersonal *operators, TfEdKKM *registers);
    // "ПЕЧАТАТЬ" of "РЕКВИЗИТЫ": the requisites window printed as the requisites sheet.
    void mREKVIZITprnClick();
    const IniFile &iniFile() const { return m_iniFile; }

    // Main-window state.
    qint32 curIdDovra = 0;
    bool dovraAccepted = false;
    int kassPanelCount = -1;
    int kassPanelsAtBuild = 0;
    int activeKass = 1;
    std::array<qint32, maxOperators + 1> operIds{}; // positions 1..operCount
    std::array<TZOtchet *, maxKassPanels + 1> kassPanels{}; // positions 1..kassPanelCount
    int operCount = 0;
    bool dovraLoaded = false;
    bool dovraBusy = false;
    std::array<TInkassKvit *, maxKvitBoxes + 1> kvitBoxes{}; // positions 1..kvitCount
    int kvitCount = 0;
    // Blank forms print the register numbers and date of the Z-report a document opened last.
    LastOpenedZ lastOpenedZ;
    qint32 curIdInkass = 0;
    TDirDialog DirDialog1;
    // Where the focus goes when the bags are entered; none while the shift may not be edited.
    QPointer<QWidget> nextFocus;

    // Controls other parts of the program and the tests reach by name.
    QWidget *pnlDovraRed = nullptr;
    DataGrid *dbgDOVRA = nullptr;
    QLineEdit *edNSMBUKTS = nullptr;
    QLineEdit *edSMDate = nullptr;
    QPushButton *btnSMDate = nullptr;
    QComboBox *ComBoxOper = nullptr;
    QComboBox *ComBoxOper2 = nullptr;
    QGroupBox *rgNovDOVRA = nullptr;
    QRadioButton *rbNewShift = nullptr;
    QRadioButton *rbArchive = nullptr;
    QLabel *LabelToDay = nullptr;
    QLabel *lblTimerClock = nullptr;
    QGroupBox *gbKassa = nullptr; // hidden template of the register panels
    QGroupBox *gbInkassZag = nullptr;
    QLineEdit *memoDateINKASS = nullptr;
    QPushButton *btnDateINKASS = nullptr;
    QLineEdit *memoSumINKASSvsekv = nullptr; // hidden: the bag total as other parts read it
    QLineEdit *memoSumINKASSvsekvf = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    // Hidden templates of the bag boxes.
    QGroupBox *gbINKASS = nullptr;
    QLineEdit *MemoNKvINKASS = nullptr;
    QLineEdit *MemoSumINKASS = nullptr;
    QToolButton *sbtnInkassCalcBanknot = nullptr;
    QPushButton *btnDelINKASS = nullptr;
    QGroupBox *gbKONTROLcommon = nullptr;
    QLineEdit *MemoVNOScommon = nullptr;
    QLineEdit *MemoVINOScommon = nullptr;
    QLineEdit *MemoINKASScommon = nullptr;
    QLineEdit *MemoINKASSKorrcommon = nullptr;
    QLineEdit *MemoKONTROL = nullptr;
    QLabel *lblKONTROL = nullptr;
    QLineEdit *MemoNalOSTATOKcommon = nullptr;
    QPushButton *btnDataAccept = nullptr;
    QPushButton *btnDataBackToEdit = nullptr;
    QWidget *pnCallDocuments = nullptr;
    QTimer *TimerClock = nullptr;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    // The end of the window's creation: the backup folder asked for while none is set, then the
    // updater started.
    void startBackupAndUpdate();
    void leaveFocusedField();
    void buildHeader();
    void buildFocusOrder();
    void buildShiftGrid();
    void buildEncashment();
    void buildInkassHeader();
    void buildInkassTemplate();
    void buildControlTotals();
    void buildDocumentBar();
    void buildMenu();
    void addDocumentMenu(const QString &title, const QList<std::pair<QString, QString>> &items);
    void addDocumentItems(QMenu *menu, const QList<std::pair<QString, QString>> &items);
    void placeClock();
    void TimerClockTimer();
    void centreDialogs();
    void centreDialog(QWidget *dialog);
    void openGuarded(QDialog *editor, bool centrePassword = false);
    void fillOperatorLists();
    void showLatestShift();
    void buildKassPanels();
    void loadPanels(bool locked);
    bool shiftRowLocked() const;
    bool needsNewShiftRow() const;
    QVariant operatorKey(const QComboBox *list, const QVariant &stored) const;
    void setArchiveMode(bool archive);
    void writeShiftRow();
    QWidget *encashmentFocusTarget() const;
    void openInkass(qint32 idDovra);
    QList<qint32> storedKvitKeys() const;
    QDate inkassDateShown() const;
    void clearKvitBoxes();
    void placeKvitBox(TInkassKvit *box, int position) const;
    static void showPlaceholder(QComboBox *list);

    IniFile m_iniFile;
    QString m_pwdStr;
    // Gone before this window at the end of the program.
    QPointer<TfDM> m_dm;
    // The database file as opened, for the backup at close.
    QString m_dbFileName;
    QPointer<TfAbout> m_about;
    QPointer<TfPWD> m_passwordWindow;
    QMenu *m_passwordMenu = nullptr;
    QList<QAction *> m_requisitesItems;
    QMenu *m_operatorsMenu = nullptr;
    QMenu *m_registersMenu = nullptr;
    QPointer<TfEdFILIALAZS> m_requisitesEditor;
    QPointer<TfEdPersonal> m_operatorsEditor;
    QPointer<TfEdKKM> m_registersEditor;
    QHash<QString, QPushButton *> m_documentButtons;
    QPointer<TfBanknotCalc> m_banknotCalc;
    QPointer<TfKM3> m_refundWindow;
    QList<QPointer<QWidget>> m_dialogs;
    FocusChain *m_headerFocus = nullptr;
    FocusChain *m_kvitFocus = nullptr;
    // A failed start is tried again when the operator comes back to the window from elsewhere,
    // not when the box that reported the failure closes (that would repeat the box for ever).
    bool m_waitForReturn = false;
};
