#include "aboutwindow.h"

#include "buildinfo.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

TfAbout::TfAbout(QWidget *parent)
    : QDialog(parent)
    , m_version(new QLabel(this))
{
    setObjectName(QStringLiteral("fAbout"));
    setWindowTitle(QStringLiteral("О программе"));
    setModal(true);

    auto *description = new QLabel(QStringLiteral(
        "<p><b>ТРЕЛЬВАНДОР СМЕННЫХ ОТЧЕТОВ</b></p>"
        "<p>Назначение: автоматизация рутинной работы при сдаче сменных отчетов на АЗС, "
        "работающих с DOS-версией БУК-ТС.</p>"
        "<p>Установка: скопировать папку GRONTEL\\VELMORAN на диск C.</p>"
        "<p>Настройка: через меню «РЕКВИЗИТЫ», «КАССА», «ОПЕРАТОРЫ».</p>"
        "<p>Поддержка: служба сопровождения программ АЗС вашего филиала.</p>"), this);
    description->setWordWrap(true);
    description->setTextFormat(Qt::RichText);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(description);
    layout->addWidget(m_version);
    layout->addWidget(buttons);
    setFixedSize(420, 260);
}

QString TfAbout::versionLine()
{
    return QStringLiteral("Версия 1.0.") + QString::number(buildNumber);
}

void TfAbout::showEvent(QShowEvent *event)
{
    m_version->setText(versionLine());
    QDialog::showEvent(event);
}
