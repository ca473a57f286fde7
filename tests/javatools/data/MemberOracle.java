// The members javax.lang.model gives the type of each "expr." in source
// files that compile as they are: java MemberOracle.java ROOT FILE@OFFSET...
// prints, for each place where a member name starts, FILE@OFFSET and the
// member names, one line each. A ROOT named after a JDK module patches it.
import com.sun.source.tree.CompilationUnitTree;
import com.sun.source.tree.MemberSelectTree;
import com.sun.source.tree.Scope;
import com.sun.source.util.JavacTask;
import com.sun.source.util.TreePath;
import com.sun.source.util.TreePathScanner;
import com.sun.source.util.Trees;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.Set;
import java.util.TreeMap;
import java.util.TreeSet;
import javax.lang.model.element.Element;
import javax.lang.model.element.ElementKind;
import javax.lang.model.element.Modifier;
import javax.lang.model.element.TypeElement;
import javax.lang.model.type.DeclaredType;
import javax.lang.model.type.TypeKind;
import javax.lang.model.type.TypeMirror;
import javax.lang.model.type.TypeVariable;
import javax.tools.JavaCompiler;
import javax.tools.StandardJavaFileManager;
import javax.tools.ToolProvider;

public class MemberOracle {
    public static void main(String[] args) throws Exception {
        Path root = Path.of(args[0]);
        JavaCompiler compiler = ToolProvider.getSystemJavaCompiler();
        StandardJavaFileManager files = compiler.getStandardFileManager(null, null, null);
        List<String> options = List.of("-proc:none", "--patch-module", root.getFileName() + "=" + root);
        Map<String, Set<Long>> wanted = new TreeMap<>();
        for (int i = 1; i < args.length; i++) {
            int at = args[i].lastIndexOf('@');
            wanted.computeIfAbsent(args[i].substring(0, at), f -> new TreeSet<>())
                .add(Long.parseLong(args[i].substring(at + 1)));
        }
        List<Path> paths = new ArrayList<>();
        for (String file : wanted.keySet()) {
            paths.add(Path.of(file));
        }
        JavacTask task = (JavacTask) compiler.getTask(null, files, d -> { }, options, null,
            files.getJavaFileObjectsFromPaths(paths));
        List<CompilationUnitTree> units = new ArrayList<>();
        task.parse().forEach(units::add);
        task.analyze();
        Trees trees = Trees.instance(task);
        for (CompilationUnitTree unit : units) {
            String file = Path.of(unit.getSourceFile().toUri()).toString();
            Set<Long> offsets = wanted.get(file);
            new TreePathScanner<Void, Void>() {
                @Override
                public Void visitMemberSelect(MemberSelectTree t, Void v) {
                    long end = trees.getSourcePositions().getEndPosition(unit, t);
                    long start = end - t.getIdentifier().length();
                    if (offsets.contains(start)) {
                        System.out.println(file + "@" + start + " " + String.join(" ", members(task, trees, getCurrentPath())));
                    }
                    return super.visitMemberSelect(t, v);
                }
            }.scan(unit, null);
        }
    }

    static Set<String> members(JavacTask task, Trees trees, TreePath select) {
        TreePath expr = new TreePath(select, ((MemberSelectTree) select.getLeaf()).getExpression());
        Element named = trees.getElement(expr);
        TypeMirror type = trees.getTypeMirror(expr);
        Scope scope = trees.getScope(select);
        Set<String> names = new TreeSet<>();
        boolean typeName = named != null && (named.getKind().isClass() || named.getKind().isInterface());
        if (type instanceof TypeVariable) {
            type = ((TypeVariable) type).getUpperBound();
        }
        if (type.getKind() == TypeKind.ARRAY) {
            names.add("length");
            type = task.getElements().getTypeElement("java.lang.Object").asType();
        }
        if (!(type instanceof DeclaredType)) {
            return names;
        }
        for (Element e : task.getElements().getAllMembers((TypeElement) ((DeclaredType) type).asElement())) {
            ElementKind k = e.getKind();
            boolean isStatic = e.getModifiers().contains(Modifier.STATIC);
            boolean isType = k.isClass() || k.isInterface();
            if (k == ElementKind.CONSTRUCTOR || k == ElementKind.STATIC_INIT || k == ElementKind.INSTANCE_INIT
                    || (typeName ? !(isStatic || isType) : (isStatic || isType))
                    || !trees.isAccessible(scope, e, (DeclaredType) type)) {
                continue;
            }
            names.add(e.getSimpleName().toString());
        }
        return names;
    }
}
