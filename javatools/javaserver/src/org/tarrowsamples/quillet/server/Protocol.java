package org.tarrowsamples.quillet.server;

import java.util.Map;

/** The protocol's positions, ranges and locations over a text. */
public final class Protocol {
    private Protocol() {
    }

    public static Map<String, Object> position(String text, int offset) {
        int[] p = TextDocument.positionAt(text, offset);
        return Json.object("line", p[0], "character", p[1]);
    }

    public static Map<String, Object> range(String text, int start, int end) {
        return Json.object("start", position(text, start), "end", position(text, end));
    }

    public static Map<String, Object> location(String uri, String text, int start, int end) {
        return Json.object("uri", uri, "range", range(text, start, end));
    }

    /** The offset of a request's "position" in a text. */
    public static int offsetOf(Map<String, Object> params, String text) {
        Map<String, Object> position = Json.asObject(params.get("position"));
        if (position == null) {
            throw new IllegalArgumentException("position missing");
        }
        return TextDocument.offsetAt(text, Json.asInt(position.get("line"), 0), Json.asInt(position.get("character"), 0));
    }
}
