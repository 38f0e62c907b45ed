#pragma once

#include <QString>
#include <QTest>

// Types the text into the widget key by key, as a person does; unlike QTest::keyClicks it takes
// Cyrillic letters too.
inline void typeText(QWidget *target, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
}
