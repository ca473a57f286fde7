package org.tarrowsamples.quillet.server;

import com.sun.source.doctree.DocCommentTree;
import com.sun.source.tree.ClassTree;
import com.sun.source.tree.CompilationUnitTree;
import com.sun.source.tree.MethodTree;
import com.sun.source.tree.Tree;
import com.sun.source.tree.VariableTree;
import com.sun.source.util.DocTrees;
import com.sun.source.util.JavacTask;
import com.sun.source.util.TreePath;
import java.io.IOException;
import java.io.InputStream;
import java.net.URI;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.nio.file.attribute.PosixFilePermissions;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.zip.ZipEntry;
import java.util.zip.ZipFile;
import javax.lang.model.element.Element;
import javax.lang.model.element.ExecutableElement;
import javax.lang.model.element.ModuleElement;
import javax.lang.model.element.TypeElement;
import javax.lang.model.element.VariableElement;
import javax.lang.model.type.ArrayType;
import javax.lang.model.type.DeclaredType;
import javax.lang.model.type.TypeMirror;
import javax.lang.model.util.Elements;
import javax.lang.model.util.Types;
import javax.tools.JavaCompiler;
import javax.tools.ToolProvider;

/**
 * The JDK's own sources from its src.zip (module/package/Class.java): the
 * parameter names and Javadoc that class files lack, and a copy in a private
 * cache folder for going to a declaration. Parsed files are kept for a while.
 */
public final class JdkSources {
    /** A JDK declaration found in its source. */
    public static final class Declaration {
        public final String entry;
        public final String text;
        public final int nameOffset;
        public final Tree tree;
        public final DocCommentTree doc;

        Declaration(String entry, String text, int nameOffset, Tree tree, DocCommentTree doc) {
            this.entry = entry;
            this.text = text;
            this.nameOffset = nameOffset;
            this.tree = tree;
            this.doc = doc;
        }
    }

    private static final class Parsed {
        String text;
        CompilationUnitTree unit;
        DocTrees docTrees;
    }

    private final Path zip;
    private final Map<String, Parsed> parsed = new LinkedHashMap<>(16, 0.75f, true) {
        @Override
        protected boolean removeEldestEntry(Map.Entry<String, Parsed> eldest) {
            return size() > 24;
        }
    };
    private ZipFile zipFile;

    public JdkSources(Path zip) {
        this.zip = zip;
    }

    public boolean available() {
        return zip != null;
    }

    /** The entry of a top-level JDK type, or null for a type of no named module. */
    private static String entryName(Elements elements, TypeElement top) {
        ModuleElement module = elements.getModuleOf(top);
        if (module == null || module.isUnnamed()) {
            return null;
        }
        return module.getQualifiedName() + "/" + top.getQualifiedName().toString().replace('.', '/') + ".java";
    }

    private static TypeElement topLevel(Element e) {
        Element top = null;
        for (Element at = e; at != null; at = at.getEnclosingElement()) {
            if (at instanceof TypeElement) {
                top = at;
            }
        }
        return (TypeElement) top;
    }

    private synchronized Parsed parse(String entry) {
        Parsed cached = parsed.get(entry);
        if (cached != null) {
            return cached;
        }
        try {
            if (zipFile == null) {
                zipFile = new ZipFile(zip.toFile());
            }
            ZipEntry ze = zipFile.getEntry(entry);
            if (ze == null) {
                return null;
            }
            String text;
            try (InputStream in = zipFile.getInputStream(ze)) {
                text = new String(in.readAllBytes(), StandardCharsets.UTF_8);
            }
            JavaCompiler compiler = ToolProvider.getSystemJavaCompiler();
            URI uri = URI.create("file:///jdk-src/" + entry);
            JavacTask task = (JavacTask) compiler.getTask(null, null, d -> { }, List.of("-proc:none"), null,
                List.of(new JavaCompilation.SourceText(uri, text)));
            Parsed p = new Parsed();
            p.text = text;
            p.unit = task.parse().iterator().next();
            p.docTrees = DocTrees.instance(task);
            parsed.put(entry, p);
            return p;
        } catch (IOException | RuntimeException e) {
            return null;
        }
    }

    /** The declaration of a JDK element in its source, or null. */
    public Declaration find(JavaCompilation c, Element e) {
        if (zip == null || e == null) {
            return null;
        }
        TypeElement top = topLevel(e);
        if (top == null) {
            return null;
        }
        String entry = entryName(c.elements, top);
        if (entry == null) {
            return null;
        }
        synchronized (this) {
            Parsed p = parse(entry);
            if (p == null) {
                return null;
            }
            TreePath path = findPath(c, p.unit, e);
            if (path == null) {
                return null;
            }
            int start = (int) p.docTrees.getSourcePositions().getStartPosition(p.unit, path.getLeaf());
            int name = nameOffset(p, path.getLeaf(), e, start);
            return new Declaration(entry, p.text, name, path.getLeaf(),
                p.docTrees.getDocCommentTree(path));
        }
    }

    private int nameOffset(Parsed p, Tree t, Element e, int start) {
        String name = e.getKind() == javax.lang.model.element.ElementKind.CONSTRUCTOR
            ? e.getEnclosingElement().getSimpleName().toString() : e.getSimpleName().toString();
        int from = start;
        if (t instanceof MethodTree && ((MethodTree) t).getReturnType() != null) {
            from = (int) p.docTrees.getSourcePositions().getEndPosition(p.unit, ((MethodTree) t).getReturnType());
        } else if (t instanceof VariableTree) {
            from = (int) p.docTrees.getSourcePositions().getEndPosition(p.unit, ((VariableTree) t).getType());
        } else if (t instanceof ClassTree) {
            from = (int) p.docTrees.getSourcePositions().getEndPosition(p.unit, ((ClassTree) t).getModifiers());
        }
        int at = ElementLocator.wordIndex(p.text, name, Math.max(from, start));
        return at >= 0 ? at : Math.max(start, 0);
    }

    /** A copy of the declaration's file in the private cache, where the client may open it; null if none can be made. */
    public Path extract(Declaration d) {
        String entry = d.entry;
        String text = d.text;
        String base = System.getenv("XDG_CACHE_HOME");
        Path root = base != null && !base.isEmpty() ? Path.of(base) : Path.of(System.getProperty("user.home"), ".cache");
        Path folder = root.resolve("quillet").resolve("jdk-sources");
        Path file = folder.resolve(entry);
        try {
            if (!Files.isDirectory(folder)) {
                Files.createDirectories(folder);
                Files.setPosixFilePermissions(folder, PosixFilePermissions.fromString("rwx------"));
            }
            if (!Files.isRegularFile(file)) {
                Files.createDirectories(file.getParent());
                Path temp = Files.createTempFile(file.getParent(), ".part", ".java");
                Files.writeString(temp, text, StandardCharsets.UTF_8);
                temp.toFile().setReadOnly();
                Files.move(temp, file, StandardCopyOption.ATOMIC_MOVE, StandardCopyOption.REPLACE_EXISTING);
            }
        } catch (IOException | UnsupportedOperationException e) {
            return null;
        }
        return file;
    }

    // Walks the parsed source down the element's chain of enclosing types to the member.
    private static TreePath findPath(JavaCompilation c, CompilationUnitTree unit, Element e) {
        List<Element> chain = new ArrayList<>();
        for (Element at = e; at instanceof TypeElement || at instanceof ExecutableElement
                || at instanceof VariableElement; at = at.getEnclosingElement()) {
            chain.add(0, at);
        }
        TreePath path = new TreePath(unit);
        List<? extends Tree> members = unit.getTypeDecls();
        for (int i = 0; i < chain.size(); i++) {
            Element want = chain.get(i);
            Tree found = null;
            Tree sameName = null;
            for (Tree t : members) {
                if (want instanceof TypeElement && t instanceof ClassTree
                        && ((ClassTree) t).getSimpleName().contentEquals(want.getSimpleName())) {
                    found = t;
                } else if (want instanceof VariableElement && t instanceof VariableTree
                        && ((VariableTree) t).getName().contentEquals(want.getSimpleName())) {
                    found = t;
                } else if (want instanceof ExecutableElement && t instanceof MethodTree
                        && ((MethodTree) t).getName().contentEquals(want.getSimpleName())) {
                    ExecutableElement ee = (ExecutableElement) want;
                    MethodTree mt = (MethodTree) t;
                    if (mt.getParameters().size() == ee.getParameters().size()) {
                        if (sameName == null) {
                            sameName = t;
                        }
                        if (parametersMatch(c, mt, ee)) {
                            found = t;
                        }
                    }
                }
                if (found != null) {
                    break;
                }
            }
            if (found == null) {
                found = sameName;
            }
            if (found == null) {
                return null;
            }
            path = new TreePath(path, found);
            if (found instanceof ClassTree) {
                members = ((ClassTree) found).getMembers();
            }
        }
        return path;
    }

    private static boolean parametersMatch(JavaCompilation c, MethodTree mt, ExecutableElement ee) {
        Types types = c.types;
        for (int i = 0; i < ee.getParameters().size(); i++) {
            String written = simpleTypeName(mt.getParameters().get(i).getType().toString());
            String actual = erasedSimpleName(types, ee.getParameters().get(i).asType());
            if (written.length() == 1 || (written.length() == 3 && written.endsWith("[]"))) {
                continue; // a type variable such as T or T[]
            }
            if (!written.equals(actual)) {
                return false;
            }
        }
        return true;
    }

    private static String simpleTypeName(String written) {
        String s = written.replaceAll("<.*>", "").replace("...", "[]").replaceAll("@\\S+\\s+", "").trim();
        int dot = s.lastIndexOf('.', s.indexOf('[') >= 0 ? s.indexOf('[') : s.length());
        return dot >= 0 ? s.substring(dot + 1) : s;
    }

    private static String erasedSimpleName(Types types, TypeMirror t) {
        TypeMirror erased = types.erasure(t);
        if (erased instanceof ArrayType) {
            return erasedSimpleName(types, ((ArrayType) erased).getComponentType()) + "[]";
        }
        if (erased instanceof DeclaredType) {
            return ((DeclaredType) erased).asElement().getSimpleName().toString();
        }
        return erased.toString();
    }

    /** The parameter names of a JDK method as its source writes them, or null. */
    public List<String> parameterNames(JavaCompilation c, ExecutableElement e) {
        Declaration d = find(c, e);
        if (d == null || !(d.tree instanceof MethodTree)) {
            return null;
        }
        List<String> names = new ArrayList<>();
        for (VariableTree p : ((MethodTree) d.tree).getParameters()) {
            names.add(p.getName().toString());
        }
        return names.size() == e.getParameters().size() ? names : null;
    }
}
