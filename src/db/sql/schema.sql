-- Tables of the database file as it is delivered, at schema version 0: the upgrade adds
-- db_version, zkorr and ZOTCHET.SumKassReal at the first start.
--
-- Declared types tell the data layer how to convert: CURRENCY holds an integer count of
-- ten-thousandths of a ruble, DATETIME holds ISO text 'YYYY-MM-DD HH:MM:SS', YESNO holds 0/1.
-- Column order is the order in which SELECT * and the grids show the columns.

CREATE TABLE AZSFILIAL (
    nAZS SMALLINT,
    nazvRBE VARCHAR(31),
    adresRBE VARCHAR(127),
    telRBE VARCHAR(63),
    OKPO VARCHAR(8),
    INN VARCHAR(10),
    OKDP VARCHAR(7),
    DIREKTOR VARCHAR(63),
    FILIAL VARCHAR(31),
    RUKDOLJN VARCHAR(63),
    RUKFIO VARCHAR(63),
    GLBUHDOLJN VARCHAR(63),
    GLBUHFIO VARCHAR(63),
    UPRAVDOLJN VARCHAR(63),
    UPRAVFIO VARCHAR(63),
    BUHGALTER VARCHAR(63),
    LINUX YESNO NOT NULL DEFAULT 0,
    BANK VARCHAR(100),
    RSchet VARCHAR(25),
    KSchet VARCHAR(25),
    BIK VARCHAR(10)
);

CREATE TABLE KKM (
    idKKM INTEGER PRIMARY KEY AUTOINCREMENT,
    NPROIZV VARCHAR(15),
    NREG VARCHAR(15),
    nKass TINYINT,
    idKKMNazv TINYINT,
    idKKMSost TINYINT,
    idKKMizmSost INTEGER
);

-- The register editor appends models without giving a key: a rowid key lets the database
-- assign the next small number, as the key column of a model list should get.
CREATE TABLE KKMnazv (
    idKKMNazv INTEGER PRIMARY KEY,
    KKMnazv VARCHAR(63)
);

CREATE TABLE KKMSost (
    idKKMSost TINYINT NOT NULL PRIMARY KEY,
    KKMSost VARCHAR(127)
);

CREATE TABLE AZSOPER (
    idOperator INTEGER PRIMARY KEY AUTOINCREMENT,
    OperatorFIO VARCHAR(63),
    idOperSit TINYINT
);

CREATE TABLE AZSOPERSIT (
    idOperSit TINYINT NOT NULL PRIMARY KEY,
    OperSit VARCHAR(255)
);

CREATE TABLE DOVRA (
    DovraDate DATETIME,
    idDOVRA INTEGER PRIMARY KEY AUTOINCREMENT,
    DovraNBUKTS VARCHAR(10),
    idOperator INTEGER,
    smSIT VARCHAR(255),
    smLocked YESNO NOT NULL DEFAULT 0,
    idOperator2 INTEGER,
    kkass INTEGER
);

CREATE TABLE DOVRASIT (
    DOVRASIT VARCHAR(6),
    DOVRASITDISCR VARCHAR(255)
);

CREATE TABLE ZOTCHET (
    idZ INTEGER PRIMARY KEY AUTOINCREMENT,
    idKKM INTEGER,
    idDOVRA INTEGER,
    NZ INTEGER,
    idZSit TINYINT,
    ZDOC VARCHAR(15),
    ZDate DATETIME,
    NalProd CURRENCY,
    NalVozvrat CURRENCY,
    KredProd CURRENCY,
    KredStorno CURRENCY,
    VNOS CURRENCY,
    VINOS CURRENCY,
    INKASS CURRENCY,
    SumKass CURRENCY,
    NarPROD CURRENCY,
    NSsit YESNO NOT NULL DEFAULT 0,
    SumKassNS CURRENCY,
    NARPRODNS CURRENCY
);

CREATE TABLE ZSIT (
    idZSit TINYINT NOT NULL PRIMARY KEY,
    DescrSit VARCHAR(127)
);

CREATE TABLE Inkass (
    idInkass INTEGER PRIMARY KEY AUTOINCREMENT,
    idDOVRA INTEGER,
    InkassDate DATETIME
);

-- One count column per denomination of xxxBnkCalc, named KRub + the denomination.
CREATE TABLE InkassKvit (
    idInkassKvit INTEGER PRIMARY KEY AUTOINCREMENT,
    idInkass INTEGER,
    SumkaN VARCHAR(15),
    SUMMA CURRENCY,
    KRub5000 VARCHAR(255),
    KRub2000 VARCHAR(255),
    KRub1000 VARCHAR(255),
    KRub500 VARCHAR(255),
    KRub200 VARCHAR(255),
    KRub100 VARCHAR(255),
    KRub50 VARCHAR(255),
    KRub10 VARCHAR(255)
);

CREATE TABLE VOZVRAT (
    idVozvrat INTEGER PRIMARY KEY AUTOINCREMENT,
    idz INTEGER,
    nalbnal YESNO NOT NULL DEFAULT 0,
    NVCheka VARCHAR(255),
    SVCheka CURRENCY
);

-- Scratch copy of the receipts being edited; idVozvrat 0 marks a receipt not yet stored.
CREATE TABLE xVozvrat (
    idVozvrat INTEGER DEFAULT 0,
    NVCheka VARCHAR(10),
    SVCheka CURRENCY,
    NStroki SMALLINT
);

CREATE TABLE xxxBnkCalc (
    idNominal TINYINT NOT NULL PRIMARY KEY,
    Nominal INTEGER,
    NominalStr VARCHAR(255),
    NominalNumber INTEGER,
    NominalSumma INTEGER
);

CREATE TABLE xxx (
    idx INTEGER,
    x VARCHAR(255)
);

CREATE TABLE xx (
    x VARCHAR(255)
);

CREATE TABLE param (
    parname VARCHAR(255),
    valnumber INTEGER
);

-- ZOTCHET grows by one row per register and shift (tens of thousands of rows over the years);
-- the statements that run at every start and every panel load find their rows through these.

-- The latest and the previous Z-report of a register: max(idZ) per register, below a given idZ.
CREATE INDEX ZOTCHET_idKKM_idZ ON ZOTCHET (idKKM, idZ);
-- A register's Z-report of a shift, and all Z-reports of a shift.
CREATE INDEX ZOTCHET_idDOVRA_idKKM ON ZOTCHET (idDOVRA, idKKM);
-- The base row check at start: does a register have its row with idZSit = 2.
CREATE INDEX ZOTCHET_idZSit_idKKM ON ZOTCHET (idZSit, idKKM);

CREATE INDEX Inkass_idDOVRA ON Inkass (idDOVRA);
CREATE INDEX InkassKvit_idInkass ON InkassKvit (idInkass);
CREATE INDEX VOZVRAT_idz ON VOZVRAT (idz);
