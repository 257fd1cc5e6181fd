#include "support/BackgroundWork.h"

#include "preview/CodeHighlightService.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QThreadPool>
#include <algorithm>

bool TestSupport::backgroundWorkIsOver() {
    processPendingEvents();
    if (CodeHighlightService::shared().jobCount() > 0)
        return false;
    const QList<QThreadPool*> pools = QCoreApplication::instance()->findChildren<QThreadPool*>();
    return std::all_of(pools.begin(), pools.end(),
                       [](const QThreadPool* pool) { return pool->activeThreadCount() == 0; });
}
