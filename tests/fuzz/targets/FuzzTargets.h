#pragma once

#include <cstddef>
#include <cstdint>

// The fuzzed entry points, shared by the libFuzzer programs and the corpus
// replay test. Each takes any bytes, checks what must hold for them (a
// failed check aborts) and returns 0.

// Reads the bytes as the binary form of a configuration.
int FuzzBinaryConfig(const std::uint8_t* data, std::size_t size);
// Reads the bytes as an ini file, as a configuration from it, and writes to it.
int FuzzIniFile(const std::uint8_t* data, std::size_t size);
// Loads the bytes from a file into a text model and saves them: same bytes.
int FuzzFileLoad(const std::uint8_t* data, std::size_t size);
// Colours a Java text, edits it and compares the re-colouring with a fresh one.
int FuzzJavaColour(const std::uint8_t* data, std::size_t size);
// The same with the built-in HTML configuration.
int FuzzHtmlColour(const std::uint8_t* data, std::size_t size);
// Splits the bytes as typed command-line arguments and joins them back.
int FuzzArgumentSplit(const std::uint8_t* data, std::size_t size);
// Reads each line as a compiler message or a caret line.
int FuzzCompilerMessage(const std::uint8_t* data, std::size_t size);
// Reads recovery records: raw, framed by the harness, or written by a
// journal and then torn or damaged.
int FuzzRecoveryRecord(const std::uint8_t* data, std::size_t size);
// Stores the values in a settings profile and reads a configuration from it.
int FuzzSettingsValues(const std::uint8_t* data, std::size_t size);
// Reads the bytes as a JDWP stream: cut into packets, each body through
// every reply and event reader, and played to a debug session.
int FuzzJdwpPacket(const std::uint8_t* data, std::size_t size);
// Reads the bytes as what a language server writes: cut into messages,
// each through every result reader, and fed to a connection.
int FuzzLspMessage(const std::uint8_t* data, std::size_t size);
