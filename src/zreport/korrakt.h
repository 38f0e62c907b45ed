#pragma once

#include "platform/data/query.h"

#include <QDialog>
#include <QList>

class FocusChain;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class TfDM;

// "Корректирующий акт": the correction act of one Z-report, one row of zkorr. Every field is
// stored the moment it is left; the window checks nothing. It is made for one use, inside the
// main window (the Z-report panel is its owner):
//     TKorrAkt act(panel);
//     act.setIdZ(panel->getIdZ());
//     act.exec();
//     mainWindow->dovraControl();
class TKorrAkt : public QDialog
{
    Q_OBJECT

public:
    static constexpr int maxFieldLength = 15;
    static inline const QString creationFailedText = QStringLiteral("ошибка создания корр. акта");

    // owner: a widget of the main window, whose data module the act works on.
    explicit TKorrAkt(QWidget *owner);

    // The Z-report whose act is edited; set before the window is shown.
    void setIdZ(qint32 idZ);
    qint32 idZ() const { return m_idZ; }

    // The edits in focus order: the act number, then the eight amounts.
    QList<QLineEdit *> edits() const { return m_edits; }

    QLineEdit *Memo_nakt = nullptr;
    QLineEdit *Memo_nal = nullptr;
    QLineEdit *Memo_bnalkaknal = nullptr;
    QLineEdit *Memo_nalkakbnal = nullptr;
    QLineEdit *Memo_vbnalkaknal = nullptr;
    QLineEdit *Memo_vnalkakbnal = nullptr;
    QLineEdit *memo_KorrInkass = nullptr;
    QLineEdit *memo_KorrVinos = nullptr;
    QLineEdit *memo_KorrVnos = nullptr;
    // Button1 prints the revenue act of the Z-report directly; Button2 has no action and stays
    // disabled.
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

public slots:
    // Closing stores the field being typed in: it is never left otherwise.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildForm();
    QLineEdit *addEdit(const QString &name, int top, Qt::Alignment alignment);
    void addLabel(const QString &text, int left, int top);
    QPushButton *addButton(int top);

    void FormShow();
    bool openAct();
    bool createActRow();
    void showAct();
    void onEnterProc(QLineEdit *edit, Qt::FocusReason reason);
    bool memoRubKeyPress(QLineEdit *edit, const QKeyEvent *event);
    bool storeFieldBeingEdited();
    bool zReportExists();
    void storeField(QLineEdit *edit);
    void storeStrToDB(QLineEdit *edit);
    void storeToDB(QLineEdit *edit);
    void runStore(QLineEdit *edit, const QVariant &value);

    TfDM *m_dm = nullptr;
    qint32 m_idZ = 0;
    // False until the act's row is found or created: nothing is stored without it.
    bool m_actOpen = false;
    Query tblZKorr;
    QList<QLineEdit *> m_edits;
    FocusChain *m_focus = nullptr;
};
