// Serial lines for tests and benchmarks that sit in front of a real port: one
// that passes everything on, and one that goes dead after a number of requests
// of one command, as when the cable is pulled halfway through an operation.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "link/serial_port.h"

namespace vorsin::testing {

// A line between the program and a real port that passes everything on;
// the lines below change only what they are about.
class PassingLine : public SerialPort {
 public:
  explicit PassingLine(std::unique_ptr<SerialPort> inner) : inner_(std::move(inner)) {}
  bool Open(const std::string& name) override { return inner_->Open(name); }
  bool IsOpen() const override { return inner_->IsOpen(); }
  bool ReadSettings() override { return inner_->ReadSettings(); }
  bool ApplySettings(int baud) override { return inner_->ApplySettings(baud); }
  int Baud() const override { return inner_->Baud(); }
  void Purge() override { inner_->Purge(); }
  void SetTimeouts(const SerialTimeouts& t) override { inner_->SetTimeouts(t); }
  size_t Read(uint8_t* dest, size_t k) override { return inner_->Read(dest, k); }
  size_t Write(const uint8_t* data, size_t n) override { return inner_->Write(data, n); }
  bool Cts() override { return inner_->Cts(); }
  void Close() override { inner_->Close(); }

 protected:
  std::unique_ptr<SerialPort> inner_;
};

// Everything else is passed to the real port.
class CutLine final : public PassingLine {
 public:
  // The first `passing` requests with this command byte get through; from the
  // next one on nothing is sent.
  CutLine(std::unique_ptr<SerialPort> inner, uint8_t command, int passing)
      : PassingLine(std::move(inner)), command_(command), left_(passing) {}
  size_t Write(const uint8_t* data, size_t n) override {
    if (n > 3 && data[3] == command_ && left_-- <= 0) cut_ = true;
    return cut_ ? n : inner_->Write(data, n);
  }

 private:
  uint8_t command_;
  int left_;
  bool cut_ = false;
};

}  // namespace vorsin::testing
