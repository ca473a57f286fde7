package org.tarrowsamples.quillet.server;

import java.net.URI;
import java.nio.file.Path;

/**
 * An open document's text. Positions are the protocol's: zero-based lines and
 * UTF-16 code units within the line, which are Java's own char indexes. The
 * text itself is immutable, so a worker may keep a snapshot.
 */
public final class TextDocument {
    public final URI uri;
    public final Path path;
    private volatile String text;
    private volatile int version;

    public TextDocument(URI uri, String text, int version) {
        this.uri = uri;
        this.path = Path.of(uri);
        this.text = text;
        this.version = version;
    }

    public String text() {
        return text;
    }

    public int version() {
        return version;
    }

    public void replaceAll(String newText, int newVersion) {
        text = newText;
        version = newVersion;
    }

    public void replace(int startLine, int startChar, int endLine, int endChar, String insert, int newVersion) {
        String current = text;
        int start = offsetAt(current, startLine, startChar);
        int end = Math.max(start, offsetAt(current, endLine, endChar));
        text = current.substring(0, start) + insert + current.substring(end);
        version = newVersion;
    }

    /** The offset of a position; past a line's end it is the line's end, past the text its end. */
    public static int offsetAt(String text, int line, int character) {
        int offset = 0;
        for (int l = 0; l < line; l++) {
            int newline = text.indexOf('\n', offset);
            if (newline < 0) {
                return text.length();
            }
            offset = newline + 1;
        }
        int lineEnd = text.indexOf('\n', offset);
        if (lineEnd < 0) {
            lineEnd = text.length();
        }
        if (lineEnd > offset && text.charAt(lineEnd - 1) == '\r') {
            lineEnd--;
        }
        return Math.min(offset + Math.max(0, character), lineEnd);
    }

    /** The protocol position {line, character} of an offset. */
    public static int[] positionAt(String text, int offset) {
        offset = Math.max(0, Math.min(offset, text.length()));
        int line = 0;
        int lineStart = 0;
        for (int i = 0; i < offset; i++) {
            if (text.charAt(i) == '\n') {
                line++;
                lineStart = i + 1;
            }
        }
        return new int[] {line, offset - lineStart};
    }
}
