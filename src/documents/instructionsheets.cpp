#include "instructionsheets.h"

#include "platform/jpeg/jpegimage.h"
#include "sheetwriter.h"

#include <QStringList>

namespace {

const ReportFont sheetFont{.pointSize = 10};
constexpr qreal headerHeight = 20;
constexpr qreal pictureSize = 18;

struct NumberedSection
{
    QString heading;
    int firstNumber;
    QStringList items;
};

// The page header: the organisation's name, bold and centred, and the picture at the right.
ReportLayout sheetLayout()
{
    ReportLayout layout;
    const qreal width = layout.page().printableArea().width();
    ReportBand &header = layout.band(BandKind::PageHeader);
    header.height = headerHeight;
    header.items.append(ReportItem::caption({pictureSize, 0, width - 2 * pictureSize, 6},
                                            organisationCaption)
                            .withFont({.pointSize = 10, .bold = true})
                            .withAlignment(Qt::AlignCenter));
    const QImage picture = decodeJpegFile(QStringLiteral(":/documents/images/fuelpump.jpg"));
    header.items.append(
        ReportItem::picture({width - pictureSize, 0, pictureSize, pictureSize}, picture));
    return layout;
}

void writeSections(SheetWriter &writer, const QList<NumberedSection> &sections)
{
    for (const NumberedSection &section : sections) {
        writer.space(3);
        writer.heading(section.heading);
        int number = section.firstNumber;
        for (const QString &item : section.items)
            writer.numbered(number++, item);
    }
}

} // namespace

ReportLayout qrPoryadok()
{
    ReportLayout layout = sheetLayout();
    ReportBand &title = layout.band(BandKind::Title);
    SheetWriter writer(title, layout.page().printableArea().width(), sheetFont);
    writer.heading(QStringLiteral("ПОРЯДОК ФОРМИРОВАНИЯ СМЕННОГО ОТЧЕТА"));
    writer.space(2);
    writer.paragraph(QStringLiteral("Примечание: Порядок формирования сменного отчета может "
                                    "меняться по нормативным документам РБЕ"));
    writeSections(writer, {{QStringLiteral("Формирование сменного отчетов по каждой ККМ"), 1,
                            {QStringLiteral("Отчет кассира-операциониста КМ-6 с приложенным Z-отчетом."),
                             QStringLiteral("Квитанция к сумке инкассации с приложенным чеком инкассации."),
                             QStringLiteral("Вкладной лист кассовой книги КО-4."),
                             QStringLiteral("Приходный кассовый ордер КО-1."),
                             QStringLiteral("Расходный кассовый ордер КО-2."),
                             QStringLiteral("Акт КМ-3 о возврате денежных сумм покупателям, отдельно "
                                            "по наличному и по безналичному расчету, с чеками возврата "
                                            "и прямыми чеками к ним."),
                             QStringLiteral("Прейскурант цен."),
                             QStringLiteral("Объяснительная записка.")}}});
    writer.paragraph(QStringLiteral("Примечание: пункты 1-6, печатаются из данной программы и "
                                    "последних версий ZIZ-AR-URARA"));
    writeSections(
        writer,
        {{QStringLiteral("Формирование общих сменных отчетов по АЗС"), 9,
          {QStringLiteral("Товарно-транспортная накладная 1-Т."),
           QStringLiteral("Сменный отчет АЗС, лицевая и оборотная стороны."),
           QStringLiteral("Журнал поступления нефтепродуктов."),
           QStringLiteral("Отчет о реализации нефтепродуктов."),
           QStringLiteral("Детализация продаж за наличный расчет."),
           QStringLiteral("Отчет о движении денежных средств."),
           QStringLiteral("Отчет по видам оплаты с итогами терминалов топливных карт «Корвента», "
                          "банковских и сторонних терминалов."),
           QStringLiteral("Прямые чеки терминалов."),
           QStringLiteral("Протокол пополнения карт."),
           QStringLiteral("Ведомость заправок с чеками по картам «Корвента»."),
           QStringLiteral("Расшифровка талонов."),
           QStringLiteral("Акт о сданных талонах.")}},
         {QStringLiteral("Отчеты при дополнительных операциях"), 21,
          {QStringLiteral("Акт технологического пролива."),
           QStringLiteral("Накладная на отпуск на собственные нужды."),
           QStringLiteral("Акт зачистки резервуара."),
           QStringLiteral("Акт смешения нефтепродуктов 26-НП."),
           QStringLiteral("Накладная на внутреннее перемещение ТОРГ-13."),
           QStringLiteral("Акт КМ-2 о снятии показаний счетчиков при отправке ККМ в ремонт и при "
                          "возврате ее из ремонта.")}},
         {QStringLiteral("Формирование сменного отчета по движению товаров"), 1,
          {QStringLiteral("Оборотная ведомость."),
           QStringLiteral("Материальный отчет."),
           QStringLiteral("Товарный отчет ТОРГ-29."),
           QStringLiteral("Реестр накладных."),
           QStringLiteral("Остатки товаров."),
           QStringLiteral("Товарная накладная ТОРГ-12 со счетом-фактурой."),
           QStringLiteral("Акт о расхождении ТОРГ-2."),
           QStringLiteral("Накладная на внутреннее перемещение ТОРГ-13."),
           QStringLiteral("Накладная на возврат товара с доверенностью поставщика М-2."),
           QStringLiteral("Акт переоценки."),
           QStringLiteral("Акт пересортицы."),
           QStringLiteral("Акт о порче товаров ТОРГ-15."),
           QStringLiteral("Акт о списании товаров ТОРГ-16.")}}});
    return layout;
}

ReportLayout qrMainInstr()
{
    ReportLayout layout = sheetLayout();
    SheetWriter writer(layout.band(BandKind::Title), layout.page().printableArea().width(),
                       sheetFont);
    writer.heading(QStringLiteral("ПОРЯДОК РАБОТЫ (ОСНОВНАЯ ИНСТРУКЦИЯ)"));
    writer.space(2);
    writeSections(
        writer,
        {{QStringLiteral("Порядок ввода данных сменного отчета"), 1,
          {QStringLiteral("Введите номер смены в системе БУК-ТС и нажмите Enter."),
           QStringLiteral("Выберите операторов смены."),
           QStringLiteral("Введите инкассацию: суммы сумок только по квитанциям инкассаторов."),
           QStringLiteral("Введите формы Z-отчетов всех ККМ смены."),
           QStringLiteral("Примите данные смены кнопкой «ПРИНЯТЬ ДАННЫЕ СМЕНЫ» и напечатайте "
                          "документы сменного отчета: кнопка «Печать» на панели ККМ печатает ее "
                          "документы сразу на принтер, кнопки нижней панели открывают документ "
                          "для просмотра."),
           QStringLiteral("Закройте программу.")}}});
    const QList<std::pair<QString, QString>> sections{
        {QStringLiteral("Стандартный ввод Z-отчета"),
         QStringLiteral("Цифры вводятся точно так, как они напечатаны в Z-отчете, после каждой "
                        "нажимается Enter; стрелки переводят между полями. Ошибка продаж "
                        "показывается красным цветом с величиной ошибки, ошибка остатка наличных "
                        "- синим. Красный контроль инкассации означает, что сумма сумок не равна "
                        "инкассации по ККМ: расхождение устраняется через акт коррекции. Пока "
                        "ошибки не устранены, кнопка «ПРИНЯТЬ ДАННЫЕ СМЕНЫ» недоступна.")},
        {QStringLiteral("Нестандартный ввод Z-отчета"),
         QStringLiteral("Когда ККМ вводится в работу, смены были пропущены или ККМ вернулась из "
                        "ремонта, отметьте «Нестандартные ситуации» и введите цифры предыдущего "
                        "Z-отчета этой ККМ.")},
        {QStringLiteral("Коррекция ошибок"),
         QStringLiteral("Ошибки кассира (наличные пробиты как безналичные или безналичные как "
                        "наличные, продажа или возврат) вводятся через акт коррекции с "
                        "фактическим остатком наличных. Недостача выравнивается корректирующей "
                        "инкассацией или выносом, излишек - корректирующим вносом: в той же "
                        "смене, если ошибка найдена до печати Z-отчета, иначе в следующей смене. "
                        "Акты печатаются, к ним прикладывается объяснительная записка.")},
        {QStringLiteral("Сбои ККМ"),
         QStringLiteral("Замятый или лишний чек виден в Z-отчете лишней строкой; только тогда "
                        "цифры могут быть исправлены. Подгонка цифр не допускается.")},
        {QStringLiteral("Настройки"),
         QStringLiteral("Меню настроек открываются паролем. У разных АЗС могут быть разные "
                        "бухгалтеры. Новые операторы и ККМ не вводятся поверх старых данных. "
                        "После изменений перезапустите программу.")}};
    for (const auto &[heading, text] : sections) {
        writer.space(3);
        writer.heading(heading);
        writer.paragraph(text);
    }
    return layout;
}
