#include "core/MarkdownDocument.h"
#include "platform/FreedMemory.h"
#include "preview/PreviewContentView.h"
#include "preview/PreviewView.h"
#include "shell/DocumentController.h"
#include "support/TestSupport.h"

#include <QMainWindow>
#include <QTest>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>
#include <vector>

namespace {

QString table(int rows) {
    QString text = QStringLiteral("| A | B |\n|---|---|\n");
    for (int i = 0; i < rows; ++i)
        text +=
            QStringLiteral("| row %1 | *cell* with `code` and [a link](https://x.y/%1) |\n").arg(i);
    return text;
}

#if !defined(__SANITIZE_ADDRESS__) && defined(__GLIBC__)
// Allocates and touches `count` blocks, then frees all but the last, which
// stays (returned): in the heap, it keeps the others from its top, which
// free() gives back by itself.
void* freedBlocksBelowOne(int count, size_t size) {
    std::vector<void*> blocks;
    for (int i = 0; i < count; ++i) {
        blocks.push_back(std::malloc(size));
        std::memset(blocks.back(), 1, size);
    }
    void* pin = blocks.back();
    blocks.pop_back();
    for (void* p : blocks)
        std::free(p);
    return pin;
}
#endif

} // namespace

class TestFreedMemory : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        TestSupport::resetPreferences();
        FreedMemory::setThreshold(FreedMemory::defaultThreshold);
    }

    // Memory freed in bulk stays resident with the allocator until given
    // back; given back, it is gone, and nothing is given back while little
    // is held.
    void heldMemoryGoesBack() {
#if defined(__SANITIZE_ADDRESS__) || !defined(__GLIBC__)
        QSKIP("needs glibc's own allocator");
#else
        void* pin = freedBlocksBelowOne(2048, 64 * 1024);
        QVERIFY(FreedMemory::heldBytes() >= size_t(100) << 20);
        const int before = FreedMemory::givenBackCount();
        QVERIFY(FreedMemory::giveBackNow());
        QCOMPARE(FreedMemory::givenBackCount(), before + 1);
        QVERIFY(FreedMemory::heldBytes() < size_t(32) << 20);
        QVERIFY(!FreedMemory::giveBackNow());
        QCOMPARE(FreedMemory::givenBackCount(), before + 1);
        std::free(pin);
#endif
    }

    // Asking gives back on the next turn of the event loop, once however
    // often it was asked.
    void askingGivesBackOnceOnTheNextTurn() {
        FreedMemory::setThreshold(0);
        const int before = FreedMemory::givenBackCount();
        FreedMemory::giveBackSoon();
        FreedMemory::giveBackSoon();
        QCOMPARE(FreedMemory::givenBackCount(), before);
        QTRY_COMPARE(FreedMemory::givenBackCount(), before + 1);
        QCoreApplication::processEvents();
        QCOMPARE(FreedMemory::givenBackCount(), before + 1);
    }

    // A re-render that replaced a tree gives back once, however many edits
    // came before its pause.
    void aRerenderGivesBackOnce() {
        const QString text = table(2000);
        PreviewView view;
        view.setMarkdown(text);
        QVERIFY(TestSupport::showExposed(&view, {600, 400}));
        QTRY_VERIFY(view.content()->document()->text == text);
        QCoreApplication::processEvents();

        FreedMemory::setThreshold(0);
        const int before = FreedMemory::givenBackCount();
        QString edited = text;
        for (int key = 0; key < 20; ++key)
            view.setMarkdown(edited.insert(text.size() / 2, u'x'));
        QCOMPARE(FreedMemory::givenBackCount(), before);
        QTRY_VERIFY(view.content()->document()->text == edited);
        QTRY_COMPARE(FreedMemory::givenBackCount(), before + 1);
        QCoreApplication::processEvents();
        QCOMPARE(FreedMemory::givenBackCount(), before + 1);
    }

    // Closing a document window gives back what it held.
    void closingAWindowGivesBack() {
        DocumentController& controller = DocumentController::shared();
        controller.setWindowFactory(
            [](MarkdownDocument&, DocumentController&) { return new QMainWindow; });
        MarkdownDocument* document = controller.newDocument();
        QCoreApplication::processEvents();
        FreedMemory::setThreshold(0);
        const int before = FreedMemory::givenBackCount();
        QVERIFY(controller.close(document));
        QTRY_COMPARE(controller.documentCount(), 0);
        QTRY_COMPARE(FreedMemory::givenBackCount(), before + 1);
    }

    // Large blocks freed after a larger one (texts and trees of a document
    // re-parsed) go back at once, not into the heap. Last: the setting
    // holds for the rest of the process.
    void largeBlocksGoBackWhenFreed() {
#if defined(__SANITIZE_ADDRESS__) || !defined(__GLIBC__)
        QSKIP("needs glibc's own allocator");
#else
        FreedMemory::returnLargeBlocksAtOnce();
        // By the allocator's own rule, this would make every smaller block
        // below come from the heap.
        void* volatile larger = std::malloc(size_t(8) << 20);
        std::free(larger);
        void* pin = freedBlocksBelowOne(64, size_t(2) << 20);
        QVERIFY(FreedMemory::heldBytes() < size_t(32) << 20);
        std::free(pin);
#endif
    }

    // Keys in a long paragraph free its layout and build it anew: taken
    // again within the scopes, the memory needs no fresh pages; after them,
    // large blocks go back at once as before.
    void largeBlocksReusedWhileEditing() {
#if defined(__SANITIZE_ADDRESS__) || !defined(__GLIBC__)
        QSKIP("needs glibc's own allocator");
#else
        FreedMemory::returnLargeBlocksAtOnce();
        constexpr size_t size = size_t(4) << 20;
        const auto faults = [] {
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            return usage.ru_minflt;
        };
        void* block = nullptr;
        {
            const FreedMemory::ReusedLargeBlocks reuse;
            block = std::malloc(size);
            std::memset(block, 1, size);
        }
        const long before = faults();
        for (int key = 0; key < 10; ++key) {
            const FreedMemory::ReusedLargeBlocks reuse;
            std::free(block);
            block = std::malloc(size);
            std::memset(block, 2, size);
        }
        // A fresh block would fault in its 1,024 pages on each key.
        QVERIFY2(faults() - before < 256, qPrintable(QString::number(faults() - before)));
        std::free(block);
        void* pin = freedBlocksBelowOne(64, size_t(2) << 20);
        QVERIFY(FreedMemory::heldBytes() < size_t(32) << 20);
        std::free(pin);
#endif
    }
};

QTEST_MAIN(TestFreedMemory)
#include "tst_freedmemory.moc"
