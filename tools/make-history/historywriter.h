#pragma once

#include <QDate>
#include <QString>

// A station's years of daily shifts written straight into its database file, as the program
// would have left them: Z-reports whose counters and cash carry from shift to shift and pass the
// panel's checks, bags that balance each shift's encashment, a few correction acts and refund
// receipts, every shift accepted but the last, which is complete and still open.
struct HistoryOptions
{
    int years = 20;       // 0: the open last shift alone
    int registers = 5;    // 1..5; registers missing from the file are added as active ones
    unsigned seed = 1;
    QDate lastShift = QDate::currentDate();
};

struct HistorySummary
{
    int shifts = 0;
    int zReports = 0;
    int bags = 0;
    int acts = 0;
    int refunds = 0;
};

// The file must be a station database brought to the current schema and holding no shifts yet.
// Throws AppError with the reason when it cannot write.
HistorySummary writeHistory(const QString &databaseFile, const HistoryOptions &options);
