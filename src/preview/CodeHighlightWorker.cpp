#include "preview/CodeHighlightWorker.h"

#include <algorithm>

CodeHighlightWorker::CodeHighlightWorker(Finished finished) : m_finished(std::move(finished)) {
    setObjectName(QStringLiteral("code colouring"));
}

CodeHighlightWorker::~CodeHighlightWorker() {
    stop();
}

void CodeHighlightWorker::add(Job job) {
    QMutexLocker lock(&m_mutex);
    if (m_stopping)
        return;
    m_queue.push_back(std::move(job));
    m_wake.wakeOne();
}

void CodeHighlightWorker::cancel(quint64 id) {
    QMutexLocker lock(&m_mutex);
    const auto queued =
        std::find_if(m_queue.begin(), m_queue.end(), [&](const Job& job) { return job.id == id; });
    if (queued != m_queue.end()) {
        m_queue.erase(queued);
        return;
    }
    if (m_running != id)
        return;
    m_runningWanted = false;
    if (m_stepping && m_stepMayStop)
        m_stepping->interrupt();
}

void CodeHighlightWorker::stop() {
    {
        QMutexLocker lock(&m_mutex);
        m_stopping = true;
        m_queue.clear();
        m_runningWanted = false;
        if (m_stepping)
            m_stepping->interrupt();
        m_wake.wakeAll();
    }
    wait();
}

int CodeHighlightWorker::jobCount() const {
    QMutexLocker lock(&m_mutex);
    return int(m_queue.size()) + (m_running ? 1 : 0);
}

bool CodeHighlightWorker::isStepping() const {
    QMutexLocker lock(&m_mutex);
    return m_stepping != nullptr;
}

int CodeHighlightWorker::interruptedSteps() const {
    QMutexLocker lock(&m_mutex);
    return m_interruptedSteps;
}

bool CodeHighlightWorker::step(CodeHighlighter& highlighter, bool mayStop,
                               const std::function<void()>& work) {
    {
        QMutexLocker lock(&m_mutex);
        if (!m_runningWanted)
            return false;
        m_stepping = &highlighter;
        m_stepMayStop = mayStop;
    }
    work();
    {
        QMutexLocker lock(&m_mutex);
        m_stepping = nullptr;
    }
    if (!highlighter.endInterruption())
        return true;
    QMutexLocker lock(&m_mutex);
    ++m_interruptedSteps;
    return false;
}

void CodeHighlightWorker::run() {
    // Made here: its engines belong to this thread.
    CodeHighlighter highlighter;
    for (;;) {
        Job job;
        {
            QMutexLocker lock(&m_mutex);
            m_running = 0;
            while (m_queue.empty() && !m_stopping)
                m_wake.wait(&m_mutex);
            if (m_stopping)
                break;
            job = std::move(m_queue.front());
            m_queue.pop_front();
            m_running = job.id;
            m_runningWanted = true;
        }
        QString language = job.language;
        // The engines load before a step, where nothing stops them: a load
        // stopped half-way would leave an engine that looks loaded.
        if (language.isEmpty()) {
            highlighter.readyToDetect();
            if (!step(highlighter, highlighter.detectionIsWarm(),
                      [&] { language = highlighter.detectLanguage(job.code); }))
                continue;
        }
        highlighter.readyToColour();
        std::shared_ptr<const HighlightedCode> result;
        if (step(highlighter, true, [&] {
                result = std::make_shared<const HighlightedCode>(
                    highlighter.colour(job.code, language, job.theme));
            }))
            m_finished(job, std::move(result));
    }
}
