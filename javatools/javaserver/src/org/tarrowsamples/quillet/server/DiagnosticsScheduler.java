package org.tarrowsamples.quillet.server;

import java.net.URI;
import java.util.ArrayList;
import java.util.List;
import java.util.Locale;
import java.util.Map;
import java.util.concurrent.CancellationException;
import java.util.concurrent.ConcurrentHashMap;
import java.util.concurrent.Executors;
import java.util.concurrent.ScheduledExecutorService;
import java.util.concurrent.ScheduledFuture;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.atomic.AtomicLong;
import java.util.function.Consumer;
import javax.tools.Diagnostic;
import javax.tools.JavaFileObject;

/**
 * javac's errors and warnings for open files, half a second after the last
 * change, on a worker thread of their own. Every change gets a new
 * generation; an analysis whose file has moved on stops at javac's next
 * phase and publishes nothing.
 */
public final class DiagnosticsScheduler {
    static final long DELAY_MS = 500;

    private final ScheduledExecutorService worker = Executors.newSingleThreadScheduledExecutor(r -> {
        Thread t = new Thread(r, "diagnostics");
        t.setDaemon(true);
        return t;
    });
    private final Map<URI, ScheduledFuture<?>> pending = new ConcurrentHashMap<>();
    private final Map<URI, AtomicLong> generations = new ConcurrentHashMap<>();
    private final Consumer<Map<String, Object>> publish;

    public DiagnosticsScheduler(Consumer<Map<String, Object>> publish) {
        this.publish = publish;
    }

    /** Plans an analysis of the snapshot; called on the reader thread, which it never holds up. */
    public void changed(SourceContext source, int version) {
        long generation = generations.computeIfAbsent(source.uri, u -> new AtomicLong()).incrementAndGet();
        ScheduledFuture<?> previous = pending.put(source.uri, worker.schedule(
            () -> analyse(source, version, generation), DELAY_MS, TimeUnit.MILLISECONDS));
        if (previous != null) {
            previous.cancel(false);
        }
    }

    public void closed(URI uri) {
        generations.computeIfAbsent(uri, u -> new AtomicLong()).incrementAndGet();
        ScheduledFuture<?> previous = pending.remove(uri);
        if (previous != null) {
            previous.cancel(false);
        }
        publish.accept(Json.object("uri", uri.toString(), "diagnostics", List.of()));
    }

    private boolean current(URI uri, long generation) {
        return generations.get(uri).get() == generation;
    }

    private void analyse(SourceContext source, int version, long generation) {
        if (!current(source.uri, generation)) {
            return;
        }
        List<Map<String, Object>> found = new ArrayList<>();
        try {
            source.compileForDiagnostics(d -> {
                if (d.getSource() != null && d.getSource().toUri().equals(source.uri)) {
                    found.add(diagnostic(source.text, d));
                }
            }, () -> !current(source.uri, generation));
        } catch (CancellationException cancelled) {
            return;
        } catch (RuntimeException | Error broken) {
            found.clear();
            found.add(Json.object("range", Protocol.range(source.text, 0, 0), "severity", 2, "source", "javac",
                "message", "The file could not be analysed: " + broken));
        }
        if (current(source.uri, generation)) {
            publish.accept(Json.object("uri", source.uri.toString(), "version", version, "diagnostics", found));
        }
    }

    private static Map<String, Object> diagnostic(String text, Diagnostic<? extends JavaFileObject> d) {
        long start = d.getStartPosition();
        long end = d.getEndPosition();
        if (start == Diagnostic.NOPOS) {
            start = d.getPosition() == Diagnostic.NOPOS ? 0 : d.getPosition();
        }
        if (end == Diagnostic.NOPOS || end < start) {
            end = start;
        }
        int severity;
        switch (d.getKind()) {
            case ERROR: severity = 1; break;
            case WARNING:
            case MANDATORY_WARNING: severity = 2; break;
            case NOTE: severity = 3; break;
            default: severity = 4;
        }
        Map<String, Object> out = Json.object("range", Protocol.range(text, (int) start, (int) end),
            "severity", severity, "source", "javac", "message", d.getMessage(Locale.ROOT));
        if (d.getCode() != null) {
            out.put("code", d.getCode());
        }
        return out;
    }
}
