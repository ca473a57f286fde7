#pragma once

#include <cstddef>

// Where the text store writes its bytes (a file being saved, a string in a
// test). Write returns false when the bytes could not be written.
class VxEditWriteSink {
public:
    virtual ~VxEditWriteSink() = default;
    virtual bool Write(const char* bytes, std::size_t length) = 0;
};
