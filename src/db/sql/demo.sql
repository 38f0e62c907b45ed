-- A sample station on top of the reference rows: requisites, three active registers and four
-- operators, ready for its first shift. No shift is entered.

UPDATE AZSFILIAL SET
    nAZS = 17,
    nazvRBE = 'ООО "Велморан-Нефтепродукт"',
    adresRBE = '162608, Вологодская обл., г. Череповец, Северное шоссе, д. 42',
    telRBE = '(8202) 55-17-40, 55-17-41',
    OKPO = '41782315',
    INN = '3528047126',
    OKDP = '5050000',
    DIREKTOR = 'Соколов Игорь Петрович',
    FILIAL = 'Череповецкий филиал',
    RUKDOLJN = 'Директор филиала',
    RUKFIO = 'Лебедев Андрей Викторович',
    GLBUHDOLJN = 'Главный бухгалтер филиала',
    GLBUHFIO = 'Морозова Елена Николаевна',
    UPRAVDOLJN = 'Управляющий АЗС',
    UPRAVFIO = 'Кузнецова Ольга Сергеевна',
    BUHGALTER = 'Павлова Татьяна Ивановна',
    LINUX = 1,
    BANK = 'Вологодское отделение ПАО "Северный кредитный банк", г. Вологда',
    RSchet = '40702810512000004187',
    KSchet = '30101810900000000644',
    BIK = '041909644';

INSERT INTO KKMnazv (idKKMNazv, KKMnazv) VALUES
    (1, 'ШТРИХ-ФР-К'),
    (2, 'ПРИМ-08ТК'),
    (3, 'ЭЛВЕС-ФР-К');

INSERT INTO KKM (NPROIZV, NREG, nKass, idKKMNazv, idKKMSost) VALUES
    ('00112233', '1473920', 1, 1, 1),
    ('00112245', '1473921', 2, 1, 1),
    ('0807634', '1502288', 3, 2, 1);

UPDATE param SET valnumber = 3 WHERE parname = 'nkass';

INSERT INTO AZSOPER (OperatorFIO, idOperSit) VALUES
    ('Белова Светлана Андреевна', 1),
    ('Григорьев Павел Николаевич', 1),
    ('Никитина Анна Сергеевна', 1),
    ('Ершов Дмитрий Олегович', 3);
