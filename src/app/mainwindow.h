#pragma once

#include "platform/ini/inifile.h"

#include <QMainWindow>
#include <QPointer>

#include <array>

class DataGrid;
class FocusChain;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class TfAbout;
class TfDM;
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
    static inline const QString chooseOperatorText = QStringLiteral("ВЫБРАТЬ ОПЕРАТОРА");

    // iniFileName: dovra.ini in the executable's folder.
    explicit TfMain(const QString &iniFileName, QWidget *parent = nullptr);

    // The windows created after this one; the data module is needed from the first activation on.
    void setDataModule(TfDM *dm);
    void setAboutWindow(TfAbout *about);
    // A dialog centred over this window at every start of the view.
    void registerDialog(QWidget *dialog);

    // The first-activation sequence: does its work only while the view is not built.
    void FormActivate();

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

    TfDM *dataModule() const { return m_dm; }
    QString pwdStr() const { return m_pwdStr; }
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

private:
    void FormCreate();
    void buildHeader();
    void buildFocusOrder();
    void buildShiftGrid();
    void buildEncashmentAndControl();
    void buildDocumentBar();
    void buildMenu();
    void placeClock();
    void TimerClockTimer();
    void centreDialogs();
    void fillOperatorLists();
    void showLatestShift();
    void buildKassPanels();
    void loadPanels(bool locked);
    bool shiftRowLocked() const;
    bool needsNewShiftRow() const;
    QVariant operatorKey(const QComboBox *list, const QVariant &stored) const;
    void setArchiveMode(bool archive);
    void writeShiftRow();
    static void showPlaceholder(QComboBox *list);

    IniFile m_iniFile;
    QString m_pwdStr;
    TfDM *m_dm = nullptr;
    QPointer<TfAbout> m_about;
    QList<QPointer<QWidget>> m_dialogs;
    FocusChain *m_headerFocus = nullptr;
    // A failed start is tried again when the operator comes back to the window from elsewhere,
    // not when the box that reported the failure closes (that would repeat the box for ever).
    bool m_waitForReturn = false;
};
