// The XML writer: indentation, line breaks, escaping and the buffered mode, byte for byte.

#include "core/errors.h"
#include "xml/xmlwriter.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// An unbuffered writer straight into memory.
struct MemoryWriter {
    QBuffer bytes;
    TXMLStreamWriter writer{&bytes, false, false};
    MemoryWriter() { bytes.open(QIODevice::WriteOnly); }
    QByteArray out() const { return bytes.data(); }
};

TEST(XmlWriter, SmallTreeIndentedByTwoSpacesWithCrLfAndNoBreakAtTheEnd)
{
    MemoryWriter m;
    TXMLWriter &w = m.writer;
    w.WriteDeclaration();
    w.WriteTag(QStringLiteral("A"), xtOpen);
    w.WriteTag(QStringLiteral("B"), xtOpen, true);
    w.WriteAttribute(QStringLiteral("X"), QStringLiteral("a<b&\"c'"));
    w.WriteAttribute(QStringLiteral("Y"), QString());
    w.EndStartTag(xtOpen);
    w.WriteTag(QStringLiteral("C"), xtEmpty);
    w.WriteTag(QStringLiteral("D"), xtOpen);
    w.WriteText(QStringLiteral("x > y\tč"));
    w.WriteTag(QStringLiteral("D"), xtCloseInline);
    w.WriteTag(QStringLiteral("E"), xtOpen);
    w.WriteTag(QStringLiteral("E"), xtClose);
    w.WriteTag(QStringLiteral("B"), xtClose);
    w.WriteTag(QStringLiteral("A"), xtClose);
    EXPECT_EQ(w.Depth(), 0);

    const QByteArray expected = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
                                "<A>\r\n"
                                "  <B X=\"a&lt;b&amp;&quot;c&apos;\" Y=\"\">\r\n"
                                "    <C/>\r\n"
                                "    <D>x &gt; y\t\xE8</D>\r\n"
                                "    <E>\r\n"
                                "    </E>\r\n"
                                "  </B>\r\n"
                                "</A>";
    EXPECT_EQ(m.out(), expected);
}

TEST(XmlWriter, TagKindsAndNewLines)
{
    MemoryWriter m;
    TXMLWriter &w = m.writer;
    w.WriteNewLine();
    EXPECT_EQ(m.out(), QByteArray("\r\n"));
    for (int i = 0; i < 3; ++i)
        w.WriteTag(QStringLiteral("L"), xtOpen);
    m.bytes.buffer().clear();
    m.bytes.seek(0);
    w.WriteNewLine();
    EXPECT_EQ(m.out(), QByteArray("\r\n      "));

    // A start tag left open, then finished; a kind of no meaning writes "<name" in place.
    m.bytes.buffer().clear();
    m.bytes.seek(0);
    w.WriteTag(QStringLiteral("A"), xtOpen, true);
    EXPECT_EQ(m.out(), QByteArray("\r\n      <A"));
    w.EndStartTag(xtOpen);
    w.WriteTag(QStringLiteral("Q"), TXMLTagKind(7));
    w.EndStartTag(xtEmpty);
    EXPECT_EQ(m.out(), QByteArray("\r\n      <A><Q>/>"));
    EXPECT_EQ(w.Depth(), 4);

    // Reset forgets the depth; an end tag with nothing open is refused and writes nothing.
    w.Reset();
    EXPECT_EQ(w.Depth(), 0);
    const QByteArray before = m.out();
    EXPECT_THROW(w.WriteTag(QStringLiteral("A"), xtClose), std::logic_error);
    EXPECT_THROW(w.WriteTag(QStringLiteral("A"), xtCloseInline), std::logic_error);
    EXPECT_EQ(m.out(), before);
    EXPECT_EQ(w.Depth(), 0);
}

TEST(XmlWriter, BufferedOutputReachesTheFileOnlyAtFlush)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.xml"));
    {
        auto *file = new QFile(path);
        ASSERT_TRUE(file->open(QIODevice::WriteOnly));
        TXMLStreamWriter w(file, true, true);
        w.WriteTag(QStringLiteral("R"), xtOpen);
        w.WriteTag(QStringLiteral("R"), xtClose);
        EXPECT_EQ(QFileInfo(path).size(), 0);
        EXPECT_EQ(w.Buffer(), QByteArray("\r\n<R>\r\n</R>"));
    }
    // Destroyed without Flush: the owned file is closed and stays empty.
    EXPECT_EQ(QFileInfo(path).size(), 0);

    QBuffer target;
    target.open(QIODevice::WriteOnly);
    TXMLStreamWriter w(&target, true, false);
    w.WriteRaw(QStringLiteral("<Š/>"));
    EXPECT_TRUE(target.data().isEmpty());
    w.Flush();
    w.Flush();   // the buffer stays: a second Flush writes it again
    EXPECT_EQ(target.data(), QByteArray("<\x8A/><\x8A/>"));
    w.Reset();
    EXPECT_TRUE(w.Buffer().isEmpty());
}

TEST(XmlWriter, TextOutsideTheCodePageIsRefusedAndNothingIsWritten)
{
    MemoryWriter m;
    m.writer.WriteRaw(QStringLiteral("ok"));
    EXPECT_THROW(m.writer.WriteAttribute(QStringLiteral("N"), QStringLiteral("Жук")), CodePageError);
    EXPECT_THROW(m.writer.WriteText(QStringLiteral("€ and ñ")), CodePageError);
    EXPECT_EQ(m.out(), QByteArray("ok N=\""));
}

TEST(XmlWriter, AStreamThatTakesFewerBytesIsAnError)
{
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    TXMLStreamWriter w(&readOnly, false, false);
    EXPECT_THROW(w.WriteRaw(QStringLiteral("x")), AppError);
}

TEST(EncodeCharRefs, KeptSetsAndCodePageBytes)
{
    struct Case {
        QString in;
        bool keepMarkup;
        QString out;
    };
    const Case cases[] = {
        {QString(), true, QString()},
        {QStringLiteral("25,50"), true, QStringLiteral("25,50")},
        {QStringLiteral("1.5"), true, QStringLiteral("1&#x2E;5")},
        {QStringLiteral("s.r.o."), true, QStringLiteral("s&#x2E;r&#x2E;o&#x2E;")},
        {QStringLiteral("A&B"), true, QStringLiteral("A&#x26;B")},
        {QStringLiteral("Kč"), true, QStringLiteral("K&#xE8;")},
        {QStringLiteral("a=\"b\""), true, QStringLiteral("a=\"b\"")},
        {QStringLiteral("a=\"b\""), false, QStringLiteral("a&#x3D;&#x22;b&#x22;")},
        {QStringLiteral("Přerov-Žižkov 1/2 <x>"), true,
         QStringLiteral("P&#xF8;erov-&#x8E;i&#x9E;kov 1/2 <x>")},
        {QStringLiteral("1/2 <x>"), false, QStringLiteral("1&#x2F;2 &#x3C;x&#x3E;")},
        {QStringLiteral("a_b:c\td€"), true, QStringLiteral("a&#x5F;b&#x3A;c&#x09;d&#x80;")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(EncodeCharRefs(c.in, c.keepMarkup), c.out) << c.in.toStdString();

    EXPECT_THROW(EncodeCharRefs(QStringLiteral("Ж"), true), CodePageError);
    EXPECT_THROW(EncodeCharRefs(QStringLiteral("a😀"), false), CodePageError);
}

} // namespace
