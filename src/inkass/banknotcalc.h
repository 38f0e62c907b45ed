#pragma once

#include "platform/data/money.h"
#include "platform/data/table.h"

#include <QDialog>
#include <QEvent>
#include <QMap>

class QLineEdit;
class QPushButton;
class QTableView;
class TfDM;

namespace banknotcalc {
class CountDelegate;
class CountModel;
} // namespace banknotcalc

// "Калькулятор банкнот": counts the notes of one encashment bag by denomination over the scratch
// rows of xxxBnkCalc. Per denomination the operator types counts joined by "+" (a blank joins
// them too); the window adds them up, multiplies by the denomination and shows the total.
//
// Created once at start and reused. A caller counting a bag box:
//     calc->load(idInkassKvit);            // 0 for a box without a row: no bag
//     calc->placeUnderBagBox(box);
//     if (calc->exec() == QDialog::Accepted)
//         memoSum->setText(calc->totalText());
// "записать" (Accepted) stores the count texts in the bound bag's KRub<N> columns; the close box
// (Rejected) stores nothing in the bag. Bound to no bag, the window works on the rows as the last
// use left them and "записать" stores nothing. The header's calculator button does load(0),
// placeUnderButton(button) and ignores the result.
class TfBanknotCalc : public QDialog
{
    Q_OBJECT

public:
    static constexpr QEvent::Type myEventType = QEvent::User;

    explicit TfBanknotCalc(TfDM *dm, QWidget *parent = nullptr);
    ~TfBanknotCalc() override;

    // Binds the window to a bag and fills the rows from the bag's count columns, replacing what
    // the rows held. 0 binds it to no bag and leaves the rows as they are. Throws (and stays
    // bound to no bag, rows unchanged) when the bag has no row or a stored count is not valid.
    void load(qint32 idInkassKvit);
    qint32 idInkassKvit() const { return m_idInkassKvit; }

    // Frame right under a bag box, 6 pixels in from its left edge.
    void placeUnderBagBox(const QWidget *bagBox);
    // Frame right under the encashment header's calculator button; the left edge stays.
    void placeUnderButton(const QWidget *button);

    // The sum of all rows; as text, the way the total field shows it (two decimals, the
    // system's decimal separator).
    Money total() const { return m_total; }
    QString totalText() const;

    QTableView *dbgBankCalc = nullptr;
    QLineEdit *dbeNominal = nullptr;
    QLineEdit *dbeNominalStr = nullptr;
    QLineEdit *dbeNominalNumber = nullptr;
    QLineEdit *dbeNominalSumma = nullptr;
    QLineEdit *dbeNominalSummAll = nullptr;
    QPushButton *Button1 = nullptr;

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildForm();
    void buildGrid();
    void FormActivate();
    void readRows();
    bool dbgBankCalcKeyPress(QObject *watched, const QKeyEvent *event);
    void showRunningCount(const QLineEdit *editor);
    void queueCount(qint32 idNominal, const QString &text);
    void MyEvent();
    void writeCounts(qint32 idNominal, const QString &text);
    void writeRow(qint32 idNominal, const QString &text, qint64 notes);
    void tabxxxBnkCalcAfterPost();
    void Button1Click();
    void storeCountsInBag();
    void showCurrentRow();
    // The bag's column holding the counts of a nominal, checked and quoted for a statement.
    QString countColumn(qint32 nominal) const;

    TfDM *m_dm;
    Table tabxxxBnkCalc;
    banknotcalc::CountModel *m_model = nullptr;
    banknotcalc::CountDelegate *m_delegate = nullptr;
    qint32 m_idInkassKvit = 0;
    Money m_total;
    // Count texts committed in the grid and not yet written to their rows, by row key.
    QMap<qint32, QString> m_pendingCounts;
};
