// The text store: lines, positions and the lazily shifted line index.
#include "engine/VxEditTextBuffer.h"
#include "engine/VxEditWriteSink.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int Insert(VxEditTextBuffer& buffer, int line, int column, const std::string& text,
           VxEditLineCol* end = nullptr)
{
    VxEditLineColPair range(line, column, 0, 0);
    const int result = buffer.InsertText(range, text.data(), static_cast<std::int64_t>(text.size()));
    if (end)
        *end = range.end;
    return result;
}

class StringSink : public VxEditWriteSink {
public:
    bool Write(const char* bytes, std::size_t length) override
    {
        text.append(bytes, length);
        ++writes;
        return true;
    }
    std::string text;
    int writes = 0;
};

TEST(TextBufferLines, EmptyTextHasOneEmptyLine)
{
    VxEditTextBuffer buffer;
    EXPECT_EQ(1, buffer.LineCount());
    EXPECT_EQ(0, buffer.LineContentLength(0));
    EXPECT_EQ(VxEditLineCol(0, 0), buffer.PositionOf(0));
    EXPECT_EQ(-1, buffer.OffsetOf(1, 0));
    EXPECT_EQ(-1, buffer.LineFullLength(1));
}

TEST(TextBufferLines, CrLfEndsALineAndALoneCrIsContent)
{
    VxEditTextBuffer buffer;
    ASSERT_EQ(1, Insert(buffer, 0, 0, "a\r\nb"));
    EXPECT_EQ(2, buffer.LineCount());
    EXPECT_EQ(1, buffer.LineContentLength(0));
    EXPECT_EQ(3, buffer.LineFullLength(0));
    EXPECT_EQ(3, buffer.OffsetOf(1, 0));

    // The text after a lone CR stays on the line, where it can be seen;
    // of CRs before an LF only the last one belongs to the line end.
    VxEditTextBuffer lone;
    ASSERT_EQ(1, Insert(lone, 0, 0, "a\rb\nc\r\r\nd\r"));
    EXPECT_EQ(3, lone.LineCount());
    EXPECT_EQ(3, lone.LineContentLength(0));
    EXPECT_EQ(4, lone.LineFullLength(0));
    EXPECT_EQ(2, lone.LineContentLength(1));
    EXPECT_EQ(2, lone.LineContentLength(2));  // the last line has no line end
    ASSERT_EQ(1, Insert(lone, 2, 2, "\n"));
    EXPECT_EQ(0, lone.LineFullLength(3));  // a text ending in LF has an empty last line
    EXPECT_EQ(1, lone.LineContentLength(2));
}

TEST(TextBufferLines, NulBytesAreOrdinaryBytes)
{
    VxEditTextBuffer buffer;
    const std::string text("a\0b\nc\0", 6);
    ASSERT_EQ(1, Insert(buffer, 0, 0, text));
    EXPECT_EQ(6, buffer.Length());
    EXPECT_EQ(3, buffer.LineContentLength(0));
    EXPECT_EQ(2, buffer.LineContentLength(1));
    std::string copy;
    ASSERT_TRUE(buffer.CopyText(copy, 0, 0, 1, 2));
    EXPECT_EQ(text, copy);
}

TEST(TextBufferLines, OffsetAndPositionRejectPlacesOutsideTheText)
{
    VxEditTextBuffer buffer;
    ASSERT_EQ(1, Insert(buffer, 0, 0, "ab\ncd"));
    EXPECT_EQ(3, buffer.OffsetOf(0, 3));  // just past the separator
    EXPECT_EQ(-1, buffer.OffsetOf(0, 4));
    EXPECT_EQ(5, buffer.OffsetOf(1, 2));
    EXPECT_EQ(-1, buffer.OffsetOf(1, 3));
    EXPECT_EQ(-1, buffer.OffsetOf(0, -1));
    EXPECT_EQ(VxEditLineCol(1, 0), buffer.PositionOf(3));
    EXPECT_EQ(VxEditLineCol(1, 2), buffer.PositionOf(5));
    EXPECT_EQ(VxEditLineCol(-1, -1), buffer.PositionOf(6));
    EXPECT_EQ(-1, Insert(buffer, 2, 0, "x"));
    EXPECT_EQ(0, buffer.DeleteRange(VxEditLineColPair(0, 0, 1, 9)));
}

TEST(TextBufferEdits, InsertReportsTheEndOfTheInsertedText)
{
    VxEditTextBuffer buffer;
    VxEditLineCol end;
    ASSERT_EQ(1, Insert(buffer, 0, 0, "hello", &end));
    EXPECT_EQ(VxEditLineCol(0, 5), end);
    ASSERT_EQ(1, Insert(buffer, 0, 2, "X\nYZ\n", &end));
    EXPECT_EQ(VxEditLineCol(2, 0), end);
    ASSERT_EQ(1, Insert(buffer, 0, 0, "", &end));
    EXPECT_EQ(VxEditLineCol(0, 0), end);
    std::string all;
    buffer.CopyText(all, 0, 0, buffer.LastLine(), buffer.LineContentLength(buffer.LastLine()));
    EXPECT_EQ("heX\nYZ\nllo", all);
}

TEST(TextBufferEdits, ColumnPastTheSeparatorInsertsAtTheNextLineStart)
{
    VxEditTextBuffer buffer;
    ASSERT_EQ(1, Insert(buffer, 0, 0, "ab\ncd"));
    VxEditLineColPair range(0, 3, 0, 0);
    ASSERT_EQ(1, buffer.InsertText(range, "x", 1));
    EXPECT_EQ(VxEditLineCol(1, 0), range.start);
    EXPECT_EQ(VxEditLineCol(1, 1), range.end);
}

TEST(TextBufferEdits, DeletingAcrossLinesJoinsThem)
{
    VxEditTextBuffer buffer;
    ASSERT_EQ(1, Insert(buffer, 0, 0, "one\ntwo\nthree\nfour"));
    ASSERT_EQ(1, buffer.DeleteRange(VxEditLineColPair(2, 2, 0, 1)));  // unordered range
    EXPECT_EQ(2, buffer.LineCount());
    std::string line;
    buffer.CopyText(line, 0, 0, -1, -1);
    EXPECT_EQ("oree\n", line);
    EXPECT_EQ(5, buffer.OffsetOf(1, 0));
    EXPECT_EQ(1, buffer.DeleteRange(VxEditLineColPair(1, 1, 1, 1)));
}

// Typing far from the last edit moves the pending shift of the line starts;
// every start must still be right.
TEST(TextBufferEdits, LineStartsStayRightWhileEditingAllOver)
{
    VxEditTextBuffer buffer;
    for (int i = 0; i < 200; ++i)
        Insert(buffer, buffer.LastLine(), 0, "line " + std::to_string(i) + "\n");
    const int lines[] = {150, 3, 199, 0, 100, 100, 42, 180, 7};
    for (int line : lines) {
        Insert(buffer, line, 2, "xyz");
        buffer.DeleteRange(VxEditLineColPair(line / 2, 0, line / 2, 1));
    }
    std::string text(static_cast<std::size_t>(buffer.Length()), '\0');
    buffer.CopyOut(text.data(), 0, buffer.Length());
    std::int64_t start = 0;
    for (int line = 0; line < buffer.LineCount(); ++line) {
        ASSERT_EQ(start, buffer.LineStart(line)) << "line " << line;
        ASSERT_EQ(VxEditLineCol(line, 0), buffer.PositionOf(start));
        const std::size_t next = text.find('\n', static_cast<std::size_t>(start));
        start = next == std::string::npos ? static_cast<std::int64_t>(text.size())
                                          : static_cast<std::int64_t>(next + 1);
    }
}

TEST(TextBufferEdits, TextSpanOfAWholeLineIncludesItsLineEnd)
{
    VxEditTextBuffer buffer;
    ASSERT_EQ(1, Insert(buffer, 0, 0, "abc\r\ndef"));
    Insert(buffer, 0, 1, "Z");  // the gap now sits inside line 0
    const char* text = nullptr;
    std::int64_t length = 0;
    ASSERT_TRUE(buffer.TextSpan(0, 0, -1, -1, text, length));
    EXPECT_EQ("aZbc\r\n", std::string(text, static_cast<std::size_t>(length)));
}

TEST(TextBufferWriting, WritesEverySliceInOrder)
{
    VxEditTextBuffer buffer;
    std::string text;
    for (int i = 0; i < 70000; ++i)
        text += "line" + std::to_string(i % 10) + "\n";
    Insert(buffer, 0, 0, text);
    Insert(buffer, 1000, 0, "middle");
    text.insert(static_cast<std::size_t>(buffer.OffsetOf(1000, 0)), "middle");
    StringSink sink;
    ASSERT_TRUE(buffer.WriteText(sink, false));
    EXPECT_EQ(text, sink.text);
    EXPECT_GE(sink.writes, 2);
}

TEST(TextBufferWriting, WideFormIsUtf16WithByteOrderMark)
{
    VxEditTextBuffer buffer;
    Insert(buffer, 0, 0, "a\xC3\xA9\xF0\x9F\x98\x80\xFF");
    StringSink sink;
    ASSERT_TRUE(buffer.WriteText(sink, true));
    const std::string expected("\xFF\xFE" "a\0" "\xE9\0" "\x3D\xD8\x00\xDE" "\xFD\xFF", 12);
    EXPECT_EQ(expected, sink.text);
}

}  // namespace
