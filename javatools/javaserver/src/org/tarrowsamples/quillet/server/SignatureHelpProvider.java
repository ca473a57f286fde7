package org.tarrowsamples.quillet.server;

import com.sun.source.tree.CompilationUnitTree;
import com.sun.source.tree.IdentifierTree;
import com.sun.source.tree.MemberSelectTree;
import com.sun.source.tree.NewClassTree;
import com.sun.source.tree.Scope;
import com.sun.source.util.TreePath;
import com.sun.source.util.TreePathScanner;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import javax.lang.model.element.Element;
import javax.lang.model.element.ElementKind;
import javax.lang.model.element.ExecutableElement;
import javax.lang.model.element.TypeElement;
import javax.lang.model.type.DeclaredType;
import javax.lang.model.type.TypeMirror;

/**
 * The signatures of the method or constructor whose argument list holds the
 * caret. The open parenthesis and the argument's index are found in the text
 * (strings, characters and nested brackets skipped); the candidates are the
 * methods of that name of the receiver's type or in scope, or the class's
 * constructors after new.
 */
public final class SignatureHelpProvider {
    private final JdkSources jdk;

    public SignatureHelpProvider(JdkSources jdk) {
        this.jdk = jdk;
    }

    /** {open parenthesis offset, argument index}, or null outside any argument list. */
    static int[] openCall(String text, int offset) {
        int depth = 0;
        int commas = 0;
        for (int i = offset - 1; i >= 0; i--) {
            char ch = text.charAt(i);
            if (ch == '"' || ch == '\'') {
                int j = i - 1;
                while (j >= 0 && !(text.charAt(j) == ch && (j == 0 || text.charAt(j - 1) != '\\'))) {
                    if (text.charAt(j) == '\n') {
                        break;
                    }
                    j--;
                }
                i = Math.max(j, 0);
            } else if (ch == ')' || ch == ']' || ch == '}') {
                depth++;
            } else if (ch == '(' || ch == '[' || ch == '{') {
                if (depth == 0) {
                    return ch == '(' ? new int[] {i, commas} : null;
                }
                depth--;
            } else if (ch == ',' && depth == 0) {
                commas++;
            } else if (ch == ';' && depth == 0) {
                return null;
            }
        }
        return null;
    }

    public Map<String, Object> help(SourceContext source, int offset) {
        String text = source.text;
        int[] call = openCall(text, offset);
        if (call == null) {
            return null;
        }
        int paren = call[0];
        int nameEnd = paren;
        while (nameEnd > 0 && Character.isWhitespace(text.charAt(nameEnd - 1))) {
            nameEnd--;
        }
        int nameStart = CompletionProvider.prefixStart(text, nameEnd);
        if (nameStart == nameEnd) {
            return null;
        }
        String name = text.substring(nameStart, nameEnd);
        // An unfinished argument list is closed so that the call parses.
        int next = offset;
        while (next < text.length() && (text.charAt(next) == ' ' || text.charAt(next) == '\t')) {
            next++;
        }
        char before = text.substring(0, offset).stripTrailing().isEmpty() ? ' '
            : text.substring(0, offset).stripTrailing().charAt(text.substring(0, offset).stripTrailing().length() - 1);
        String fill = (before == '(' || before == ',') ? CompletionProvider.PLACEHOLDER : "";
        if (next >= text.length() || text.charAt(next) != ')') {
            fill += ")";
        }
        String parsedText = text.substring(0, offset) + fill + text.substring(offset);
        JavaCompilation c = source.compile(parsedText, null);
        CompilationUnitTree unit = c.unit(source.uri);
        TreePath named = nameAt(c, unit, nameStart, nameEnd);
        if (named == null) {
            return null;
        }
        List<ExecutableElement> candidates = new ArrayList<>();
        DeclaredType receiver = null;
        Scope scope = c.trees.getScope(named);
        if (named.getLeaf() instanceof NewClassTree || (named.getParentPath() != null
                && named.getParentPath().getLeaf() instanceof NewClassTree)) {
            Element type = c.trees.getElement(named.getLeaf() instanceof NewClassTree
                ? new TreePath(named, ((NewClassTree) named.getLeaf()).getIdentifier()) : named);
            if (type instanceof TypeElement) {
                receiver = (DeclaredType) type.asType();
                for (Element e : type.getEnclosedElements()) {
                    if (e.getKind() == ElementKind.CONSTRUCTOR && c.trees.isAccessible(scope, e, receiver)) {
                        candidates.add((ExecutableElement) e);
                    }
                }
            }
        } else if (named.getLeaf() instanceof MemberSelectTree) {
            TreePath exprPath = new TreePath(named, ((MemberSelectTree) named.getLeaf()).getExpression());
            TypeMirror t = c.trees.getTypeMirror(exprPath);
            if (t instanceof DeclaredType) {
                receiver = (DeclaredType) t;
                for (Element e : c.elements.getAllMembers((TypeElement) receiver.asElement())) {
                    if (e.getKind() == ElementKind.METHOD && e.getSimpleName().contentEquals(name)
                            && c.trees.isAccessible(scope, e, receiver)) {
                        candidates.add((ExecutableElement) e);
                    }
                }
            }
        } else {
            for (Element cls = scope.getEnclosingClass(); cls != null; cls = cls.getEnclosingElement()) {
                if (cls instanceof TypeElement) {
                    for (Element e : c.elements.getAllMembers((TypeElement) cls)) {
                        if (e.getKind() == ElementKind.METHOD && e.getSimpleName().contentEquals(name)) {
                            candidates.add((ExecutableElement) e);
                        }
                    }
                    if (!candidates.isEmpty()) {
                        break;
                    }
                }
            }
        }
        if (candidates.isEmpty()) {
            return null;
        }
        ElementText words = new ElementText(c, jdk);
        List<Map<String, Object>> signatures = new ArrayList<>();
        int active = -1;
        for (int i = 0; i < candidates.size(); i++) {
            ExecutableElement e = candidates.get(i);
            String label = words.signature(e, receiver);
            List<Map<String, Object>> parameters = new ArrayList<>();
            int at = label.indexOf('(') + 1;
            for (String p : words.parameters(e, receiver)) {
                parameters.add(Json.object("label", List.of(at, at + p.length())));
                at += p.length() + 2;
            }
            Map<String, Object> signature = Json.object("label", label, "parameters", parameters);
            String doc = words.firstSentence(e);
            if (!doc.isEmpty()) {
                signature.put("documentation", doc);
            }
            signatures.add(signature);
            if (active < 0 && (e.getParameters().size() > call[1] || (e.isVarArgs()))) {
                active = i;
            }
        }
        return Json.object("signatures", signatures, "activeSignature", Math.max(active, 0), "activeParameter", call[1]);
    }

    // The identifier, member select or new expression whose name ends at nameEnd.
    private static TreePath nameAt(JavaCompilation c, CompilationUnitTree unit, int nameStart, int nameEnd) {
        TreePath[] found = new TreePath[1];
        new TreePathScanner<Void, Void>() {
            @Override
            public Void visitIdentifier(IdentifierTree t, Void v) {
                if (c.positions.getStartPosition(unit, t) == nameStart && found[0] == null) {
                    found[0] = getCurrentPath();
                }
                return null;
            }

            @Override
            public Void visitMemberSelect(MemberSelectTree t, Void v) {
                if (c.positions.getEndPosition(unit, t) == nameEnd && found[0] == null) {
                    found[0] = getCurrentPath();
                }
                return super.visitMemberSelect(t, v);
            }
        }.scan(unit, null);
        return found[0];
    }
}
