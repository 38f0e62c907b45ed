#include "desktyping.h"

#include "app/mainwindow.h"
#include "inkass/inkasskvit.h"
#include "zreport/zotchet.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

DeskTyping::DeskTyping(TfMain &main)
    : m_main(main)
{
}

bool DeskTyping::showActive()
{
    m_main.show();
    QApplication::setActiveWindow(&m_main);
    return QTest::qWaitForWindowActive(&m_main);
}

void DeskTyping::openShift(const QString &number)
{
    typeInto(m_main.edNSMBUKTS, number);
    m_main.ComBoxOper->setFocus(Qt::TabFocusReason);
    m_main.ComBoxOper->setCurrentIndex(0);
    leave(m_main.ComBoxOper);
}

void DeskTyping::typeZ(int kassa, const QString &column, const QString &text)
{
    QLineEdit *field = zField(kassa, column);
    typeInto(field, text);
    leave(field);
}

TInkassKvit *DeskTyping::typeBag(const QString &number, const QString &sum)
{
    TInkassKvit *box = bagBox(number);
    if (!box) {
        box = m_main.kvitBoxes[m_main.kvitCount];
        typeInto(box->memoNKv, number);
        leave(box->memoNKv);
    }
    typeInto(box->memoSum, sum);
    leave(box->memoSum);
    return box;
}

void DeskTyping::revisit(QLineEdit *field)
{
    field->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    leave(field);
}

bool DeskTyping::accept()
{
    if (!m_main.btnDataAccept->isEnabled())
        return false;
    m_main.btnDataAccept->click();
    QCoreApplication::processEvents();
    return true;
}

void DeskTyping::startNewShift()
{
    m_main.rbNewShift->click();
    QCoreApplication::processEvents();
}

QLineEdit *DeskTyping::zField(int kassa, const QString &column) const
{
    return m_main.kassPanels[kassa]->edit(column);
}

TInkassKvit *DeskTyping::bagBox(const QString &number) const
{
    for (int i = 1; i <= m_main.kvitCount; ++i) {
        if (m_main.kvitBoxes[i]->idInkassKvit != 0 && m_main.kvitBoxes[i]->memoNKv->text() == number)
            return m_main.kvitBoxes[i];
    }
    return nullptr;
}

// The old text goes with Backspace from its end, then the new one is typed key by key; "." is
// the decimal key, which the money fields turn into the system's separator.
void DeskTyping::typeInto(QLineEdit *field, const QString &text)
{
    field->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    field->deselect();
    field->end(false);
    for (qsizetype i = field->text().size(); i > 0; --i)
        QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

// Tab leaves the field; what its leave handler queued (a focus move) happens before the next key.
void DeskTyping::leave(QWidget *field)
{
    QTest::keyClick(field, Qt::Key_Tab);
    QCoreApplication::processEvents();
}
