package org.tarrowsamples.quillet.server;

import com.sun.source.tree.CompilationUnitTree;
import com.sun.source.util.DocTrees;
import com.sun.source.util.JavacTask;
import com.sun.source.util.SourcePositions;
import com.sun.source.util.TaskEvent;
import com.sun.source.util.TaskListener;
import java.lang.module.ModuleFinder;
import java.net.URI;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.concurrent.CancellationException;
import java.util.function.BooleanSupplier;
import javax.lang.model.util.Elements;
import javax.lang.model.util.Types;
import javax.tools.DiagnosticListener;
import javax.tools.ForwardingJavaFileManager;
import javax.tools.JavaCompiler;
import javax.tools.JavaFileObject;
import javax.tools.SimpleJavaFileObject;
import javax.tools.StandardJavaFileManager;
import javax.tools.ToolProvider;

/**
 * One attributed javac compilation of in-memory texts, with the source path
 * and class path for everything else. Attribution goes on past syntax errors
 * so that code being typed still has types and scopes.
 */
public final class JavaCompilation {
    public final JavacTask task;
    public final DocTrees trees;
    public final Elements elements;
    public final Types types;
    public final SourcePositions positions;
    public final List<CompilationUnitTree> units = new ArrayList<>();
    private final Map<URI, String> texts;

    /** A source text held in memory under its file's URI. */
    static final class SourceText extends SimpleJavaFileObject {
        final String text;

        SourceText(URI uri, String text) {
            super(uri, JavaFileObject.Kind.SOURCE);
            this.text = text;
        }

        @Override
        public CharSequence getCharContent(boolean ignoreEncodingErrors) {
            return text;
        }
    }

    /**
     * Lets javac place an in-memory text in the module of its file, which it
     * otherwise asks only of the file objects it made itself.
     */
    private static final class InMemoryAware extends ForwardingJavaFileManager<StandardJavaFileManager> {
        InMemoryAware(StandardJavaFileManager files) {
            super(files);
        }

        @Override
        public Location getLocationForModule(Location location, JavaFileObject fo) throws java.io.IOException {
            if (fo instanceof SourceText && "file".equals(fo.toUri().getScheme())) {
                for (JavaFileObject onDisk : fileManager.getJavaFileObjects(Path.of(fo.toUri()))) {
                    return fileManager.getLocationForModule(location, onDisk);
                }
            }
            return fileManager.getLocationForModule(location, fo);
        }
    }

    private JavaCompilation(JavacTask task, Map<URI, String> texts) {
        this.task = task;
        this.texts = texts;
        trees = DocTrees.instance(task);
        elements = task.getElements();
        types = task.getTypes();
        positions = trees.getSourcePositions();
    }

    /**
     * Parses and attributes the given texts (URI to text). Throws
     * CancellationException once cancelled says so.
     */
    public static JavaCompilation analyze(Map<URI, String> sources, List<Path> sourcePath, List<Path> classPath,
                                          DiagnosticListener<JavaFileObject> diagnostics, BooleanSupplier cancelled,
                                          List<String> extraOptions) {
        JavaCompiler compiler = ToolProvider.getSystemJavaCompiler();
        StandardJavaFileManager files = compiler.getStandardFileManager(null, null, StandardCharsets.UTF_8);
        List<String> options = new ArrayList<>(List.of(
            "-proc:none", "-encoding", "UTF-8", "-XDshould-stop.ifError=FLOW", "-XDshould-stop.at=FLOW",
            "-classpath", ProjectSettings.joined(classPath)));
        // A source root named after a JDK module (as the JDK's own sources are laid out)
        // patches that module; javac rejects its packages anywhere else.
        List<Path> plainRoots = new ArrayList<>();
        for (Path root : sourcePath) {
            String name = root.getFileName() == null ? "" : root.getFileName().toString();
            if (ModuleLayer.boot().findModule(name).isPresent() || ModuleFinder.ofSystem().find(name).isPresent()) {
                options.add("--patch-module");
                options.add(name + "=" + root);
            } else {
                plainRoots.add(root);
            }
        }
        if (!plainRoots.isEmpty()) {
            options.add("-sourcepath");
            options.add(ProjectSettings.joined(plainRoots));
        }
        options.addAll(extraOptions);
        List<JavaFileObject> units = new ArrayList<>();
        Map<URI, String> texts = new LinkedHashMap<>(sources);
        for (Map.Entry<URI, String> source : texts.entrySet()) {
            units.add(new SourceText(source.getKey(), source.getValue()));
        }
        DiagnosticListener<JavaFileObject> listener = diagnostics != null ? diagnostics : d -> { };
        JavacTask task = (JavacTask) compiler.getTask(null, new InMemoryAware(files), listener, options, null, units);
        if (cancelled != null) {
            task.addTaskListener(new TaskListener() {
                @Override
                public void started(TaskEvent e) {
                    if (cancelled.getAsBoolean()) {
                        throw new CancellationException();
                    }
                }
            });
        }
        JavaCompilation compilation = new JavaCompilation(task, texts);
        try {
            for (CompilationUnitTree unit : task.parse()) {
                compilation.units.add(unit);
            }
            task.analyze();
        } catch (CancellationException e) {
            throw e;
        } catch (RuntimeException e) {
            if (cancelled != null && cancelled.getAsBoolean()) {
                throw new CancellationException();
            }
            if (e.getCause() instanceof CancellationException) {
                throw (CancellationException) e.getCause();
            }
            throw e;
        } catch (java.io.IOException e) {
            throw new IllegalStateException(e);
        }
        return compilation;
    }

    public CompilationUnitTree unit(URI uri) {
        for (CompilationUnitTree unit : units) {
            if (unit.getSourceFile().toUri().equals(uri)) {
                return unit;
            }
        }
        return null;
    }

    /** The text javac read for a unit: the in-memory one, or the file's. */
    public String textOf(CompilationUnitTree unit) {
        String text = texts.get(unit.getSourceFile().toUri());
        if (text != null) {
            return text;
        }
        try {
            return unit.getSourceFile().getCharContent(true).toString();
        } catch (java.io.IOException e) {
            return "";
        }
    }
}
