package org.tarrowsamples.quillet.server;

import com.sun.source.tree.ClassTree;
import com.sun.source.tree.CompilationUnitTree;
import com.sun.source.tree.IdentifierTree;
import com.sun.source.tree.MemberReferenceTree;
import com.sun.source.tree.MemberSelectTree;
import com.sun.source.tree.MethodTree;
import com.sun.source.tree.NewClassTree;
import com.sun.source.tree.Tree;
import com.sun.source.tree.VariableTree;
import com.sun.source.util.TreePath;
import com.sun.source.util.TreePathScanner;
import java.net.URI;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import javax.lang.model.element.Element;
import javax.lang.model.element.ExecutableElement;

/**
 * Hover, go to definition and find references: each starts from the element
 * named at the position. Definitions in the source tree are found through
 * javac's trees; the JDK's in a copy of its source file from src.zip.
 */
public final class NavigationProvider {
    private final JdkSources jdk;

    public NavigationProvider(JdkSources jdk) {
        this.jdk = jdk;
    }

    public Map<String, Object> hover(SourceContext source, int offset) {
        JavaCompilation c = source.compile(source.text, null);
        CompilationUnitTree unit = c.unit(source.uri);
        TreePath path = ElementLocator.pathAt(c, unit, source.text, offset);
        Element e = ElementLocator.elementAt(c, path);
        if (e == null) {
            return null;
        }
        ElementText words = new ElementText(c, jdk);
        StringBuilder value = new StringBuilder("```java\n").append(words.declaration(e)).append("\n```");
        String doc = words.firstSentence(e);
        if (!doc.isEmpty()) {
            value.append("\n\n").append(doc);
        }
        return Json.object("contents", Json.object("kind", "markdown", "value", value.toString()));
    }

    public List<Map<String, Object>> definition(SourceContext source, int offset) {
        JavaCompilation c = source.compile(source.text, null);
        CompilationUnitTree unit = c.unit(source.uri);
        Element e = ElementLocator.elementAt(c, ElementLocator.pathAt(c, unit, source.text, offset));
        List<Map<String, Object>> out = new ArrayList<>();
        if (e == null) {
            return out;
        }
        TreePath declared = c.trees.getPath(e);
        if (declared != null) {
            CompilationUnitTree declaringUnit = declared.getCompilationUnit();
            String text = c.textOf(declaringUnit);
            int name = ElementLocator.nameOffset(c, declaringUnit, text, declared.getLeaf());
            String length = e.getKind() == javax.lang.model.element.ElementKind.CONSTRUCTOR
                ? e.getEnclosingElement().getSimpleName().toString() : e.getSimpleName().toString();
            URI uri = declaringUnit.getSourceFile().toUri();
            out.add(Protocol.location(uri.toString(), text, name, name + length.length()));
            return out;
        }
        JdkSources.Declaration d = jdk.find(c, e);
        Path file = d != null ? jdk.extract(d) : null;
        if (file != null) {
            String name = e.getKind() == javax.lang.model.element.ElementKind.CONSTRUCTOR
                ? e.getEnclosingElement().getSimpleName().toString() : e.getSimpleName().toString();
            out.add(Protocol.location(file.toUri().toString(), d.text, d.nameOffset, d.nameOffset + name.length()));
        }
        return out;
    }

    public List<Map<String, Object>> references(SourceContext source, int offset, boolean includeDeclaration,
                                                Map<URI, String> openTexts) {
        JavaCompilation c = source.compileTree(openTexts);
        CompilationUnitTree unit = c.unit(source.uri);
        Element target = ElementLocator.elementAt(c, ElementLocator.pathAt(c, unit, source.text, offset));
        List<Map<String, Object>> out = new ArrayList<>();
        if (target == null) {
            return out;
        }
        for (CompilationUnitTree u : c.units) {
            String text = c.textOf(u);
            String uri = u.getSourceFile().toUri().toString();
            new TreePathScanner<Void, Void>() {
                private void use(Tree t, long end, CharSequence name) {
                    if (end >= 0 && (target.equals(elementOf(getCurrentPath()))
                            || target.equals(c.trees.getElement(getCurrentPath())))) {
                        out.add(Protocol.location(uri, text, (int) end - name.length(), (int) end));
                    }
                }

                private Element elementOf(TreePath p) {
                    return ElementLocator.elementAt(c, p);
                }

                @Override
                public Void visitIdentifier(IdentifierTree t, Void v) {
                    use(t, c.positions.getEndPosition(u, t), t.getName());
                    return null;
                }

                @Override
                public Void visitMemberSelect(MemberSelectTree t, Void v) {
                    use(t, c.positions.getEndPosition(u, t), t.getIdentifier());
                    return super.visitMemberSelect(t, v);
                }

                @Override
                public Void visitMemberReference(MemberReferenceTree t, Void v) {
                    use(t, c.positions.getEndPosition(u, t), t.getName());
                    return super.visitMemberReference(t, v);
                }

                @Override
                public Void visitMethod(MethodTree t, Void v) {
                    declaration(t);
                    return super.visitMethod(t, v);
                }

                @Override
                public Void visitClass(ClassTree t, Void v) {
                    declaration(t);
                    return super.visitClass(t, v);
                }

                @Override
                public Void visitVariable(VariableTree t, Void v) {
                    declaration(t);
                    return super.visitVariable(t, v);
                }

                private void declaration(Tree t) {
                    if (!includeDeclaration || !target.equals(c.trees.getElement(getCurrentPath()))) {
                        return;
                    }
                    int name = ElementLocator.nameOffset(c, u, text, t);
                    String n = target instanceof ExecutableElement
                        && target.getKind() == javax.lang.model.element.ElementKind.CONSTRUCTOR
                        ? target.getEnclosingElement().getSimpleName().toString() : target.getSimpleName().toString();
                    out.add(Protocol.location(uri, text, name, name + n.length()));
                }
            }.scan(u, null);
        }
        return out;
    }
}
