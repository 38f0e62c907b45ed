#pragma once

#include <QDialog>

class DataGrid;
class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPushButton;
class RowEditor;
class TfDM;

// "СПИСОК ОПЕРАТОРОВ": the operators (AZSOPER through tabOPER) by name, each with its state
// (working, on leave, dismissed). New operators are added and names and states changed in place;
// "Сохранение" stores the change and asks for a restart, since the shift's operator lists are
// filled at start.
class TfEdPersonal : public QDialog
{
    Q_OBJECT

public:
    static constexpr int stateCount = 3;

    TfEdPersonal(TfDM *dm, QWidget *parent = nullptr);
    ~TfEdPersonal() override;

    // Each time the window is shown: the list in name order, on its first row.
    void FormActivate();
    void btnOperAddClick();
    void btnOperSaveClick();
    // The selector follows the state of the current row.
    void dbeOperSitChange();
    void rgOperSitClick(int item);
    // Closing the window otherwise than by "Сохранение" drops the change of the current row.
    void done(int result) override;

    // The selector's item, -1 when none is selected.
    int selectedState() const;

    DataGrid *DBGridOper = nullptr;
    QPushButton *btnOperAdd = nullptr;
    QLineEdit *dbeOper = nullptr;
    QGroupBox *rgOperSit = nullptr;
    QLineEdit *dbeOperSit = nullptr;
    QPushButton *btnOperSave = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString prepareRow();

    TfDM *m_dm;
    RowEditor *m_row = nullptr;
    QButtonGroup *m_states = nullptr;
};
