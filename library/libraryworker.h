#pragma once
// The library worker: a thread of its own that holds a connection to the library, so that connecting to
// a shared library's server, and every query on it, runs off the user-interface thread. Jobs run one at
// a time, in the order they were posted; each one's result goes back to the thread that posted it, to a
// context object, and is dropped when that object has gone.
//
// Besides the libftdi backend's I/O thread it is the program's only worker thread. A job touches
// nothing but what it was handed: the values it captured (copies, never a window) and the library. Qt
// Core only.

#include "library/testlibrary.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class TLibraryWorkerThread;

// What a job is handed, on the worker's thread.
class TLibraryAccess {
public:
    // The library at the location the job was posted for, opened now when it is not open; nullptr with
    // the reason in `why`. A library that could not be opened is tried again by the jobs posted after
    // that was known: those posted while it was being tried take its answer, without a second wait.
    TTestLibrary* Library(QString& why);
    const QString& Location() const { return m_location; }
    // True once the worker is ending: a job of many steps stops at the next one.
    bool Stopping() const;

private:
    friend class TLibraryWorkerThread;
    explicit TLibraryAccess(TLibraryWorkerThread& thread) : m_thread(thread) {}
    TLibraryWorkerThread& m_thread;
    QString m_location;
    quint64 m_postedAs = 0;
};

// Set to drop a job: one not started is not run, the result of one running is not delivered.
using TLibraryJobCancel = std::shared_ptr<std::atomic<bool>>;

class TLibraryWorker {
public:
    TLibraryWorker();
    // Drops the jobs not started and waits for the one running, which ends within the connect time-out
    // of a server that does not answer (10 s unless the address sets connect_timeout).
    ~TLibraryWorker();
    TLibraryWorker(const TLibraryWorker&) = delete;
    TLibraryWorker& operator=(const TLibraryWorker&) = delete;

    // Runs `job(access)` on the worker for the library at `location`, then `done(result)` on this thread
    // unless `context` has gone (or `cancel` was set) by then. Post from the thread that made the worker.
    template <class Job, class Done>
    void Post(const QString& location, QObject* context, Job job, Done done, TLibraryJobCancel cancel = {}) {
        using Result = std::invoke_result_t<Job&, TLibraryAccess&>;
        auto result = std::make_shared<std::optional<Result>>();
        Enqueue(
            location, cancel,
            [job = std::move(job), result](TLibraryAccess& access) mutable { result->emplace(job(access)); },
            [context = QPointer<QObject>(context), done = std::move(done), result]() mutable {
                if (context && result->has_value())
                    done(std::move(**result));
            });
    }

    // Jobs posted whose result has not yet been delivered or dropped.
    int Pending() const { return m_pending; }

private:
    void Enqueue(const QString& location, const TLibraryJobCancel& cancel,
                 std::function<void(TLibraryAccess&)> run, std::function<void()> deliver);

    std::unique_ptr<TLibraryWorkerThread> m_thread;
    std::unique_ptr<QObject> m_relay; // on the posting thread: results are delivered through it
    int m_pending = 0;
};

// The program's worker, made at its first use (on the user-interface thread) and ended with the
// application.
TLibraryWorker& ProgramLibraryWorker();
