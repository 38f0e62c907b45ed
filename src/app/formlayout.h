#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QString>

// The main window's controls sit at the positions of its design, in pixels.

// A control named and placed at its design position.
template<class W>
W *placed(W *widget, const QString &name, int left, int top, int width, int height)
{
    widget->setObjectName(name);
    widget->setGeometry(left, top, width, height);
    return widget;
}

// A caption at its design position, as wide as its text.
inline QLabel *caption(QWidget *parent, const QString &text, int left, int top)
{
    auto *label = new QLabel(text, parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

// A field that only shows a value: grey like the panel behind it and passed over by the focus.
inline void showOnly(QLineEdit *field)
{
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    field->setPalette(palette);
}
