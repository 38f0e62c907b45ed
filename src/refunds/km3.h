#pragma once

#include "documents/documentcommands.h"

#include <QDialog>
#include <QModelIndex>

#include <optional>

class DataGrid;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class TfDM;

namespace km3 {
class ReceiptDelegate;
class ReceiptModel;
} // namespace km3

// "ВВОД ВОЗВРАТНЫХ ЧЕКОВ": the refund receipts behind the refund totals of a Z-report, cash
// (NalVozvrat) and card (KredStorno), one payment kind at a time. The receipts of the kind are
// edited in the scratch rows xVozvrat (number and sum) and written back to VOZVRAT as a whole:
// when the kind changes, on "Открыть КМ3", on "Печать КМ3" and whenever the window closes. The
// status lines tell at once whether the receipts add up to the totals.
//
// Created once and reused:
//     if (window->openFor(context) == QDialog::Accepted)
//         ... print the acts from VOZVRAT
// "Печать КМ3" gives Accepted, and so does the window closing itself for a Z-report without
// refunds; the close box and Escape give Rejected. A write-back that fails on closing is shown
// as an error, the window closes with Rejected and the scratch rows stay as they were typed: the
// next opening stores them before it loads anything.
class TfKM3 : public QDialog
{
    Q_OBJECT

public:
    explicit TfKM3(TfDM *dm, QWidget *parent = nullptr);
    ~TfKM3() override;

    // Shows the window modally for the Z-report of the context (context.idZ) and returns its
    // result.
    int openFor(const DocumentContext &context);
    // The context of the next showing; openFor sets it itself.
    void setContext(const DocumentContext &context);

    void done(int result) override;

    // Handlers and operations.
    void rgNalBNalClick();
    void btnKM3_PrintClick();
    void btnKM3_ShowClick();
    void btnDelRowClick();
    void dbgXVozvratKeyPress();
    void showEnteredDelta();
    void showStoredDelta();

    // What the opening found: the Z-report (0 when it has no refunds), its totals, the kind
    // edited (true for cash) and the next number for a receipt typed without one.
    qint32 idZ = 0;
    double NalVozvrat = 0;
    double KredStorno = 0;
    bool nalMode = true;
    int autoNum = 1;

    QGroupBox *rgNalBNal = nullptr;
    QRadioButton *rbNal = nullptr;
    QRadioButton *rbBNal = nullptr;
    DataGrid *dbgXVozvrat = nullptr;
    QPushButton *btnDelRow = nullptr;
    QPushButton *btnKM3_Show = nullptr;
    QPushButton *btnKM3_Print = nullptr;
    QLabel *lblDeltaLN = nullptr;
    QLabel *lblDeltaN = nullptr;
    QLabel *lblDeltaLBN = nullptr;
    QLabel *lblDeltaBN = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct PendingWriteBack
    {
        qint32 idZ;
        bool cash;
    };

    void buildForm();
    void buildGrid();
    void FormShow();
    void writeBack();
    bool FormClose();
    bool storePending();
    void closeLater(int result);
    void loadRows();
    void readRows();
    void setKindShown(bool cash);

    // The grid: rows by their place in it, the new row included.
    int currentRow() const;
    int currentColumn() const;
    void selectCell(int row, int column);
    void finishEditing();
    void cellEdited(int row, int column, const QString &text);
    void setNumber(int row, const QString &number);
    void cellChanged(const QModelIndex &current, const QModelIndex &previous);
    void dbgXVozvratExit();
    bool isBlank(int row) const;
    void dropBlankRow(std::optional<qint64> rowKey);

    void storeCell(int row);
    bool finishCell(int row, int column);
    void goToNext(int row, int column);
    void showDelta(QLabel *value, QLabel *caption, const QColor &colour, bool stored, double d);

    TfDM *m_dm;
    QMetaObject::Connection m_focusWatch;
    std::optional<DocumentContext> m_context;
    km3::ReceiptModel *m_model = nullptr;
    km3::ReceiptDelegate *m_delegate = nullptr;
    // The scratch rows belong to idZ and nalMode and are written back on closing.
    bool m_opened = false;
    // Rows are being reloaded or the cursor placed by the window itself: no cell is finished.
    bool m_placing = false;
    std::optional<PendingWriteBack> m_pending;
};

// The refund act command of the bar and the register panels: shows the refund window for the
// context's Z-report and, when it closes with OK, prints the act of each payment kind whose
// refund total is above 0, cash first, each from its receipts as stored. Returns the acts sent
// to the printer: none when the window was cancelled or the Z-report has no refunds.
QList<ReportLayout> printKM3(TfKM3 &window, DocumentContext &context);
