#pragma once

#include "zfieldinput.h"

#include <QGroupBox>
#include <QHash>
#include <QList>

class Dataset;
class Money;
class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class TfMain;

// The Z-report entry panel of one cash register: its row of ZOTCHET for the current shift, typed
// figure by figure, each stored the moment its field is left and checked against the register's
// previous Z-report. Built as a copy of the hidden template gbKassa.
class TZOtchet : public QGroupBox
{
    Q_OBJECT

public:
    using Input = zfield::Input;

    // Placed into owner->pnlDovraRed at the template's place; busy until the first loadZ.
    TZOtchet(TfMain *owner, QGroupBox *gbKassa);

    // Finds or creates the register's Z-report of the shift (kkmRow: fields NPROIZV and idKKM)
    // and shows it; nothing for shift 0.
    void loadZ(const Dataset &kkmRow, qint32 idDovra, int minRows = 1);
    // Stores the Z-report date and time; the argument is not used.
    void storeZDate(QWidget *edit = nullptr);
    void setLocked(bool on);
    bool isLocked() const { return locked; }
    qint32 getIdZ() const { return idZ; }

    // A field by its column suffix, case-insensitive ("ZDOC", "ZTime", "NalProd", "SUMKASS" ...);
    // nullptr for an unknown one.
    QLineEdit *edit(const QString &column) const;
    QPushButton *zDateButton() const { return m_btnZDate; }
    QPushButton *km6Button() const { return m_btnKM6; }
    QPushButton *korrAktButton() const { return m_btnKorrAkt; }
    QPushButton *dopZOtchetButton() const { return m_btnDopZOtchet; }
    QCheckBox *dopZOtchetBox() const { return m_chbDopZOtchet; }
    QCheckBox *zDateBox() const { return m_chbZDate; }
    QCheckBox *extrSitBox() const { return m_chbZExtrSit; }
    // "Печать", "КМ6", "KO4", "KO1", "KO2", "KM3".
    QList<QPushButton *> printButtons() const { return m_printButtons; }
    // The panel's controls in their focus order, first to last.
    QList<QWidget *> focusOrder() const { return m_focusOrder; }
    QLabel *errorLabel() const { return m_lblZError; }

    // Storing and checking.
    void storeZCell(QLineEdit *field);
    void onChangeCell(QLineEdit *field);
    void storeNSsit();
    bool checkZ();
    void refreshState(QLineEdit *field);
    void enablePrintButtons(bool on);

    // Handlers of the panel's controls.
    bool keyPressMoney(QLineEdit *field, QKeyEvent *event);
    bool keyPressTime(QLineEdit *field, QKeyEvent *event);
    bool keyPressDigits(QLineEdit *field, QKeyEvent *event);
    bool onKeyDownCell(QLineEdit *field, QKeyEvent *event);
    void onEnterCell(QLineEdit *field);
    void onEnterTime(QLineEdit *field);
    void cleanText(QLineEdit *field);
    void onChangeSale(QLineEdit *field);
    void storeSale(QLineEdit *field);
    void onEnterPanel();
    void chbZExtrSitClick();
    void chbZDateClick();
    void btnZDateClick();
    void chbDopZOtchetClick();
    void btnKorrAktClick();

    bool complete = false;
    qint32 idZ = 0;
    double prevSumKass = 0;
    double prevNarProd = 0;
    int fullHeight = 0;
    bool busy = true;
    QList<QLineEdit *> pending; // the fields whose change is not stored yet, in the order changed
    bool locked = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void copyEdits(QGroupBox *gbKassa);
    void copyLabels(QGroupBox *gbKassa);
    void copyButtons(QGroupBox *gbKassa);
    void copyCheckBoxes(QGroupBox *gbKassa);
    void wireControls();
    void buildFocusOrder();

    static inline const QString zDateFormat = QStringLiteral("dd.MM.yyyy");
    static QChar decimalMark();
    static QString amountText(const Money &amount);

    bool keyPress(QLineEdit *field, const QKeyEvent *event, Input input);
    void moveFocus(QWidget *from, bool forward);
    bool isFigure(const QLineEdit *field) const;
    void onLeave(QLineEdit *field);
    void fitHeightToExtrSit();

    void writeCell(QLineEdit *field);
    bool writeZDate();
    QLineEdit *storeWaitingCells(QLineEdit *except);

    TfMain *m_owner;
    QList<QWidget *> m_focusOrder;
    QHash<QString, QLineEdit *> m_edits; // upper-case suffix → field
    QHash<const QObject *, Input> m_inputs;
    QLineEdit *m_edZTime = nullptr;
    QLineEdit *m_edZDate = nullptr;
    QLineEdit *m_edProdSum = nullptr;
    QLineEdit *m_edSerKKM = nullptr;
    QPushButton *m_btnDopZOtchet = nullptr;
    QPushButton *m_btnKM6 = nullptr;
    QPushButton *m_btnZDate = nullptr;
    QPushButton *m_btnKorrAkt = nullptr;
    QList<QPushButton *> m_printButtons;
    QCheckBox *m_chbDopZOtchet = nullptr;
    QCheckBox *m_chbZDate = nullptr;
    QCheckBox *m_chbZExtrSit = nullptr;
    QLabel *m_lblZError = nullptr;
};
