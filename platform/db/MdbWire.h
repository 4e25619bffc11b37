#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/db/DbVariant.h"

// The messages an Access reader process sends to the program over a pipe:
// a one-byte tag, then the tag's content. Integers travel in the machine's
// own byte order (both ends are the same program).
enum class MdbMessage : std::uint8_t
{
    kNames = 'N', // a list of names: tables, or the fields of a table
    kRow = 'R',   // the values of one record, one per field
    kEnd = 'E',   // everything asked for was sent
    kError = 'X', // the reader failed; a text says why
};

// Buffered writing to a pipe, in the reader process. A write to a pipe the
// program has closed ends the reader process.
class CWireWriter
{
public:
    explicit CWireWriter(int fd) : m_fd(fd) {}
    ~CWireWriter() { Flush(); }
    CWireWriter(const CWireWriter&) = delete;
    CWireWriter& operator=(const CWireWriter&) = delete;

    void Tag(MdbMessage tag) { Byte(static_cast<std::uint8_t>(tag)); }
    void Byte(std::uint8_t b) { Bytes(&b, 1); }
    void U32(std::uint32_t v) { Bytes(&v, sizeof v); }
    void I64(std::int64_t v) { Bytes(&v, sizeof v); }
    void F64(double v) { Bytes(&v, sizeof v); }
    void Text(const std::string& s);
    void Names(const std::vector<std::string>& names);
    void Value(const CDbVariant& value);
    void Flush();

private:
    void Bytes(const void* data, std::size_t size);

    int m_fd;
    std::vector<unsigned char> m_buffer;
};

// Buffered reading from a reader process's pipe, in the program. Every read
// waits at most `stallSeconds` for the next bytes; a reader that stalls
// longer, or whose pipe ends early, is reported by an exception of type
// CWireClosed or CWireStalled.
class CWireReader
{
public:
    struct CWireClosed {};
    struct CWireStalled {};

    CWireReader(int fd, int stallSeconds) : m_fd(fd), m_stallMs(stallSeconds * 1000) {}

    MdbMessage Tag();
    std::uint8_t Byte();
    std::uint32_t U32();
    std::int64_t I64();
    double F64();
    std::string Text();
    std::vector<std::string> Names();
    CDbVariant Value();

private:
    void Bytes(void* data, std::size_t size);
    void Fill();

    int m_fd;
    int m_stallMs;
    std::vector<unsigned char> m_buffer = std::vector<unsigned char>(1 << 16);
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
};
