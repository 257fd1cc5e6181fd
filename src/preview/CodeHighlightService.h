#pragma once

#include "preview/CodeHighlightWorker.h"

#include <QCache>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

// Fenced code coloured off the UI thread, for the whole application: a view
// asks for the colours of its code, shows it plain meanwhile and takes them
// when they come. Results are cached by theme, language and code, so a view
// made again of unchanged code is coloured at once. Views of the same code
// share one job; a job whose views are all gone is dropped on the next
// event-loop turn (not at once: a view rebuilt in the same turn asks again).
// The colouring thread starts with the first job and stops when the
// application object goes.
class CodeHighlightService : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(const std::shared_ptr<const HighlightedCode>&)>;

    static CodeHighlightService& shared();
    ~CodeHighlightService() override;

    // The memory the cached results may hold, in bytes.
    static constexpr int resultBytes = 8 * 1024 * 1024;

    // The colours of the code if they are cached; null otherwise. theme:
    // "atom-one-light" or "atom-one-dark"; an empty language asks for the
    // detected one.
    std::shared_ptr<const HighlightedCode> cached(const QString& code, const QString& language,
                                                  const QString& theme);
    // Colours the code on the colouring thread and hands the result to
    // `done`, on this thread, unless `receiver` is gone by then.
    void request(const QString& code, const QString& language, const QString& theme,
                 QObject* receiver, Done done);
    // Jobs waiting or running on the colouring thread.
    int jobCount() const;
    // Whether the colouring thread works on a job now.
    bool isColouring() const;
    // Jobs' steps stopped half-way, by a view going or by shutDown().
    int interruptedSteps() const;
    // Stops the colouring thread and the job it runs; later requests are
    // never answered.
    void shutDown();

private:
    struct Key {
        QString code;
        QString language;
        QString theme;
        bool operator==(const Key&) const = default;
        friend size_t qHash(const Key& key, size_t seed = 0) {
            return qHashMulti(seed, key.code, key.language, key.theme);
        }
    };
    struct Waiter {
        QPointer<QObject> receiver;
        Done done;
    };
    struct Pending {
        quint64 job = 0;
        std::vector<Waiter> waiters;
    };

    CodeHighlightService();
    void finished(const CodeHighlightWorker::Job& job,
                  std::shared_ptr<const HighlightedCode> result);
    void sweepSoon();
    // Drops the jobs no view waits for any more.
    void sweep();

    std::unique_ptr<CodeHighlightWorker> m_worker;
    QCache<Key, std::shared_ptr<const HighlightedCode>> m_results;
    QHash<Key, Pending> m_pending;
    quint64 m_lastJob = 0;
    bool m_sweepPosted = false;
    bool m_shutDown = false;
};
