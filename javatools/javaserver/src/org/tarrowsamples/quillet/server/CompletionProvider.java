package org.tarrowsamples.quillet.server;

import com.sun.source.tree.CompilationUnitTree;
import com.sun.source.tree.IdentifierTree;
import com.sun.source.tree.ImportTree;
import com.sun.source.tree.MemberSelectTree;
import com.sun.source.tree.Tree;
import com.sun.source.util.TreePath;
import com.sun.source.util.TreePathScanner;
import com.sun.source.tree.Scope;
import java.util.ArrayList;
import java.util.HashSet;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Locale;
import java.util.Map;
import java.util.Set;
import javax.lang.model.element.Element;
import javax.lang.model.element.ElementKind;
import javax.lang.model.element.ExecutableElement;
import javax.lang.model.element.PackageElement;
import javax.lang.model.element.TypeElement;
import javax.lang.model.type.ArrayType;
import javax.lang.model.type.DeclaredType;
import javax.lang.model.type.TypeKind;
import javax.lang.model.type.TypeMirror;
import javax.lang.model.type.TypeVariable;

/**
 * Completion at a caret. The identifier at the caret is replaced by a
 * placeholder name before parsing, so that "expr." with nothing after it
 * still parses into a member select whose expression javac attributes.
 * After a dot come the members of the expression's type (static ones after
 * a type name); elsewhere the names in scope, the source tree's types and the
 * JDK's public classes, the ones not yet imported with their import.
 */
public final class CompletionProvider {
    static final String PLACEHOLDER = "quilletCaret__";
    private static final int MAX_TYPES = 150;

    private final JdkClassIndex jdkClasses;
    private final JdkSources jdk;

    public CompletionProvider(JdkClassIndex jdkClasses, JdkSources jdk) {
        this.jdkClasses = jdkClasses;
        this.jdk = jdk;
    }

    /** The identifier characters before offset: where the typed prefix starts. */
    static int prefixStart(String text, int offset) {
        int start = offset;
        while (start > 0 && Character.isJavaIdentifierPart(text.charAt(start - 1))) {
            start--;
        }
        return start;
    }

    public Map<String, Object> complete(SourceContext source, int offset) {
        String text = source.text;
        int start = prefixStart(text, offset);
        int end = offset;
        while (end < text.length() && Character.isJavaIdentifierPart(text.charAt(end))) {
            end++;
        }
        String prefix = text.substring(start, offset);
        String parsedText = text.substring(0, start) + PLACEHOLDER + text.substring(end);
        JavaCompilation c = source.compile(parsedText, null);
        CompilationUnitTree unit = c.unit(source.uri);
        TreePath at = placeholderPath(unit);
        List<Map<String, Object>> items = new ArrayList<>();
        boolean incomplete = false;
        Map<String, Object> range = Protocol.range(text, start, offset);
        ElementText words = new ElementText(c, jdk);
        if (at != null && at.getLeaf() instanceof MemberSelectTree) {
            members(c, words, at, prefix, range, items);
        } else {
            TreePath scopePath = at != null ? at : deepestPath(c, unit, start);
            if (scopePath != null) {
                incomplete = inScope(c, words, unit, text, scopePath, prefix, range, items,
                    JdkClassIndex.sourceTypes(source.sourcePath));
            }
        }
        return Json.object("isIncomplete", incomplete, "items", items);
    }

    private static TreePath placeholderPath(CompilationUnitTree unit) {
        TreePath[] found = new TreePath[1];
        new TreePathScanner<Void, Void>() {
            @Override
            public Void visitMemberSelect(MemberSelectTree t, Void v) {
                if (t.getIdentifier().contentEquals(PLACEHOLDER)) {
                    found[0] = getCurrentPath();
                }
                return super.visitMemberSelect(t, v);
            }

            @Override
            public Void visitIdentifier(IdentifierTree t, Void v) {
                if (t.getName().contentEquals(PLACEHOLDER)) {
                    found[0] = getCurrentPath();
                }
                return null;
            }
        }.scan(unit, null);
        return found[0];
    }

    private static TreePath deepestPath(JavaCompilation c, CompilationUnitTree unit, int offset) {
        TreePath[] found = {new TreePath(unit)};
        new TreePathScanner<Void, Void>() {
            @Override
            public Void scan(Tree t, Void v) {
                if (t == null) {
                    return null;
                }
                long s = c.positions.getStartPosition(unit, t);
                long e = c.positions.getEndPosition(unit, t);
                if (s <= offset && offset <= e) {
                    found[0] = new TreePath(getCurrentPath() == null ? new TreePath(unit) : getCurrentPath(), t);
                    return super.scan(t, v);
                }
                return null;
            }
        }.scan(unit, null);
        return found[0];
    }

    private static boolean matches(String name, String prefix) {
        return name.regionMatches(true, 0, prefix, 0, prefix.length()) && !name.equals(PLACEHOLDER)
            && !name.startsWith("<");
    }

    /** The members offered after "expr.": what javax.lang.model says the expression's type has. */
    static List<Element> memberElements(JavaCompilation c, TreePath select) {
        MemberSelectTree mst = (MemberSelectTree) select.getLeaf();
        TreePath exprPath = new TreePath(select, mst.getExpression());
        Element named = c.trees.getElement(exprPath);
        TypeMirror type = c.trees.getTypeMirror(exprPath);
        Scope scope = c.trees.getScope(select);
        List<Element> out = new ArrayList<>();
        if (named instanceof PackageElement) {
            for (Element e : named.getEnclosedElements()) {
                out.add(e);
            }
            return out;
        }
        boolean typeName = named != null && ElementLocator.isType(named);
        if (type instanceof TypeVariable) {
            type = ((TypeVariable) type).getUpperBound();
        }
        if (type instanceof ArrayType && !typeName) {
            type = c.elements.getTypeElement("java.lang.Object").asType();
        }
        if (!(type instanceof DeclaredType)) {
            return out;
        }
        DeclaredType declared = (DeclaredType) type;
        TypeElement te = (TypeElement) declared.asElement();
        for (Element e : c.elements.getAllMembers(te)) {
            ElementKind k = e.getKind();
            if (k == ElementKind.CONSTRUCTOR || k == ElementKind.STATIC_INIT || k == ElementKind.INSTANCE_INIT) {
                continue;
            }
            boolean isType = ElementLocator.isType(e);
            if (typeName ? !(ElementText.isStatic(e) || isType) : (ElementText.isStatic(e) || isType)) {
                continue;
            }
            if (!c.trees.isAccessible(scope, e, declared)) {
                continue;
            }
            out.add(e);
        }
        return out;
    }

    private void members(JavaCompilation c, ElementText words, TreePath select, String prefix,
                         Map<String, Object> range, List<Map<String, Object>> items) {
        MemberSelectTree mst = (MemberSelectTree) select.getLeaf();
        TreePath exprPath = new TreePath(select, mst.getExpression());
        TypeMirror type = c.trees.getTypeMirror(exprPath);
        if (type != null && type.getKind() == TypeKind.ARRAY && matches("length", prefix)) {
            items.add(Json.object("label", "length", "kind", 5, "detail", "int", "filterText", "length",
                "textEdit", Json.object("range", range, "newText", "length")));
        }
        DeclaredType receiver = type instanceof DeclaredType ? (DeclaredType) type : null;
        Set<String> seen = new HashSet<>();
        for (Element e : memberElements(c, select)) {
            if (e == null || !matches(e.getSimpleName().toString(), prefix)) {
                continue;
            }
            Map<String, Object> item = item(words, e, receiver, range);
            if (seen.add((String) item.get("label"))) {
                items.add(item);
            }
        }
    }

    private Map<String, Object> item(ElementText words, Element e, DeclaredType receiver, Map<String, Object> range) {
        String name = e.getSimpleName().toString();
        String label = name;
        String detail;
        String insert = name;
        if (e instanceof ExecutableElement) {
            ExecutableElement ee = (ExecutableElement) e;
            label = words.signature(ee, receiver);
            detail = words.returnType(ee, receiver);
            insert = name + (ee.getParameters().isEmpty() ? "()" : "(");
        } else if (ElementLocator.isType(e)) {
            detail = ((TypeElement) e).getQualifiedName().toString();
        } else {
            detail = words.fieldType(e, receiver);
        }
        return Json.object("label", label, "kind", ElementText.completionKind(e), "detail", detail,
            "filterText", name, "sortText", name.toLowerCase(Locale.ROOT) + " " + label,
            "textEdit", Json.object("range", range, "newText", insert));
    }

    // Returns whether the list of types was cut short.
    private boolean inScope(JavaCompilation c, ElementText words, CompilationUnitTree unit, String text, TreePath at,
                            String prefix, Map<String, Object> range, List<Map<String, Object>> items,
                            List<String> sourceTypes) {
        Scope scope = c.trees.getScope(at);
        Map<String, Map<String, Object>> byLabel = new LinkedHashMap<>();
        Set<String> typeNames = new HashSet<>();
        for (Scope s = scope; s != null; s = s.getEnclosingScope()) {
            for (Element e : s.getLocalElements()) {
                addScoped(c, words, scope, e, prefix, range, byLabel, typeNames);
            }
        }
        for (Element cls = scope.getEnclosingClass(); cls != null; cls = cls.getEnclosingElement()) {
            if (cls instanceof TypeElement) {
                for (Element e : c.elements.getAllMembers((TypeElement) cls)) {
                    addScoped(c, words, scope, e, prefix, range, byLabel, typeNames);
                }
            }
        }
        items.addAll(byLabel.values());
        if (prefix.isEmpty() || !Character.isUpperCase(prefix.charAt(0))) {
            return false;
        }
        String ownPackage = unit.getPackageName() == null ? "" : unit.getPackageName().toString();
        Set<String> imported = new HashSet<>();
        for (ImportTree imp : unit.getImports()) {
            imported.add(imp.getQualifiedIdentifier().toString());
        }
        int added = 0;
        List<String> candidates = new ArrayList<>(sourceTypes);
        candidates.addAll(jdkClasses.jdkTypes(c));
        for (String qualified : candidates) {
            String simple = qualified.substring(qualified.lastIndexOf('.') + 1);
            if (!matches(simple, prefix) || typeNames.contains(simple)) {
                continue;
            }
            String pkg = qualified.substring(0, Math.max(0, qualified.lastIndexOf('.')));
            if (pkg.equals("java.lang") || pkg.equals(ownPackage) || imported.contains(qualified)
                    || imported.contains(pkg + ".*")) {
                continue;
            }
            if (++added > MAX_TYPES) {
                return true;
            }
            typeNames.add(simple);
            Map<String, Object> item = Json.object("label", simple, "kind", 7, "detail", qualified,
                "sortText", "~" + simple.toLowerCase(Locale.ROOT) + " " + qualified,
                "textEdit", Json.object("range", range, "newText", simple),
                "additionalTextEdits", List.of(ImportPlacement.importEdit(c, unit, text, qualified)));
            items.add(item);
        }
        return false;
    }

    private void addScoped(JavaCompilation c, ElementText words, Scope scope, Element e, String prefix,
                           Map<String, Object> range, Map<String, Map<String, Object>> byLabel, Set<String> typeNames) {
        ElementKind k = e.getKind();
        if (k == ElementKind.CONSTRUCTOR || k == ElementKind.STATIC_INIT || k == ElementKind.INSTANCE_INIT
                || k == ElementKind.PACKAGE || !matches(e.getSimpleName().toString(), prefix)) {
            return;
        }
        if (e.getSimpleName().contentEquals("this") || e.getSimpleName().contentEquals("super")) {
            return;
        }
        if (e.getEnclosingElement() instanceof TypeElement && !ElementLocator.isType(e)
                && scope.getEnclosingClass() != null) {
            DeclaredType site = (DeclaredType) scope.getEnclosingClass().asType();
            if (!c.trees.isAccessible(scope, e, site)) {
                return;
            }
        } else if (ElementLocator.isType(e) && !c.trees.isAccessible(scope, (TypeElement) e)) {
            return;
        }
        if (ElementLocator.isType(e)) {
            typeNames.add(e.getSimpleName().toString());
        }
        Map<String, Object> item = item(words, e, null, range);
        byLabel.putIfAbsent((String) item.get("label"), item);
    }
}
