#pragma once

#include <string>

// Whole files as bytes, for the files a test prepares and the files the program leaves behind.

// The bytes of the file at `path`; empty when it cannot be read.
std::string ReadBytes(const std::string& path);
// Replaces the file at `path` (or creates it) with `bytes`; std::runtime_error when it cannot.
void WriteBytes(const std::string& path, const std::string& bytes);
