#include "ui/RichTextCtrl.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>

namespace {

// Groups whose text is not part of the document's text.
const QSet<QString>& SkippedDestinations()
{
    static const QSet<QString> names = [] {
        const QStringList words =
            QStringLiteral("fonttbl colortbl stylesheet info pict object header headerl headerr "
                           "headerf footer footerl footerr footerf footnote listtable "
                           "listoverridetable revtbl rsidtbl generator xmlnstbl themedata "
                           "colorschememapping latentstyles datastore filetbl fldinst pn "
                           "nonshppict userprops docvar xe tc pgdsctbl mmathPr")
                .split(QLatin1Char(' '));
        return QSet<QString>(words.cbegin(), words.cend());
    }();
    return names;
}

const QHash<QString, QString>& WordTexts()
{
    static const QHash<QString, QString> texts = {
        {QStringLiteral("par"), QStringLiteral("\n")},
        {QStringLiteral("line"), QStringLiteral("\n")},
        {QStringLiteral("sect"), QStringLiteral("\n")},
        {QStringLiteral("page"), QStringLiteral("\n")},
        {QStringLiteral("row"), QStringLiteral("\n")},
        {QStringLiteral("tab"), QStringLiteral("\t")},
        {QStringLiteral("cell"), QStringLiteral("\t")},
        {QStringLiteral("nestcell"), QStringLiteral("\t")},
        {QStringLiteral("emdash"), QString(QChar(0x2014))},
        {QStringLiteral("endash"), QString(QChar(0x2013))},
        {QStringLiteral("bullet"), QString(QChar(0x2022))},
        {QStringLiteral("lquote"), QString(QChar(0x2018))},
        {QStringLiteral("rquote"), QString(QChar(0x2019))},
        {QStringLiteral("ldblquote"), QString(QChar(0x201C))},
        {QStringLiteral("rdblquote"), QString(QChar(0x201D))},
        {QStringLiteral("emspace"), QStringLiteral(" ")},
        {QStringLiteral("enspace"), QStringLiteral(" ")},
        {QStringLiteral("qmspace"), QStringLiteral(" ")},
    };
    return texts;
}

// Windows code page 1252 where it differs from Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString DecodeBytes(const QByteArray& bytes, int codePage)
{
    if (codePage == 65001)
        return QString::fromUtf8(bytes);
    if (codePage != 1252 && codePage > 0) {
        QStringDecoder decoder(QByteArray("windows-") + QByteArray::number(codePage));
        if (decoder.isValid()) {
            const QString text = decoder.decode(bytes);
            if (!decoder.hasError())
                return text;
        }
    }
    QString text;
    for (char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        text += value >= 0x80 && value < 0xA0 ? QChar(kCp1252High[value - 0x80]) : QChar(value);
    }
    return text;
}

int HexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

bool IsAsciiLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

bool IsAsciiDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

class CRtfReader {
public:
    explicit CRtfReader(const QString& rtf)
        : m_in(rtf)
    {}

    QString Read()
    {
        while (m_pos < m_in.size()) {
            const QChar c = m_in.at(m_pos);
            if (c == QLatin1Char('{')) {
                Flush();
                m_stack.append(m_state);
                m_fallback = 0;
                ++m_pos;
            } else if (c == QLatin1Char('}')) {
                Flush();
                if (!m_stack.isEmpty())
                    m_state = m_stack.takeLast();
                m_fallback = 0;
                ++m_pos;
            } else if (c == QLatin1Char('\\')) {
                ControlSequence();
            } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
                ++m_pos;
            } else {
                Flush();
                Emit(QString(c));
                ++m_pos;
            }
        }
        Flush();
        if (m_out.endsWith(QLatin1Char('\n')))
            m_out.chop(1);
        return m_out;
    }

private:
    struct State {
        bool skip = false;
        int fallbackCount = 1;
    };

    // Text of the document, unless the group is skipped or the characters
    // are the fallback of a Unicode escape.
    void Emit(const QString& text)
    {
        if (m_fallback > 0) {
            --m_fallback;
            return;
        }
        if (!m_state.skip)
            m_out += text;
    }

    void Flush()
    {
        if (!m_bytes.isEmpty()) {
            const QString text = DecodeBytes(m_bytes, m_codePage);
            m_bytes.clear();
            if (!m_state.skip)
                m_out += text;
        }
    }

    void ControlSequence()
    {
        if (m_pos + 1 >= m_in.size()) {
            ++m_pos;
            return;
        }
        const QChar next = m_in.at(m_pos + 1);
        if (IsAsciiLetter(next)) {
            ControlWord();
            return;
        }
        m_pos += 2;
        switch (next.unicode()) {
        case '\'': {
            const int high = m_pos < m_in.size() ? HexValue(m_in.at(m_pos)) : -1;
            const int low = m_pos + 1 < m_in.size() ? HexValue(m_in.at(m_pos + 1)) : -1;
            if (high < 0 || low < 0)
                return;
            m_pos += 2;
            if (m_fallback > 0)
                --m_fallback;
            else if (!m_state.skip)
                m_bytes.append(static_cast<char>(high * 16 + low));
            return;
        }
        case '*':
            m_state.skip = true;
            return;
        case '\\':
        case '{':
        case '}':
            Flush();
            Emit(QString(next));
            return;
        case '~':
            Flush();
            Emit(QString(QChar(0x00A0)));
            return;
        case '_':
            Flush();
            Emit(QStringLiteral("-"));
            return;
        case '\r':
        case '\n':
            Flush();
            Emit(QStringLiteral("\n"));
            return;
        default: // \- (optional hyphen), \| and the like show nothing
            return;
        }
    }

    void ControlWord()
    {
        ++m_pos;
        const int start = m_pos;
        while (m_pos < m_in.size() && IsAsciiLetter(m_in.at(m_pos)) && m_pos - start < 32)
            ++m_pos;
        const QString word = m_in.mid(start, m_pos - start);
        bool hasParameter = false;
        bool negative = false;
        qint64 parameter = 0;
        if (m_pos < m_in.size() && m_in.at(m_pos) == QLatin1Char('-') && m_pos + 1 < m_in.size() &&
            IsAsciiDigit(m_in.at(m_pos + 1))) {
            negative = true;
            ++m_pos;
        }
        for (int digits = 0; m_pos < m_in.size() && IsAsciiDigit(m_in.at(m_pos)); ++digits) {
            if (digits < 10)
                parameter = parameter * 10 + (m_in.at(m_pos).unicode() - '0');
            hasParameter = true;
            ++m_pos;
        }
        if (negative)
            parameter = -parameter;
        if (m_pos < m_in.size() && m_in.at(m_pos) == QLatin1Char(' '))
            ++m_pos;

        if (word != QLatin1String("u"))
            Flush();
        if (SkippedDestinations().contains(word)) {
            m_state.skip = true;
        } else if (word == QLatin1String("u") && hasParameter) {
            Flush();
            const qint64 code = parameter < 0 ? parameter + 65536 : parameter;
            if (!m_state.skip && code > 0 && code <= 0xFFFF)
                m_out += QChar(static_cast<char16_t>(code));
            m_fallback = m_state.fallbackCount;
        } else if (word == QLatin1String("uc")) {
            m_state.fallbackCount =
                hasParameter ? static_cast<int>(std::clamp<qint64>(parameter, 0, 16)) : 1;
        } else if (word == QLatin1String("ansicpg") && hasParameter) {
            m_codePage = static_cast<int>(parameter);
        } else if (word == QLatin1String("bin") && hasParameter) {
            m_pos = static_cast<int>(qMin<qint64>(m_in.size(), m_pos + qMax<qint64>(0, parameter)));
        } else if (const auto it = WordTexts().constFind(word); it != WordTexts().cend()) {
            // A control word ends the fallback of a Unicode escape.
            m_fallback = 0;
            Emit(*it);
        }
    }

    const QString& m_in;
    int m_pos = 0;
    QString m_out;
    QByteArray m_bytes;
    State m_state;
    QList<State> m_stack;
    int m_fallback = 0;
    int m_codePage = 1252;
};

} // namespace

QString RtfToText(const QString& rtf)
{
    return CRtfReader(rtf).Read();
}

CRichTextCtrl::CRichTextCtrl(QWidget* parent)
    : QTextEdit(parent)
{
    setAcceptRichText(false);
}

bool CRichTextCtrl::IsRtf(const QString& text)
{
    return text.size() > 5 && text.startsWith(QLatin1String("{\\rtf"), Qt::CaseInsensitive);
}

void CRichTextCtrl::SetRTF(const QString& text)
{
    setPlainText(ShownText(text));
}

QString ShownText(const QString& stored)
{
    return CRichTextCtrl::IsRtf(stored) ? RtfToText(stored) : stored;
}

QString KeptText(const QString& shown, const QString& stored)
{
    return CRichTextCtrl::IsRtf(stored) && shown == ShownText(stored) ? stored : shown;
}

void CRichTextCtrl::SetWordWrap(bool wrap, int lineWidth)
{
    if (!wrap && lineWidth == 0) {
        setLineWrapMode(QTextEdit::NoWrap);
    } else if (lineWidth == 0) {
        setLineWrapMode(QTextEdit::WidgetWidth);
    } else {
        setLineWrapMode(QTextEdit::FixedPixelWidth);
        setLineWrapColumnOrWidth(qMax(1, lineWidth * logicalDpiX() / 1440));
    }
}
