#include "library/libraryworker.h"

#include <QCoreApplication>
#include <QThread>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

bool Cancelled(const TLibraryJobCancel& cancel) {
    return cancel && cancel->load();
}

} // namespace

// The queue and the thread that works it. The library and what was learnt of a failed opening belong to
// the thread: only jobs touch them. A standard thread, joined at the end: QThread::wait() returns before
// the thread has gone, while what libraries keep for it (OpenSSL's, through the PostgreSQL client) is
// still to be freed; a program that ended then left that behind.
class TLibraryWorkerThread {
public:
    struct TLibraryJob {
        QString location;
        quint64 postedAs = 0;
        TLibraryJobCancel cancel;
        std::function<void(TLibraryAccess&)> run;
        std::function<void()> deliver;
    };

    TLibraryWorkerThread(QObject* relay, int* pending) : m_relay(relay), m_pending(pending) {
        m_thread = std::thread([this] {
            QThread::currentThread()->setObjectName(QStringLiteral("corvex-library"));
            Work();
        });
    }

    ~TLibraryWorkerThread() {
        std::deque<TLibraryJob> dropped; // destroyed here, on the thread that posted them
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
            dropped.swap(m_queue);
        }
        m_wake.notify_all();
        m_thread.join();
    }

    void Enqueue(TLibraryJob job) {
        {
            const std::lock_guard lock(m_mutex);
            job.postedAs = ++m_posted;
            m_queue.push_back(std::move(job));
        }
        m_wake.notify_all();
    }

    bool Stopping() const { return m_stopping.load(); }

    std::unique_ptr<TTestLibrary> library;
    QString failedLocation;
    QString failedWhy;
    quint64 failedBefore = 0; // jobs posted up to this one take failedWhy

    quint64 Posted() {
        const std::lock_guard lock(m_mutex);
        return m_posted;
    }

private:
    void Work() {
        TLibraryAccess access(*this);
        for (;;) {
            TLibraryJob job;
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
                if (m_stopping)
                    break;
                job = std::move(m_queue.front());
                m_queue.pop_front();
            }
            if (!Cancelled(job.cancel)) {
                access.m_location = job.location;
                access.m_postedAs = job.postedAs;
                job.run(access);
            }
            job.run = nullptr; // what the job captured goes here, before its result is delivered
            QMetaObject::invokeMethod(
                m_relay,
                [pending = m_pending, deliver = std::move(job.deliver), cancel = std::move(job.cancel)] {
                    --*pending;
                    if (!Cancelled(cancel))
                        deliver();
                },
                Qt::QueuedConnection);
        }
        library.reset(); // its connection belongs to this thread
    }

    QObject* m_relay;
    int* m_pending;
    std::thread m_thread;
    std::mutex m_mutex; // the standard ones, which the thread sanitizer sees through
    std::condition_variable m_wake;
    std::deque<TLibraryJob> m_queue;
    quint64 m_posted = 0;
    std::atomic<bool> m_stopping{false};
};

TTestLibrary* TLibraryAccess::Library(QString& why) {
    TLibraryWorkerThread& t = m_thread;
    if (t.library && t.library->Location() == m_location)
        return t.library.get();
    t.library.reset();
    if (t.failedLocation == m_location && m_postedAs <= t.failedBefore) {
        why = t.failedWhy;
        return nullptr;
    }
    t.library = TTestLibrary::Open(m_location, why);
    if (t.library) {
        t.failedLocation.clear();
    } else {
        t.failedLocation = m_location;
        t.failedWhy = why;
        t.failedBefore = t.Posted();
    }
    return t.library.get();
}

bool TLibraryAccess::Stopping() const {
    return m_thread.Stopping();
}

TLibraryWorker::TLibraryWorker() : m_relay(std::make_unique<QObject>()) {
    m_thread = std::make_unique<TLibraryWorkerThread>(m_relay.get(), &m_pending);
}

TLibraryWorker::~TLibraryWorker() {
    m_thread.reset();
    m_relay.reset(); // drops the results not yet delivered
}

void TLibraryWorker::Enqueue(const QString& location, const TLibraryJobCancel& cancel,
                             std::function<void(TLibraryAccess&)> run, std::function<void()> deliver) {
    ++m_pending;
    m_thread->Enqueue({location, 0, cancel, std::move(run), std::move(deliver)});
}

namespace {

TLibraryWorker* programWorker = nullptr;

void EndProgramLibraryWorker() {
    delete programWorker;
    programWorker = nullptr;
}

} // namespace

TLibraryWorker& ProgramLibraryWorker() {
    if (!programWorker) {
        programWorker = new TLibraryWorker;
        // Ended with the application, while Qt's SQL drivers are still there.
        qAddPostRoutine(EndProgramLibraryWorker);
    }
    return *programWorker;
}
