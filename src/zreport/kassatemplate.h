#pragma once

class QGroupBox;
class QWidget;

// The hidden template "Касса 1" of the register panels, with every child control a panel copies:
// the fields "memo" + column (memoNalProd, memoSUMKASS ...), the captions, the buttons and the
// check boxes, at their designed places. The panels find the children by name.
QGroupBox *buildKassaTemplate(QWidget *parent);
