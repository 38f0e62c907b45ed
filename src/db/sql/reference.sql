-- Reference rows delivered with the file: states, situations, the banknote calculator's
-- denominations, the blank-line tables of the blank forms, the register count and the one
-- requisites row. No register, operator or shift yet.

INSERT INTO KKMSost (idKKMSost, KKMSost) VALUES
    (1, 'Активна (в работе)'),
    (2, 'В ремонте'),
    (3, 'В резерве'),
    (4, 'Снята с учета');

INSERT INTO AZSOPERSIT (idOperSit, OperSit) VALUES
    (1, 'Работает'),
    (2, 'Декрет (Отпуск)'),
    (3, 'Уволен(а)');

INSERT INTO ZSIT (idZSit, DescrSit) VALUES
    (1, 'Z-отчет смены'),
    (2, 'Базовая запись ККМ (начальные показания)');

INSERT INTO DOVRASIT (DOVRASIT, DOVRASITDISCR) VALUES
    ('ОТКР', 'Смена открыта, данные вводятся'),
    ('ПРИН', 'Смена принята, данные закрыты от изменений');

-- Table order is the order in which the calculator shows the denominations.
INSERT INTO xxxBnkCalc (idNominal, Nominal, NominalStr, NominalNumber, NominalSumma) VALUES
    (1, 5000, '', 0, 0),
    (2, 2000, '', 0, 0),
    (3, 1000, '', 0, 0),
    (4, 500, '', 0, 0),
    (5, 200, '', 0, 0),
    (6, 100, '', 0, 0),
    (7, 50, '', 0, 0),
    (8, 10, '', 0, 0);

-- The blank forms print one empty line per row: 40 lines for hand-filling.
WITH RECURSIVE line(idx) AS (SELECT 1 UNION ALL SELECT idx + 1 FROM line WHERE idx < 40)
INSERT INTO xxx (idx, x) SELECT idx, '' FROM line;

INSERT INTO xx (x) SELECT x FROM xxx ORDER BY idx;

INSERT INTO param (parname, valnumber) VALUES ('nkass', 1);

INSERT INTO AZSFILIAL (nAZS, nazvRBE, adresRBE, telRBE, OKPO, INN, OKDP, DIREKTOR, FILIAL,
                       RUKDOLJN, RUKFIO, GLBUHDOLJN, GLBUHFIO, UPRAVDOLJN, UPRAVFIO, BUHGALTER,
                       LINUX, BANK, RSchet, KSchet, BIK)
VALUES (1, '', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 0, '', '', '', '');
