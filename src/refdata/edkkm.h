#pragma once

#include <QDialog>

class DataGrid;
class QComboBox;
class QLineEdit;
class QPushButton;
class RowEditor;
class TfDM;

// "КОНТРОЛЬНО-КАССОВЫЕ МАШИНЫ": the inventory of the cash registers (KKM through tabKKM) with
// each register's number at the station, model and state; the number of active registers, which
// decides how many register panels the main window builds at its next start; and the list of
// register models (KKMnazv through tabKKMNazv).
class TfEdKKM : public QDialog
{
    Q_OBJECT

public:
    static constexpr int maxActiveRegisters = 5;

    TfEdKKM(TfDM *dm, QWidget *parent = nullptr);
    ~TfEdKKM() override;

    // Each time the window is shown: the stored count of active registers and the numbers it
    // offers.
    void FormActivate();
    void btnNKASSupClick();
    void btnNKASSDOWNClick();
    // One step of the count, stored at once; outside 1 to 5 nothing changes. A count field that
    // does not hold a whole number is a ConvertError.
    void incnKass(int step);
    // The number at list position index chosen for the current register; refused, with the
    // selector back on the register's own number, when another active register has it.
    void comboxNKASSChange(int index);
    void btnAddKKMClick();
    void btnSaveKKMClick();
    void btnAddModelClick();
    // Stores the model list and ends the program, which reads the models at its next start.
    void btnKKMFixModelsClick();
    // Closing the window otherwise than by its buttons drops the changes of the current rows.
    void done(int result) override;

    QLineEdit *dbeNAZS = nullptr;
    QLineEdit *edNKass = nullptr;
    QPushButton *btnNKASSdown = nullptr;
    QPushButton *btnNKASSup = nullptr;
    DataGrid *dbgKKM = nullptr;
    QComboBox *comboxNKASS = nullptr;
    QLineEdit *dbeNKASS = nullptr;
    QLineEdit *dbeKKMNP = nullptr;
    QLineEdit *dbeKKMRegN = nullptr;
    QComboBox *dblComboBoxKKMNazv = nullptr;
    QComboBox *dblComboBoxKKMSost = nullptr;
    QPushButton *btnAddKKM = nullptr;
    QPushButton *btnSaveKKM = nullptr;
    DataGrid *dbgKKMNazv = nullptr;
    QLineEdit *DBEdit1 = nullptr;
    QPushButton *btnAddModel = nullptr;
    QPushButton *btnKKMFixModels = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildCount();
    void buildRegisters();
    void buildModels();
    void fillNumbers(int count);
    void showRegisterNumber();
    qint32 currentRegisterKey() const;
    QString checkRegister() const;
    QString checkModel() const;

    TfDM *m_dm;
    RowEditor *m_register = nullptr;
    RowEditor *m_model = nullptr;
};
