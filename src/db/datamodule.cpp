#include "datamodule.h"

#include "schemaupgrade.h"
#include "stationfile.h"

#include "documents/documentqueries.h"

#include "platform/data/connectionstring.h"
#include "platform/data/databasefile.h"
#include "platform/ini/inifile.h"
#include "platform/ui/messages.h"
#include "platform/ui/processexit.h"


TfDM::TfDM(const QStringList &arguments, const QString &executableFolder, QObject *parent)
    : QObject(parent)
    , m_arguments(arguments)
    , m_executableFolder(executableFolder)
    , ADOConAZSKAS(QStringLiteral("ADOConAZSKAS"))
    , tabFILIAL(&ADOConAZSKAS, QStringLiteral("AZSFILIAL"))
    , tabKKM(&ADOConAZSKAS, QStringLiteral("KKM"))
    , tabKKMNazv(&ADOConAZSKAS, QStringLiteral("KKMnazv"))
    , tabKKMSost(&ADOConAZSKAS, QStringLiteral("KKMSost"))
    , tabOPER(&ADOConAZSKAS, QStringLiteral("AZSOPER"))
    , tabOperSit(&ADOConAZSKAS, QStringLiteral("AZSOPERSIT"))
    , tabDOVRA(&ADOConAZSKAS, QStringLiteral("DOVRA"))
    , tabDOVRASIT(&ADOConAZSKAS, QStringLiteral("DOVRASIT"))
    , tabZOTCHET(&ADOConAZSKAS, QStringLiteral("ZOTCHET"))
    , tabZSIT(&ADOConAZSKAS, QStringLiteral("ZSIT"))
    , tabVOZVRAT(&ADOConAZSKAS, QStringLiteral("VOZVRAT"))
    , tabINKASS(&ADOConAZSKAS, QStringLiteral("Inkass"))
    , tabINKASSKVIT(&ADOConAZSKAS, QStringLiteral("InkassKvit"))
    , tabXXX(&ADOConAZSKAS, QStringLiteral("xxx"))
    , tabXX(&ADOConAZSKAS, QStringLiteral("xx"))
    , tabXVozvrat(&ADOConAZSKAS, QStringLiteral("xVozvrat"))
    , adoqKKM(&ADOConAZSKAS)
    , adoqKKMActive(&ADOConAZSKAS)
    , adoqOPER(&ADOConAZSKAS)
    , adoqSMposledn(&ADOConAZSKAS)
    , adoqZposledn(&ADOConAZSKAS)
    , adoqXXXSumBnkCalc(&ADOConAZSKAS)
    , adoqFILIAL(&ADOConAZSKAS)
    , adoqZActive(&ADOConAZSKAS)
    , adoqZsum(&ADOConAZSKAS)
    , adoqKM7(&ADOConAZSKAS)
    , adoqKM7Sum(&ADOConAZSKAS)
    , adoqKM7korr(&ADOConAZSKAS)
    , adoqPERENOS(&ADOConAZSKAS)
    , adoqPERENOSsum(&ADOConAZSKAS)
    , adoqKAkt(&ADOConAZSKAS)
    , adoqFIO(&ADOConAZSKAS)
    , adoqZKM4(&ADOConAZSKAS)
    , adoq(&ADOConAZSKAS)
    , adoq2(&ADOConAZSKAS)
    , adoq3(&ADOConAZSKAS)
{
    ADOConAZSKAS.setFileCheck(checkStationDatabase);
    setUpStatements();
    setUpDocumentQueries(*this);
}

TfDM::~TfDM()
{
    ADOConAZSKAS.close();
    dbConnected = false;
}

void TfDM::setUpStatements()
{
    tabKKM.addLookupColumn({QStringLiteral("Модель"), QStringLiteral("KKMnazv"),
                            QStringLiteral("idKKMNazv"), QStringLiteral("KKMnazv"),
                            QStringLiteral("idKKMNazv")});
    tabKKM.addLookupColumn({QStringLiteral("Состояние"), QStringLiteral("KKMSost"),
                            QStringLiteral("idKKMSost"), QStringLiteral("KKMSost"),
                            QStringLiteral("idKKMSost")});
    tabOPER.addLookupColumn({QStringLiteral("Положение"), QStringLiteral("AZSOPERSIT"),
                             QStringLiteral("idOperSit"), QStringLiteral("OperSit"),
                             QStringLiteral("idOperSit")});
    // A shift a day for years: the grid shows them all, but the view is rebuilt at every shift.
    tabDOVRA.setWindowed(true);
    tabDOVRA.addLookupColumn({QStringLiteral("ОПЕРАТОР"), QStringLiteral("AZSOPER"),
                              QStringLiteral("idOperator"), QStringLiteral("OperatorFIO"),
                              QStringLiteral("idOperator")});
    // The non-standard-situation and closing-balance columns are read and written by statement.
    tabZOTCHET.setColumns({"idZ", "idKKM", "idDOVRA", "NZ", "idZSit", "ZDOC", "ZDate", "NalProd",
                           "NalVozvrat", "KredProd", "KredStorno", "VNOS", "VINOS", "INKASS",
                           "SumKass", "NarPROD"});

    adoqKKM.setSql(QStringLiteral("SELECT idKKM, NPROIZV, NREG, nKass FROM KKM"));
    adoqKKMActive.setSql(QStringLiteral("SELECT * FROM KKM WHERE idKKMSost=1"));
    adoqOPER.setSql(QStringLiteral("SELECT * FROM AZSOPER WHERE idOperSit=1"));
    adoqSMposledn.setSql(QStringList{
        "SELECT iddovra, dovraDate, DovraNBUKTS, smLocked,",
        "idoperator,",
        "idoperator2,",
        "(select operatorfio from azsoper where idoperator = dovra.idoperator) as operatorfio",
        "from dovra",
        "where iddovra = (select max(iddovra) from dovra)"});
    adoqZposledn.setSql(QStringList{
        "SELECT KKM.nKass, iddovra, kkm.idkkm, idz,",
        "NPROIZV",
        // "idz =" with the register's key lets the latest Z-report be found through the index
        // instead of walking every Z-report of twenty years.
        "FROM KKM INNER JOIN ZOTCHET ON KKM.idKKM = ZOTCHET.idKKM where kkm.idkkmSost = 1 and idz = "
        "(select max(idz) from ZOTCHET as z where z.idkkm = kkm.idkkm) ",
        "order by kkm.nkass;"});
    adoqXXXSumBnkCalc.setSql(QStringLiteral("SELECT SUM(NominalSumma) as NominalSummaAll FROM xxxBnkCalc "));
}

QString TfDM::databaseFileName(const QStringList &arguments, const QString &executableFolder)
{
    const QString name = arguments.size() == 1 ? arguments.constFirst() : defaultFileName;
    const bool fullPath = name.startsWith(u'/') || name.startsWith(u'\\')
                          || (name.size() > 1 && name.at(1) == u':');
    if (fullPath)
        return name;
    QString folder = executableFolder;
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder + name;
}

void TfDM::connectDatabase(const IniFile &iniFile)
{
    const QString fileName = databaseFileName(m_arguments, m_executableFolder);
    const QString connectionString = substitutePlaceholder(
        iniFile.readString(QStringLiteral("DB"), QStringLiteral("connstr"), QStringLiteral("NO")),
        QStringLiteral("$(FILENAME)"), fileName);

    ADOConAZSKAS.close();
    dbConnected = false;
    try {
        ADOConAZSKAS.open(connectionString);
    } catch (const DbFileError &error) {
        showError(error.message() + QStringLiteral("\n\nПрограмма будет закрыта."));
        haltProcess(1);
    }
    dbConnected = true;
    dbFileName = fileName;

    SchemaUpgrade upgrade(ADOConAZSKAS, adoq);
    if (!upgrade.upgradeSchema()) {
        // Closed first: the process ends without destructors, and an open connection would leave
        // its journal files beside the database.
        ADOConAZSKAS.close();
        showMessage(QStringLiteral("ошибка обновления БД. Обратитесь к разработчикам "));
        haltProcess(1);
    }
    openDatasets();
}

void TfDM::openDatasets()
{
    // The three document queries at the end open with no parameter set: no Z-report, no shift.
    // The whole-history tables (ZOTCHET, VOZVRAT, Inkass, InkassKvit) are not read into memory
    // at the start: a station's years of rows would cost every start seconds for rows nobody
    // looks at through them; whoever needs one of them opens it.
    Dataset *const inOrder[] = {
        &tabFILIAL, &tabKKM, &tabKKMNazv, &tabKKMSost, &tabOPER, &tabOperSit, &tabDOVRA,
        &tabDOVRASIT, &tabZSIT, &tabXXX, &tabXX, &tabXVozvrat, &adoqFILIAL, &adoqKKM,
        &adoqKKMActive, &adoqOPER, &adoqSMposledn, &adoqZposledn, &adoqZActive, &adoqKM7Sum,
        &adoqKM7};
    for (Dataset *dataset : inOrder)
        dataset->open();
}

int TfDM::registerCount()
{
    adoq.setSql(QStringLiteral("select valnumber from param where parname = :name"));
    adoq.setParam(QStringLiteral("name"), QStringLiteral("nkass"));
    adoq.open();
    const int count = adoq.field(QStringLiteral("valnumber")).asInteger();
    adoq.close();
    return count;
}
