#pragma once
// A small forward-only writer of XML text in Windows-1250: nested elements indented by
// two spaces per level, CR LF line breaks, escaped attribute and text values. In
// buffered mode the whole document is collected in memory and written in one piece by
// Flush. The caller writes a well-formed sequence: names are neither checked nor
// escaped, and tags are not matched.

#include <QByteArray>
#include <QString>

class QIODevice;

// What WriteTag writes (see WriteTag).
enum TXMLTagKind : unsigned char { xtOpen = 0, xtClose = 1, xtEmpty = 2, xtCloseInline = 3 };

class TXMLWriter {
public:
    // Buffered is fixed for the writer's life; Buffer starts empty and Depth at 0.
    explicit TXMLWriter(bool buffered);
    virtual ~TXMLWriter() = default;
    TXMLWriter(const TXMLWriter &) = delete;
    TXMLWriter &operator=(const TXMLWriter &) = delete;

    // Hands count bytes to the destination. Throws AppError when they cannot all be written.
    virtual void WriteBytes(const char *data, qint64 count) = 0;
    // Buffered: writes the whole Buffer through WriteBytes and keeps it (a second Flush
    // writes the same bytes again). Unbuffered: does nothing.
    virtual void Flush();
    // Empties Buffer and sets Depth to 0; writes nothing.
    virtual void Reset();
    // The text as Windows-1250 bytes, unchanged: appended to Buffer (buffered) or written.
    // Throws CodePageError, writing nothing, when a character has no Windows-1250 byte.
    virtual void WriteRaw(const QString &text);

    // The text with <, >, ', " and & replaced by their entity references; every other
    // character (tabs and line breaks included) is written unchanged.
    void WriteText(const QString &text);
    // CR LF and then two spaces per level of Depth.
    void WriteNewLine();
    // The fixed declaration naming UTF-8 (whatever the bytes are), with no line break.
    void WriteDeclaration();
    // A start or end tag by kind: xtOpen breaks the line at the current depth and goes a
    // level deeper; xtClose goes a level up and then breaks the line; xtEmpty breaks the
    // line and writes an empty element; xtCloseInline goes a level up and writes the
    // end tag where the output stands; any other kind writes "<name" where it stands.
    // With leaveOpen the tag is left without its ">" or "/>" for attributes to follow.
    // Requires an open element for both closing kinds (std::logic_error otherwise,
    // with nothing written).
    void WriteTag(const QString &name, TXMLTagKind kind, bool leaveOpen = false);
    // "/>" for xtEmpty, otherwise ">": finishes a start tag that WriteTag left open.
    void EndStartTag(TXMLTagKind kind);
    // A space, name, =" then the escaped value and the closing quote.
    void WriteAttribute(const QString &name, const QString &value);

    bool Buffered() const { return m_buffered; }
    // The collected output (buffered mode).
    const QByteArray &Buffer() const { return m_buffer; }
    // The current nesting level.
    int Depth() const { return m_depth; }

private:
    const bool m_buffered;
    QByteArray m_buffer;
    int m_depth = 0;
};

// A writer whose destination is a byte stream, a file for instance.
class TXMLStreamWriter final : public TXMLWriter {
public:
    // Requires a stream open for writing. With ownsStream the writer deletes the stream
    // when it is itself destroyed.
    TXMLStreamWriter(QIODevice *stream, bool buffered, bool ownsStream);
    // Deletes the stream when it owns it. It does not flush: buffered output that was
    // never flushed is discarded.
    ~TXMLStreamWriter() override;

    // Writes the bytes to the stream. Throws AppError (with the stream's reason) when the
    // stream takes fewer than count.
    void WriteBytes(const char *data, qint64 count) override;

    QIODevice *Stream() const { return m_stream; }

private:
    QIODevice *m_stream;
    const bool m_ownsStream;
};

// Replaces every character outside a small kept set with "&#x" + its Windows-1250 byte
// as two upper-case hexadecimal digits + ";". Kept: space, ",", "-", 0-9, A-Z, a-z, and
// with keepMarkup also '"', "/", "<", "=", ">". Throws CodePageError for a character that
// has no Windows-1250 byte.
QString EncodeCharRefs(const QString &text, bool keepMarkup);
