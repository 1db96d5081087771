#include "review/TimeSheetLineReader.h"

#include "platform/Characters.h"

#include <array>

namespace {

// Bytes 0x80 to 0x9F of the Windows code page; the rest is Latin-1.
const std::array<char16_t, 32> kWindows1252 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString FromWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = (b >= 0x80 && b < 0xA0) ? QChar(kWindows1252[b - 0x80]) : QChar(b);
    }
    return text;
}

enum class Blankness { Blank, NotBlank, Unknown };

// Whether a line's bytes are blank as its decoded text would be (white
// space only, NULs dropped), when the ASCII bytes alone tell.
Blankness AsciiBlankness(QByteArrayView raw)
{
    bool high = false;
    for (const char c : raw) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80)
            high = true;
        else if (b != 0 && b != ' ' && (b < '\t' || b > '\r'))
            return Blankness::NotBlank;
    }
    return high ? Blankness::Unknown : Blankness::Blank;
}

} // namespace

CTimeSheetLineReader::CTimeSheetLineReader(const QByteArray& bytes, qsizetype from)
    : m_bytes(bytes)
    , m_at(from)
{
    if (from == 0 && bytes.startsWith("\xEF\xBB\xBF"))
        m_at = 3;
}

bool CTimeSheetLineReader::NextRaw(QByteArrayView& raw)
{
    const qsizetype size = m_bytes.size();
    if (m_at >= size)
        return false;
    // A line ends at a line feed, a carriage return and line feed, or a
    // carriage return alone (as older Macintosh files end them).
    const char* data = m_bytes.constData();
    qsizetype end = m_at;
    while (end < size && data[end] != '\n' && data[end] != '\r')
        ++end;
    raw = QByteArrayView(data + m_at, end - m_at);
    m_lineStart = m_at;
    m_at = end + 1;
    if (end < size && data[end] == '\r' && m_at < size && data[m_at] == '\n')
        ++m_at;
    ++m_number;
    return true;
}

QString CTimeSheetLineReader::Decode(QByteArrayView raw)
{
    QByteArray line;
    if (raw.contains('\0')) {
        line = raw.toByteArray();
        line.removeIf([](char c) { return c == '\0'; });
        raw = line;
    }
    // Each line in UTF-8 when it is UTF-8; only a line that is not is read
    // in the Windows code page. Only the file's own mark is skipped; one
    // that begins a line is its text.
    if (raw.isValidUtf8())
        return TextFromUtf8(raw);
    m_singleByte = true;
    return FromWindows1252(raw);
}

bool CTimeSheetLineReader::Next(TimeSheetFile::CFileLine& line)
{
    QByteArrayView raw;
    while (NextRaw(raw)) {
        if (AsciiBlankness(raw) == Blankness::Blank)
            continue;
        QString text = Decode(raw);
        if (text.trimmed().isEmpty())
            continue;
        line = {m_number, std::move(text)};
        return true;
    }
    return false;
}

qsizetype CTimeSheetLineReader::CountLines(const QByteArray& bytes)
{
    CTimeSheetLineReader reader(bytes);
    qsizetype count = 0;
    QByteArrayView raw;
    while (reader.NextRaw(raw)) {
        switch (AsciiBlankness(raw)) {
        case Blankness::Blank:
            break;
        case Blankness::NotBlank:
            ++count;
            break;
        case Blankness::Unknown:
            if (!reader.Decode(raw).trimmed().isEmpty())
                ++count;
            break;
        }
    }
    return count;
}
