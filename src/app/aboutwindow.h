#pragma once

#include <QDialog>

class QLabel;

// "О программе": what the program is for, how it is installed and set up, and its version.
class TfAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TfAbout(QWidget *parent = nullptr);

    static QString versionLine();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *m_version;
};
