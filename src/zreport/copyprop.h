#pragma once

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Controls built at run time as copies of hidden template controls. Each operation places the
// freshly created copy into the given container and copies a fixed set of the template's
// properties; handlers are never copied: whoever builds the copies wires its own. The focus
// order of the copies is left to the builder, which knows the order it wants.

// Number used in the names of field copies; grows by one with every field copied and is never
// reset, so a copy's name stays unique for the life of the program.
extern int cloneCounter;

// Parent, geometry and Enabled.
void copyControlProps(const QWidget *from, QWidget *parent, QWidget *to);
// copyControlProps, then the background colour.
void copyGroupBoxProps(const QGroupBox *from, QWidget *parent, QGroupBox *to);
// copyControlProps, then alignment, max length, the name "m" + cloneCounter + "_" + the template's
// name after its four-letter prefix ("memoNalProd" → "m3_NalProd"), font and text.
void copyMemoProps(const QLineEdit *from, QWidget *parent, QLineEdit *to);
// Parent, geometry, caption, background colour and font (with its colour).
void copyLabelProps(const QLabel *from, QWidget *parent, QLabel *to);
// Parent, geometry, font, caption and Enabled.
void copyButtonProps(const QPushButton *from, QWidget *parent, QPushButton *to);
// Parent, geometry, caption, Enabled and picture.
void copySpeedButtonProps(const QAbstractButton *from, QWidget *parent, QAbstractButton *to);
// Parent, geometry, caption and check state; the copy starts enabled.
void copyCheckBoxProps(const QCheckBox *from, QWidget *parent, QCheckBox *to);
