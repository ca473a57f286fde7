package org.tarrowsamples.quillet.server;

import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.nio.charset.StandardCharsets;
import java.util.Locale;

/**
 * Content-Length framed messages on a pair of streams. Reading belongs to
 * one thread; writing may come from any thread, one whole frame at a time.
 */
public final class MessageTransport {
    private static final int MAX_HEADER = 8192;
    private static final int MAX_BODY = 256 * 1024 * 1024;

    private final InputStream in;
    private final OutputStream out;

    public MessageTransport(InputStream in, OutputStream out) {
        this.in = in;
        this.out = out;
    }

    /** The next message's body, or null at the end of the input. */
    public String read() throws IOException {
        int length = -1;
        while (true) {
            String line = headerLine();
            if (line == null) {
                return null;
            }
            if (line.isEmpty()) {
                break;
            }
            int colon = line.indexOf(':');
            if (colon < 0) {
                throw new IOException("bad header line: " + line);
            }
            String name = line.substring(0, colon).trim().toLowerCase(Locale.ROOT);
            if (name.equals("content-length")) {
                try {
                    length = Integer.parseInt(line.substring(colon + 1).trim());
                } catch (NumberFormatException e) {
                    throw new IOException("bad Content-Length: " + line);
                }
            }
        }
        if (length < 0 || length > MAX_BODY) {
            throw new IOException("missing or bad Content-Length");
        }
        byte[] body = in.readNBytes(length);
        if (body.length != length) {
            throw new IOException("input ended inside a message");
        }
        return new String(body, StandardCharsets.UTF_8);
    }

    // A header line without its CR LF; null at the end of the input before any byte.
    private String headerLine() throws IOException {
        ByteArrayOutputStream line = new ByteArrayOutputStream();
        while (true) {
            int b = in.read();
            if (b < 0) {
                if (line.size() == 0) {
                    return null;
                }
                throw new IOException("input ended inside a header");
            }
            if (b == '\n') {
                byte[] bytes = line.toByteArray();
                int end = bytes.length > 0 && bytes[bytes.length - 1] == '\r' ? bytes.length - 1 : bytes.length;
                return new String(bytes, 0, end, StandardCharsets.US_ASCII);
            }
            if (line.size() >= MAX_HEADER) {
                throw new IOException("header line too long");
            }
            line.write(b);
        }
    }

    public synchronized void write(String body) throws IOException {
        byte[] bytes = body.getBytes(StandardCharsets.UTF_8);
        out.write(("Content-Length: " + bytes.length + "\r\n\r\n").getBytes(StandardCharsets.US_ASCII));
        out.write(bytes);
        out.flush();
    }
}
