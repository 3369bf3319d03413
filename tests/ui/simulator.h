// pkd-sim on a pseudo-terminal for window tests, and choosing its port.
#pragma once

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

#ifdef _WIN32
#include <windows.h>
#endif

#include "ui_support.h"

namespace vorsin::test {

#ifndef _WIN32
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
#else
// Under wine: the Linux pkd-sim (wine starts Linux programs too) behind a COM
// port of the wine prefix, $WINEPREFIX/dosdevices/comN linked to its
// terminal. A Linux program's output does not reach a Windows pipe, so a shell
// in front writes the process number and the terminal into a file.
class Simulator {
 public:
  explicit Simulator(const QStringList& args = {}) {
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    const QString sim = qEnvironmentVariable("VORSIN_SIM", QStringLiteral(VORSIN_HOST_SIM));
    if (prefix.isEmpty()) qFatal("window tests with pkd-sim run under wine, with WINEPREFIX set");
    static int started = 0;
    const int com = 100 + static_cast<int>(::GetCurrentProcessId() % 50) * 10 + started++ % 10;
    out_ = QStringLiteral("/tmp/vorsin-wine-sim-%1.out").arg(com);
    QFile::remove(QStringLiteral("Z:") + out_);
    QStringList words{sim, QStringLiteral("--link"), prefix + QStringLiteral("/dosdevices/com%1").arg(com)};
    words += args;
    QString command = QStringLiteral("exec >'%1.part' 2>&1; echo $$; mv '%1.part' '%1'; exec").arg(out_);
    for (const QString& w : words) command += QStringLiteral(" '") + w + u'\'';
    if (!QProcess::startDetached(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command}))
      qFatal("pkd-sim did not start");
    QFile file(QStringLiteral("Z:") + out_);
    QStringList lines;
    for (int i = 0; i < 1000 && lines.size() < 2; ++i) {
      QTest::qWait(10);
      if (file.open(QIODevice::ReadOnly)) {
        lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
        file.close();
      }
    }
    if (lines.size() < 2) qFatal("pkd-sim gave no terminal: %s", qPrintable(lines.join(u' ')));
    pid_ = lines[0].toLongLong();
    path_ = QStringLiteral("COM%1").arg(com);
  }
  ~Simulator() { kill(); }
  const QString& path() const { return path_; }
  void kill() {
    if (pid_ <= 0) return;
    QProcess::execute(QStringLiteral("/bin/kill"), {QString::number(pid_)});
    // It is gone when its link is.
    for (int i = 0; i < 300 && QFile::exists(QStringLiteral("Z:") + out_) && linkLeft(); ++i) QTest::qWait(10);
    QFile::remove(QStringLiteral("Z:") + out_);
    pid_ = 0;
  }

 private:
  bool linkLeft() const { return QFile::exists(QStringLiteral("\\\\.\\") + path_); }
  QString out_;
  QString path_;
  qint64 pid_ = 0;
};
#endif

inline void UseSimulatorPort(TestWindow& w, const Simulator& sim) {
  auto* ports = w.find<QComboBox>("ComboBox22");
  ports->setCurrentIndex(-1);
  ports->setEditText(sim.path());
}

}  // namespace vorsin::test
