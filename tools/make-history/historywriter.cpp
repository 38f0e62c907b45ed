#include "historywriter.h"

#include "platform/data/errors.h"

#include <QFile>
#include <QStringList>

#include <sqlite3.h>

#include <array>
#include <memory>
#include <random>

namespace {

constexpr qint64 unitsPerKopeck = 100; // money is stored in ten-thousandths of a ruble
constexpr int maxRegisters = 5;

class Database
{
public:
    explicit Database(const QString &file)
    {
        sqlite3 *db = nullptr;
        if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr)
            != SQLITE_OK) {
            const QString reason = QString::fromUtf8(sqlite3_errmsg(db));
            sqlite3_close(db);
            throw DbError(QStringLiteral("«%1» не открывается: %2").arg(file, reason));
        }
        m_db.reset(db);
    }

    sqlite3 *handle() const { return m_db.get(); }

    void exec(const char *sql)
    {
        char *error = nullptr;
        if (sqlite3_exec(handle(), sql, nullptr, nullptr, &error) != SQLITE_OK) {
            const QString reason = QString::fromUtf8(error);
            sqlite3_free(error);
            throw DbError(reason);
        }
    }

private:
    struct Close
    {
        void operator()(sqlite3 *db) const { sqlite3_close(db); }
    };
    std::unique_ptr<sqlite3, Close> m_db;
};

// One prepared statement, bound by position and run once per row.
class Statement
{
public:
    Statement(Database &db, const char *sql)
        : m_db(db)
    {
        if (sqlite3_prepare_v2(db.handle(), sql, -1, &m_statement, nullptr) != SQLITE_OK)
            throw DbError(QString::fromUtf8(sqlite3_errmsg(db.handle())));
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    Statement &operator<<(qint64 value)
    {
        sqlite3_bind_int64(m_statement, ++m_column, value);
        return *this;
    }
    Statement &operator<<(const QString &value)
    {
        const QByteArray utf8 = value.toUtf8();
        sqlite3_bind_text(m_statement, ++m_column, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement &null()
    {
        sqlite3_bind_null(m_statement, ++m_column);
        return *this;
    }

    // The first column of every row of a SELECT.
    QList<qint64> values()
    {
        QList<qint64> column;
        while (sqlite3_step(m_statement) == SQLITE_ROW)
            column.append(sqlite3_column_int64(m_statement, 0));
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
        m_column = 0;
        return column;
    }

    // The first column of the first row, 0 when there is none.
    qint64 value()
    {
        const QList<qint64> column = values();
        return column.isEmpty() ? 0 : column.first();
    }

    // The key of the row an INSERT added.
    qint64 run()
    {
        const int rc = sqlite3_step(m_statement);
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
        m_column = 0;
        if (rc != SQLITE_DONE)
            throw DbError(QString::fromUtf8(sqlite3_errmsg(m_db.handle())));
        return sqlite3_last_insert_rowid(m_db.handle());
    }

private:
    Database &m_db;
    sqlite3_stmt *m_statement = nullptr;
    int m_column = 0;
};

QString isoDateTime(const QDate &date, int minutes)
{
    return QDateTime(date, QTime(0, 0).addSecs(minutes * 60)).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// What a register carries from one Z-report to the next.
struct RegisterState
{
    qint64 idKKM = 0;
    qint64 nz = 0;
    qint64 cash = 0;    // SumKass, units
    qint64 counter = 0; // NarPROD, units
};

class HistoryWriter
{
public:
    HistoryWriter(Database &db, const HistoryOptions &options)
        : m_db(db)
        , m_options(options)
        , m_random(options.seed)
        , m_shift(db, "INSERT INTO DOVRA (DovraDate, DovraNBUKTS, idOperator, idOperator2, smSIT, "
                      "smLocked, kkass) VALUES (?, ?, ?, ?, ?, ?, ?)")
        , m_zReport(db, "INSERT INTO ZOTCHET (idKKM, idDOVRA, NZ, idZSit, ZDOC, ZDate, NalProd, "
                        "NalVozvrat, KredProd, KredStorno, VNOS, VINOS, INKASS, SumKass, NarPROD, "
                        "NSsit, SumKassReal) VALUES (?, ?, ?, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0, ?)")
        , m_act(db, "INSERT INTO zkorr (idZ, NAkt, nalKakBnal, BnalKakNal, vNalKakBnal, vBnalKakNal, "
                    "korrInkass, korrVnos, korrVinos) VALUES (?, ?, ?, 0, 0, 0, 0, ?, 0)")
        , m_inkass(db, "INSERT INTO Inkass (idDOVRA, InkassDate) VALUES (?, ?)")
        , m_bag(db, "INSERT INTO InkassKvit (idInkass, SumkaN, SUMMA) VALUES (?, ?, ?)")
        , m_refund(db, "INSERT INTO VOZVRAT (idz, nalbnal, NVCheka, SVCheka) VALUES (?, ?, ?, ?)")
    {}

    HistorySummary write()
    {
        setUpRegisters();
        readOperators();
        const QDate first = m_options.years > 0
                                ? m_options.lastShift.addYears(-m_options.years).addDays(1)
                                : m_options.lastShift;
        int number = 1;
        for (QDate day = first; day <= m_options.lastShift; day = day.addDays(1))
            writeShift(day, number++, day == m_options.lastShift);
        return m_summary;
    }

private:
    qint64 between(qint64 low, qint64 high)
    {
        return std::uniform_int_distribution<qint64>(low, high)(m_random);
    }
    bool chance(int percent) { return between(1, 100) <= percent; }
    // Whole rubles in units.
    qint64 rubles(qint64 low, qint64 high) { return between(low, high) * 100 * unitsPerKopeck; }
    // Rubles and kopecks in units.
    qint64 amount(qint64 lowRubles, qint64 highRubles)
    {
        return between(lowRubles * 100, highRubles * 100) * unitsPerKopeck;
    }

    void setUpRegisters()
    {
        if (m_options.registers < 1 || m_options.registers > maxRegisters)
            throw AppError(QStringLiteral("число касс должно быть от 1 до 5"));
        if (Statement(m_db, "SELECT COUNT(*) FROM DOVRA").value() > 0)
            throw AppError(QStringLiteral("в базе уже есть смены"));
        Statement kkm(m_db, "INSERT INTO KKM (NPROIZV, NREG, nKass, idKKMNazv, idKKMSost) VALUES (?, ?, ?, 1, 1)");
        Statement find(m_db, "SELECT idKKM FROM KKM WHERE nKass = ? AND idKKMSost = 1");
        Statement base(m_db, "INSERT INTO ZOTCHET (idKKM, idZSit, SumKass, NarPROD) VALUES (?, 2, ?, ?)");
        for (int kassa = 1; kassa <= m_options.registers; ++kassa) {
            qint64 idKKM = (find << kassa).value();
            if (idKKM == 0) {
                idKKM = (kkm << QStringLiteral("0090%1").arg(kassa, 4, 10, QLatin1Char('0'))
                             << QStringLiteral("15%1").arg(kassa, 5, 10, QLatin1Char('0')) << kassa)
                            .run();
            }
            RegisterState &state = m_registers[kassa - 1];
            state.idKKM = idKKM;
            state.counter = between(1000, 900000) * 100 * unitsPerKopeck;
            state.cash = rubles(1000, 3000);
            (base << idKKM << state.cash << state.counter).run();
        }
        Statement registerCount(m_db, "UPDATE param SET valnumber = ? WHERE parname = 'nkass'");
        (registerCount << m_options.registers).run();
    }

    void readOperators()
    {
        m_operators = Statement(m_db, "SELECT idOperator FROM AZSOPER WHERE idOperSit = 1").values();
        if (m_operators.isEmpty())
            throw AppError(QStringLiteral("в базе нет работающих операторов"));
    }

    qint64 anyOperator() { return m_operators.at(between(0, m_operators.size() - 1)); }

    void writeShift(const QDate &day, int number, bool last)
    {
        m_shift << isoDateTime(day, 0) << QString::number(number) << anyOperator();
        if (m_operators.size() > 1 && chance(50))
            m_shift << anyOperator();
        else
            m_shift.null();
        const qint64 idDovra = (m_shift << (last ? QStringLiteral("ОТКР") : QStringLiteral("ПРИН"))
                                         << qint64(last ? 0 : 1) << qint64(m_options.registers))
                                   .run();
        ++m_summary.shifts;

        qint64 bagsTotal = 0;
        for (int kassa = 1; kassa <= m_options.registers; ++kassa)
            bagsTotal += writeZReport(idDovra, day, kassa);
        writeBags(idDovra, day, bagsTotal);
    }

    // Returns what the register's encashment puts into the bags.
    qint64 writeZReport(qint64 idDovra, const QDate &day, int kassa)
    {
        RegisterState &state = m_registers[kassa - 1];
        const qint64 nalProd = amount(5000, 90000);
        const qint64 nalVozvrat = chance(5) ? amount(50, 1500) : 0;
        const qint64 kredProd = amount(2000, 60000);
        const qint64 kredStorno = chance(3) ? amount(100, 2000) : 0;
        // A cash sale rung up as a card one now and then: the act moves it to cash, and a
        // corrective deposit on the register brings its cash up to the real one.
        const bool withAct = chance(1);
        const qint64 moved = withAct ? amount(100, 2000) : 0;
        const qint64 vnos = (chance(4) ? rubles(500, 2000) : 0) + moved;
        const qint64 vinos = chance(4) ? rubles(200, 1000) : 0;
        const qint64 available = state.cash + nalProd - nalVozvrat + vnos - vinos;
        const qint64 keep = rubles(1000, 3000);
        const qint64 bagUnit = 1000 * 100 * unitsPerKopeck;
        const qint64 inkass = std::max<qint64>(0, (available - keep) / bagUnit) * bagUnit;
        const qint64 cash = available - inkass;
        const qint64 counter = state.counter + nalProd + kredProd;

        const qint64 idZ = (m_zReport << state.idKKM << idDovra << state.nz + 1
                                      << QString::number(1000 + state.nz) << isoDateTime(day, 20 * 60 + kassa)
                                      << nalProd << nalVozvrat << kredProd << kredStorno << vnos << vinos
                                      << inkass << cash << counter << cash)
                               .run();
        ++m_summary.zReports;
        if (withAct) {
            (m_act << idZ << QString::number(m_summary.acts + 1) << moved << moved).run();
            ++m_summary.acts;
        }
        writeRefunds(idZ, 0, nalVozvrat);
        writeRefunds(idZ, 1, kredStorno);
        state.nz += 1;
        state.cash = cash;
        state.counter = counter;
        return inkass;
    }

    // Receipts adding up to the refund total of a kind.
    void writeRefunds(qint64 idZ, qint64 card, qint64 total)
    {
        qint64 left = total;
        int number = 1;
        while (left > 0) {
            const qint64 part = left > 100 * 100 * unitsPerKopeck && chance(50) ? left / 2 / 100 * 100 : left;
            (m_refund << idZ << card << QString::number(number++) << part).run();
            ++m_summary.refunds;
            left -= part;
        }
    }

    void writeBags(qint64 idDovra, const QDate &day, qint64 total)
    {
        const qint64 idInkass = (m_inkass << idDovra << isoDateTime(day, 0)).run();
        const int bags = int(between(1, 4));
        qint64 left = total;
        for (int bag = 1; bag <= bags; ++bag) {
            const qint64 sum = bag == bags ? left : left / (bags - bag + 1) / (100 * unitsPerKopeck) * (100 * unitsPerKopeck);
            (m_bag << idInkass << QStringLiteral("%1/%2").arg(between(100, 9999)).arg(bag) << sum).run();
            ++m_summary.bags;
            left -= sum;
        }
    }

    Database &m_db;
    HistoryOptions m_options;
    std::mt19937 m_random;
    std::array<RegisterState, maxRegisters> m_registers{};
    QList<qint64> m_operators;
    HistorySummary m_summary;
    Statement m_shift;
    Statement m_zReport;
    Statement m_act;
    Statement m_inkass;
    Statement m_bag;
    Statement m_refund;
};

} // namespace

HistorySummary writeHistory(const QString &databaseFile, const HistoryOptions &options)
{
    Database db(databaseFile);
    db.exec("BEGIN");
    try {
        HistoryWriter writer(db, options);
        const HistorySummary summary = writer.write();
        db.exec("COMMIT");
        return summary;
    } catch (...) {
        sqlite3_exec(db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}
