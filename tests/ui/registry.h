// Test classes register here; main runs each with QTest::qExec.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace vorsin::test {

using TestFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<TestFactory>& TestClasses();
inline int RegisterTest(TestFactory factory) {
  TestClasses().push_back(std::move(factory));
  return 0;
}

}  // namespace vorsin::test

#define VORSIN_UI_TEST(Class) \
  static const int registered_##Class = vorsin::test::RegisterTest([] { return std::make_unique<Class>(); });
