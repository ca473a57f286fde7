#pragma once

#include <string>

class VxEdit;

// What several fuzz targets share.

// One scratch folder per process (in memory where the system has
// /dev/shm, so that synced writes cost little), removed at exit.
const std::string& ScratchFolder();
// The bytes of a file, empty when it cannot be read.
std::string ReadBytes(const std::string& path);
// Writes the bytes as the whole file.
void WriteBytes(const std::string& path, const std::string& bytes);
// The whole text of a model.
std::string AllText(VxEdit& model);
