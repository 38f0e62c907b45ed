#include "copyprop.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

int cloneCounter = 0;

namespace {

constexpr int templatePrefixLength = 4; // "memo" or "Memo"

void placeLike(const QWidget *from, QWidget *parent, QWidget *to)
{
    to->setParent(parent);
    to->setGeometry(from->geometry());
}

// A colour is copied for every state of the widget: a disabled template reads its disabled colour
// by default, which would leave the enabled copy looking disabled.
void copyColour(const QWidget *from, QWidget *to, QPalette::ColorRole role)
{
    QPalette palette = to->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, role, from->palette().color(group, role));
    to->setPalette(palette);
}

// A font goes with its colour, as the text colour belongs to the font of the form designer.
void copyFont(const QWidget *from, QWidget *to, QPalette::ColorRole textRole)
{
    to->setFont(from->font());
    copyColour(from, to, textRole);
}

void copyBackground(const QWidget *from, QWidget *to)
{
    copyColour(from, to, QPalette::Window);
    to->setAutoFillBackground(from->autoFillBackground());
}

} // namespace

void copyControlProps(const QWidget *from, QWidget *parent, QWidget *to)
{
    placeLike(from, parent, to);
    to->setEnabled(from->isEnabled());
}

void copyGroupBoxProps(const QGroupBox *from, QWidget *parent, QGroupBox *to)
{
    copyControlProps(from, parent, to);
    copyBackground(from, to);
}

void copyMemoProps(const QLineEdit *from, QWidget *parent, QLineEdit *to)
{
    copyControlProps(from, parent, to);
    to->setAlignment(from->alignment());
    to->setMaxLength(from->maxLength());
    to->setObjectName(u'm' + QString::number(cloneCounter) + u'_'
                      + from->objectName().mid(templatePrefixLength));
    copyFont(from, to, QPalette::Text);
    to->setText(from->text());
    ++cloneCounter;
}

void copyLabelProps(const QLabel *from, QWidget *parent, QLabel *to)
{
    placeLike(from, parent, to);
    to->setText(from->text());
    copyBackground(from, to);
    copyFont(from, to, QPalette::WindowText);
}

void copyButtonProps(const QPushButton *from, QWidget *parent, QPushButton *to)
{
    placeLike(from, parent, to);
    copyFont(from, to, QPalette::ButtonText);
    to->setText(from->text());
    to->setEnabled(from->isEnabled());
}

void copySpeedButtonProps(const QAbstractButton *from, QWidget *parent, QAbstractButton *to)
{
    placeLike(from, parent, to);
    to->setText(from->text());
    to->setEnabled(from->isEnabled());
    to->setIcon(from->icon());
    to->setIconSize(from->iconSize());
}

void copyCheckBoxProps(const QCheckBox *from, QWidget *parent, QCheckBox *to)
{
    placeLike(from, parent, to);
    to->setText(from->text());
    to->setChecked(from->isChecked());
}
