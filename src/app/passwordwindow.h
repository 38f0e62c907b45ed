#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class TfMain;

// "ПАРОЛЬ": asks for the access password before a reference editor opens (check mode), and
// changes it (change mode, with "СОХРАНИТЬ ПАРОЛЬ" enabled).
class TfPWD : public QDialog
{
    Q_OBJECT

public:
    static constexpr int entryHeight = 125;
    static constexpr int changeHeight = 270;
    static inline const QString builtInPassword = QStringLiteral("qtr48");

    explicit TfPWD(TfMain *owner);

    // Shows the window modally in check mode; true when the password was accepted with Enter.
    bool checkPassword();
    // Shows the window modally in change mode.
    void changePassword();

    bool pwdOk = false;

    QLineEdit *edPWD = nullptr;
    QLineEdit *edPWDNEW1 = nullptr;
    QLineEdit *edPWDNEW2 = nullptr;
    QLabel *lblPWDcor = nullptr;
    QLabel *lblPWDeq = nullptr;
    QPushButton *btnPWDNEW = nullptr;

    void FormActivate();
    void btnPWDNEWClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool checkEntry();
    void setWindowHeight(int height);

    TfMain *m_owner;
};
