#include "platform/ui/focuschain.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// A data-entry window: a line edit, an editable combo box, a disabled line edit, a plain combo
// box and a last line edit. They are created in reverse so that Qt's default Tab order (creation
// order) is the opposite of the chain, and configured once all exist, so that the combo box's line
// edit lands away from its combo box in Qt's focus chain.
struct Form
{
    QWidget window;
    QLineEdit *edLast;
    QComboBox *comboPlain;
    QLineEdit *edDisabled;
    QComboBox *comboEdit;
    QLineEdit *edFirst;
    FocusChain chain;

    Form()
        : edLast(make<QLineEdit>("edLast"))
        , comboPlain(make<QComboBox>("comboPlain"))
        , edDisabled(make<QLineEdit>("edDisabled"))
        , comboEdit(make<QComboBox>("comboEdit"))
        , edFirst(make<QLineEdit>("edFirst"))
    {
        comboPlain->addItems({"Иванова", "Петрова", "Сидорова"});
        comboEdit->setEditable(true);
        comboEdit->addItems({"1", "2"});
        edDisabled->setEnabled(false);

        const auto moves = FocusChain::Enter | FocusChain::UpDown;
        const QList<QPair<QWidget *, FocusChain::FocusKeys>> order{{edFirst, moves},
                                                                    {comboEdit, FocusChain::Enter},
                                                                    {edDisabled, moves},
                                                                    {comboPlain, FocusChain::Enter},
                                                                    {edLast, moves}};
        auto layout = new QVBoxLayout(&window);
        for (const auto &[w, keys] : order) {
            layout->addWidget(w);
            chain.append(w, keys);
        }
    }

    template<class W>
    W *make(const char *name)
    {
        auto w = new W(&window);
        w->setObjectName(name);
        return w;
    }

    bool showActive()
    {
        window.show();
        QApplication::setActiveWindow(&window);
        return QTest::qWaitForWindowActive(&window);
    }

    QWidget *byName(const QString &name) { return window.findChild<QWidget *>(name); }
};

QString focusName()
{
    QWidget *w = QApplication::focusWidget();
    return w ? w->objectName() : QString();
}

} // namespace

class TestFocusChain : public QObject
{
    Q_OBJECT

private slots:
    void keysMoveFocus_data();
    void keysMoveFocus();
    void keyLeftToWidgetWhenNotGiven();
    void keyHandedOverIsSwallowed();
    void tabFollowsChain();
    void nextAndPreviousSkipWhatCannotTakeFocus();
};

void TestFocusChain::keysMoveFocus_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("toLineEdit"); // send to the editable combo's line edit itself
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("expected");

    const Qt::KeyboardModifiers none = Qt::NoModifier;
    QTest::newRow("Return") << "edFirst" << false << int(Qt::Key_Return) << none << "comboEdit";
    QTest::newRow("keypad Enter")
        << "edFirst" << false << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier)
        << "comboEdit";
    QTest::newRow("Down") << "edFirst" << false << int(Qt::Key_Down) << none << "comboEdit";
    QTest::newRow("editable combo, Return skips disabled")
        << "comboEdit" << false << int(Qt::Key_Return) << none << "comboPlain";
    QTest::newRow("editable combo's line edit, Return")
        << "comboEdit" << true << int(Qt::Key_Return) << none << "comboPlain";
    QTest::newRow("plain combo, Return") << "comboPlain" << false << int(Qt::Key_Return) << none
                                         << "edLast";
    QTest::newRow("Up skips disabled") << "edLast" << false << int(Qt::Key_Up) << none
                                       << "comboPlain";
    QTest::newRow("Up at the first stays") << "edFirst" << false << int(Qt::Key_Up) << none
                                           << "edFirst";
    QTest::newRow("Return at the last stays") << "edLast" << false << int(Qt::Key_Return) << none
                                              << "edLast";
    QTest::newRow("Shift+Down selects, does not move")
        << "edFirst" << false << int(Qt::Key_Down) << Qt::KeyboardModifiers(Qt::ShiftModifier)
        << "edFirst";
    QTest::newRow("Down in combo without UpDown stays")
        << "comboPlain" << false << int(Qt::Key_Down) << none << "comboPlain";
}

void TestFocusChain::keysMoveFocus()
{
    QFETCH(QString, start);
    QFETCH(bool, toLineEdit);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, expected);

    Form form;
    QVERIFY(form.showActive());
    QWidget *from = form.byName(start);
    from->setFocus();
    QTRY_COMPARE(focusName(), start);

    QWidget *target = toLineEdit ? form.comboEdit->lineEdit() : QApplication::focusWidget();
    QTest::keyClick(target, Qt::Key(key), modifiers);
    QCOMPARE(focusName(), expected);
}

// A key the widget does not hand over keeps its usual meaning: Down picks the next operator.
void TestFocusChain::keyLeftToWidgetWhenNotGiven()
{
    Form form;
    QVERIFY(form.showActive());
    form.comboPlain->setFocus();
    QTRY_VERIFY(form.comboPlain->hasFocus());

    QTest::keyClick(form.comboPlain, Qt::Key_Down);
    QCOMPARE(form.comboPlain->currentIndex(), 1);
    QVERIFY(form.comboPlain->hasFocus());
}

// A key handed to the chain never reaches the widget: the last line edit never sees Return (even
// with nowhere to go), and the editable combo box does not add the typed text to its list, whether
// the key arrives at the combo box or at its line edit.
void TestFocusChain::keyHandedOverIsSwallowed()
{
    Form form;
    QVERIFY(form.showActive());
    form.edLast->setFocus();
    QTRY_VERIFY(form.edLast->hasFocus());
    QSignalSpy returnPressed(form.edLast, &QLineEdit::returnPressed);
    QTest::keyClick(form.edLast, Qt::Key_Return);
    QCOMPARE(returnPressed.count(), 0);
    QVERIFY(form.edLast->hasFocus());

    const QList<QWidget *> targets{form.comboEdit, form.comboEdit->lineEdit()};
    for (QWidget *target : targets) {
        form.comboEdit->setFocus();
        QTRY_VERIFY(form.comboEdit->hasFocus());
        form.comboEdit->setEditText("3");
        QTest::keyClick(target, Qt::Key_Return);
        QCOMPARE(form.comboEdit->count(), 2);
        QVERIFY(form.comboPlain->hasFocus());
    }
}

void TestFocusChain::tabFollowsChain()
{
    Form form;
    QVERIFY(form.showActive());
    form.edFirst->setFocus();
    QTRY_VERIFY(form.edFirst->hasFocus());

    const QStringList forward{"comboEdit", "comboPlain", "edLast"};
    for (const QString &name : forward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focusName(), name);
    }
    const QStringList backward{"comboPlain", "comboEdit", "edFirst"};
    for (const QString &name : backward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(focusName(), name);
    }
}

// The state is judged at the moment of the move, and the window need not be shown yet.
void TestFocusChain::nextAndPreviousSkipWhatCannotTakeFocus()
{
    Form form;
    QCOMPARE(form.chain.next(form.comboEdit), form.comboPlain);
    QCOMPARE(form.chain.next(form.comboEdit->lineEdit()), form.comboPlain);

    form.edDisabled->setEnabled(true);
    QCOMPARE(form.chain.next(form.comboEdit), form.edDisabled);
    QCOMPARE(form.chain.previous(form.comboPlain), form.edDisabled);

    form.edDisabled->hide();
    form.comboPlain->setFocusPolicy(Qt::NoFocus);
    QCOMPARE(form.chain.next(form.comboEdit), form.edLast);

    delete form.edLast;
    QCOMPARE(form.chain.next(form.comboEdit), nullptr);
    QCOMPARE(form.chain.previous(form.edFirst), nullptr);

    QLabel stranger(&form.window);
    QCOMPARE(form.chain.next(&stranger), nullptr);
}

QTEST_MAIN(TestFocusChain)
#include "tst_focuschain.moc"
