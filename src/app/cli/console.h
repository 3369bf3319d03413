// Where vorsin-cli's printing goes. Everything is printed as UTF-8 through
// std::cout and std::cerr; on a Windows console, which would show those bytes
// in its own code page, whole lines are handed over as UTF-16 instead.
#pragma once

#include <memory>

namespace vorsin::cli {

// While alive, std::cout and std::cerr write to the console as UTF-16 where
// they are a Windows console; redirected, and on other systems, they write
// the UTF-8 bytes unchanged.
class ConsoleOutput {
 public:
  ConsoleOutput();
  ~ConsoleOutput();
  ConsoleOutput(const ConsoleOutput&) = delete;
  ConsoleOutput& operator=(const ConsoleOutput&) = delete;

  struct Sinks;

 private:
  std::unique_ptr<Sinks> sinks_;
};

}  // namespace vorsin::cli
