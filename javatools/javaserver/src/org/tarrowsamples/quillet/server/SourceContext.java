package org.tarrowsamples.quillet.server;

import java.net.URI;
import java.nio.file.Path;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.function.BooleanSupplier;
import javax.tools.DiagnosticListener;
import javax.tools.JavaFileObject;

/** A snapshot of one open file's text with the paths it compiles against. */
public final class SourceContext {
    public final URI uri;
    public final Path path;
    public final String text;
    public final List<Path> sourcePath;
    public final List<Path> classPath;

    public SourceContext(TextDocument doc, ProjectSettings settings) {
        this.uri = doc.uri;
        this.path = doc.path;
        this.text = doc.text();
        this.sourcePath = settings.sourcePathFor(doc.path, text);
        this.classPath = settings.classPath();
    }

    /** The file alone, with its text replaced, against the source path. */
    public JavaCompilation compile(String replacedText, BooleanSupplier cancelled) {
        return JavaCompilation.analyze(Map.of(uri, replacedText), sourcePath, classPath, null, cancelled, List.of());
    }

    public JavaCompilation compileForDiagnostics(DiagnosticListener<JavaFileObject> listener, BooleanSupplier cancelled) {
        return JavaCompilation.analyze(Map.of(uri, text), sourcePath, classPath, listener, cancelled,
            List.of("-Xlint:all,-serial,-processing,-path,-options,-classfile"));
    }

    /** Every file of the source tree, open ones with their current texts. */
    public JavaCompilation compileTree(Map<URI, String> openTexts) {
        Map<URI, String> sources = new LinkedHashMap<>();
        for (Path file : ProjectSettings.sourceFiles(sourcePath)) {
            URI fileUri = file.toUri();
            String open = openTexts.get(fileUri);
            if (open != null) {
                sources.put(fileUri, open);
            } else {
                try {
                    sources.put(fileUri, java.nio.file.Files.readString(file));
                } catch (java.io.IOException | RuntimeException unreadable) {
                    // A file that cannot be read as UTF-8 is left out.
                }
            }
        }
        sources.put(uri, text);
        return JavaCompilation.analyze(sources, sourcePath, classPath, null, null, List.of());
    }
}
