#include "library/libraryreads.h"

#include <QTimer>
#include <algorithm>

namespace {

// A read answered within this long never shows that it waited: a library on this computer answers in
// milliseconds, and a window that flickers "waiting" at every click says nothing.
constexpr int MomentMs = 200;

} // namespace

TLibraryReads::TLibraryReads(QObject* owner) : QObject(owner), m_moment(new QTimer(this)) {
    m_moment->setSingleShot(true);
    m_moment->setInterval(MomentMs);
    connect(m_moment, &QTimer::timeout, this, [this] {
        m_slow = Waiting();
        if (m_slow)
            emit SlowChanged(true);
    });
}

TLibraryReads::~TLibraryReads() {
    for (const TLibraryJobCancel& cancel : m_outstanding)
        cancel->store(true);
}

TLibraryJobCancel TLibraryReads::Begin(const QString& key) {
    if (!key.isEmpty()) {
        if (const TLibraryJobCancel earlier = m_latest.value(key)) {
            earlier->store(true);
            Forget(earlier);
        }
    }
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    if (!key.isEmpty())
        m_latest.insert(key, cancel);
    m_outstanding.push_back(cancel);
    if (!m_slow && !m_moment->isActive())
        m_moment->start();
    return cancel;
}

void TLibraryReads::End(const QString& key, const TLibraryJobCancel& cancel) {
    if (!key.isEmpty() && m_latest.value(key) == cancel)
        m_latest.remove(key);
    Forget(cancel);
}

void TLibraryReads::Settle() {
    if (Waiting())
        return;
    m_moment->stop();
    if (m_slow) {
        m_slow = false;
        emit SlowChanged(false);
    }
}

void TLibraryReads::Forget(const TLibraryJobCancel& cancel) {
    m_outstanding.erase(std::remove(m_outstanding.begin(), m_outstanding.end(), cancel), m_outstanding.end());
}
