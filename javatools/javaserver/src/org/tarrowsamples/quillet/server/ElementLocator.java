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
import com.sun.source.util.SourcePositions;
import com.sun.source.util.TreePath;
import com.sun.source.util.TreePathScanner;
import javax.lang.model.element.Element;
import javax.lang.model.element.ElementKind;

/**
 * Which element a place in a source names: a use (identifier, member select,
 * method reference) or a declaration's name. Names are found in the text,
 * since javac's trees keep only where a whole declaration starts.
 */
public final class ElementLocator {
    private ElementLocator() {
    }

    /** The innermost path naming something at offset, or null. */
    public static TreePath pathAt(JavaCompilation c, CompilationUnitTree unit, String text, int offset) {
        SourcePositions pos = c.positions;
        TreePath[] best = new TreePath[1];
        long[] bestSize = {Long.MAX_VALUE};
        new TreePathScanner<Void, Void>() {
            private void consider(long start, long end) {
                if (start >= 0 && start <= offset && offset <= end && end - start < bestSize[0]) {
                    bestSize[0] = end - start;
                    best[0] = getCurrentPath();
                }
            }

            @Override
            public Void visitIdentifier(IdentifierTree t, Void v) {
                consider(pos.getStartPosition(unit, t), pos.getEndPosition(unit, t));
                return null;
            }

            @Override
            public Void visitMemberSelect(MemberSelectTree t, Void v) {
                long end = pos.getEndPosition(unit, t);
                consider(end - t.getIdentifier().length(), end);
                return super.visitMemberSelect(t, v);
            }

            @Override
            public Void visitMemberReference(MemberReferenceTree t, Void v) {
                long end = pos.getEndPosition(unit, t);
                consider(end - t.getName().length(), end);
                return super.visitMemberReference(t, v);
            }

            @Override
            public Void visitClass(ClassTree t, Void v) {
                int name = nameOffset(c, unit, text, t);
                consider(name, name + t.getSimpleName().length());
                return super.visitClass(t, v);
            }

            @Override
            public Void visitMethod(MethodTree t, Void v) {
                int name = nameOffset(c, unit, text, t);
                consider(name, name + declaredName(t).length());
                return super.visitMethod(t, v);
            }

            @Override
            public Void visitVariable(VariableTree t, Void v) {
                int name = nameOffset(c, unit, text, t);
                consider(name, name + t.getName().length());
                return super.visitVariable(t, v);
            }
        }.scan(unit, null);
        return best[0];
    }

    /** The element a path names; a class name after new names its constructor. */
    public static Element elementAt(JavaCompilation c, TreePath path) {
        if (path == null) {
            return null;
        }
        TreePath parent = path.getParentPath();
        if (parent != null && parent.getLeaf() instanceof NewClassTree
                && ((NewClassTree) parent.getLeaf()).getIdentifier() == path.getLeaf()) {
            Element constructor = c.trees.getElement(parent);
            if (constructor != null) {
                return constructor;
            }
        }
        return c.trees.getElement(path);
    }

    public static String declaredName(MethodTree t) {
        return t.getName().contentEquals("<init>") ? "" : t.getName().toString();
    }

    /** Where a declaration's name stands in the text, or where it starts when no name is found. */
    public static int nameOffset(JavaCompilation c, CompilationUnitTree unit, String text, Tree t) {
        SourcePositions pos = c.positions;
        int start = (int) pos.getStartPosition(unit, t);
        if (start < 0) {
            return -1;
        }
        String name;
        int from = start;
        if (t instanceof ClassTree) {
            ClassTree ct = (ClassTree) t;
            name = ct.getSimpleName().toString();
            long modifiersEnd = pos.getEndPosition(unit, ct.getModifiers());
            from = Math.max(start, (int) modifiersEnd);
        } else if (t instanceof MethodTree) {
            MethodTree mt = (MethodTree) t;
            if (mt.getName().contentEquals("<init>")) {
                name = enclosingClassName(c, unit, mt);
            } else {
                name = mt.getName().toString();
            }
            Tree before = mt.getReturnType() != null ? mt.getReturnType() : mt.getModifiers();
            long end = pos.getEndPosition(unit, before);
            if (mt.getReturnType() == null && !mt.getTypeParameters().isEmpty()) {
                end = pos.getEndPosition(unit, mt.getTypeParameters().get(mt.getTypeParameters().size() - 1));
            }
            from = Math.max(start, (int) end);
        } else if (t instanceof VariableTree) {
            VariableTree vt = (VariableTree) t;
            name = vt.getName().toString();
            long end = vt.getType() != null ? pos.getEndPosition(unit, vt.getType()) : -1;
            from = Math.max(start, (int) end);
        } else {
            return start;
        }
        int at = wordIndex(text, name, from);
        return at >= 0 ? at : start;
    }

    private static String enclosingClassName(JavaCompilation c, CompilationUnitTree unit, MethodTree mt) {
        TreePath path = c.trees.getPath(unit, mt);
        for (TreePath p = path; p != null; p = p.getParentPath()) {
            if (p.getLeaf() instanceof ClassTree) {
                return ((ClassTree) p.getLeaf()).getSimpleName().toString();
            }
        }
        return "";
    }

    /** The first whole-word occurrence of name at or after from. */
    public static int wordIndex(String text, String name, int from) {
        if (name.isEmpty()) {
            return -1;
        }
        int at = Math.max(0, from);
        while ((at = text.indexOf(name, at)) >= 0) {
            boolean startOk = at == 0 || !Character.isJavaIdentifierPart(text.charAt(at - 1));
            int end = at + name.length();
            boolean endOk = end >= text.length() || !Character.isJavaIdentifierPart(text.charAt(end));
            if (startOk && endOk) {
                return at;
            }
            at = end;
        }
        return -1;
    }

    public static boolean isType(Element e) {
        ElementKind k = e.getKind();
        return k.isClass() || k.isInterface();
    }
}
