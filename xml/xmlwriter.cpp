#include "xmlwriter.h"

#include "core/codepage.h"
#include "core/errors.h"

#include <QIODevice>
#include <stdexcept>

TXMLWriter::TXMLWriter(bool buffered)
    : m_buffered(buffered)
{
}

void TXMLWriter::Flush()
{
    if (m_buffered)
        WriteBytes(m_buffer.constData(), m_buffer.size());
}

void TXMLWriter::Reset()
{
    m_buffer.clear();
    m_depth = 0;
}

void TXMLWriter::WriteRaw(const QString &text)
{
    const QByteArray bytes = toWin1250(text);
    if (m_buffered)
        m_buffer.append(bytes);
    else
        WriteBytes(bytes.constData(), bytes.size());
}

void TXMLWriter::WriteText(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'<': escaped += QLatin1String("&lt;"); break;
        case u'>': escaped += QLatin1String("&gt;"); break;
        case u'\'': escaped += QLatin1String("&apos;"); break;
        case u'"': escaped += QLatin1String("&quot;"); break;
        case u'&': escaped += QLatin1String("&amp;"); break;
        default: escaped += c;
        }
    }
    WriteRaw(escaped);
}

void TXMLWriter::WriteNewLine()
{
    WriteText(QLatin1String("\r\n") + QString(2 * m_depth, u' '));
}

void TXMLWriter::WriteDeclaration()
{
    WriteRaw(QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"));
}

void TXMLWriter::WriteTag(const QString &name, TXMLTagKind kind, bool leaveOpen)
{
    QString tag = QStringLiteral("<");
    switch (kind) {
    case xtEmpty:
        WriteNewLine();
        break;
    case xtOpen:
        WriteNewLine();
        ++m_depth;
        break;
    case xtClose:
    case xtCloseInline:
        if (m_depth == 0)
            throw std::logic_error("XML writer: an end tag without an open element");
        tag += u'/';
        --m_depth;
        if (kind == xtClose)
            WriteNewLine();
        break;
    default:
        break;
    }
    WriteRaw(tag + name);
    if (!leaveOpen)
        EndStartTag(kind);
}

void TXMLWriter::EndStartTag(TXMLTagKind kind)
{
    WriteRaw(kind == xtEmpty ? QStringLiteral("/>") : QStringLiteral(">"));
}

void TXMLWriter::WriteAttribute(const QString &name, const QString &value)
{
    WriteRaw(u' ' + name + QLatin1String("=\""));
    WriteText(value);
    WriteRaw(QStringLiteral("\""));
}

TXMLStreamWriter::TXMLStreamWriter(QIODevice *stream, bool buffered, bool ownsStream)
    : TXMLWriter(buffered), m_stream(stream), m_ownsStream(ownsStream)
{
}

TXMLStreamWriter::~TXMLStreamWriter()
{
    if (m_ownsStream)
        delete m_stream;
}

void TXMLStreamWriter::WriteBytes(const char *data, qint64 count)
{
    if (m_stream->write(data, count) != count)
        throw AppError(QStringLiteral("Zápis do souboru se nezdařil: %1").arg(m_stream->errorString()));
}

namespace {

bool kept(QChar c, bool keepMarkup)
{
    const char16_t u = c.unicode();
    if ((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z'))
        return true;
    if (u == u' ' || u == u',' || u == u'-')
        return true;
    return keepMarkup && (u == u'"' || u == u'/' || u == u'<' || u == u'=' || u == u'>');
}

} // namespace

QString EncodeCharRefs(const QString &text, bool keepMarkup)
{
    // Each character stands for one byte of the code page, so a forward walk over the
    // text replaces exactly what a byte-wise walk would.
    const QByteArray bytes = toWin1250(text);
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (kept(text[i], keepMarkup))
            out += text[i];
        else
            out += QLatin1String("&#x") + QString::number(uchar(bytes[i]), 16).toUpper().rightJustified(2, u'0')
                + u';';
    }
    return out;
}
