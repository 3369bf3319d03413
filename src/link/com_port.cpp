#include "link/com_port.h"

#include "model/cp1251.h"

namespace vorsin {
namespace {

// Limits of our own port and of one borrowed from the terminal, whose modem
// link may be slow to answer.
constexpr int kReadInterval = 100;
constexpr int kReadTotal = 100;
constexpr int kLentReadTotal = 2500;

void EnablePages(ComPort& port, bool enabled) {
  if (port.enablePages) port.enablePages(enabled);
}

}  // namespace

int ByteWireMs(int baud) {
  if (baud <= 0) return 1;
  const int ms = (10 * 1000 + baud - 1) / baud;
  return ms < 1 ? 1 : ms;
}

int WireMs(size_t bytes, int baud) {
  if (baud <= 0) return 0;
  const long long bits = 10LL * 1000 * static_cast<long long>(bytes);
  return static_cast<int>((bits + baud - 1) / baud);
}

void SetComTimeouts(ComPort& port, int readInterval, int readTotalConstant, int writeMultiplier,
                    int writeConstant) {
  if (!port.handle) return;
  // A fixed 1 ms per byte cannot carry a 200-byte reply below 9600 baud, so
  // the per-byte allowance follows the line speed (2 ms at 9600, 1 ms from
  // 19200 up).
  // Writes get the same, or a slow line would cut frames short.
  const int perByte = ByteWireMs(port.handle->Baud());
  SerialTimeouts t;
  t.readInterval = readInterval;
  t.readTotalConstant = readTotalConstant;
  t.readTotalMultiplier = perByte;
  t.writeMultiplier = writeMultiplier > 0 && writeMultiplier < perByte ? perByte : writeMultiplier;
  t.writeConstant = writeConstant;
  port.timeouts = t;
  port.handle->SetTimeouts(t);
}

int OpenComPort(ComPort& port, Messenger& messenger) {
  if (port.TerminalOn && port.handle) {
    {
      // Wait for the reader's current read to finish; it skips the port from now on.
      std::lock_guard<std::mutex> lock(port.readerLock);
      port.PortLent = true;
    }
    SetComTimeouts(port, kReadInterval, kLentReadTotal, 1, 1);
    EnablePages(port, false);
    return kPortOpened;
  }
  CloseComPort(port);

  if (port.portName.empty()) {
    messenger.Error(Cp("Не указан COM порт: выберите порт из списка или введите путь к устройству."));
    return kPortNotFound;
  }
  auto handle = port.makePort ? port.makePort() : MakeSerialPort();
  if (!handle || !handle->Open(port.portName)) {
    messenger.Error(Cp("Не удаётся обнаружить ") + port.portName +
                    Cp("\nВозможно ресурс используется другой программой."));
    return kPortNotFound;
  }
  if (!handle->ReadSettings()) {
    messenger.Error(Cp("Ошибка в конфигурирование COM - порта!"));
    handle->Close();
    return kPortSettingsUnread;
  }
  const int baud = port.LoaderShown ? kLoaderSpeed : port.speed;
  if (!handle->ApplySettings(baud)) {
    messenger.Error(Cp("Ошибка в конфигурирование COM - порта!"));
    handle->Close();
    return kPortSettingsUnset;
  }
  handle->Purge();
  port.handle = std::move(handle);
  SetComTimeouts(port, kReadInterval, kReadTotal, 1, 1);
  EnablePages(port, false);
  return kPortOpened;
}

void CloseComPort(ComPort& port) {
  EnablePages(port, true);
  if (port.TerminalOn && port.handle) {
    // The terminal's limits first, then let its reader back in. Under the
    // reader's lock, so a close without a matching open cannot change the
    // limits under a read in flight.
    std::lock_guard<std::mutex> lock(port.readerLock);
    SetComTimeouts(port, 0, 0, 0, 0);
    port.PortLent = false;
    return;
  }
  if (port.handle) {
    port.handle->Close();
    port.handle.reset();
  }
}

}  // namespace vorsin
