#include "passwordwindow.h"

#include "formlayout.h"
#include "mainwindow.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int windowWidth = 260;

QLabel *redLabel(QWidget *parent, const QString &text, int top)
{
    QLabel *label = caption(parent, text, 20, top);
    label->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    label->hide();
    return label;
}

QLineEdit *maskedField(QWidget *parent, const QString &name, int top)
{
    auto *field = placed(new QLineEdit(parent), name, 20, top, windowWidth - 40, 24);
    field->setEchoMode(QLineEdit::Password);
    return field;
}

} // namespace

TfPWD::TfPWD(TfMain *owner)
    : QDialog(owner)
    , m_owner(owner)
{
    setObjectName(QStringLiteral("fPWD"));
    setWindowTitle(QStringLiteral("ПАРОЛЬ"));
    setModal(true);

    caption(this, QStringLiteral("ВВЕДИТЕ ПАРОЛЬ"), 20, 12);
    edPWD = maskedField(this, QStringLiteral("edPWD"), 32);
    lblPWDcor = redLabel(this, QStringLiteral("НЕ КОРРЕКТНЫЙ ПАРОЛЬ"), 62);
    caption(this, QStringLiteral("ВВЕДИТЕ НОВЫЙ ПАРОЛЬ"), 20, 128);
    edPWDNEW1 = maskedField(this, QStringLiteral("edPWDNEW1"), 148);
    edPWDNEW2 = maskedField(this, QStringLiteral("edPWDNEW2"), 178);
    lblPWDeq = redLabel(this, QStringLiteral("НЕТ СОВПАДЕНИЯ"), 206);
    btnPWDNEW = placed(new QPushButton(QStringLiteral("СОХРАНИТЬ ПАРОЛЬ"), this),
                       QStringLiteral("btnPWDNEW"), 20, 230, windowWidth - 40, 28);
    btnPWDNEW->setAutoDefault(false);
    connect(btnPWDNEW, &QPushButton::clicked, this, &TfPWD::btnPWDNEWClick);
    for (QLineEdit *field : {edPWD, edPWDNEW1, edPWDNEW2})
        field->installEventFilter(this);
    setWindowHeight(entryHeight);
}

void TfPWD::setWindowHeight(int height)
{
    setFixedSize(windowWidth, height);
}

bool TfPWD::checkPassword()
{
    setWindowHeight(entryHeight);
    btnPWDNEW->setEnabled(false);
    FormActivate();
    exec();
    return pwdOk;
}

void TfPWD::changePassword()
{
    setWindowHeight(entryHeight);
    btnPWDNEW->setEnabled(true);
    FormActivate();
    exec();
}

void TfPWD::FormActivate()
{
    pwdOk = false;
    lblPWDcor->hide();
    lblPWDeq->hide();
    for (QLineEdit *field : {edPWD, edPWDNEW1, edPWDNEW2})
        field->clear();
    edPWD->setFocus();
}

// The password typed, compared exactly (case and blanks count) with the current one and with
// the built-in one.
bool TfPWD::checkEntry()
{
    pwdOk = edPWD->text() == m_owner->pwdStr() || edPWD->text() == builtInPassword;
    lblPWDcor->setVisible(!pwdOk);
    return pwdOk;
}

bool TfPWD::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    pwdOk = false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    if (checkEntry()) {
        if (!btnPWDNEW->isEnabled()) {
            edPWD->clear();
            accept();
        } else {
            setWindowHeight(changeHeight);
            edPWDNEW1->setFocus();
        }
    }
    return true;
}

void TfPWD::btnPWDNEWClick()
{
    if (!checkEntry())
        return;
    if (edPWDNEW1->text() != edPWDNEW2->text()) {
        lblPWDeq->show();
        return;
    }
    m_owner->setPwdStr(edPWDNEW1->text());
    accept();
}
