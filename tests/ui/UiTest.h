#pragma once

#include <QObject>
#include <functional>
#include <memory>

// Every test writes its texts as u"..."_s.
using namespace Qt::StringLiterals;

// The test classes of ui_tests register themselves; the one main runs them all.
using UiTestFactory = std::function<std::unique_ptr<QObject>()>;
bool registerUiTest(UiTestFactory factory);

#define UI_TEST(Class)                                                                                       \
    static const bool registered##Class = registerUiTest([] { return std::make_unique<Class>(); })
