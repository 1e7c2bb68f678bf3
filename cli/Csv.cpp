#include "Csv.h"

#include <cerrno>
#include <cstring>

namespace densimo::cli {

CsvReader::CsvReader(std::FILE* in) : m_in(in), m_buffer(1 << 16) {}

bool CsvReader::Fill()
{
    if (m_eof || m_error) {
        return false;
    }
    m_len = std::fread(m_buffer.data(), 1, m_buffer.size(), m_in);
    m_pos = 0;
    if (m_len == 0) {
        if (std::ferror(m_in)) {
            m_error = true;
            m_errno = errno;
        } else {
            m_eof = true;
        }
        return false;
    }
    return true;
}

std::string& CsvReader::NewField(CsvRecord& record)
{
    if (record.count == record.fields.size()) {
        record.fields.emplace_back();
    }
    std::string& field = record.fields[record.count++];
    field.clear();
    return field;
}

bool CsvReader::Next(CsvRecord& record)
{
    record.count = 0;
    record.problem = {};
    record.crlf = false;
    if (!m_started) {
        m_started = true;
        // Byte-order mark EF BB BF. Only the first refill can hold it; a
        // short read that splits it is not worth handling for a 3-byte mark.
        if (Peek() == 0xEF && m_len - m_pos >= 3 &&
            std::memcmp(m_buffer.data() + m_pos, "\xEF\xBB\xBF", 3) == 0) {
            m_pos += 3;
        }
    }
    int c = Get();
    if (c < 0) {
        return false;
    }
    // The record ends at LF, at CR LF or at the end of the input; a lone CR
    // is data.
    auto lineEnd = [&](int ch) { return ch == '\n' || (ch == '\r' && Peek() == '\n'); };
    for (;;) {
        std::string& field = NewField(record);
        if (c == '"') {
            bool closed = false;
            for (;;) {
                c = Get();
                if (c < 0 || lineEnd(c)) {
                    // No field of ours can hold a line break, and taking one
                    // in would let a lone quote swallow the rows after it.
                    record.problem = "malformed row: unterminated quoted field";
                    break;
                }
                if (c == '"') {
                    if (Peek() != '"') {
                        closed = true;
                        break;
                    }
                    Get();
                }
                field.push_back(static_cast<char>(c));
            }
            if (closed) {
                c = Get();
            }
            if (c >= 0 && c != ',' && !lineEnd(c)) {
                record.problem = "malformed row: text after a closing quote";
                while (c >= 0 && c != ',' && !lineEnd(c)) {
                    field.push_back(static_cast<char>(c));
                    c = Get();
                }
            }
        } else {
            while (c >= 0 && c != ',' && !lineEnd(c)) {
                if (c == '"') {
                    record.problem = "malformed row: quote inside an unquoted field";
                }
                field.push_back(static_cast<char>(c));
                c = Get();
            }
        }
        if (c == ',') {
            c = Get();
            continue;
        }
        if (c == '\r') {
            Get();  // the LF that lineEnd saw
            record.crlf = true;
        }
        return true;
    }
}

void CsvWriter::Field(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        Raw(text);
        return;
    }
    Char('"');
    for (char c : text) {
        if (c == '"') {
            Char('"');
        }
        Char(c);
    }
    Char('"');
}

bool OutputBuffer::Flush()
{
    if (!m_failed && !m_buffer.empty()) {
        if (std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_out) != m_buffer.size()) {
            m_failed = true;
            m_errno = errno;
        }
    }
    m_buffer.clear();
    if (!m_failed && std::fflush(m_out) != 0) {
        m_failed = true;
        m_errno = errno;
    }
    return !m_failed;
}

}  // namespace densimo::cli
