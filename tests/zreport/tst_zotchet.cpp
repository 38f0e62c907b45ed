#include "loadedshift.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

namespace {

QWidget *focused()
{
    return QApplication::focusWidget();
}

// The controls that Tab reaches inside the panel, from its first one on.
QList<QWidget *> tabStops(TZOtchet *panel)
{
    QList<QWidget *> stops;
    QWidget *start = panel->zDateBox();
    QWidget *w = start;
    do {
        if (panel->isAncestorOf(w) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus)
            stops.append(w);
        w = w->nextInFocusChain();
    } while (w != start);
    return stops;
}

} // namespace

class TstZOtchet : public QObject
{
    Q_OBJECT

private slots:
    void panelIsACopyOfTheTemplate()
    {
        LoadedShift shift;
        TfMain &main = *shift.station.main;
        QVERIFY(main.gbKassa->isHidden());
        TZOtchet *panel = shift.panel;
        QCOMPARE(panel->title(), QString());
        QCOMPARE(panel->y(), 224);
        QCOMPARE(panel->width(), 241);
        QCOMPARE(panel->fullHeight, 565);
        QCOMPARE(panel->height(), 509); // the hand-typed previous figures are folded away
        QCOMPARE(panel->font().pixelSize(), 11);

        // Every field is named "m" + its own number + "_" + its column, numbered in copy order.
        const QStringList order = {"SerKKM", "ZDOC", "ZTime", "NalProd", "NalVozvrat", "KredProd",
                                   "KredStorno", "ProdSum", "VNOS", "VINOS", "INKASS", "SUMKASS",
                                   "NARPROD", "NZ", "ZDate", "SUMKASSNS", "NARPRODNS"};
        const QRegularExpression name(QStringLiteral("^m(\\d+)_(.+)$"));
        const auto first = name.match(shift.field("SerKKM")->objectName());
        QVERIFY(first.hasMatch());
        for (int i = 0; i < order.size(); ++i) {
            QLineEdit *edit = panel->edit(order.at(i).toLower());
            QCOMPARE(edit->objectName(),
                     QStringLiteral("m%1_%2").arg(first.captured(1).toInt() + i).arg(order.at(i)));
            QCOMPARE(edit->font().pixelSize(), 13);
            QVERIFY(edit->alignment() & Qt::AlignRight);
        }
        QCOMPARE(shift.field("NARPROD")->maxLength(), 14);
        QCOMPARE(shift.field("NalProd")->maxLength(), 12);
        QCOMPARE(shift.field("NalProd")->geometry(), QRect(112, 80, 97, 24));
        QCOMPARE(shift.field("ZDate")->geometry(), QRect(8, 411, 75, 24));

        QVERIFY(!shift.field("SerKKM")->isEnabled());
        QVERIFY(!shift.field("ProdSum")->isEnabled());
        QVERIFY(!shift.field("ZDate")->isEnabled());
        QVERIFY(!panel->zDateButton()->isEnabled());
        QVERIFY(!panel->dopZOtchetButton()->isEnabled());
        QCOMPARE(panel->korrAktButton()->text(), QStringLiteral("КОРР. АКТ"));
        QStringList captions;
        for (QPushButton *button : panel->printButtons())
            captions << button->text();
        QCOMPARE(captions, QStringList({"Печать", "КМ6", "KO4", "KO1", "KO2", "KM3"}));
        QCOMPARE(panel->km6Button(), panel->printButtons().at(1));
        const auto labels = panel->findChildren<QLabel *>();
        QVERIFY(std::any_of(labels.begin(), labels.end(), [](const QLabel *label) {
            return label->text() == QStringLiteral("ЗАКРЫТИЕ СМЕНЫ N") && label->pos() == QPoint(8, 395);
        }));
        QCOMPARE(panel->errorLabel()->geometry(), QRect(8, 467, 217, 25));
    }

    // Every key that would type something counts, also those the line edit takes with Alt or
    // AltGr, format characters, characters beyond 16 bits and several characters at once.
    void unloadedPanelIgnoresTyping_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("modifiers");

        QTest::newRow("digit") << int(Qt::Key_1) << "1" << int(Qt::NoModifier);
        QTest::newRow("decimal point") << int(Qt::Key_Period) << "." << int(Qt::NoModifier);
        QTest::newRow("Alt and a digit") << int(Qt::Key_5) << "5" << int(Qt::AltModifier);
        QTest::newRow("AltGr letter") << int(Qt::Key_E) << "€" << int(Qt::ControlModifier | Qt::AltModifier);
        QTest::newRow("soft hyphen") << int(Qt::Key_unknown) << "\u00AD" << int(Qt::NoModifier);
        QTest::newRow("beyond 16 bits") << int(Qt::Key_unknown) << "\U0001F600" << int(Qt::NoModifier);
        QTest::newRow("two characters") << int(Qt::Key_unknown) << "12" << int(Qt::NoModifier);
    }

    void unloadedPanelIgnoresTyping()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(int, modifiers);

        LoadedShift shift;
        TZOtchet *unloaded = shift.station.main->kassPanels[2];
        QVERIFY(unloaded->busy);
        QLineEdit *sales = unloaded->edit("NalProd");
        QTest::sendKeyEvent(QTest::Click, sales, Qt::Key(key), text, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(sales->text(), QString());
    }

    void keyFilters_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength"); // caret at selStart when 0
        QTest::addColumn<QString>("keys");  // "\b" is Backspace
        QTest::addColumn<QString>("after"); // "." stands for the system's decimal separator

        QTest::newRow("nine digits at most") << "NalProd" << "" << 0 << 0 << "1234567890" << "123456789";
        QTest::newRow("two decimals after the mark")
            << "NalProd" << "" << 0 << 0 << "1234567890,123" << "123456789.12";
        QTest::newRow("mark with four digits behind it") << "NalProd" << "1234" << 0 << 0 << "," << "1234";
        QTest::newRow("mark with three digits behind it") << "NalProd" << "1234" << 1 << 0 << "." << "1234";
        QTest::newRow("comma after the second digit") << "NalProd" << "1234" << 2 << 0 << "," << "12.34";
        QTest::newRow("point after the second digit") << "NalProd" << "1234" << 2 << 0 << "." << "12.34";
        QTest::newRow("second mark") << "NalProd" << "12" << 2 << 0 << ".5," << "12.5";
        QTest::newRow("third decimal") << "NalProd" << "12" << 2 << 0 << ".345" << "12.34";
        QTest::newRow("digit in front of decimals") << "NalProd" << "12.34" << 0 << 0 << "9" << "912.34";
        QTest::newRow("letters and signs") << "NalProd" << "" << 0 << 0 << "1a-+:2" << "12";
        QTest::newRow("in front of a long number only the length counts")
            << "NalProd" << "123456789" << 0 << 0 << "9999" << "999123456789";
        QTest::newRow("selection is replaced") << "NalProd" << "12345" << 0 << 5 << "7" << "7";
        QTest::newRow("backspace") << "NalProd" << "123" << 3 << 0 << "\b" << "12";
        QTest::newRow("eleven digits in a total") << "NARPROD" << "" << 0 << 0 << "1234567890123"
                                                  << "12345678901";
        QTest::newRow("time needs its colon") << "ZTime" << "08:00" << 0 << 5 << "123.45" << "12:45";
        QTest::newRow("comma in time") << "ZTime" << "08:00" << 0 << 5 << "7,3" << "7:3";
        QTest::newRow("minutes retyped") << "ZTime" << "08:00" << 3 << 2 << "30" << "08:30";
        QTest::newRow("second colon") << "ZTime" << "12:3" << 4 << 0 << ":" << "12:3";
        QTest::newRow("digits only") << "ZDOC" << "" << 0 << 0 << "12a,.:3" << "123";
        QTest::newRow("nine digits in the number") << "NZ" << "" << 0 << 0 << "1234567890" << "123456789";
    }

    void keyFilters()
    {
        QFETCH(QString, suffix);
        QFETCH(QString, before);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, keys);
        QFETCH(QString, after);

        LoadedShift shift;
        QLineEdit *edit = shift.panel->edit(suffix);
        edit->setText(amount(before));
        if (selLength > 0)
            edit->setSelection(selStart, selLength);
        else
            edit->setCursorPosition(selStart);
        LoadedShift::press(edit, keys);
        QCOMPARE(edit->text(), amount(after));
    }

    void pastedTextIsCleaned_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("pasted"); // "." stands for the system's decimal separator
        QTest::addColumn<QString>("shown");

        QTest::newRow("amount") << "NalProd" << "12a.345" << "12.34";
        QTest::newRow("amount with two marks") << "NalProd" << "1.2.5" << "1.2";
        QTest::newRow("document number") << "ZDOC" << "00x12" << "0012";
        QTest::newRow("time") << "ZTime" << "1a2:345" << "12:3";
        QTest::newRow("longer than the field") << "ZDOC" << "12345678901" << "123456789";
    }

    void pastedTextIsCleaned()
    {
        QFETCH(QString, suffix);
        QFETCH(QString, pasted);
        QFETCH(QString, shown);

        LoadedShift shift;
        QLineEdit *edit = shift.panel->edit(suffix);
        edit->setText(amount(pasted));
        QCOMPARE(edit->text(), amount(shown));

        edit->clear();
        edit->insert(amount(pasted));
        QCOMPARE(edit->text(), amount(shown));
    }

    void focusOrderInsideThePanel()
    {
        LoadedShift shift;
        TZOtchet *panel = shift.panel;
        auto f = [&](const char *suffix) -> QWidget * { return shift.field(suffix); };
        QList<QWidget *> expected = {panel->zDateBox(), f("ZDOC"), panel->dopZOtchetBox(), f("ZTime"),
                                     f("NalProd"), f("NalVozvrat"), f("KredProd"), f("KredStorno"),
                                     f("VNOS"), f("VINOS"), f("INKASS"), f("SUMKASS"), f("NARPROD"),
                                     f("NZ"), f("SUMKASSNS"), f("NARPRODNS"), panel->extrSitBox(),
                                     panel->korrAktButton()};
        QCOMPARE(tabStops(panel), expected);

        panel->enablePrintButtons(true);
        panel->zDateBox()->setChecked(true);
        const QList<QPushButton *> print = panel->printButtons();
        expected = {panel->zDateBox(), panel->zDateButton(), f("ZDOC"), panel->dopZOtchetBox(), f("ZTime"),
                    f("NalProd"), f("NalVozvrat"), f("KredProd"), f("KredStorno"), f("VNOS"), f("VINOS"),
                    f("INKASS"), f("SUMKASS"), f("NARPROD"), f("NZ"), f("SUMKASSNS"), f("NARPRODNS"),
                    print.at(0), print.at(1), print.at(2), print.at(3), panel->extrSitBox(), print.at(4),
                    print.at(5), panel->korrAktButton()};
        QCOMPARE(tabStops(panel), expected);
    }

    void enterAndArrowsMoveAlongTheFields()
    {
        LoadedShift shift;
        QVERIFY(shift.showActive());
        shift.field("ZDOC")->setFocus();
        QTRY_COMPARE(focused(), shift.field("ZDOC"));
        QTest::keyClick(focused(), Qt::Key_Up);
        QCOMPARE(focused(), shift.panel->zDateBox());

        shift.field("NalProd")->setFocus();
        QTest::keyClick(focused(), Qt::Key_Down);
        QCOMPARE(focused(), shift.field("NalVozvrat"));
        QTest::keyClick(focused(), Qt::Key_Up);
        QCOMPARE(focused(), shift.field("NalProd"));
        for (const char *next : {"NalVozvrat", "KredProd", "KredStorno", "VNOS"}) {
            QTest::keyClick(focused(), Qt::Key_Return);
            QCOMPARE(focused(), shift.field(next));
        }
        shift.field("NARPROD")->setFocus();
        QTest::keyClick(focused(), Qt::Key_Enter);
        QCOMPARE(focused(), shift.field("NZ"));
        QTest::keyClick(focused(), Qt::Key_Return);
        QCOMPARE(focused(), shift.field("SUMKASSNS"));
        shift.field("ZTime")->setFocus();
        QTest::keyClick(focused(), Qt::Key_Return);
        QCOMPARE(focused(), shift.field("NalProd"));
    }

    void enteringSelectsWhatIsRetyped()
    {
        LoadedShift shift;
        QVERIFY(shift.showActive());
        QLineEdit *sales = shift.field("NalProd");
        sales->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(focused(), sales);
        QCOMPARE(sales->selectedText(), amount("0.00"));
        QLineEdit *time = shift.field("ZTime");
        time->setFocus(Qt::TabFocusReason);
        QCOMPARE(time->selectedText(), QStringLiteral("00"));
    }

    void enteredPanelIsHighlightedAndCurrent()
    {
        LoadedShift shift;
        QVERIFY(shift.showActive());
        TfMain &main = *shift.station.main;
        shift.field("NalProd")->setFocus();
        QTRY_COMPARE(main.activeKass, 1);
        QCOMPARE(main.kassPanels[1]->palette().color(QPalette::Window), QColor(225, 225, 225));
        QCOMPARE(main.kassPanels[2]->palette().color(QPalette::Window), QColor(240, 240, 240));

        main.kassPanels[3]->zDateBox()->setFocus();
        QCOMPARE(main.activeKass, 3);
        QCOMPARE(main.kassPanels[3]->palette().color(QPalette::Window), QColor(225, 225, 225));
        QCOMPARE(main.kassPanels[1]->palette().color(QPalette::Window), QColor(240, 240, 240));
    }

    void salesSumFollowsTheTwoSales()
    {
        LoadedShift shift;
        QVERIFY(shift.showActive());
        QLineEdit *sum = shift.field("ProdSum");
        QCOMPARE(sum->text(), amount("0.00"));
        QLineEdit *cash = shift.field("NalProd");
        cash->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(cash, "100.5");
        QCOMPARE(sum->text(), QStringLiteral("..."));
        QTest::keyClick(cash, Qt::Key_Tab);
        QCOMPARE(sum->text(), amount("      100.50"));

        shift.field("KredProd")->clear();
        QCOMPARE(sum->text(), QString());
    }

    void extraReportButtonFollowsItsBox()
    {
        LoadedShift shift;
        shift.panel->dopZOtchetBox()->setChecked(true);
        QVERIFY(shift.panel->dopZOtchetButton()->isEnabled());
        shift.panel->dopZOtchetBox()->setChecked(false);
        QVERIFY(!shift.panel->dopZOtchetButton()->isEnabled());
    }
};

QTEST_MAIN(TstZOtchet)
#include "tst_zotchet.moc"
