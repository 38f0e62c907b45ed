#pragma once

#include <QEvent>
#include <QGroupBox>

class QFocusEvent;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QToolButton;
class TfMain;

// The box of one encashment bag: its number and its sum, each stored the moment its field is
// left, the banknote calculator for the bag and the delete button. Built as a copy of the hidden
// template gbINKASS; the main window keeps the boxes in order under the encashment header, the
// last one being the empty box for the next bag.
class TInkassKvit : public QGroupBox
{
    Q_OBJECT

public:
    // Posted by the delete button, so that the box goes after the button's click is over.
    static constexpr QEvent::Type deleteKvitEvent = QEvent::Type(QEvent::User + 2);

    // gbINKASS: the template with MemoNKvINKASS, MemoSumINKASS, sbtnInkassCalcBanknot and
    // btnDelINKASS. The box is shown at the template's place; the owner moves it to its position.
    TInkassKvit(TfMain *owner, qint32 idInkass, QGroupBox *gbINKASS, QWidget *parent);

    // Fills the box from its stored row.
    void loadKvit(qint32 idInkassKvit);
    // The sum into the box's row; a box without a row sends the focus to its bag number.
    void storeSumma();
    // Read-only: nothing typed, stored, counted or deleted.
    void setReadOnly(bool on);

    // Handlers of the box's controls.
    bool bagKeyPress(const QKeyEvent *event);
    void storeSumkaN();
    bool sumKeyPress(const QKeyEvent *event);
    void sumEnter(Qt::FocusReason reason);
    void sumExit();
    void calcClick();
    void deleteKvit();

    qint32 idInkassKvit = 0;
    qint32 idInkass = 0;
    QLineEdit *memoNKv = nullptr;
    QLineEdit *memoSum = nullptr;
    QPushButton *btnDel = nullptr;
    QToolButton *sbtnCalc = nullptr;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void copyControls(QGroupBox *gbINKASS);
    void wireControls();
    bool isShown() const;
    bool mayBeDeleted() const;
    QString fittingSumText(double value) const;
    void insertRow(const QString &number);
    static void focusLater(QWidget *target);

    TfMain *m_owner;
    bool m_readOnly = false;
    // The number stored in the row: an emptied number field shows it again when it is left.
    QString m_storedNumber;
};
