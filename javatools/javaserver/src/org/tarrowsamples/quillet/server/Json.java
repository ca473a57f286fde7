package org.tarrowsamples.quillet.server;

import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;

/**
 * The JSON of the protocol's messages: objects become LinkedHashMaps, arrays
 * Lists, numbers Long (integers) or Double, and null stays null. The reader
 * takes exactly one value with nothing but white space after it and rejects
 * everything RFC 8259 does not allow.
 */
public final class Json {
    private final String text;
    private int at;

    private Json(String text) {
        this.text = text;
    }

    public static Object parse(String text) {
        Json reader = new Json(text);
        reader.skipSpace();
        Object value = reader.value(0);
        reader.skipSpace();
        if (reader.at != text.length()) {
            throw reader.error("text after the value");
        }
        return value;
    }

    public static String write(Object value) {
        StringBuilder out = new StringBuilder();
        write(value, out);
        return out.toString();
    }

    // Builds an object from alternating names and values.
    public static Map<String, Object> object(Object... namesAndValues) {
        Map<String, Object> object = new LinkedHashMap<>();
        for (int i = 0; i + 1 < namesAndValues.length; i += 2) {
            object.put((String) namesAndValues[i], namesAndValues[i + 1]);
        }
        return object;
    }

    @SuppressWarnings("unchecked")
    public static Map<String, Object> asObject(Object value) {
        return value instanceof Map ? (Map<String, Object>) value : null;
    }

    @SuppressWarnings("unchecked")
    public static List<Object> asList(Object value) {
        return value instanceof List ? (List<Object>) value : null;
    }

    public static int asInt(Object value, int otherwise) {
        return value instanceof Number ? ((Number) value).intValue() : otherwise;
    }

    private IllegalArgumentException error(String what) {
        return new IllegalArgumentException("bad JSON at " + at + ": " + what);
    }

    private void skipSpace() {
        while (at < text.length()) {
            char c = text.charAt(at);
            if (c != ' ' && c != '\t' && c != '\n' && c != '\r') {
                return;
            }
            at++;
        }
    }

    private Object value(int depth) {
        if (depth > 512) {
            throw error("nested too deeply");
        }
        if (at >= text.length()) {
            throw error("value expected");
        }
        char c = text.charAt(at);
        switch (c) {
            case '{': return object(depth);
            case '[': return array(depth);
            case '"': return string();
            case 't': return literal("true", Boolean.TRUE);
            case 'f': return literal("false", Boolean.FALSE);
            case 'n': return literal("null", null);
            default:
                if (c == '-' || (c >= '0' && c <= '9')) {
                    return number();
                }
                throw error("unexpected character");
        }
    }

    private Object literal(String word, Object value) {
        if (!text.startsWith(word, at)) {
            throw error("unknown word");
        }
        at += word.length();
        return value;
    }

    private Map<String, Object> object(int depth) {
        Map<String, Object> object = new LinkedHashMap<>();
        at++;
        skipSpace();
        if (at < text.length() && text.charAt(at) == '}') {
            at++;
            return object;
        }
        while (true) {
            skipSpace();
            if (at >= text.length() || text.charAt(at) != '"') {
                throw error("name expected");
            }
            String name = string();
            skipSpace();
            expect(':');
            skipSpace();
            object.put(name, value(depth + 1));
            skipSpace();
            if (at < text.length() && text.charAt(at) == ',') {
                at++;
                continue;
            }
            expect('}');
            return object;
        }
    }

    private List<Object> array(int depth) {
        List<Object> array = new ArrayList<>();
        at++;
        skipSpace();
        if (at < text.length() && text.charAt(at) == ']') {
            at++;
            return array;
        }
        while (true) {
            skipSpace();
            array.add(value(depth + 1));
            skipSpace();
            if (at < text.length() && text.charAt(at) == ',') {
                at++;
                continue;
            }
            expect(']');
            return array;
        }
    }

    private void expect(char c) {
        if (at >= text.length() || text.charAt(at) != c) {
            throw error("'" + c + "' expected");
        }
        at++;
    }

    private String string() {
        StringBuilder out = new StringBuilder();
        at++;
        while (true) {
            if (at >= text.length()) {
                throw error("unterminated string");
            }
            char c = text.charAt(at++);
            if (c == '"') {
                return out.toString();
            }
            if (c < 0x20) {
                throw error("control character in string");
            }
            if (c != '\\') {
                out.append(c);
                continue;
            }
            if (at >= text.length()) {
                throw error("unterminated escape");
            }
            char e = text.charAt(at++);
            switch (e) {
                case '"': out.append('"'); break;
                case '\\': out.append('\\'); break;
                case '/': out.append('/'); break;
                case 'b': out.append('\b'); break;
                case 'f': out.append('\f'); break;
                case 'n': out.append('\n'); break;
                case 'r': out.append('\r'); break;
                case 't': out.append('\t'); break;
                case 'u': {
                    if (at + 4 > text.length()) {
                        throw error("short \\u escape");
                    }
                    int code = 0;
                    for (int i = 0; i < 4; i++) {
                        int digit = Character.digit(text.charAt(at++), 16);
                        if (digit < 0) {
                            throw error("bad \\u escape");
                        }
                        code = code * 16 + digit;
                    }
                    out.append((char) code);
                    break;
                }
                default: throw error("unknown escape");
            }
        }
    }

    private Object number() {
        int start = at;
        if (text.charAt(at) == '-') {
            at++;
        }
        if (at < text.length() && text.charAt(at) == '0') {
            at++;
        } else if (!digits()) {
            throw error("digit expected");
        }
        boolean integral = true;
        if (at < text.length() && text.charAt(at) == '.') {
            at++;
            integral = false;
            if (!digits()) {
                throw error("digit expected after '.'");
            }
        }
        if (at < text.length() && (text.charAt(at) == 'e' || text.charAt(at) == 'E')) {
            at++;
            integral = false;
            if (at < text.length() && (text.charAt(at) == '+' || text.charAt(at) == '-')) {
                at++;
            }
            if (!digits()) {
                throw error("digit expected in exponent");
            }
        }
        String number = text.substring(start, at);
        if (integral) {
            try {
                return Long.parseLong(number);
            } catch (NumberFormatException tooLarge) {
                return Double.parseDouble(number);
            }
        }
        return Double.parseDouble(number);
    }

    private boolean digits() {
        int start = at;
        while (at < text.length() && text.charAt(at) >= '0' && text.charAt(at) <= '9') {
            at++;
        }
        return at > start;
    }

    private static void write(Object value, StringBuilder out) {
        if (value == null) {
            out.append("null");
        } else if (value instanceof String) {
            writeString((String) value, out);
        } else if (value instanceof Boolean) {
            out.append(value.toString());
        } else if (value instanceof Double || value instanceof Float) {
            double d = ((Number) value).doubleValue();
            if (Double.isNaN(d) || Double.isInfinite(d)) {
                throw new IllegalArgumentException("JSON has no " + d);
            }
            out.append(d == Math.rint(d) && Math.abs(d) < 1e15 ? Long.toString((long) d) : Double.toString(d));
        } else if (value instanceof Number) {
            out.append(((Number) value).longValue());
        } else if (value instanceof Map) {
            out.append('{');
            boolean first = true;
            for (Map.Entry<?, ?> entry : ((Map<?, ?>) value).entrySet()) {
                if (!first) {
                    out.append(',');
                }
                first = false;
                writeString(String.valueOf(entry.getKey()), out);
                out.append(':');
                write(entry.getValue(), out);
            }
            out.append('}');
        } else if (value instanceof Iterable) {
            out.append('[');
            boolean first = true;
            for (Object item : (Iterable<?>) value) {
                if (!first) {
                    out.append(',');
                }
                first = false;
                write(item, out);
            }
            out.append(']');
        } else {
            throw new IllegalArgumentException("no JSON form for " + value.getClass().getName());
        }
    }

    private static void writeString(String s, StringBuilder out) {
        out.append('"');
        for (int i = 0; i < s.length(); i++) {
            char c = s.charAt(i);
            switch (c) {
                case '"': out.append("\\\""); break;
                case '\\': out.append("\\\\"); break;
                case '\n': out.append("\\n"); break;
                case '\r': out.append("\\r"); break;
                case '\t': out.append("\\t"); break;
                default:
                    if (c < 0x20) {
                        out.append(String.format("\\u%04x", (int) c));
                    } else {
                        out.append(c);
                    }
            }
        }
        out.append('"');
    }
}
