#pragma once

#include <QFile>
#include <QString>

#include <sqlite3.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>

// Another program's connection to a database file holding its write lock (BEGIN IMMEDIATE), on a
// thread of its own: until release() or for holdMs, whichever comes first.
class WriteLockHolder
{
public:
    WriteLockHolder(const QString &path, int holdMs)
    {
        std::promise<bool> taken;
        std::future<bool> takenResult = taken.get_future();
        m_thread = std::thread([this, file = QFile::encodeName(path), holdMs, taken = std::move(taken)]() mutable {
            sqlite3 *db = nullptr;
            const bool ok = sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK
                            && sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
            taken.set_value(ok);
            std::unique_lock lock(m_mutex);
            m_releasing.wait_for(lock, std::chrono::milliseconds(holdMs), [this] { return m_released; });
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
            sqlite3_close(db);
        });
        m_held = takenResult.get();
    }
    ~WriteLockHolder()
    {
        release();
        m_thread.join();
    }
    WriteLockHolder(const WriteLockHolder &) = delete;
    WriteLockHolder &operator=(const WriteLockHolder &) = delete;

    // Whether the lock was taken.
    bool held() const { return m_held; }

    void release()
    {
        {
            std::lock_guard lock(m_mutex);
            m_released = true;
        }
        m_releasing.notify_all();
    }

private:
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_releasing;
    bool m_released = false;
    bool m_held = false;
};
