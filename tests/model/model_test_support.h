// A vocabulary file written by the test into its own temp directory.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "model/configuration.h"
#include "model/cp1251.h"
#include "model/vocabulary.h"

namespace vorsin::testing {

class TempVocabulary : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("vorsin_model_" + std::to_string(::getpid()) + "_" + info->test_suite_name() + "_" + info->name());
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "RorEdad.ini").string();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  // Writes the file from UTF-8 text, as the installer's Windows-1251 file.
  void Put(const std::string& utf8) { std::ofstream(path_, std::ios::binary) << Cp(utf8); }
  std::string Contents() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path dir_;
  std::string path_;
};

inline std::string U(const std::string& cp1251) { return ToUtf8(cp1251); }

}  // namespace vorsin::testing
