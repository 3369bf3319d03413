// Runs every registered window test class; exits non-zero when any fails.
#include <QFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "registry.h"
#include "ui/application.h"

namespace vorsin::test {
std::vector<TestFactory>& TestClasses() {
  static std::vector<TestFactory> classes;
  return classes;
}
}  // namespace vorsin::test

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  vorsin::ui::Application app(argc, argv);
  // What the window remembers for the user goes to a folder of this run, never the real user's.
  const QTemporaryDir userSettings;
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, userSettings.path());
  // VORSIN_UI_ONLY=ClassA,ClassB runs just those classes (while working on a page).
  const QStringList only = qEnvironmentVariable("VORSIN_UI_ONLY").split(u',', Qt::SkipEmptyParts);
  int failedClasses = 0;
  for (const auto& make : vorsin::test::TestClasses()) {
    auto test = make();
    if (!only.isEmpty() && !only.contains(QString::fromLatin1(test->metaObject()->className()))) continue;
#ifdef _WIN32
    // Under wine QtTest's own lines never reach the console: each class
    // writes them to a file, shown afterwards.
    const QString log = userSettings.filePath(QStringLiteral("test-log.txt"));
    QStringList words = QCoreApplication::arguments();
    words << QStringLiteral("-o") << log + QStringLiteral(",txt");
    if (QTest::qExec(test.get(), words) != 0) ++failedClasses;
    QFile lines(log);
    if (lines.open(QIODevice::ReadOnly)) std::fwrite(lines.readAll().constData(), 1, lines.size(), stdout);
    std::fflush(stdout);
#else
    if (QTest::qExec(test.get(), argc, argv) != 0) ++failedClasses;
#endif
  }
  std::printf("%zu test classes, %d failed\n", vorsin::test::TestClasses().size(), failedClasses);
  return failedClasses == 0 ? 0 : 1;
}
