#pragma once

#include <QDialog>
#include <QImage>

class FocusChain;
class QCheckBox;
class QLabel;
class QPushButton;
class RowEditor;
class TfDM;

// "РЕКВИЗИТЫ, ТЕЛЕФОНЫ, РУКОВОДСТВО ФИЛИАЛА И АЗС": every column of the one requisites row
// (AZSFILIAL through tabFILIAL), each in its labelled field. Changes are stored only by
// "ПОДТВЕРДИТЬ ИЗМЕНЕНИЯ"; every other way of closing drops them. The window also serves as the
// printed requisites sheet.
class TfEdFILIALAZS : public QDialog
{
    Q_OBJECT

public:
    static constexpr int windowWidth = 653;
    static constexpr int windowHeight = 768;

    TfEdFILIALAZS(TfDM *dm, QWidget *parent = nullptr);
    ~TfEdFILIALAZS() override;

    // The window's image as the sheet prints it: without the two prompts and the confirm
    // button, which show again afterwards. The window need not be on screen.
    QImage requisitesSheet();
    // Prints the sheet on the default printer; false, with nothing done, when there is none.
    bool printRequisites();

    void btnFILIALSAVEClick();
    // Every way of closing ends here: unconfirmed changes are dropped and tabFILIAL is read anew.
    void done(int result) override;

    // Enter and the arrow keys move along the fields in this order.
    FocusChain *focusChain() const { return m_focus; }

    QLabel *imageLabel = nullptr;
    QLabel *lblFILIALINP = nullptr;
    QLabel *lblFILIALSAVE = nullptr;
    QPushButton *btnFILIALSAVE = nullptr;
    QCheckBox *DBCheckBox1 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildFields();
    void buildFooter();

    TfDM *m_dm;
    RowEditor *m_row = nullptr;
    FocusChain *m_focus = nullptr;
    QWidget *m_firstField = nullptr;
};
