#pragma once

#include "support/LeftoverWork.h"

#include <QMetaMethod>
#include <QTest>
#include <optional>

// The test object every test executable runs: the test class itself, but
// failing each test function that leaves work running once its cleanup()
// is done. Its meta-object is the class's with no direct call function, so
// QTest calls each slot through qt_metacall, where the check sits.
template <class Test> class CheckedTest final : public Test {
public:
    using Test::Test;

    const QMetaObject* metaObject() const override { return &checkedMetaObject(); }

    int qt_metacall(QMetaObject::Call call, int id, void** args) override {
        if (call != QMetaObject::InvokeMetaMethod)
            return Test::qt_metacall(call, id, args);
        const Step step = stepOf(id);
        if (step == Step::Init || (step == Step::Function && !has("init()")))
            m_before = LeftoverWork::snapshot();
        const int result = Test::qt_metacall(call, id, args);
        if ((step == Step::Cleanup || (step == Step::Function && !has("cleanup()"))) && m_before) {
            const QStringList left = LeftoverWork::since(*std::exchange(m_before, std::nullopt));
            if (!left.isEmpty())
                QTest::qFail(qPrintable(QStringLiteral("left running after the test: ") +
                                        left.join(QStringLiteral("; "))),
                             __FILE__, __LINE__);
        }
        return result;
    }

private:
    enum class Step { Other, Init, Function, Cleanup };

    static const QMetaObject& checkedMetaObject() {
        static const QMetaObject checked = [] {
            QMetaObject copy = Test::staticMetaObject;
            copy.d.static_metacall = nullptr;
            return copy;
        }();
        return checked;
    }

    static bool has(const char* signature) {
        return checkedMetaObject().indexOfMethod(signature) >= 0;
    }

    static Step stepOf(int id) {
        const QMetaMethod method = checkedMetaObject().method(id);
        if (method.parameterCount() != 0 || !QTest::currentTestFunction())
            return Step::Other;
        const QByteArray name = method.name();
        if (name == "init")
            return Step::Init;
        if (name == "cleanup")
            return Step::Cleanup;
        if (name == QTest::currentTestFunction() && name != "initTestCase" &&
            name != "cleanupTestCase")
            return Step::Function;
        return Step::Other;
    }

    std::optional<LeftoverWork::Snapshot> m_before;
};
