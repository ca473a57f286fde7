#pragma once

#include <cstddef>
#include <cstdint>

// The fuzzed entry points of the language configurations, shared by the
// libFuzzer programs and the corpus replay test. Each returns 0.

// Reads the bytes as the binary form of a configuration.
int FuzzBinaryConfig(const std::uint8_t* data, std::size_t size);
// Reads the bytes as an ini file, as a configuration from it, and writes to it.
int FuzzIniFile(const std::uint8_t* data, std::size_t size);
// Loads the bytes from a file into a text model and saves them: same bytes.
int FuzzFileLoad(const std::uint8_t* data, std::size_t size);
// Colours a Java text, edits it and compares the re-colouring with a fresh one.
int FuzzJavaColour(const std::uint8_t* data, std::size_t size);
