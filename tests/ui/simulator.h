// pkd-sim on a pseudo-terminal for window tests, and choosing its port.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

#include "ui_support.h"

namespace vorsin::test {

class Simulator {
 public:
  explicit Simulator(const QStringList& args = {}) {
    process_.start(VORSIN_BIN_DIR "/pkd-sim", args);
    if (!process_.waitForStarted(5000) || !process_.waitForReadyRead(5000)) qFatal("pkd-sim did not start");
    path_ = QString::fromUtf8(process_.readLine()).trimmed();
  }
  ~Simulator() {
    process_.terminate();
    if (!process_.waitForFinished(3000)) process_.kill();
  }
  const QString& path() const { return path_; }
  void kill() { process_.kill(); }

 private:
  QProcess process_;
  QString path_;
};

inline void UseSimulatorPort(TestWindow& w, const Simulator& sim) {
  auto* ports = w.find<QComboBox>("ComboBox22");
  ports->setCurrentIndex(-1);
  ports->setEditText(sim.path());
}

}  // namespace vorsin::test
