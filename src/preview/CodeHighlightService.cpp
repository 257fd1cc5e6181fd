#include "preview/CodeHighlightService.h"

#include <QCoreApplication>

CodeHighlightService& CodeHighlightService::shared() {
    static CodeHighlightService* const instance = [] {
        static CodeHighlightService service;
        // The thread and its engines go when the event loop ends, or at the
        // latest before the application object does.
        if (QCoreApplication* app = QCoreApplication::instance())
            connect(app, &QCoreApplication::aboutToQuit, &service, &CodeHighlightService::shutDown);
        qAddPostRoutine([] { shared().shutDown(); });
        return &service;
    }();
    return *instance;
}

CodeHighlightService::CodeHighlightService() : m_results(resultBytes) {}

CodeHighlightService::~CodeHighlightService() {
    shutDown();
}

void CodeHighlightService::shutDown() {
    m_shutDown = true;
    if (m_worker)
        m_worker->stop();
    m_pending.clear();
}

std::shared_ptr<const HighlightedCode>
CodeHighlightService::cached(const QString& code, const QString& language, const QString& theme) {
    const auto* hit = m_results.object(Key{code, language, theme});
    return hit ? *hit : nullptr;
}

void CodeHighlightService::request(const QString& code, const QString& language,
                                   const QString& theme, QObject* receiver, Done done) {
    if (m_shutDown)
        return;
    Key key{code, language, theme};
    auto pending = m_pending.find(key);
    if (pending == m_pending.end()) {
        if (!m_worker) {
            m_worker = std::make_unique<CodeHighlightWorker>(
                [this](const CodeHighlightWorker::Job& job,
                       std::shared_ptr<const HighlightedCode> result) {
                    QMetaObject::invokeMethod(
                        this, [this, job, result] { finished(job, result); }, Qt::QueuedConnection);
                });
            m_worker->start();
        }
        const quint64 job = ++m_lastJob;
        m_worker->add({job, code, language, theme});
        pending = m_pending.insert(key, {job, {}});
    }
    pending->waiters.push_back({receiver, std::move(done)});
    connect(receiver, &QObject::destroyed, this, &CodeHighlightService::sweepSoon,
            Qt::UniqueConnection);
}

void CodeHighlightService::finished(const CodeHighlightWorker::Job& job,
                                    std::shared_ptr<const HighlightedCode> result) {
    Key key{job.code, job.language, job.theme};
    // The cost is what an entry holds: its code, and its runs, each with a
    // format of its own.
    constexpr qsizetype bytesPerRun = qsizetype(sizeof(QTextLayout::FormatRange)) + 64;
    const qsizetype bytes = qsizetype(sizeof(QChar)) * job.code.size() +
                            result->styled.formats.size() * bytesPerRun + 256;
    m_results.insert(key, new std::shared_ptr<const HighlightedCode>(result),
                     int(qMin<qsizetype>(bytes, 1 << 30)));
    // Also when the job was dropped: a job asked for again since then is
    // answered by this one.
    const auto pending = m_pending.find(key);
    if (pending == m_pending.end())
        return;
    const Pending answered = std::move(*pending);
    m_pending.erase(pending);
    if (answered.job != job.id)
        m_worker->cancel(answered.job);
    for (const Waiter& waiter : answered.waiters) {
        if (waiter.receiver)
            waiter.done(result);
    }
}

void CodeHighlightService::sweepSoon() {
    if (m_sweepPosted)
        return;
    m_sweepPosted = true;
    QMetaObject::invokeMethod(this, &CodeHighlightService::sweep, Qt::QueuedConnection);
}

void CodeHighlightService::sweep() {
    m_sweepPosted = false;
    for (auto pending = m_pending.begin(); pending != m_pending.end();) {
        auto& waiters = pending->waiters;
        waiters.erase(std::remove_if(waiters.begin(), waiters.end(),
                                     [](const Waiter& waiter) { return !waiter.receiver; }),
                      waiters.end());
        if (waiters.empty()) {
            m_worker->cancel(pending->job);
            pending = m_pending.erase(pending);
        } else {
            ++pending;
        }
    }
}

int CodeHighlightService::jobCount() const {
    return m_worker ? m_worker->jobCount() : 0;
}

bool CodeHighlightService::isColouring() const {
    return m_worker && m_worker->isStepping();
}

int CodeHighlightService::interruptedSteps() const {
    return m_worker ? m_worker->interruptedSteps() : 0;
}
