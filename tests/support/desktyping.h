#pragma once

#include <QString>

class TfMain;
class TInkassKvit;
class QLineEdit;
class QWidget;

// The cashier at the keyboard of a shown main window: every figure is typed into its field with
// key presses and the field is left with Tab, which is what stores it. Each call returns once
// the window has handled the keys, so a store that returned has returned before the call does.
class DeskTyping
{
public:
    explicit DeskTyping(TfMain &main);

    // Shows the window and makes it active, which runs the first activation as at a start.
    bool showActive();

    // Types the shift's number in BUK-TS, chooses the first operator and leaves the list.
    void openShift(const QString &number);
    // Replaces the text of the register panel's field (column suffix: "NalProd", "NZ" ...) with
    // keys and leaves the field.
    void typeZ(int kassa, const QString &column, const QString &text);
    // The bag's box: the one showing this number, or else the empty box for the next bag, where
    // the number is typed first. The sum is typed and the field left.
    TInkassKvit *typeBag(const QString &number, const QString &sum);
    // Enters a field and leaves it again without typing.
    void revisit(QLineEdit *field);
    // "ПРИНЯТЬ ДАННЫЕ СМЕНЫ" when it is enabled; false when it is not.
    bool accept();
    // "НОВАЯ СМЕНА" after an accepted shift: the view is rebuilt for a new shift.
    void startNewShift();

    QLineEdit *zField(int kassa, const QString &column) const;
    // The box showing this bag number, nullptr when none does.
    TInkassKvit *bagBox(const QString &number) const;

private:
    void typeInto(QLineEdit *field, const QString &text);
    static void leave(QWidget *field);

    TfMain &m_main;
};
