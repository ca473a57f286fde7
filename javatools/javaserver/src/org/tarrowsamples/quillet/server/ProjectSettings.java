package org.tarrowsamples.quillet.server;

import java.io.File;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import java.util.stream.Stream;

/**
 * Where a file's sources and classes come from: the client's source path,
 * class path and the JDK's source archive; without a source path, the root
 * of the file's package (its folder for a file with no package).
 */
public final class ProjectSettings {
    private static final Pattern PACKAGE =
        Pattern.compile("^\\s*package\\s+([\\w.]+)\\s*;", Pattern.MULTILINE);

    private final List<Path> sourcePath = new ArrayList<>();
    private final List<Path> classPath = new ArrayList<>();
    private final Path jdkSourceZip;

    public ProjectSettings(Map<String, Object> options) {
        Path zip = null;
        if (options != null) {
            addPaths(options.get("sourcePath"), sourcePath);
            addPaths(options.get("classPath"), classPath);
            if (options.get("jdkSourceZip") instanceof String) {
                zip = Path.of((String) options.get("jdkSourceZip"));
            }
        }
        if (zip == null) {
            // The running JDK's own sources, where its package installed them.
            zip = Path.of(System.getProperty("java.home"), "lib", "src.zip");
        }
        jdkSourceZip = Files.isRegularFile(zip) ? zip : null;
    }

    private static void addPaths(Object list, List<Path> into) {
        List<Object> items = Json.asList(list);
        if (items == null) {
            return;
        }
        for (Object item : items) {
            if (item instanceof String && !((String) item).isEmpty()) {
                into.add(Path.of((String) item).toAbsolutePath().normalize());
            }
        }
    }

    public Path jdkSourceZip() {
        return jdkSourceZip;
    }

    public List<Path> classPath() {
        return classPath;
    }

    public List<Path> sourcePathFor(Path file, String text) {
        if (!sourcePath.isEmpty()) {
            return sourcePath;
        }
        Path folder = file.toAbsolutePath().getParent();
        Matcher m = PACKAGE.matcher(text);
        if (m.find()) {
            String[] parts = m.group(1).split("\\.");
            Path root = folder;
            for (int i = parts.length - 1; i >= 0 && root != null; i--) {
                if (root.getFileName() == null || !root.getFileName().toString().equals(parts[i])) {
                    return List.of(folder);
                }
                root = root.getParent();
            }
            if (root != null) {
                return List.of(root);
            }
        }
        return List.of(folder);
    }

    public static String joined(List<Path> paths) {
        StringBuilder out = new StringBuilder();
        for (Path p : paths) {
            if (out.length() > 0) {
                out.append(File.pathSeparatorChar);
            }
            out.append(p);
        }
        return out.toString();
    }

    /** Every .java file under the source path, hidden folders left out. */
    public static List<Path> sourceFiles(List<Path> roots) {
        List<Path> files = new ArrayList<>();
        for (Path root : roots) {
            if (!Files.isDirectory(root)) {
                continue;
            }
            try (Stream<Path> walk = Files.walk(root)) {
                walk.filter(p -> p.toString().endsWith(".java") && Files.isRegularFile(p))
                    .filter(p -> !hidden(root, p))
                    .forEach(p -> files.add(p.toAbsolutePath().normalize()));
            } catch (IOException | RuntimeException unreadable) {
                // A folder that cannot be read adds no sources.
            }
        }
        return files;
    }

    private static boolean hidden(Path root, Path file) {
        for (Path part : root.relativize(file)) {
            if (part.toString().startsWith(".")) {
                return true;
            }
        }
        return false;
    }
}
