#include "core/MarkdownParseCache.h"

#include "core/MarkdownParserSections.h"
#include "platform/FreedMemory.h"

#include <QCoreApplication>
#include <QPointer>
#include <QPromise>
#include <QThreadPool>
#include <atomic>
#include <utility>

namespace {

// The one thread the previews parse on, one parse after another. It ends
// after a while without work, and its parser memory with it.
QThreadPool& parsingThread() {
    static QPointer<QThreadPool> pool;
    if (!pool) {
        pool = new QThreadPool(QCoreApplication::instance());
        pool->setMaxThreadCount(1);
    }
    return *pool;
}

// Parses handed to the parsing thread and not yet done. Parses on two
// threads wait for each other to finish, so a text is parsed here only
// while this is 0.
std::atomic<int> parsesThere{0};

} // namespace

MarkdownParseCache::MarkdownParseCache(QObject* parent)
    // The first cache made parses the empty text here, which registers the
    // parser's extensions on this thread before any parse on the parsing thread.
    : QObject(parent), m_document(MarkdownParser::parse(QString())) {
    MarkdownParser::prepareSectionThreads();
    m_debounce.setSingleShot(true);
    m_debounce.setInterval(debounceMs);
    connect(&m_debounce, &QTimer::timeout, this,
            [this] { start(std::exchange(m_pendingText, {})); });
    connect(&m_running, &QFutureWatcher<Result>::finished, this, &MarkdownParseCache::finished);
}

MarkdownParseCache::~MarkdownParseCache() {
    // A parse still running stops at its next step; nothing waits for it.
    m_running.future().cancel();
}

void MarkdownParseCache::discard(std::shared_ptr<const ParsedMarkdown> parsed) {
    // A small tree goes as fast here as a hand-over would.
    if (!parsed || parsed->text.size() <= parsedAtOnce) {
        parsed.reset();
        FreedMemory::giveBackSoon();
        return;
    }
    parsingThread().start([parsed = std::move(parsed)]() mutable {
        parsed.reset();
        // What the tree held goes back once it is gone.
        QMetaObject::invokeMethod(qApp, &FreedMemory::giveBackSoon, Qt::QueuedConnection);
    });
}

void MarkdownParseCache::scheduleParse(const TextSnapshot& text) {
    m_pendingText = text;
    m_debounce.start();
}

void MarkdownParseCache::parseSoon(const TextSnapshot& text) {
    m_debounce.stop();
    m_pendingText = {};
    start(text);
}

void MarkdownParseCache::parseNow(const TextSnapshot& text) {
    if (text.length() > parsedAtOnce || parsesThere > 0) {
        parseSoon(text);
        return;
    }
    m_debounce.stop();
    m_pendingText = {};
    m_running.future().cancel();
    ++m_job;
    m_inFlight = false;
    m_latestText = text;
    const TextDifference difference = TextSnapshot::difference(m_documentText, text);
    m_document = MarkdownParser::reparse(*m_document, text.toString(), &difference);
    m_documentText = text;
    m_followup.reset();
    Q_EMIT changed();
}

void MarkdownParseCache::start(const TextSnapshot& text) {
    // A parse still running is of an older text.
    m_running.future().cancel();
    m_inFlight = true;
    m_latestText = text;
    auto promise = std::make_shared<QPromise<Result>>();
    promise->start();
    const QFuture<Result> future = promise->future();
    ++parsesThere;
    parsingThread().start([promise, before = m_document, beforeText = m_documentText, text,
                           followup = m_followupFunction, job = ++m_job] {
        if (!promise->isCanceled()) {
            const TextDifference difference = TextSnapshot::difference(beforeText, text);
            std::shared_ptr<const ParsedMarkdown> parsed =
                MarkdownParser::reparse(*before, text.toString(), &difference);
            if (!promise->isCanceled()) {
                std::any extra = followup ? followup(*before, *parsed) : std::any();
                promise->addResult(Result{job, std::move(parsed), text, std::move(extra)});
            }
        }
        --parsesThere;
        promise->finish();
    });
    m_running.setFuture(future);
}

void MarkdownParseCache::finished() {
    const QFuture<Result> future = m_running.future();
    if (!m_inFlight || future.isCanceled() || future.resultCount() == 0)
        return;
    Result result = future.result();
    if (result.job != m_job)
        return;
    m_inFlight = false;
    m_document = std::move(result.parsed);
    m_documentText = std::move(result.text);
    m_followup = std::move(result.followup);
    Q_EMIT changed();
}
