#include "zreport/copyprop.h"
#include "zreport/kassatemplate.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TstCopyProp : public QObject
{
    Q_OBJECT

private slots:
    // Runs first: the counter starts at 0 with the program and is shared by every caller.
    void memoCopiesAreNumberedAcrossCallers()
    {
        QWidget form;
        QGroupBox *gbKassa = buildKassaTemplate(&form);
        QWidget first;
        QWidget second;
        auto *time = new QLineEdit;
        copyMemoProps(gbKassa->findChild<QLineEdit *>("memoZTime"), &first, time);
        auto *between = new QLineEdit; // a copy made by someone else in between
        copyMemoProps(gbKassa->findChild<QLineEdit *>("memoNZ"), &second, between);
        auto *cashOut = new QLineEdit;
        copyMemoProps(gbKassa->findChild<QLineEdit *>("memoVINOS"), &first, cashOut);

        QCOMPARE(time->objectName(), QStringLiteral("m0_ZTime"));
        QCOMPARE(between->objectName(), QStringLiteral("m1_NZ"));
        QCOMPARE(cashOut->objectName(), QStringLiteral("m2_VINOS"));
        QCOMPARE(cloneCounter, 3);
        QCOMPARE(time->text(), QStringLiteral("08:00"));
        QCOMPARE(cashOut->text(), QStringLiteral("0.00"));
        QCOMPARE(time->parentWidget(), &first);
        QCOMPARE(time->geometry(), QRect(176, 40, 57, 21));
        QCOMPARE(time->maxLength(), 5);
        QCOMPARE(time->font().pixelSize(), 13);
        QVERIFY(time->alignment() & Qt::AlignRight);
    }

    void enabledFollowsTheTemplateWhereItIsCopied()
    {
        QWidget form;
        QGroupBox *gbKassa = buildKassaTemplate(&form);
        QWidget panel;

        auto *serial = new QLineEdit;
        copyMemoProps(gbKassa->findChild<QLineEdit *>("memoSerKKM"), &panel, serial);
        auto *sales = new QLineEdit;
        copyMemoProps(gbKassa->findChild<QLineEdit *>("memoProdSum"), &panel, sales);
        auto *print = new QPushButton;
        copyButtonProps(gbKassa->findChild<QPushButton *>("btnPrintZAll"), &panel, print);
        QVERIFY(!serial->isEnabled());
        QVERIFY(!sales->isEnabled());
        QVERIFY(!print->isEnabled());

        QCheckBox *templateBox = gbKassa->findChild<QCheckBox *>("chbZExtrSit");
        templateBox->setEnabled(false);
        templateBox->setChecked(true);
        auto *box = new QCheckBox;
        copyCheckBoxProps(templateBox, &panel, box);
        QVERIFY(box->isEnabled());
        QVERIFY(box->isChecked());
        QCOMPARE(box->text(), QStringLiteral("Нестандартные ситуации"));
        QCOMPARE(box->geometry(), QRect(8, 487, 153, 17));
    }

    void copiedGroupBoxAndLabelsKeepLooksButNoCaption()
    {
        QWidget form;
        QGroupBox *gbKassa = buildKassaTemplate(&form);
        QVERIFY(gbKassa->isHidden());
        QCOMPARE(gbKassa->title(), QStringLiteral("Касса 1"));

        QWidget area;
        QGroupBox copy;
        copyGroupBoxProps(gbKassa, &area, &copy);
        QCOMPARE(copy.parentWidget(), &area);
        QCOMPARE(copy.geometry(), QRect(8, 224, 241, 565));
        QCOMPARE(copy.title(), QString());
        QCOMPARE(copy.palette().color(QPalette::Window), gbKassa->palette().color(QPalette::Window));

        auto *error = new QLabel;
        copyLabelProps(gbKassa->findChild<QLabel *>("lblZError"), &area, error);
        QCOMPARE(error->geometry(), QRect(8, 467, 217, 25));
        QCOMPARE(error->font().pixelSize(), 13);
        QCOMPARE(error->palette().color(QPalette::WindowText), QColor(Qt::red));
        QCOMPARE(error->objectName(), QString());

        auto *korrAkt = new QPushButton;
        copyButtonProps(gbKassa->findChild<QPushButton *>("btnKorrAkt"), &area, korrAkt);
        QVERIFY(korrAkt->font().italic());
        QCOMPARE(korrAkt->text(), QStringLiteral("КОРР. АКТ"));
        QVERIFY(korrAkt->isEnabled());

        // A disabled template's copy, once enabled, must not look disabled.
        auto *print = new QPushButton;
        QPushButton *printTemplate = gbKassa->findChild<QPushButton *>("btnPrintZAll");
        QVERIFY(printTemplate && !printTemplate->isEnabled());
        copyButtonProps(printTemplate, &area, print);
        print->setEnabled(true);
        QCOMPARE(print->palette().color(QPalette::Active, QPalette::ButtonText),
                 printTemplate->palette().color(QPalette::Active, QPalette::ButtonText));
        QVERIFY(print->palette().color(QPalette::Active, QPalette::ButtonText)
                != print->palette().color(QPalette::Disabled, QPalette::ButtonText));
    }
};

QTEST_MAIN(TstCopyProp)
#include "tst_copyprop.moc"
