#include "program.h"

#include "app/aboutwindow.h"
#include "app/mainwindow.h"
#include "app/passwordwindow.h"
#include "app/startlock.h"
#include "db/datamodule.h"
#include "inkass/banknotcalc.h"
#include "refdata/edfilialazs.h"
#include "refdata/edkkm.h"
#include "refdata/edpersonal.h"

#include "platform/data/errors.h"
#include "platform/ui/application.h"
#include "platform/ui/messages.h"

#include <QDir>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int runProgram(Application &app)
{
    // The standard dialogs (print preview, printing, buttons of boxes) speak Russian.
    QTranslator qtTranslations;
    if (qtTranslations.load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                            QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslations);
    // The caption of every message box.
    app.setApplicationName(QStringLiteral("Трельвандор"));
    // Liberation Sans is metric-compatible with the office fonts the forms were drawn with.
    app.setFont(QFont(QStringLiteral("Liberation Sans"), 9));

    // A second start right after the first (a double click) ends here without a window.
    try {
        if (!checkStartLock(QStringLiteral("dovra.lck")))
            return 0;
    } catch (const AppError &error) {
        showError(error.message());
        return 1;
    }

    const QString executableFolder = QCoreApplication::applicationDirPath();
    // Created in this order and destroyed in the reverse one: the data module goes before the
    // main window.
    TfMain fMain(QDir(executableFolder).filePath(QStringLiteral("dovra.ini")));
    TfDM fDM(app.arguments().mid(1), executableFolder);
    fMain.setDataModule(&fDM);
    TfPWD fPWD(&fMain);
    fMain.setPasswordWindow(&fPWD);
    TfEdFILIALAZS fEdFILIALAZS(&fDM, &fMain);
    TfEdPersonal fEdPersonal(&fDM, &fMain);
    TfEdKKM fEdKKM(&fDM, &fMain);
    fMain.setReferenceEditors(&fEdFILIALAZS, &fEdPersonal, &fEdKKM);
    TfBanknotCalc fBanknotCalc(&fDM, &fMain);
    fMain.setBanknoteCalculator(&fBanknotCalc);
    TfAbout fAbout(&fMain);
    fMain.setAboutWindow(&fAbout);

    fMain.showMaximized();
    return app.exec();
}
