#pragma once

#include <QString>

#include <memory>

class TfDM;
class TfMain;

// A station folder (database, dovra.ini) and the program's windows on it, created as the program
// creates them and activated once: the state the cashier works in.
class BenchStation
{
public:
    // Makes folder/AZSVELMORAN.mdb: the demo station at the current schema with `years` of
    // history for five registers (0: the open shift alone).
    static void create(const QString &folder, int years);
    // A copy of a station folder's database in another folder, for runs that change it.
    static void copy(const QString &from, const QString &to);

    explicit BenchStation(const QString &folder);
    ~BenchStation();

    TfMain &main() { return *m_main; }
    TfDM &dm() { return *m_dm; }

private:
    std::unique_ptr<TfMain> m_main;
    std::unique_ptr<TfDM> m_dm;
};
