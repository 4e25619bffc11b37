#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

// Raised when an archive cannot be read or written: the file ended early,
// a count does not fit in what is left of it, or a write failed.
class CArchiveException : public std::runtime_error
{
public:
    enum Cause { endOfFile, badCount, badValue, writeFault, readFault };
    CArchiveException(Cause cause, const std::string& what) : std::runtime_error(what), m_cause(cause) {}
    Cause GetCause() const { return m_cause; }

private:
    Cause m_cause;
};

// Where a storing archive sends its bytes.
class CByteSink
{
public:
    virtual ~CByteSink() = default;
    virtual void Write(const std::uint8_t* data, std::size_t size) = 0; // throws on failure
};

// Where a loading archive takes its bytes from; its size is known up front.
class CByteSource
{
public:
    virtual ~CByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Reads up to size bytes; returns the number read (0 only at the end).
    virtual std::size_t Read(std::uint8_t* data, std::size_t size) = 0; // throws on failure
};

class CMemorySink : public CByteSink
{
public:
    explicit CMemorySink(std::vector<std::uint8_t>& out) : m_out(out) {}
    void Write(const std::uint8_t* data, std::size_t size) override { m_out.insert(m_out.end(), data, data + size); }

private:
    std::vector<std::uint8_t>& m_out;
};

class CMemorySource : public CByteSource
{
public:
    CMemorySource(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    explicit CMemorySource(const std::vector<std::uint8_t>& bytes) : CMemorySource(bytes.data(), bytes.size()) {}
    std::uint64_t Size() const override { return m_size; }
    std::size_t Read(std::uint8_t* data, std::size_t size) override;

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// A stdio file opened by the caller. The sink reports write errors; the
// source takes its size from the file when constructed.
class CStdioSink : public CByteSink
{
public:
    explicit CStdioSink(std::FILE* file) : m_file(file) {}
    void Write(const std::uint8_t* data, std::size_t size) override;

private:
    std::FILE* m_file;
};

class CStdioSource : public CByteSource
{
public:
    explicit CStdioSource(std::FILE* file);
    std::uint64_t Size() const override { return m_size; }
    std::size_t Read(std::uint8_t* data, std::size_t size) override;

private:
    std::FILE* m_file;
    std::uint64_t m_size = 0;
};

// Binary archive of little-endian 32-bit integers, doubles and
// length-prefixed single-byte strings, written or read in one direction.
// Loading keeps track of the bytes left so that every count can be checked
// before anything is allocated for it.
class CArchive
{
public:
    enum Mode { store, load };

    CArchive(CByteSink& sink);     // storing
    CArchive(CByteSource& source); // loading
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return m_mode == store; }

    CArchive& operator<<(std::int32_t v);
    CArchive& operator<<(double v);
    CArchive& operator<<(const std::string& s) { WriteString(s); return *this; }
    CArchive& operator>>(std::int32_t& v);
    CArchive& operator>>(double& v);
    CArchive& operator>>(std::string& s) { s = ReadString(); return *this; }

    void WriteString(const std::string& bytes);
    // Reads any of the length-prefixed forms; a string of 16-bit characters
    // comes back as UTF-8.
    std::string ReadString();

    void WriteBytes(const void* data, std::size_t size);
    void ReadBytes(void* data, std::size_t size);
    void WriteDoubles(const double* values, std::size_t count);
    void ReadDoubles(double* values, std::size_t count);

    // Bytes not yet read (loading).
    std::uint64_t BytesLeft() const { return m_left; }
    // Refuses a negative count, or one whose elements cannot fit in the
    // bytes left. what names the item in the message.
    void CheckCount(std::int32_t count, std::size_t elementBytes, const char* what) const;

    // Sends buffered bytes to the sink (storing); the destructor does not, so
    // a storing caller must Flush to know that every byte went out.
    void Flush();

private:
    void Refill();
    template <class T>
    void Put(T v);
    template <class T>
    void Get(T& v);

    Mode m_mode;
    CByteSink* m_sink = nullptr;
    CByteSource* m_source = nullptr;
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_pos = 0;  // next byte in m_buffer
    std::size_t m_end = 0;  // loading: bytes valid in m_buffer
    std::uint64_t m_left = 0;
};
