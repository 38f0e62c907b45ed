#include "platform/ui/messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class TestMessages : public QObject
{
    Q_OBJECT

private slots:
    void recorderKeepsKindAndTextInOrder();
    void recordersNestAndRestore();
    void defaultSinkShowsModalBox_data();
    void defaultSinkShowsModalBox();
};

void TestMessages::recorderKeepsKindAndTextInOrder()
{
    MessageRecorder recorder;
    showMessage("Смена принята");
    showError("Нет связи с базой");

    const QList<QPair<MessageKind, QString>> expected{{MessageKind::Information, "Смена принята"},
                                                      {MessageKind::Error, "Нет связи с базой"}};
    QCOMPARE(recorder.messages(), expected);
    QCOMPARE(recorder.texts(), QStringList({"Смена принята", "Нет связи с базой"}));
}

void TestMessages::recordersNestAndRestore()
{
    MessageRecorder outer;
    {
        MessageRecorder inner;
        showMessage("внутри");
        QCOMPARE(inner.texts(), QStringList{"внутри"});
    }
    showMessage("снаружи");
    QCOMPARE(outer.texts(), QStringList{"снаружи"});
}

void TestMessages::defaultSinkShowsModalBox_data()
{
    QTest::addColumn<bool>("error");
    QTest::addColumn<QMessageBox::Icon>("icon");

    QTest::newRow("information") << false << QMessageBox::Information;
    QTest::newRow("error") << true << QMessageBox::Critical;
}

// The real box: parented to the active window, captioned with the program's name, modal.
void TestMessages::defaultSinkShowsModalBox()
{
    QFETCH(bool, error);
    QFETCH(QMessageBox::Icon, icon);

    QGuiApplication::setApplicationDisplayName("Трельвандор");
    QWidget window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    bool shown = false;
    QString text;
    QString caption;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    QWidget *parent = nullptr;
    bool modal = false;
    QTimer::singleShot(0, this, [&] {
        auto seen = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!seen)
            return;
        shown = true;
        text = seen->text();
        caption = seen->windowTitle();
        seenIcon = seen->icon();
        parent = seen->parentWidget();
        modal = seen->isModal();
        seen->button(QMessageBox::Ok)->click();
    });

    if (error)
        showError("Ошибка записи");
    else
        showMessage("Ошибка записи");

    QVERIFY2(shown, "no message box was shown");
    QCOMPARE(text, QString("Ошибка записи"));
    QCOMPARE(caption, QString("Трельвандор"));
    QCOMPARE(seenIcon, icon);
    QCOMPARE(parent, &window);
    QVERIFY(modal);
}

QTEST_MAIN(TestMessages)
#include "tst_messages.moc"
