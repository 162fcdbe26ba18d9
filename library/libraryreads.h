#pragma once
// The library reads of one window, on the program's library worker (library/libraryworker.h): a window
// owns one TLibraryReads and asks it for each query, a line each,
//
//     m_reads->Read("devices", [](TTestLibrary& library) { return library.Devices(); }, this,
//                   &TTestLibraryWindow::ShowDevices);
//
// and its Show member gets a TLibraryAnswer when the library has answered. A read posted again under the
// same key replaces the one not yet answered (it is not run when it has not started); an empty key
// replaces nothing. Answers come in the order the reads were posted. When the window goes, the reads
// go with it: those not started are not run, no answer reaches it. Qt Core only.

#include "library/librarybackend.h"
#include "library/libraryworker.h"
#include "library/programlibrary.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <type_traits>
#include <utility>
#include <vector>

class QTimer;

template <class T> struct TLibraryAnswer {
    T value{};       // what the query gave; nothing (value-initialised) when the library could not be used
    QString why;     // why the library could not be used or the query failed; empty when it was read
    QString library; // the library's name as messages show it
    bool opened = false; // the library could be used (the query itself may still have failed)
};

class TLibraryReads : public QObject {
    Q_OBJECT
public:
    explicit TLibraryReads(QObject* owner);
    ~TLibraryReads() override;

    // Runs `query(library)` on the program's library, then `show(answer)` here.
    template <class Query, class Show> void Read(const QString& key, Query query, Show show) {
        using Value = std::invoke_result_t<Query&, TTestLibrary&>;
        Run(
            key,
            [query = std::move(query)](TLibraryAccess& access) mutable {
                TLibraryAnswer<Value> answer;
                TTestLibrary* library = access.Library(answer.why);
                if (!library) {
                    answer.library = DisplayLocation(access.Location());
                    return answer;
                }
                answer.opened = true;
                answer.library = library->DisplayName();
                answer.value = query(*library);
                answer.why = library->LastError();
                return answer;
            },
            std::move(show));
    }
    // The same with the answer going to a member of `owner`.
    template <class Query, class Owner, class Answer>
    void Read(const QString& key, Query query, Owner* owner, void (Owner::*show)(Answer)) {
        Read(key, std::move(query), [owner, show](auto&& answer) { (owner->*show)(std::move(answer)); });
    }

    // Runs `job(access)` (for more than one query, or a file of its own beside the library), then
    // `show(result)` here.
    template <class Job, class Show> void Run(const QString& key, Job job, Show show) {
        const TLibraryJobCancel cancel = Begin(key);
        ProgramLibraryWorker().Post(
            ProgramLibraryLocation(), this, std::move(job),
            [this, key, cancel, show = std::move(show)](auto&& result) mutable {
                const QPointer<TLibraryReads> self(this); // an answer may close the window
                End(key, cancel);
                show(std::move(result));
                if (self)
                    self->Settle();
            },
            cancel);
    }

    // True while a read has not been answered.
    bool Waiting() const { return !m_outstanding.empty(); }
    // True from the moment SlowChanged(true) said so until SlowChanged(false).
    bool Slow() const { return m_slow; }

signals:
    // A read has waited longer than a moment (true: say so), or every read is answered (false).
    void SlowChanged(bool slow);

private:
    TLibraryJobCancel Begin(const QString& key);
    void End(const QString& key, const TLibraryJobCancel& cancel);
    // Says that nothing waits any more, once nothing does (an answer may have posted the next read).
    void Settle();
    void Forget(const TLibraryJobCancel& cancel);

    QHash<QString, TLibraryJobCancel> m_latest; // by key
    std::vector<TLibraryJobCancel> m_outstanding;
    QTimer* m_moment;
    bool m_slow = false;
};
