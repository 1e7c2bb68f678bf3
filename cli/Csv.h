// Streaming RFC 4180 reader and writer for the batch command. Records are
// read one at a time into reused buffers, so memory stays flat however long
// the input; a broken record is still returned, with its problem named, so
// that the caller can report it in place and go on. One departure from the
// RFC keeps every line its own record: a line break inside quotes ends the
// record as an unterminated quoted field (no table name or number can hold
// a line break, and a lone quote must not swallow the rows after it).
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace densimo::cli {

struct CsvRecord {
    std::vector<std::string> fields;  // the first `count` are this record's
    std::size_t count = 0;
    std::string_view problem;  // empty when the record is well-formed
    bool crlf = false;         // the record ended with CR LF

    std::string_view Field(std::size_t i) const
    {
        return i < count ? std::string_view(fields[i]) : std::string_view();
    }
};

class CsvReader {
public:
    // Reads from `in` (not owned). A UTF-8 byte-order mark at the start is skipped.
    explicit CsvReader(std::FILE* in);

    // The next record; false at the end of the input or on a read error.
    bool Next(CsvRecord& record);
    // True when reading failed (as opposed to reaching the end).
    bool Failed() const { return m_error; }
    // The errno of the failed read.
    int Error() const { return m_errno; }

private:
    int Get()
    {
        if (m_pos == m_len && !Fill()) {
            return -1;
        }
        return static_cast<unsigned char>(m_buffer[m_pos++]);
    }
    int Peek()
    {
        if (m_pos == m_len && !Fill()) {
            return -1;
        }
        return static_cast<unsigned char>(m_buffer[m_pos]);
    }
    bool Fill();
    std::string& NewField(CsvRecord& record);

    std::FILE* m_in;
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_len = 0;
    bool m_eof = false;
    bool m_error = false;
    int m_errno = 0;
    bool m_started = false;
};

// Buffered text output to a stream, flushed in 64 KiB pieces; every write
// is checked, so a failing stream (a full disk) is never taken for success.
class OutputBuffer {
public:
    explicit OutputBuffer(std::FILE* out) : m_out(out) { m_buffer.reserve(kFlushSize + 4096); }

    void Raw(std::string_view text) { m_buffer.append(text); }
    void Char(char c) { m_buffer.push_back(c); }
    // Ends a line (or record) with `lineEnd`, flushing when enough is buffered.
    void EndLine(std::string_view lineEnd)
    {
        m_buffer.append(lineEnd);
        if (m_buffer.size() >= kFlushSize) {
            Flush();
        }
    }
    // Writes what is buffered; false once any write has failed.
    bool Flush();
    bool Failed() const { return m_failed; }
    // The errno of the failed write (EPIPE when the reader has gone).
    int Error() const { return m_errno; }

private:
    static constexpr std::size_t kFlushSize = 1 << 16;
    std::FILE* m_out;
    std::string m_buffer;
    bool m_failed = false;
    int m_errno = 0;
};

// CSV on top of it; fields are quoted only where RFC 4180 needs it.
class CsvWriter : public OutputBuffer {
public:
    using OutputBuffer::OutputBuffer;

    void Field(std::string_view text);  // a field, quoted when it must be
    void Comma() { Char(','); }
};

}  // namespace densimo::cli
