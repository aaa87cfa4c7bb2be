// A fresh temporary directory for files the program tests read; it goes,
// with everything in it, when the object goes.
#pragma once
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

struct TempDir {
  std::string Path;
  TempDir() {
    char name[] = "/tmp/velkar-test-XXXXXX";
    Path = mkdtemp(name);
  }
  ~TempDir() { std::filesystem::remove_all(Path); }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  // Writes the file and returns its path.
  std::string Write(const std::string& name, const std::string& content) const {
    std::string file = Path + "/" + name;
    std::ofstream(file, std::ios::binary) << content;
    return file;
  }
};
